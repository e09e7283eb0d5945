// The start time and start date pickers of the start pages (3 and 18): the
// date never before today nor beyond what the block can hold, both pickers
// able to show a blank field while disabled, and a "user changed it" signal
// that programmatic updates (following the clock) never raise.
#pragma once

#include <QDateEdit>
#include <QTimeEdit>

#include "logger/calendar.h"

namespace vessor {

class StartPickers : public QObject {
    Q_OBJECT
public:
    explicit StartPickers(QWidget* parent);

    QTimeEdit* timeEdit() const { return time_; }
    QDateEdit* dateEdit() const { return date_; }

    // Following the clock: the earliest date becomes today's, and both
    // pickers show `now`.
    void setToNow(const CalendarTime& now);
    // Only the earliest date (the date value stays unless it is earlier)
    // and the time.
    void setEarliestAndTime(const CalendarTime& now);
    // The moment the pickers show: hour, minute, second of the time picker,
    // day, month, year of the date picker.
    CalendarTime moment() const;

    void setEnabled(bool enabled);
    // A blank field instead of the value (the push-button choice).
    void setBlank(bool blank);
    bool isBlank() const;

signals:
    // The user changed either picker.
    void userChanged();

private:
    QTimeEdit* time_;
    QDateEdit* date_;
};

CalendarTime toCalendarDate(const QDate& date);
QDate toQDate(const CalendarTime& t);
QTime toQTime(const CalendarTime& t);

} // namespace vessor

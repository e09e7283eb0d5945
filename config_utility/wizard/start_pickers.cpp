#include "config_utility/wizard/start_pickers.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

#include "logger/setup/start_logic.h"

namespace vessor {

namespace {

// A picker that can show an empty field instead of its value.
template <typename Base>
class BlankablePicker : public Base {
public:
    using Base::Base;

    void setBlank(bool blank)
    {
        if (blank_ == blank)
            return;
        blank_ = blank;
        this->lineEdit()->setText(textFromDateTime(this->dateTime()));
    }
    bool isBlank() const { return blank_; }

protected:
    QString textFromDateTime(const QDateTime& value) const override
    {
        return blank_ ? QStringLiteral(" ") : Base::textFromDateTime(value);
    }

private:
    bool blank_ = false;
};

using BlankableTimeEdit = BlankablePicker<QTimeEdit>;
using BlankableDateEdit = BlankablePicker<QDateEdit>;

// The user's short date format, with the full year so that no century has
// to be guessed.
QString dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

} // namespace

CalendarTime toCalendarDate(const QDate& date)
{
    return makeCalendarTime(date.year(), date.month(), date.day());
}

QDate toQDate(const CalendarTime& t)
{
    return QDate(t.fullYear(), t.month + 1, t.day);
}

QTime toQTime(const CalendarTime& t)
{
    return QTime(t.hour, t.minute, t.second);
}

StartPickers::StartPickers(QWidget* parent)
    : QObject(parent), time_(new BlankableTimeEdit(parent)), date_(new BlankableDateEdit(parent))
{
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    date_->setDisplayFormat(dateFormat());
    date_->setCalendarPopup(true);
    date_->setMaximumDate(QDate(LATEST_START_YEAR, 12, 31));
    for (QAbstractSpinBox* picker : {static_cast<QAbstractSpinBox*>(time_), static_cast<QAbstractSpinBox*>(date_)})
        picker->setMinimumWidth(130);
    connect(time_, &QTimeEdit::timeChanged, this, &StartPickers::userChanged);
    connect(date_, &QDateEdit::dateChanged, this, &StartPickers::userChanged);
}

void StartPickers::setToNow(const CalendarTime& now)
{
    const QSignalBlocker blockDate(date_);
    const QSignalBlocker blockTime(time_);
    date_->setMinimumDate(toQDate(now));
    date_->setDate(toQDate(now));
    time_->setTime(toQTime(now));
}

void StartPickers::setEarliestAndTime(const CalendarTime& now)
{
    const QSignalBlocker blockDate(date_);
    const QSignalBlocker blockTime(time_);
    date_->setMinimumDate(toQDate(now));
    time_->setTime(toQTime(now));
}

CalendarTime StartPickers::moment() const
{
    const QTime t = time_->time();
    CalendarTime time;
    time.hour = t.hour();
    time.minute = t.minute();
    time.second = t.second();
    return combineDateAndTime(toCalendarDate(date_->date()), time);
}

void StartPickers::setEnabled(bool enabled)
{
    time_->setEnabled(enabled);
    date_->setEnabled(enabled);
}

void StartPickers::setBlank(bool blank)
{
    static_cast<BlankableTimeEdit*>(time_)->setBlank(blank);
    static_cast<BlankableDateEdit*>(date_)->setBlank(blank);
}

bool StartPickers::isBlank() const
{
    return static_cast<const BlankableTimeEdit*>(time_)->isBlank();
}

} // namespace vessor

// The user's date and time formats from the system locale (status page, CO
// expiry dates).
#pragma once

#include <QLocale>

#include "logger/locale_format.h"

namespace vessor {

class QtLocaleFormat : public LocaleFormat {
public:
    explicit QtLocaleFormat(const QLocale& locale = QLocale::system());
    std::string formatDate(const CalendarTime& t) const override;
    std::string formatTime(const CalendarTime& t) const override;

    QString datePattern() const { return datePattern_; }
    QString timePattern() const { return timePattern_; }

private:
    QLocale locale_;
    QString datePattern_;
    QString timePattern_;
};

} // namespace vessor

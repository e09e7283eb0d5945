#include "config_utility/wizard/number_edit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace vessor {

namespace {

constexpr char16_t BACKSPACE = 8;
// More places than any page asks for; keeps the formatting buffer bounded.
constexpr int MAX_DECIMALS = 20;

bool isDigit(char16_t ch)
{
    return ch >= u'0' && ch <= u'9';
}

// The character a key press types, as the box's filter sees it: nothing for
// keys that type nothing (caret movement, Delete) or that belong to the
// dialog (Return, Escape, Tab); control codes for Ctrl+letter and Backspace.
bool typedCharacter(const QKeyEvent* event, char16_t& ch)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    case Qt::Key_Backspace:
        ch = BACKSPACE;
        return true;
    default:
        break;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        ch = static_cast<char16_t>(key - Qt::Key_A + 1);
        return true;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    ch = text.at(0).unicode();
    return true;
}

} // namespace

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent)
{
    // A right click must not take the focus, so clicks are given focus by
    // hand (mousePressEvent) instead of by the focus policy.
    setFocusPolicy(Qt::TabFocus);
    // Digits need no input method, and text it commits would bypass the
    // filter: typing arrives as key events only.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setText(valueText_);
}

void NumberEdit::setValue(double value, int decimals, bool allowNegative, bool reformatOnFocus)
{
    value_ = value;
    decimals_ = std::clamp(decimals, 0, MAX_DECIMALS);
    allowNegative_ = allowNegative;
    reformatOnFocus_ = reformatOnFocus;
    valueText_ = formatValue(value_, decimals_);
    setText(valueText_);
}

bool NumberEdit::acceptsCharacter(char16_t ch, const QString& text, int selectionStart, int decimals,
                                   bool allowNegative)
{
    const bool candidate = ch < 32 || isDigit(ch) || (ch == u'-' && allowNegative) || (ch == u'.' && decimals > 0);
    if (!candidate)
        return false;
    if (text.isEmpty())
        return true;

    const qsizetype s = selectionStart;
    const qsizetype d = text.indexOf(QLatin1Char('.'));
    const bool hasPoint = d >= 0;
    if (ch == u'.' && (hasPoint || s == 0))
        return false;
    if (ch == u'-' && (text.contains(QLatin1Char('-')) || s != 0))
        return false;
    // Control characters insert nothing: backspace and the editing
    // shortcuts (select all, copy, cut, paste, undo) pass wherever the
    // caret stands.
    if (ch >= 32 && hasPoint) {
        // Beyond the allowed decimal places.
        if (s > d + decimals)
            return false;
        // Inside a fraction that is already full.
        const qsizetype fraction = text.size() - d - 1;
        if (d < s && s < text.size() && fraction >= decimals)
            return false;
    }
    return true;
}

QString NumberEdit::formatValue(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, MAX_DECIMALS);
    // Largest double in fixed notation: sign, 309 digits, point, places.
    std::array<char, 340> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

double NumberEdit::parseLeadingNumber(const QString& text)
{
    const std::string s = text.toStdString();
    const char* p = s.data();
    const char* end = p + s.size();
    while (p != end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool plus = false;
    if (p != end && *p == '+') {
        plus = true;
        ++p;
    }
    // "+-5" is not a number; from_chars would take the "-5".
    if (plus && p != end && *p == '-')
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

void NumberEdit::keyPressEvent(QKeyEvent* event)
{
    char16_t ch = 0;
    if (typedCharacter(event, ch)) {
        // The selection's start is where the character goes; its end is
        // deliberately ignored.
        const int s = hasSelectedText() ? selectionStart() : cursorPosition();
        if (!acceptsCharacter(ch, text(), s, decimals_, allowNegative_)) {
            event->accept();
            QApplication::beep();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::focusInEvent(QFocusEvent* event)
{
    if (reformatOnFocus_)
        setText(valueText_);
    QLineEdit::focusInEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent* event)
{
    if (reformatOnFocus_) {
        value_ = parseLeadingNumber(text());
        valueText_ = formatValue(value_, decimals_);
        setText(valueText_);
    }
    QLineEdit::focusOutEvent(event);
}

void NumberEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    QLineEdit::mousePressEvent(event);
}

void NumberEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void NumberEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void NumberEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu key still opens the box's menu; a right click does nothing.
    if (event->reason() == QContextMenuEvent::Mouse) {
        event->accept();
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

} // namespace vessor

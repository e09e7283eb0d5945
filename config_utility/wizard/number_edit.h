// NumberEdit: the edit box of the wizard's typed numbers (CO warning level,
// numeric alarm levels, calibration points).
//
// It refuses typed characters that cannot belong to a number with at most
// `decimals` decimal places, remembers a value with its formatted text, and
// (when asked) rewrites the box in the standard format on focus changes.
// Pasted text is not filtered; a box that reformats turns it into a number
// when it loses the focus. A right click does nothing.
//
//   edit->setValue(level, 1, true, true);   // on every page refresh
//   ...
//   double level = edit->value();            // after focus left the box
#pragma once

#include <QLineEdit>
#include <QString>

namespace vessor {

class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);

    // Stores the four settings, formats `value` with `decimals` places and
    // shows that text.
    void setValue(double value, int decimals, bool allowNegative, bool reformatOnFocus);

    // The number last set, or parsed when the focus left a reformatting box.
    double value() const { return value_; }
    // `value()` formatted with decimals() places (what the box last showed
    // in the standard format).
    QString valueText() const { return valueText_; }

    int decimals() const { return decimals_; }
    bool allowNegative() const { return allowNegative_; }
    bool reformatOnFocus() const { return reformatOnFocus_; }

    // The typing rule: may `ch` be typed into `text` with the selection
    // starting (or the caret standing) at `selectionStart`? Control
    // characters (below 32: backspace, Ctrl+A, C, V, X, Z) always pass.
    static bool acceptsCharacter(char16_t ch, const QString& text, int selectionStart, int decimals,
                                 bool allowNegative);

    // `value` with `decimals` places ("%.2f"), independent of the locale.
    static QString formatValue(double value, int decimals);
    // The leading number of `text` (leading blanks skipped, a sign, digits,
    // a full stop, an exponent), 0 when there is none or it is not finite.
    // Independent of the locale.
    static double parseLeadingNumber(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    double value_ = 0.0;
    int decimals_ = 2;
    bool allowNegative_ = true;
    bool reformatOnFocus_ = false;
    QString valueText_ = QStringLiteral("0.00");
};

} // namespace vessor

// NumberEdit driven with real key and mouse events.
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <vector>

#include "config_utility/wizard/co_table_dialog.h"
#include "config_utility/wizard/number_edit.h"

namespace vessor {
namespace {

struct TypingCase {
    const char* text;       // box contents before the key
    int caret;              // caret position, or selection start
    int selectionLength;    // 0: no selection
    int decimals;
    bool allowNegative;
    QChar typed;            // '\b' for backspace
    const char* expected;   // box contents after the key
};

class NumberEditTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(NumberEditTyping, FiltersTheTypedCharacter)
{
    const TypingCase& c = GetParam();
    NumberEdit edit;
    edit.setValue(0.0, c.decimals, c.allowNegative, false);
    edit.setText(QString::fromLatin1(c.text));
    if (c.selectionLength > 0)
        edit.setSelection(c.caret, c.selectionLength);
    else
        edit.setCursorPosition(c.caret);

    if (c.typed == QLatin1Char('\b'))
        QTest::keyClick(&edit, Qt::Key_Backspace);
    else
        QTest::keyClick(&edit, c.typed.toLatin1());

    EXPECT_EQ(edit.text().toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberEditTyping,
    ::testing::Values(
        // What an empty box accepts.
        TypingCase{"", 0, 0, 2, true, QLatin1Char('.'), "."},
        TypingCase{"", 0, 0, 2, true, QLatin1Char('-'), "-"},
        TypingCase{"", 0, 0, 2, false, QLatin1Char('-'), ""},
        TypingCase{"", 0, 0, 0, true, QLatin1Char('.'), ""},
        TypingCase{"", 0, 0, 2, true, QLatin1Char('a'), ""},
        TypingCase{"", 0, 0, 2, true, QLatin1Char('+'), ""},
        TypingCase{"", 0, 0, 2, true, QLatin1Char(','), ""},
        // Decimal places.
        TypingCase{"12.34", 5, 0, 2, true, QLatin1Char('5'), "12.34"},
        TypingCase{"12.34", 1, 0, 2, true, QLatin1Char('5'), "152.34"},
        TypingCase{"12.34", 4, 0, 2, true, QLatin1Char('5'), "12.34"},
        TypingCase{"12.3", 4, 0, 2, true, QLatin1Char('5'), "12.35"},
        TypingCase{"12.3", 3, 0, 2, true, QLatin1Char('5'), "12.53"},
        TypingCase{"7", 1, 0, 0, true, QLatin1Char('.'), "7"},
        TypingCase{"7", 1, 0, 3, true, QLatin1Char('.'), "7."},
        TypingCase{"7.5", 3, 0, 3, true, QLatin1Char('.'), "7.5"},
        // Signs.
        TypingCase{"5", 0, 0, 2, true, QLatin1Char('-'), "-5"},
        TypingCase{"5", 1, 0, 2, true, QLatin1Char('-'), "5"},
        TypingCase{"-5", 0, 0, 2, true, QLatin1Char('-'), "-5"},
        TypingCase{"5", 0, 0, 2, false, QLatin1Char('-'), "5"},
        TypingCase{"5", 0, 0, 2, true, QLatin1Char('.'), "5"},
        TypingCase{"5", 1, 0, 2, true, QLatin1Char('.'), "5."},
        // Backspace passes even where the fraction is full.
        TypingCase{"12.34", 5, 0, 2, true, QLatin1Char('\b'), "12.3"},
        TypingCase{"12.34", 4, 0, 2, true, QLatin1Char('\b'), "12.4"},
        TypingCase{"12.345", 6, 0, 2, true, QLatin1Char('\b'), "12.34"},
        // Only the selection start counts: typing over a digit of a full
        // fraction is refused, replacing from before the point is not.
        TypingCase{"12.34", 3, 1, 2, true, QLatin1Char('9'), "12.34"},
        TypingCase{"12.34", 0, 2, 2, true, QLatin1Char('9'), "9.34"},
        TypingCase{"12.34", 0, 5, 2, true, QLatin1Char('-'), "-"}));

// The same rule without widgets, for control characters that a key click
// cannot carry portably (Ctrl+V and friends arrive as codes below 32): they
// insert nothing, so no caret position refuses them.
TEST(NumberEditFilter, ControlCharactersAlwaysPass)
{
    struct Case {
        char16_t ch;
        const char* text;
        int caret;
    };
    for (const Case& c : {Case{0x16, "12", 2}, Case{0x16, "12.3", 4}, Case{0x16, "12.34", 5}, Case{0x16, "12.34", 4},
                          Case{0x01, "12.34", 5}, Case{0x03, "1.5", 3}, Case{0x18, "0.25", 3}, Case{0x1A, "9.99", 4},
                          Case{8, "12.34", 4}})
        EXPECT_TRUE(NumberEdit::acceptsCharacter(c.ch, QString::fromLatin1(c.text), c.caret, 2, true))
            << int(c.ch) << " in " << c.text << " at " << c.caret;
    EXPECT_FALSE(NumberEdit::acceptsCharacter(0xB0, QStringLiteral("1"), 1, 2, true));
    EXPECT_FALSE(NumberEdit::acceptsCharacter(u'5', QStringLiteral("12.34"), 5, 2, true));
}

TEST(NumberEditFormat, FormatsWithTheDecimalsAndParsesTheLeadingNumberInAnyLocale)
{
    // The C library locale a German desktop gives the program.
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(german, nullptr) << "de_DE.UTF-8 locale missing";
    struct FormatCase {
        double value;
        int decimals;
        const char* text;
    };
    for (const FormatCase& c : {FormatCase{0.0, 2, "0.00"}, FormatCase{1.005, 1, "1.0"}, FormatCase{-3.14159, 3, "-3.142"},
                                FormatCase{2.5, 0, "2"}, FormatCase{3.5, 0, "4"}, FormatCase{86.0, 1, "86.0"},
                                FormatCase{-0.001, 2, "-0.00"}, FormatCase{1234567.891, 2, "1234567.89"}})
        EXPECT_EQ(NumberEdit::formatValue(c.value, c.decimals).toStdString(), c.text) << c.value;

    struct ParseCase {
        const char* text;
        double value;
    };
    for (const ParseCase& c : {ParseCase{"12.5", 12.5}, ParseCase{"  -7.25abc", -7.25}, ParseCase{"+3", 3.0},
                               ParseCase{".5", 0.5}, ParseCase{"1e2", 100.0}, ParseCase{"4,5", 4.0},
                               ParseCase{"abc", 0.0}, ParseCase{"", 0.0}, ParseCase{"-", 0.0}, ParseCase{"+-5", 0.0},
                               ParseCase{"nan", 0.0}, ParseCase{"inf", 0.0}, ParseCase{"1e999", 0.0}})
        EXPECT_DOUBLE_EQ(NumberEdit::parseLeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
    std::setlocale(LC_ALL, "C");
}

// Two boxes in a shown window, so focus really moves between them.
class NumberEditFocus : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QHBoxLayout(&window);
        first = new NumberEdit(&window);
        second = new NumberEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    NumberEdit* first = nullptr;
    NumberEdit* second = nullptr;
};

TEST_F(NumberEditFocus, FocusLostReparsesAndFocusGainedShowsTheFormattedValue)
{
    first->setValue(50.0, 0, false, true);
    second->setValue(1.5, 3, true, false);
    EXPECT_EQ(first->text(), QStringLiteral("50"));
    EXPECT_EQ(second->text(), QStringLiteral("1.500"));

    first->setFocus(Qt::TabFocusReason);
    first->setText(QStringLiteral("123.7xyz"));  // as pasted
    second->setFocus(Qt::TabFocusReason);
    EXPECT_DOUBLE_EQ(first->value(), 123.7);
    EXPECT_EQ(first->text(), QStringLiteral("124"));
    EXPECT_EQ(first->valueText(), QStringLiteral("124"));

    // A box that does not reformat keeps its text and its value.
    second->setText(QStringLiteral("9.87654"));
    first->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(second->text(), QStringLiteral("9.87654"));
    EXPECT_DOUBLE_EQ(second->value(), 1.5);

    // Pasted text without a number becomes 0 in the format.
    first->setText(QStringLiteral("abc"));
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(first->text(), QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(first->value(), 0.0);

    // Gaining the focus shows the remembered text again.
    first->setValue(12.0, 1, true, true);
    first->setText(QStringLiteral("junk"));
    first->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(first->text(), QStringLiteral("12.0"));
}

TEST_F(NumberEditFocus, PastingIsNotFiltered)
{
    first->setValue(12.34, 2, true, true);
    first->setFocus(Qt::TabFocusReason);
    first->setCursorPosition(2);
    QApplication::clipboard()->setText(QStringLiteral("x7"));
    QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->text(), QStringLiteral("12x7.34"));
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(first->text(), QStringLiteral("12.00"));
}

// The editing shortcuts with the caret after a full fraction, where a
// digit would be refused.
TEST_F(NumberEditFocus, ShortcutsWorkAfterAFullFraction)
{
    constexpr Qt::KeyboardModifiers CTRL = Qt::ControlModifier;
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    struct Case {
        const char* name;
        std::vector<Key> keys;
        const char* text;            // box afterwards
        const char* selected;
        const char* clipboard;
    };
    const std::vector<Case> cases = {
        {"select all", {{Qt::Key_A, CTRL}}, "12.34", "12.34", "clip"},
        {"copy", {{Qt::Key_A, CTRL}, {Qt::Key_C, CTRL}}, "12.34", "12.34", "12.34"},
        {"cut", {{Qt::Key_A, CTRL}, {Qt::Key_X, CTRL}}, "", "", "12.34"},
        {"paste", {{Qt::Key_V, CTRL}}, "12.34clip", "", "clip"},
        {"undo", {{Qt::Key_Backspace, {}}, {Qt::Key_9, {}}, {Qt::Key_Z, CTRL}}, "12.3", "", "clip"},
    };
    for (const Case& c : cases) {
        first->setValue(12.34, 2, true, true);
        first->setFocus(Qt::TabFocusReason);
        first->setCursorPosition(5);
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        for (const Key& k : c.keys)
            QTest::keyClick(first, k.key, k.modifiers);
        EXPECT_EQ(first->text().toStdString(), c.text) << c.name;
        EXPECT_EQ(first->selectedText().toStdString(), c.selected) << c.name;
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.clipboard) << c.name;
    }
}

TEST_F(NumberEditFocus, RightClickNeitherTakesTheFocusNorMovesTheCaret)
{
    first->setValue(1.0, 2, true, true);
    second->setValue(22.5, 2, true, true);
    first->setFocus(Qt::TabFocusReason);
    second->setCursorPosition(0);

    const QPoint inside = second->mapTo(&window, second->rect().center());
    QTest::mouseClick(window.windowHandle(), Qt::RightButton, {}, inside);
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(second->cursorPosition(), 0);

    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inside);
    EXPECT_TRUE(second->hasFocus());
}

TEST(CoTableDialog, ShowsTheExposureTableAndClosesWithOk)
{
    SetupCOTableDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vessor USB"));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const char* expected :
         {"The effects of Carbon Monoxide exposure", "ppm CO", "Time exposed", "Symptoms", "800", "45 minutes",
          "Headache, dizziness, nausea, convulsions within 45 minutes.\nUnconscious within 2 hours. Death can occur "
          "within 2-3\nhours.",
          "- ppm CO, parts per million Carbon Monoxide"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(expected))) << expected;

    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vessor

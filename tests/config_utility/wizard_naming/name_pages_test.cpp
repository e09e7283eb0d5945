// The naming and agreement pages driven with real clicks and keys on a
// simulated logger: what each page shows, stores and where it goes.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/support/user_input.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/name_pages.h"
#include "logger/conversion.h"
#include "logger/strings.h"

namespace vessor {
namespace {

// A page of type P on a freshly read simulated logger, shown and active so
// that focus can be checked.
template <typename P>
struct Shown {
    explicit Shown(int model, const std::function<void(LoggerConfig&)>& edit = {}) : f(model)
    {
        if (edit)
            f.editBlock(edit);
        EXPECT_TRUE(f.session.refresh());
        f.context.pageSwitcher = [this](int index) { f.shown.push_back(index); };
        page = std::make_unique<P>(f.context);
        page->resize(PAGE_WIDTH, PAGE_HEIGHT);
        page->updatePage();
        page->show();
        page->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
    }

    void typeName(const QString& text)
    {
        page->nameEdit()->selectAll();
        QTest::keyClick(page->nameEdit(), Qt::Key_Backspace);
        QTest::keyClicks(page->nameEdit(), text);
    }
    static void click(QAbstractButton* button) { test::click(button); }
    void next() { click(page->nextButton()); }
    void back() { click(page->backButton()); }

    test::SimFixture f;
    std::unique_ptr<P> page;
};

TEST(NamePage, UnitChangeConvertsTheLevelsOnceAndStoresNameAndRate)
{
    Shown<SetupNameForm> s(MODEL_ZR_T, [](LoggerConfig& c) {
        c.setHighAlarmRaw(140);  // 30 °C
        c.setLowAlarmRaw(60);    // -10 °C
    });
    EXPECT_TRUE(s.page->celsiusButton()->isChecked());
    EXPECT_FALSE(s.page->backButton()->isEnabled());

    s.typeName(QStringLiteral("  Cold Store 2 "));
    s.click(s.page->fahrenheitButton());
    s.page->rateList()->setCurrentIndex(3);  // 30 Min
    s.next();

    EXPECT_EQ(s.f.shown, std::vector<int>{PAGE_SETUP_ALARMS});
    EXPECT_TRUE(s.f.ui.log().empty());
    EXPECT_EQ(s.f.config.loggerName(), "Cold Store 2 ");
    EXPECT_EQ(s.f.config.sampleInterval(), 1800);
    EXPECT_EQ(s.f.config.optionFlags(), 1);
    EXPECT_FLOAT_EQ(s.f.config.calGradient(), 1.0f);
    EXPECT_FLOAT_EQ(s.f.config.highAlarmValue(), 86.0f);
    EXPECT_FLOAT_EQ(s.f.config.lowAlarmValue(), 14.0f);

    // Back on this page later, radio untouched: no second conversion.
    s.page->updatePage();
    EXPECT_TRUE(s.page->fahrenheitButton()->isChecked());
    const unsigned high = s.f.config.highAlarmRaw();
    s.next();
    EXPECT_EQ(s.f.config.highAlarmRaw(), high);
    // Nothing reached the logger.
    EXPECT_EQ(s.f.loggerBlock().optionFlags(), 0);
}

TEST(NamePage, NamingFailuresShowTheMessageFocusTheBoxAndStoreNothing)
{
    struct Case {
        QString typed;
        std::vector<std::string> messages;
    };
    const std::string tooLong = messageText(MSG_NAME_TOO_LONG);
    const Case cases[] = {
        {QStringLiteral("Room.1"), {messageText(MSG_NAME_BAD_CHARACTER)}},
        {QStringLiteral("Ohm \u03A9"),
         {messageText(MSG_NAME_BAD_CHARACTER) + "\nThe logger cannot store the character '\u03A9'."}},
        {QStringLiteral("   "), {messageText(MSG_NAME_EMPTY)}},
        {QString(16, QLatin1Char('x')), {tooLong}},
        {QString(256, QLatin1Char('x')), {"Please enter no more than 255 characters.", tooLong}},
    };
    for (const Case& c : cases) {
        Shown<SetupNameForm> s(MODEL_ZR_TH);
        s.click(s.page->fahrenheitButton());
        s.page->nameEdit()->setText(c.typed);
        s.page->cancelButton()->setFocus();
        s.next();
        EXPECT_EQ(s.f.ui.texts(), c.messages) << c.typed.toStdString();
        EXPECT_TRUE(s.f.shown.empty());
        EXPECT_TRUE(s.page->nameEdit()->hasFocus());
        EXPECT_EQ(s.f.config.loggerName(), "ZR-TH");
        EXPECT_EQ(s.f.config.optionFlags(), 0);
    }
}

TEST(NamePage, NextAndBackFollowTheModel)
{
    struct Case {
        int model;
        int next;
        bool backEnabled;
    };
    for (const Case& c : {Case{MODEL_ZR_TH_D, PAGE_LCD, false}, Case{MODEL_ZR_TH_X, PAGE_STORAGE_MODE, false},
                          Case{MODEL_ZR_T_RC, PAGE_STORAGE_MODE, false}, Case{MODEL_ZR_T_PRO, PAGE_STORAGE_MODE, true},
                          Case{MODEL_ZR_TH, PAGE_SETUP_ALARMS, false}}) {
        Shown<SetupNameForm> s(c.model);
        EXPECT_EQ(s.page->backButton()->isEnabled(), c.backEnabled) << c.model;
        if (c.backEnabled) {
            s.back();
            EXPECT_EQ(s.f.shown, std::vector<int>{PAGE_PRO_DISCLAIMER});
            s.f.shown.clear();
        }
        s.next();
        EXPECT_EQ(s.f.shown, std::vector<int>{c.next}) << c.model;
    }
}

TEST(NamePage, LargeMemoryModelsShowNoRateForUnlistedIntervalAndStoreTenSeconds)
{
    Shown<SetupNameForm> pro(MODEL_ZR_T_PRO, [](LoggerConfig& c) { c.setSampleInterval(2); });
    EXPECT_EQ(pro.page->rateList()->currentIndex(), -1);
    pro.next();
    EXPECT_EQ(pro.f.config.sampleInterval(), 10);

    Shown<SetupNameForm> th(MODEL_ZR_TH, [](LoggerConfig& c) { c.setSampleInterval(2); });
    EXPECT_EQ(th.page->rateList()->currentText(), QStringLiteral("10 Sec (45 Hrs)"));
}

TEST(ThermocouplePage, StoresTypeUnitAndGoesOnByModel)
{
    Shown<SetupTCNameForm> s(MODEL_ZR_TC, [](LoggerConfig& c) { c.setOptionFlags(0x27); });
    EXPECT_EQ(s.page->typeList()->currentText(), QStringLiteral("K-Type"));
    EXPECT_TRUE(s.page->fahrenheitButton()->isChecked());
    s.page->typeList()->setCurrentIndex(2);
    s.page->rateList()->setCurrentIndex(0);
    s.next();
    EXPECT_EQ(s.f.config.optionFlags(), 0x41);
    EXPECT_EQ(s.f.config.sampleInterval(), 1);
    EXPECT_EQ(s.f.shown, std::vector<int>{PAGE_VOLTAGE_ALARMS});

    Shown<SetupTCNameForm> d(MODEL_ZR_TC_D, [](LoggerConfig& c) { c.setOptionFlags(0x30); });
    EXPECT_EQ(d.page->typeList()->currentText(), QStringLiteral("K-Type"));
    d.click(d.page->fahrenheitButton());
    d.next();
    EXPECT_EQ(d.f.config.optionFlags(), 0x21);
    EXPECT_EQ(d.f.config.scaleUnit(), "\xB0" "F");
    EXPECT_EQ(d.f.shown, std::vector<int>{PAGE_LCD});
    d.back();  // inert
    EXPECT_EQ(d.f.shown, std::vector<int>{PAGE_LCD});
}

TEST(VoltagePage, ScalingChoiceDecidesTheNextPageAndTheUnit)
{
    Shown<SetupVoltageNameForm> s(MODEL_ZR_A);
    const auto labels = s.page->findChildren<QLabel*>();
    const bool current = std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
        return l->text() == QStringLiteral("The USB Current Data Logger is set to:-");
    });
    EXPECT_TRUE(current);
    EXPECT_TRUE(s.page->standardButton()->isChecked());
    s.f.config.setScaleUnit("bar");
    s.click(s.page->customButton());
    s.next();
    EXPECT_EQ(s.f.config.optionFlags(), 1);
    EXPECT_EQ(s.f.config.scaleUnit(), "bar");
    EXPECT_EQ(s.f.shown, std::vector<int>{PAGE_VOLTAGE_CAL});

    s.page->updatePage();
    EXPECT_TRUE(s.page->customButton()->isChecked());
    s.click(s.page->standardButton());
    s.next();
    EXPECT_EQ(s.f.config.optionFlags(), 0);
    EXPECT_EQ(s.f.config.scaleUnit(), s.f.config.defaultScaleUnit());
    EXPECT_EQ(s.f.shown.back(), PAGE_VOLTAGE_ALARMS);
    EXPECT_EQ(s.page->nameEdit()->maxLength(), 15);
}

TEST(LowCostAndCoPages, StoreTheirRatesAndGoOn)
{
    Shown<SetupLiteNameForm> lite(MODEL_ZR_T_MINI, [](LoggerConfig& c) { c.setSampleInterval(60); });
    lite.click(lite.page->fahrenheitButton());
    lite.back();  // inert
    lite.next();
    EXPECT_EQ(lite.f.config.sampleInterval(), 1800);
    EXPECT_EQ(lite.f.config.optionFlags(), 1);
    EXPECT_EQ(lite.f.shown, std::vector<int>{PAGE_LITE_ALARMS});

    Shown<SetupCONameForm> co(MODEL_ZR_CO);
    co.typeName(QStringLiteral("Boiler Room"));
    co.page->rateList()->setCurrentIndex(1);
    co.next();
    co.back();
    EXPECT_EQ(co.f.config.loggerName(), "Boiler Room");
    EXPECT_EQ(co.f.config.sampleInterval(), 30);
    EXPECT_EQ(co.f.shown, (std::vector<int>{PAGE_CO_ALARMS, PAGE_CO_DISCLAIMER}));
}

template <typename P>
void checkAgreement(int model, int expectedNext, const std::string& modelName)
{
    Shown<P> s(model);
    const ConfigBlock before = s.f.config.block();
    AgreementPage* page = s.page.get();
    EXPECT_TRUE(page->disagreeButton()->isChecked());
    EXPECT_FALSE(page->nextButton()->isEnabled());

    s.click(page->agreeButton());
    EXPECT_TRUE(page->nextButton()->isEnabled());
    s.click(page->disagreeButton());
    EXPECT_FALSE(page->nextButton()->isEnabled());
    s.next();
    EXPECT_TRUE(s.f.shown.empty());

    s.click(page->agreeButton());
    s.next();
    EXPECT_EQ(s.f.shown, std::vector<int>{expectedNext});
    // Any page change refreshes: the agreement is withdrawn again.
    page->updatePage();
    EXPECT_TRUE(page->disagreeButton()->isChecked());
    EXPECT_FALSE(page->nextButton()->isEnabled());
    s.back();
    EXPECT_EQ(s.f.shown.back(), PAGE_MAIN_MENU);
    s.f.shown.clear();
    s.click(page->cancelButton());
    EXPECT_EQ(s.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    EXPECT_EQ(s.f.config.block(), before);

    // Read-only, scrollable, the two opening lines and the closing sentence.
    QPlainTextEdit* box = page->textBox();
    EXPECT_TRUE(box->isReadOnly());
    const QString shown = box->toPlainText();
    QTest::keyClicks(box, QStringLiteral("xyz"));
    EXPECT_EQ(box->toPlainText(), shown);
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);

    const std::string text = agreementText(page->pageNumber());
    EXPECT_EQ(text.rfind("PLEASE READ THROUGH THE MANUAL, WHICH SHOULD BE KEPT FOR FUTURE REFERENCE.\r\n"
                         "PASS THE MANUAL ON TO THOSE WHO USE THIS DEVICE. \r\n",
                         0),
              0u);
    const std::string confirmation = AGREEMENT_CONFIRMATION;
    EXPECT_EQ(confirmation.size(), 81u);
    ASSERT_GT(text.size(), confirmation.size());
    EXPECT_EQ(text.substr(text.size() - confirmation.size()), confirmation);
    EXPECT_NE(text.find(modelName), std::string::npos);
    EXPECT_NE(text.find("Meridane Electronics"), std::string::npos);
    // CR LF everywhere: no bare line feed.
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
        ASSERT_EQ(text[i - 1], '\r') << i;
}

TEST(AgreementPages, NextOnlyAfterAgreeingAndEveryRefreshWithdrawsIt)
{
    checkAgreement<SetupCODisclaimerForm>(MODEL_ZR_CO, PAGE_CO_NAME, "ZR-CO");
    checkAgreement<SetupPRODisclaimerForm>(MODEL_ZR_T_PRO, PAGE_SETUP_NAME, "ZR-T-PRO");
}

} // namespace
} // namespace vessor

#include "config_utility/wizard/setup_co_alarms_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "logger/setup/co_alarm_logic.h"
#include "config_utility/wizard/co_table_dialog.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/setup_form_text.h"

namespace vessor {

namespace {

// A gas cloud rather than the temperature pages' thermometer.
constexpr const char* PICTURE_ALARMS_GAS = ":/vessor-usb/panel-alarms-gas.png";

// Up to four digits of ppm.
constexpr int LEVEL_BOX_LENGTH = 4;

} // namespace

SetupCOAlarmsForm::SetupCOAlarmsForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_CO_ALARMS, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_ALARMS_GAS));

    QGroupBox* group = addGroup(tr("Warning Indicator"));
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(8);
    led_ = new QCheckBox(tr("Enable LED Indicator (flashes red when level reached)."), group);
    layout->addWidget(led_);

    QLabel* select = makeFormText(tr("Select the Carbon Monoxide (CO) trigger level."), group);
    QLabel* advice = makeFormText(tr("Click 'CO Levels...' button for further advice."), group);
    layout->addWidget(select);
    layout->addWidget(advice);

    auto* levelRow = new QHBoxLayout;
    QLabel* levelLabel = new QLabel(tr("Warning Level:-"), group);
    level_ = new NumberEdit(group);
    level_->setMaxLength(LEVEL_BOX_LENGTH);
    level_->setFixedWidth(60);
    level_->setAlignment(Qt::AlignRight);
    QLabel* unit = new QLabel(tr("ppm CO"), group);
    levels_ = new QPushButton(tr("CO Levels..."), group);
    levels_->setAutoDefault(false);
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(level_);
    levelRow->addWidget(unit);
    levelRow->addStretch(1);
    levelRow->addWidget(levels_);
    layout->addLayout(levelRow);

    hold_ = new QCheckBox(tr("Hold. Select to enable the USB Data Logger to"), group);
    QLabel* holdMore = makeFormText(tr("continue indicating a warning condition even when\n"
                                       "the value has returned below the set level."),
                                    group);
    holdMore->setWordWrap(false);
    // Under the hold box's text, past its indicator.
    holdMore->setContentsMargins(22, 0, 0, 0);
    auto* holdLines = new QVBoxLayout;
    holdLines->setSpacing(0);
    holdLines->addWidget(hold_);
    holdLines->addWidget(holdMore);
    layout->addLayout(holdLines);
    sounder_ = new QCheckBox(tr("Sounder Enabled (Cap must be fitted)."), group);
    layout->addWidget(sounder_);
    controlsLayout()->addStretch(1);

    ledDependents_ = {select, advice, levelLabel, level_, unit, levels_, hold_, holdMore, sounder_};

    connect(led_, &QCheckBox::clicked, this, &SetupCOAlarmsForm::ledClicked);
    connect(levels_, &QPushButton::clicked, this, [this] {
        SetupCOTableDialog dialog(this);
        dialog.exec();
    });
}

void SetupCOAlarmsForm::updatePage()
{
    const CoAlarmState state = readCoAlarms(config());
    led_->setChecked(state.ledEnabled);
    hold_->setChecked(state.hold);
    sounder_->setChecked(state.sounder);
    level_->setValue(state.level, 0, false, true);
    showEnabled();
}

void SetupCOAlarmsForm::ledClicked()
{
    config().setLowAlarmEnabled(led_->isChecked());
    showEnabled();
}

void SetupCOAlarmsForm::showEnabled()
{
    const bool on = led_->isChecked();
    for (QWidget* widget : ledDependents_)
        widget->setEnabled(on);
}

void SetupCOAlarmsForm::onNext()
{
    CoAlarmState entry;
    entry.ledEnabled = led_->isChecked();
    entry.hold = hold_->isChecked();
    entry.sounder = sounder_->isChecked();
    // The box as leaving it would leave it (also when Return pressed Next).
    entry.level = NumberEdit::parseLeadingNumber(level_->text());
    level_->setValue(entry.level, 0, false, true);

    const CoAlarmOutcome outcome = storeCoAlarms(config(), entry, ui());
    if (outcome.stored) {
        goNext();
        return;
    }
    if (outcome.levelAdjusted)
        level_->setValue(outcome.adjustedLevel, 0, false, true);
    if (outcome.focus == CoControl::Sounder)
        sounder_->setFocus(Qt::OtherFocusReason);
    else
        level_->setFocus(Qt::OtherFocusReason);
}

} // namespace vessor

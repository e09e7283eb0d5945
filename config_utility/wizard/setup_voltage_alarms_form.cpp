#include "config_utility/wizard/setup_voltage_alarms_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "logger/setup/number_alarm_logic.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/setup_form_text.h"
#include "logger/conversion.h"

namespace vessor {

namespace {

// The page serves temperature loggers too; the voltage and current ones get
// a meter instead of the thermometer.
constexpr const char* PICTURE_ALARMS_METER = ":/vessor-usb/panel-alarms-meter.png";

// The boxes hold a sign, digits and the decimal point of a level.
constexpr int LEVEL_BOX_LENGTH = 7;

// The box as focus-out would leave it: its text read as a number, and that
// number in the box's format (also when Return pressed Next inside the box).
double boxValue(const NumberEdit* box)
{
    return NumberEdit::parseLeadingNumber(box->text());
}

std::string boxText(const NumberEdit* box)
{
    return NumberEdit::formatValue(boxValue(box), box->decimals()).toStdString();
}

} // namespace

SetupVoltageAlarmsForm::SetupVoltageAlarmsForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_VOLTAGE_ALARMS, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_ALARMS));
    setHeading(tr("Select the Alarms to be set, otherwise click 'Next' to continue."));

    QGroupBox* group = addGroup();
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    highEnable_ = new QCheckBox(tr("High Alarm"), group);
    lowEnable_ = new QCheckBox(tr("Low Alarm"), group);
    highLabel_ = new QLabel(tr("High Alarm:-"), group);
    lowLabel_ = new QLabel(tr("Low Alarm:-"), group);
    highBox_ = new NumberEdit(group);
    lowBox_ = new NumberEdit(group);
    highUnit_ = new QLabel(group);
    lowUnit_ = new QLabel(group);
    highHold_ = new QCheckBox(tr("Hold"), group);
    lowHold_ = new QCheckBox(tr("Hold"), group);
    for (NumberEdit* box : {highBox_, lowBox_}) {
        box->setMaxLength(LEVEL_BOX_LENGTH);
        box->setFixedWidth(80);
        box->setAlignment(Qt::AlignRight);
    }
    for (QLabel* unit : {highUnit_, lowUnit_}) {
        unit->setTextFormat(Qt::PlainText);
        unit->setMinimumWidth(50);
    }
    grid->addWidget(highEnable_, 0, 0, 1, 4);
    grid->addWidget(highLabel_, 1, 0);
    grid->addWidget(highBox_, 1, 1);
    grid->addWidget(highUnit_, 1, 2);
    grid->addWidget(highHold_, 1, 3);
    grid->addWidget(lowEnable_, 2, 0, 1, 4);
    grid->addWidget(lowLabel_, 3, 0);
    grid->addWidget(lowBox_, 3, 1);
    grid->addWidget(lowUnit_, 3, 2);
    grid->addWidget(lowHold_, 3, 3);
    grid->setColumnStretch(4, 1);
    grid->setColumnMinimumWidth(0, 110);
    grid->setRowMinimumHeight(2, 30);

    QGroupBox* note = addGroup();
    auto* noteLayout = new QVBoxLayout(note);
    noteLayout->addWidget(makeFormText(
        tr("Note: Tick 'Hold' for the USB Data Logger to continue indicating an alarm condition even "
           "when the value has returned to within the set parameters."),
        note));
    disableLeds_ = new QCheckBox(tr("Disable LEDs"), this);
    controlsLayout()->addWidget(disableLeds_);
    controlsLayout()->addStretch(1);

    connect(highEnable_, &QCheckBox::clicked, this, [this] { enableClicked(true); });
    connect(lowEnable_, &QCheckBox::clicked, this, [this] { enableClicked(false); });
    // Stored at once, like the enable boxes.
    connect(disableLeds_, &QCheckBox::clicked, this,
            [this](bool checked) { config().setLedsDisabled(checked); });
}

void SetupVoltageAlarmsForm::updatePage()
{
    setPicture(QString::fromLatin1(
        isVoltageCurrentModel(config().modelType()) ? PICTURE_ALARMS_METER : PICTURE_ALARMS));
    const NumberAlarmState state = readNumberAlarms(config());
    const int decimals = numberAlarmDecimals(config());
    highEnable_->setChecked(state.highEnabled);
    lowEnable_->setChecked(state.lowEnabled);
    highHold_->setChecked(state.highHold);
    lowHold_->setChecked(state.lowHold);
    disableLeds_->setChecked(state.ledsDisabled);
    disableLeds_->setVisible(offersDisableLeds(config()));
    highBox_->setValue(state.high, decimals, true, true);
    lowBox_->setValue(state.low, decimals, true, true);
    const QString unit = QString::fromStdString(unitText(config()));
    highUnit_->setText(unit);
    lowUnit_->setText(unit);
    showEnabled();
}

void SetupVoltageAlarmsForm::enableClicked(bool high)
{
    QCheckBox* box = high ? highEnable_ : lowEnable_;
    if (high)
        config().setHighAlarmEnabled(box->isChecked());
    else
        config().setLowAlarmEnabled(box->isChecked());
    showEnabled();
}

void SetupVoltageAlarmsForm::showEnabled()
{
    const bool high = highEnable_->isChecked();
    const bool low = lowEnable_->isChecked();
    highBox_->setEnabled(high);
    highHold_->setEnabled(high);
    highLabel_->setEnabled(high);
    lowBox_->setEnabled(low);
    lowHold_->setEnabled(low);
    lowLabel_->setEnabled(low);
}

void SetupVoltageAlarmsForm::onNext()
{
    NumberAlarmEntry entry;
    entry.highEnabled = highEnable_->isChecked();
    entry.lowEnabled = lowEnable_->isChecked();
    entry.highHold = highHold_->isChecked();
    entry.lowHold = lowHold_->isChecked();
    entry.high = boxValue(highBox_);
    entry.low = boxValue(lowBox_);
    entry.highText = boxText(highBox_);
    entry.lowText = boxText(lowBox_);
    // The boxes show what was read, as on leaving them.
    const int decimals = numberAlarmDecimals(config());
    highBox_->setValue(entry.high, decimals, true, true);
    lowBox_->setValue(entry.low, decimals, true, true);

    const NumberAlarmOutcome outcome = storeNumberAlarms(config(), entry, ui());
    if (outcome.stored) {
        goNext();
        return;
    }
    NumberEdit* adjusted = outcome.adjustedBox == AlarmBox::High  ? highBox_
                            : outcome.adjustedBox == AlarmBox::Low ? lowBox_
                                                                   : nullptr;
    if (adjusted)
        adjusted->setValue(outcome.adjustedValue, decimals, true, true);
    NumberEdit* focus = outcome.focus == AlarmBox::Low ? lowBox_ : highBox_;
    focus->setFocus(Qt::OtherFocusReason);
}

} // namespace vessor

#include "config_utility/wizard/setup_alarms_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "config_utility/wizard/setup_form_text.h"

namespace vessor {

AlarmListForm::AlarmListForm(int pageNumber, AlarmListPage kind, PageContext& context, QWidget* parent)
    : WizardPage(pageNumber, context, parent), kind_(kind)
{
    const bool humidity = kind == AlarmListPage::Humidity;
    setPicture(QString::fromLatin1(PICTURE_ALARMS));
    setHeading(humidity ? tr("Select the Humidity Alarms to be set, otherwise click 'Next' to continue.")
                        : tr("Select the Temperature Alarms to be set, otherwise click 'Next' to continue."));

    QGroupBox* group = addGroup();
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    highEnable_ = new QCheckBox(humidity ? tr("High rh Alarm") : tr("High Alarm"), group);
    lowEnable_ = new QCheckBox(humidity ? tr("Low rh Alarm") : tr("Low Alarm"), group);
    highLabel_ = new QLabel(humidity ? tr("High rh Alarm:-") : tr("High Alarm:-"), group);
    lowLabel_ = new QLabel(humidity ? tr("Low rh Alarm:-") : tr("Low Alarm:-"), group);
    highList_ = new QComboBox(group);
    lowList_ = new QComboBox(group);
    highHold_ = new QCheckBox(tr("Hold"), group);
    lowHold_ = new QCheckBox(tr("Hold"), group);
    for (QComboBox* list : {highList_, lowList_}) {
        list->setMaxVisibleItems(12);
        list->setMinimumWidth(110);
    }
    grid->addWidget(highEnable_, 0, 0, 1, 3);
    grid->addWidget(highLabel_, 1, 0);
    grid->addWidget(highList_, 1, 1);
    grid->addWidget(highHold_, 1, 2);
    grid->addWidget(lowEnable_, 2, 0, 1, 3);
    grid->addWidget(lowLabel_, 3, 0);
    grid->addWidget(lowList_, 3, 1);
    grid->addWidget(lowHold_, 3, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(0, 110);
    grid->setRowMinimumHeight(2, 30);

    QGroupBox* note = addGroup();
    auto* noteLayout = new QVBoxLayout(note);
    noteLayout->addWidget(makeFormText(
        humidity ? tr("Note: Tick 'Hold' for the USB Data Logger to continue indicating an alarm condition "
                      "even when the humidity has returned to within the set parameters.")
                 : tr("Note: Tick 'Hold' for the USB Data Logger to continue indicating an alarm condition "
                      "even when the temperature has returned to within the set parameters."),
        note));
    controlsLayout()->addStretch(1);

    connect(highEnable_, &QCheckBox::clicked, this, [this] { enableClicked(true); });
    connect(lowEnable_, &QCheckBox::clicked, this, [this] { enableClicked(false); });
}

void AlarmListForm::updatePage()
{
    const AlarmListState state = readAlarmList(kind_, config());
    const LevelList list = levelList(kind_, config());
    QStringList texts;
    for (const std::string& text : list.texts())
        texts << QString::fromStdString(text);
    for (QComboBox* combo : {highList_, lowList_}) {
        combo->clear();
        combo->addItems(texts);
    }
    highList_->setCurrentIndex(state.highIndex);
    lowList_->setCurrentIndex(state.lowIndex);
    highEnable_->setChecked(state.highEnabled);
    lowEnable_->setChecked(state.lowEnabled);
    highHold_->setChecked(state.highHold);
    lowHold_->setChecked(state.lowHold);
    showEnabled();
}

AlarmListState AlarmListForm::controls() const
{
    AlarmListState state;
    state.highEnabled = highEnable_->isChecked();
    state.lowEnabled = lowEnable_->isChecked();
    state.highHold = highHold_->isChecked();
    state.lowHold = lowHold_->isChecked();
    state.highIndex = highList_->currentIndex();
    state.lowIndex = lowList_->currentIndex();
    return state;
}

void AlarmListForm::enableClicked(bool high)
{
    QCheckBox* box = high ? highEnable_ : lowEnable_;
    setAlarmEnabled(kind_, config(), high, box->isChecked());
    showEnabled();
}

void AlarmListForm::showEnabled()
{
    const bool high = highEnable_->isChecked();
    const bool low = lowEnable_->isChecked();
    highList_->setEnabled(high);
    highHold_->setEnabled(high);
    highLabel_->setEnabled(high);
    lowList_->setEnabled(low);
    lowHold_->setEnabled(low);
    lowLabel_->setEnabled(low);
}

void AlarmListForm::onNext()
{
    // Stored before the check: a refused page keeps what it chose.
    storeAlarmList(kind_, config(), controls());
    if (!checkAlarmOrder(kind_, config(), ui())) {
        highList_->setFocus(Qt::OtherFocusReason);
        return;
    }
    goNext();
}

void AlarmListForm::onBack()
{
    if (kind_ != AlarmListPage::LiteTemperature)
        storeAlarmList(kind_, config(), controls());
    goBack();
}

SetupAlarmsForm::SetupAlarmsForm(PageContext& context, QWidget* parent)
    : AlarmListForm(PAGE_SETUP_ALARMS, AlarmListPage::Temperature, context, parent)
{
}

SetupLiteAlarmsForm::SetupLiteAlarmsForm(PageContext& context, QWidget* parent)
    : AlarmListForm(PAGE_LITE_ALARMS, AlarmListPage::LiteTemperature, context, parent)
{
}

SetupRHAlarmsForm::SetupRHAlarmsForm(PageContext& context, QWidget* parent)
    : AlarmListForm(PAGE_RH_ALARMS, AlarmListPage::Humidity, context, parent)
{
}

} // namespace vessor

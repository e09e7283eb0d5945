#include "config_utility/wizard/setup_start_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "config_utility/shell/device_messages.h"
#include "config_utility/wizard/setup_form_text.h"
#include "logger/setup/start_logic.h"
#include "config_utility/wizard/start_pickers.h"

namespace vessor {

namespace {

// Finish of both start pages; the device's failure is shown here.
bool finishSetup(LoggerSession& session, UserInterface& ui, const CalendarTime& start, const CalendarTime& now,
                 bool pushButton)
{
    const StartAttempt attempt = startAt(session, ui, start, now, pushButton);
    return attempt.inFuture && showDeviceResult(ui, attempt.device);
}

QTimer* makeClockTimer(QObject* parent)
{
    auto* timer = new QTimer(parent);
    timer->setInterval(START_CLOCK_PERIOD_MS);
    return timer;
}

void addPickerRows(QGridLayout* grid, int firstRow, StartPickers* pickers, QWidget* parent)
{
    grid->addWidget(new QLabel(QObject::tr("Start Time:-"), parent), firstRow, 0);
    grid->addWidget(pickers->timeEdit(), firstRow, 1);
    grid->addWidget(new QLabel(QObject::tr("Start Date:-"), parent), firstRow + 1, 0);
    grid->addWidget(pickers->dateEdit(), firstRow + 1, 1);
    grid->setColumnStretch(2, 1);
}

} // namespace

// --- Start page -------------------------------------------------------------

SetupStartForm::SetupStartForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_SETUP_START, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_START));
    setFinishButton(true);

    QGroupBox* group = addGroup();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(10);
    layout->addWidget(makeFormText(tr("To begin logging immediately, click 'Finish'."), group));
    layout->addWidget(makeFormText(
        tr("To delay the start of the USB Data Logger, select a 'Start Time' and 'Start Date'."), group));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setContentsMargins(0, 6, 0, 0);
    pickers_ = new StartPickers(group);
    addPickerRows(grid, 0, pickers_, group);
    layout->addLayout(grid);
    controlsLayout()->addStretch(1);

    timer_ = makeClockTimer(this);
    connect(timer_, &QTimer::timeout, this, &SetupStartForm::followClock);
    // From the user's first change on, the pickers keep the user's values.
    connect(pickers_, &StartPickers::userChanged, this, &SetupStartForm::stopFollowing);
}

void SetupStartForm::updatePage()
{
    timer_->stop();
    if (context().liveStartClock) {
        pickers_->setToNow(context().clock.now());
        timer_->start();
    } else {
        pickers_->setEarliestAndTime(context().clock.now());
    }
}

void SetupStartForm::followClock()
{
    pickers_->setToNow(context().clock.now());
}

void SetupStartForm::stopFollowing()
{
    timer_->stop();
    context().liveStartClock = false;
}

void SetupStartForm::onNext()
{
    stopFollowing();
    const CalendarTime start = pickers_->moment();
    if (finishSetup(context().session, ui(), start, context().clock.now(), false))
        showPage(PAGE_SETUP_SUMMARY);
}

void SetupStartForm::onBack()
{
    stopFollowing();
    goBack();
}

void SetupStartForm::onCancel()
{
    stopFollowing();
    WizardPage::onCancel();
}

// --- Push-button start page ---------------------------------------------------

SetupPushToStartForm::SetupPushToStartForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_PUSH_TO_START, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_START));
    setFinishButton(true);
    setHeading(tr("Select when you would like the logger to start and press 'Finish'."));

    QGroupBox* group = addGroup();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(8);
    choices_[START_IMMEDIATE] = new QRadioButton(tr("Immediate start."), group);
    choices_[START_ON_BUTTON] = new QRadioButton(tr("Start when the data logger button is pressed."), group);
    choices_[START_DELAYED] = new QRadioButton(
        tr("Delay the start of the data logger; select a start time\nand start date below:"), group);
    addChoices(layout, {choices_[0], choices_[1], choices_[2]}, this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setContentsMargins(22, 4, 0, 0);
    pickers_ = new StartPickers(group);
    addPickerRows(grid, 0, pickers_, group);
    layout->addLayout(grid);
    controlsLayout()->addStretch(1);

    timer_ = makeClockTimer(this);
    connect(timer_, &QTimer::timeout, this, &SetupPushToStartForm::followClock);
    connect(choices_[START_IMMEDIATE], &QRadioButton::clicked, this, &SetupPushToStartForm::immediateClicked);
    connect(choices_[START_ON_BUTTON], &QRadioButton::clicked, this, &SetupPushToStartForm::buttonStartClicked);
    connect(choices_[START_DELAYED], &QRadioButton::clicked, this, &SetupPushToStartForm::delayedClicked);
    connect(pickers_, &StartPickers::userChanged, this, &SetupPushToStartForm::pickerChanged);
}

QRadioButton* SetupPushToStartForm::choiceButton(int choice) const
{
    return choice >= 0 && choice < 3 ? choices_[choice] : nullptr;
}

int SetupPushToStartForm::choice() const
{
    for (int i = 0; i < 3; ++i)
        if (choices_[i]->isChecked())
            return i;
    return START_IMMEDIATE;
}

void SetupPushToStartForm::select(int choice)
{
    choices_[choice]->setChecked(true);
}

void SetupPushToStartForm::updatePage()
{
    if (config().isPushButtonMode()) {
        select(START_ON_BUTTON);
        pickers_->setBlank(true);
        pickers_->setEnabled(false);
        stopFollowing();
        return;
    }
    select(START_IMMEDIATE);
    pickers_->setEnabled(true);
    followClock();
    timer_->stop();
    if (context().livePushClock)
        timer_->start();
}

void SetupPushToStartForm::followClock()
{
    pickers_->setBlank(false);
    pickers_->setToNow(context().clock.now());
}

void SetupPushToStartForm::stopFollowing()
{
    timer_->stop();
    context().livePushClock = false;
}

void SetupPushToStartForm::immediateClicked()
{
    // Already following the clock: nothing to restart.
    if (context().livePushClock)
        return;
    pickers_->setEnabled(true);
    followClock();
    context().livePushClock = true;
    timer_->start();
}

void SetupPushToStartForm::buttonStartClicked()
{
    pickers_->setBlank(true);
    pickers_->setEnabled(false);
    stopFollowing();
}

void SetupPushToStartForm::delayedClicked()
{
    pickers_->setEnabled(true);
    stopFollowing();
    followClock();
}

void SetupPushToStartForm::pickerChanged()
{
    select(START_DELAYED);
    stopFollowing();
}

void SetupPushToStartForm::onNext()
{
    stopFollowing();
    const CalendarTime now = context().clock.now();
    const int chosen = choice();
    const CalendarTime start = chosen == START_DELAYED ? pickers_->moment() : now;
    if (finishSetup(context().session, ui(), start, now, chosen == START_ON_BUTTON))
        showPage(PAGE_SETUP_SUMMARY);
}

void SetupPushToStartForm::onBack()
{
    stopFollowing();
    goBack();
}

void SetupPushToStartForm::onCancel()
{
    stopFollowing();
    WizardPage::onCancel();
}

} // namespace vessor

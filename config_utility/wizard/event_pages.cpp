#include "config_utility/wizard/event_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include "logger/setup/event_pages_logic.h"
#include "logger/setup/name_pages_logic.h"
#include "config_utility/wizard/setup_form_text.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

QRadioButton* addRadio(const QString& text, QButtonGroup* group, int id, QWidget* parent)
{
    auto* button = new QRadioButton(text, parent);
    group->addButton(button, id);
    return button;
}

} // namespace

// --- Page 21: name and mode of operation ------------------------------------------

SetupZevNameForm::SetupZevNameForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_EV_NAME, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_EVENT));
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));

    QGroupBox* nameGroup = addGroup(tr("Logger Name (Max 15 Char.):-"));
    auto* nameLayout = new QVBoxLayout(nameGroup);
    nameLayout->setSpacing(4);
    name_ = new QLineEdit(nameGroup);
    name_->setMaxLength(NAME_BOX_LIMIT_SHORT);
    nameLayout->addWidget(name_);
    nameLayout->addWidget(makeFormText(tr("For example: Outside Temp"), nameGroup));

    QGroupBox* modeGroup = addGroup(tr("Choose the mode of operation:"));
    auto* modeLayout = new QVBoxLayout(modeGroup);
    modeLayout->setSpacing(8);
    const QString texts[3] = {
        tr("Record events (the time at which the input changes) up") + QLatin1Char('\n') +
            tr("to 4 times per second."),
        tr("Record state changes (the time at which the input changes") + QLatin1Char('\n') +
            tr("and the duration of the change) up to twice per second."),
        tr("Count events (the number of events is recorded, but no") + QLatin1Char('\n') +
            tr("time or date information) up to 100 times per second."),
    };
    for (int i = 0; i < 3; ++i)
        mode_[i] = new QRadioButton(texts[i], modeGroup);
    addChoices(modeLayout, {mode_[0], mode_[1], mode_[2]}, this);
    controlsLayout()->addStretch(1);
}

QRadioButton* SetupZevNameForm::modeButton(int choice) const
{
    return choice >= 0 && choice < 3 ? mode_[choice] : nullptr;
}

void SetupZevNameForm::updatePage()
{
    name_->setText(QString::fromStdString(cp1252ToUtf8(config().loggerName())));
    shownMode_ = config().eventSampleMode();
    mode_[eventModeChoice(shownMode_)]->setChecked(true);
}

void SetupZevNameForm::onNext()
{
    const NameCheck check = checkLoggerName(name_->text().toStdString());
    if (check.messageId != 0) {
        rejectInput(check.message, name_);
        return;
    }
    config().setLoggerName(check.name);
    int choice = EVENT_CHOICE_EDGES;
    for (int i = 0; i < 3; ++i)
        if (mode_[i]->isChecked())
            choice = i;
    storeEventModeChoice(config(), choice, shownMode_);
    goNext();
}

// --- Page 22: trigger ---------------------------------------------------------------

SetupZevTriggerModeForm::SetupZevTriggerModeForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_EV_TRIGGER_MODE, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_EVENT));

    QGroupBox* edgeGroup = addGroup();
    auto* edgeLayout = new QVBoxLayout(edgeGroup);
    edgeLayout->setSpacing(6);
    edgeLayout->addWidget(makeFormText(tr("Select which edge the logger uses as a trigger:"), edgeGroup));
    rising_ = new QRadioButton(tr("Rising edge (a voltage going from low to high)"), edgeGroup);
    falling_ = new QRadioButton(tr("Falling edge (a voltage going from high to low)"), edgeGroup);
    addChoices(edgeLayout, {rising_, falling_}, this);
    note_ = makeFormText(QString(), edgeGroup);
    edgeLayout->addWidget(note_);

    QGroupBox* inputGroup = addGroup();
    auto* inputLayout = new QVBoxLayout(inputGroup);
    inputLayout->setSpacing(6);
    QVBoxLayout* inputText = addParagraph(inputLayout);
    inputText->addWidget(makeFormText(tr("Select between voltage triggering (i.e. an external voltage)"), inputGroup));
    inputText->addWidget(makeFormText(tr("or volt free contacts (i.e. a relay):"), inputGroup));
    voltage_ = new QRadioButton(tr("Voltage triggering"), inputGroup);
    voltFree_ = new QRadioButton(tr("Volt free contacts"), inputGroup);
    addChoices(inputLayout, {voltage_, voltFree_}, this);

    QGroupBox* ledGroup = addGroup();
    auto* ledLayout = new QHBoxLayout(ledGroup);
    ledLayout->addWidget(new QLabel(tr("Flash red LED on event."), ledGroup));
    auto* leds = new QButtonGroup(this);
    ledOn_ = addRadio(tr("On"), leds, 0, ledGroup);
    ledOff_ = addRadio(tr("Off"), leds, 1, ledGroup);
    ledLayout->addSpacing(12);
    ledLayout->addWidget(ledOn_);
    ledLayout->addSpacing(12);
    ledLayout->addWidget(ledOff_);
    ledLayout->addStretch(1);
    controlsLayout()->addStretch(1);
}

void SetupZevTriggerModeForm::updatePage()
{
    const TriggerPageState state = triggerPageState(config());
    (state.risingEdge ? rising_ : falling_)->setChecked(true);
    (state.voltFree ? voltFree_ : voltage_)->setChecked(true);
    rising_->setEnabled(state.edgeChoiceEnabled);
    falling_->setEnabled(state.edgeChoiceEnabled);
    (state.ledOff ? ledOff_ : ledOn_)->setChecked(true);
    note_->setText(QString::fromStdString(state.note));
    note_->setVisible(!state.note.empty());
}

void SetupZevTriggerModeForm::onNext()
{
    storeTriggerPage(config(), rising_->isChecked(), voltFree_->isChecked(), ledOff_->isChecked());
    goNext();
}

// --- Page 23: voltage range ---------------------------------------------------------

SetupZevVoltageTriggerForm::SetupZevVoltageTriggerForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_EV_VOLTAGE_TRIGGER, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_EVENT));

    QGroupBox* group = addGroup();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(10);
    layout->addWidget(makeFormText(tr("Select the input range that suits the application:"), group));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    const QString titles[3] = {tr("Voltage range"), tr("Low trigger voltage"), tr("High trigger voltage")};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(titles[c], group), 0, c, c == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    auto* ranges = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        const EventVoltageRange& row = EVENT_VOLTAGE_RANGES[i];
        range_[i] = addRadio(QString::fromLatin1(row.range), ranges, i, group);
        grid->addWidget(range_[i], i + 1, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(row.lowTrigger), group), i + 1, 1, Qt::AlignHCenter);
        grid->addWidget(new QLabel(QString::fromLatin1(row.highTrigger), group), i + 1, 2, Qt::AlignHCenter);
    }
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    QGroupBox* noteGroup = addGroup();
    QVBoxLayout* note = addParagraph(new QVBoxLayout(noteGroup));
    note->addWidget(makeFormText(tr("Note: The trigger voltages are the respective levels that must"), noteGroup));
    note->addWidget(makeFormText(tr("be met for the logger to consider a voltage 'high' or 'low'."), noteGroup));
    controlsLayout()->addStretch(1);
}

QRadioButton* SetupZevVoltageTriggerForm::rangeButton(int choice) const
{
    return choice >= 0 && choice < 4 ? range_[choice] : nullptr;
}

void SetupZevVoltageTriggerForm::updatePage()
{
    range_[voltageRangeChoice(config())]->setChecked(true);
}

void SetupZevVoltageTriggerForm::onNext()
{
    int choice = 0;
    for (int i = 0; i < 4; ++i)
        if (range_[i]->isChecked())
            choice = i;
    storeVoltageRange(config(), choice);
    goNext();
}

// --- Page 24: counting period -------------------------------------------------------

namespace {

constexpr int SPIN_MAX[3] = {PERIOD_HOURS_MAX, PERIOD_MINUTES_MAX, PERIOD_SECONDS_MAX};

} // namespace

SetupZevCountPeriodForm::SetupZevCountPeriodForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_EV_COUNT_PERIOD, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_EVENT));

    QGroupBox* group = addGroup();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(10);
    QVBoxLayout* text = addParagraph(layout);
    text->addWidget(makeFormText(tr("Tick the box below to count the number of events in a"), group));
    text->addWidget(makeFormText(tr("user specified time period (e.g. the number of events"), group));
    text->addWidget(makeFormText(tr("every 10 seconds). If left un-ticked, the logger will count"), group));
    text->addWidget(makeFormText(tr("the number of events over the entire logging period."), group));
    periodBox_ = new QCheckBox(tr("Enable counts per time period"), group);
    layout->addWidget(periodBox_);

    QGroupBox* periodGroup = addGroup(tr("Time period"));
    auto* periodLayout = new QVBoxLayout(periodGroup);
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    const QString names[3] = {tr("Hours"), tr("Minutes"), tr("Seconds")};
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    for (int f = 0; f < 3; ++f) {
        fields_[f] = new QLineEdit(periodGroup);
        fields_[f]->setValidator(digits);
        fields_[f]->setMaxLength(PERIOD_FIELD_LIMIT);
        fields_[f]->setFixedWidth(44);
        fields_[f]->setAlignment(Qt::AlignRight);
        fields_[f]->installEventFilter(this);
        // The spin control: two arrows that step the field's number round
        // its range.
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        up_[f] = new QToolButton(periodGroup);
        down_[f] = new QToolButton(periodGroup);
        up_[f]->setArrowType(Qt::UpArrow);
        down_[f]->setArrowType(Qt::DownArrow);
        for (QToolButton* arrow : {up_[f], down_[f]}) {
            arrow->setFixedSize(16, 12);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrows->addWidget(arrow);
        }
        connect(up_[f], &QToolButton::clicked, this, [this, f] { spin(f, 1); });
        connect(down_[f], &QToolButton::clicked, this, [this, f] { spin(f, -1); });
        if (f > 0)
            row->addSpacing(10);
        row->addWidget(fields_[f]);
        row->addLayout(arrows);
        row->addSpacing(2);
        row->addWidget(new QLabel(names[f], periodGroup));
    }
    row->addStretch(1);
    periodLayout->addLayout(row);
    fields_[SECONDS]->setToolTip(tr("Seconds above 59 are accepted and add to the period."));
    periodLayout->addWidget(makeFormText(
        tr("Seconds above 59 are accepted and add to the period (90 seconds = 1 minute 30 seconds)."),
        periodGroup));
    controlsLayout()->addStretch(1);

    connect(periodBox_, &QCheckBox::clicked, this, [this](bool ticked) { boxClicked(ticked); });
}

void SetupZevCountPeriodForm::updatePage()
{
    const bool ticked = isCountPerPeriod(config());
    periodBox_->setChecked(ticked);
    enableFields(ticked);
    if (ticked)
        fillFields(config().countPeriod());
    else
        for (QLineEdit* f : fields_)
            f->clear();
}

void SetupZevCountPeriodForm::boxClicked(bool ticked)
{
    enableFields(ticked);
    if (ticked) {
        fillFields(periodOnTicking(config()));
    } else {
        for (QLineEdit* f : fields_)
            f->clear();
    }
}

void SetupZevCountPeriodForm::enableFields(bool on)
{
    for (int f = 0; f < 3; ++f) {
        fields_[f]->setEnabled(on);
        up_[f]->setEnabled(on);
        down_[f]->setEnabled(on);
    }
}

void SetupZevCountPeriodForm::fillFields(std::uint32_t period)
{
    const PeriodFields text = periodFields(period);
    fields_[HOURS]->setText(QString::fromStdString(text.hours));
    fields_[MINUTES]->setText(QString::fromStdString(text.minutes));
    fields_[SECONDS]->setText(QString::fromStdString(text.seconds));
}

void SetupZevCountPeriodForm::spin(int f, int step)
{
    if (!fields_[f]->isEnabled())
        return;
    fields_[f]->setText(QString::number(spinStep(fields_[f]->text().toStdString(), step, SPIN_MAX[f])));
}

bool SetupZevCountPeriodForm::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow keys in a field work its spin control.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int f = 0; f < 3; ++f) {
            if (watched == fields_[f] && (key == Qt::Key_Up || key == Qt::Key_Down)) {
                spin(f, key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return WizardPage::eventFilter(watched, event);
}

void SetupZevCountPeriodForm::onNext()
{
    PeriodFields typed;
    typed.hours = fields_[HOURS]->text().toStdString();
    typed.minutes = fields_[MINUTES]->text().toStdString();
    typed.seconds = fields_[SECONDS]->text().toStdString();
    const PeriodVerdict verdict = storeCountPeriod(config(), periodBox_->isChecked(), typed);
    if (verdict.message.empty()) {
        goNext();
        return;
    }
    ui().showMessage(verdict.message);
    const int f = verdict.focus == PeriodField::Minutes ? MINUTES : (verdict.focus == PeriodField::Seconds ? SECONDS : HOURS);
    fields_[f]->setFocus(Qt::OtherFocusReason);
}

} // namespace vessor

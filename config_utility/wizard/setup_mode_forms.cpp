#include "config_utility/wizard/setup_mode_forms.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config_utility/wizard/setup_form_text.h"
#include "logger/setup/start_logic.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

// "Select how the logger should perform when full." with its two choices.
QGroupBox* addStorageGroup(QGroupBox* group, QRadioButton* (&storage)[2], QObject* owner)
{
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(6);
    layout->addWidget(makeFormText(QObject::tr("Select how the logger should perform when full."), group));
    storage[0] = new QRadioButton(QObject::tr("Logger stops (recommended)"), group);
    storage[1] = new QRadioButton(
        QObject::tr("Logger continues to log, overwriting the oldest data\nwhen full"), group);
    addChoices(layout, {storage[0], storage[1]}, owner);
    return group;
}

int checkedIndex(QRadioButton* const* buttons, int count)
{
    for (int i = 0; i < count; ++i)
        if (buttons[i]->isChecked())
            return i;
    return 0;
}

} // namespace

// --- Display page -------------------------------------------------------------

SetupLCDForm::SetupLCDForm(PageContext& context, QWidget* parent) : WizardPage(PAGE_LCD, context, parent)
{
    QGroupBox* display = addGroup();
    auto* layout = new QVBoxLayout(display);
    layout->setSpacing(6);
    layout->addWidget(makeFormText(tr("Select how you would like the display to function."), display));
    display_[0] = new QRadioButton(tr("LCD Off"), display);
    display_[1] = new QRadioButton(tr("LCD On for 30 seconds after button press"), display);
    display_[2] = new QRadioButton(tr("LCD Always On"), display);
    addChoices(layout, {display_[0], display_[1], display_[2]}, this);
    QVBoxLayout* note = addParagraph(layout);
    note->addWidget(makeFormText(tr("NOTE: Prolonged use of the display will reduce battery life."), display));
    note->addWidget(makeFormText(tr("LCD response time will slow down in low temperatures."), display));
    note->addWidget(makeFormText(tr("Normal function will return at room temperatures."), display));

    QGroupBox* storage = addStorageGroup(addGroup(), storage_, this);
    auto* storageLayout = static_cast<QVBoxLayout*>(storage->layout());
    storageLayout->addWidget(makeFormText(tr("WARNING: If data is overwritten it cannot be recovered."), storage));
    controlsLayout()->addStretch(1);
}

QRadioButton* SetupLCDForm::displayButton(int choice) const
{
    return choice >= 0 && choice < 3 ? display_[choice] : nullptr;
}

QRadioButton* SetupLCDForm::storageButton(int choice) const
{
    return choice >= 0 && choice < 2 ? storage_[choice] : nullptr;
}

void SetupLCDForm::updatePage()
{
    display_[displayChoice(config())]->setChecked(true);
    storage_[storageChoice(config())]->setChecked(true);
}

void SetupLCDForm::onNext()
{
    storeDisplayPage(config(), checkedIndex(display_, 3), checkedIndex(storage_, 2));
    goNext();
}

// --- Storage mode page ----------------------------------------------------------

SetupStorageModeForm::SetupStorageModeForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_STORAGE_MODE, context, parent)
{
    QGroupBox* storage = addStorageGroup(addGroup(), storage_, this);
    auto* layout = static_cast<QVBoxLayout*>(storage->layout());
    layout->addSpacing(6);

    QVBoxLayout* stop = addParagraph(layout);
    stop->addWidget(makeFormText(tr("If the logger is set to stop when full, it can record a maximum"), storage));
    capacity_ = makeFormText(QString(), storage);
    stop->addWidget(capacity_);
    stop->addWidget(makeFormText(tr("No information will be recorded after the logger has stopped."), storage));
    layout->addSpacing(6);

    QVBoxLayout* wrap = addParagraph(layout);
    wrap->addWidget(makeFormText(tr("If the logger is set to overwrite the oldest data, it will only"), storage));
    retain_ = makeFormText(QString(), storage);
    wrap->addWidget(retain_);
    wrap->addWidget(makeFormText(tr("Overwritten data cannot be recovered (including data that"), storage));
    wrap->addWidget(makeFormText(tr("triggers an alarm condition)."), storage));
    controlsLayout()->addStretch(1);
}

QRadioButton* SetupStorageModeForm::storageButton(int choice) const
{
    return choice >= 0 && choice < 2 ? storage_[choice] : nullptr;
}

void SetupStorageModeForm::updatePage()
{
    capacity_->setText(QString::fromStdString(storageCapacityText(config())));
    retain_->setText(QString::fromStdString(storageRetainText(config())));
    storage_[storageChoice(config())]->setChecked(true);
}

void SetupStorageModeForm::onNext()
{
    storeStoragePage(config(), checkedIndex(storage_, 2));
    goNext();
}

// --- Confirmation page ------------------------------------------------------------

SetupSummaryForm::SetupSummaryForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_SETUP_SUMMARY, context, parent)
{
    setPicture(QString::fromLatin1(PICTURE_START));
    QGroupBox* group = addGroup();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(8);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(makeFormText(tr("The Vessor USB Data Logger:"), group));
    name_ = makeFormText(QString(), group);
    QFont bold = name_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    name_->setFont(bold);
    name_->setContentsMargins(16, 0, 0, 0);
    layout->addWidget(name_);
    layout->addWidget(makeFormText(tr("has been configured successfully."), group));
    layout->addSpacing(10);
    layout->addWidget(makeFormText(tr("Remove the unit from the USB socket."), group));
    controlsLayout()->addStretch(1);

    // Only OK, which returns to the main menu.
    backButton()->hide();
    cancelButton()->hide();
    nextButton()->setText(tr("OK"));
}

void SetupSummaryForm::updatePage()
{
    name_->setText(QString::fromStdString(cp1252ToUtf8(config().loggerName())));
}

} // namespace vessor

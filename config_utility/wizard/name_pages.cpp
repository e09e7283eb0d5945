#include "config_utility/wizard/name_pages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "logger/setup/name_pages_logic.h"
#include "config_utility/wizard/page_sequence.h"
#include "config_utility/wizard/setup_form_text.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

QLabel* noteLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

void fillRateList(QComboBox* box, const RateList& list, std::uint16_t interval)
{
    box->clear();
    for (const RateEntry& entry : list.entries)
        box->addItem(QString::fromLatin1(entry.text));
    box->setCurrentIndex(rateIndexFor(list, interval));
}

} // namespace

// --- NamingPage ---

NamingPage::NamingPage(int pageNumber, PageContext& context, QWidget* parent)
    : WizardPage(pageNumber, context, parent)
{
}

void NamingPage::addNameGroup(const QString& title, const QString& example, int boxLimit)
{
    QGroupBox* group = addGroup(title);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(4);
    nameEdit_ = new QLineEdit(group);
    if (boxLimit > 0)
        nameEdit_->setMaxLength(boxLimit);
    layout->addWidget(nameEdit_);
    layout->addWidget(noteLabel(example, group));
}

QComboBox* NamingPage::makeRateList(QWidget* parent)
{
    rateList_ = new QComboBox(parent);
    rateList_->setMinimumContentsLength(18);
    return rateList_;
}

void NamingPage::addUnitGroup(const QString& title)
{
    QGroupBox* group = addGroup(title);
    auto* layout = new QHBoxLayout(group);
    celsius_ = new QRadioButton(QStringLiteral(u"\u00B0C"), group);
    fahrenheit_ = new QRadioButton(QStringLiteral(u"\u00B0F"), group);
    auto* buttons = new QButtonGroup(group);
    buttons->addButton(celsius_, 0);
    buttons->addButton(fahrenheit_, 1);
    layout->addWidget(celsius_);
    layout->addSpacing(24);
    layout->addWidget(fahrenheit_);
    layout->addStretch(1);
}

bool NamingPage::fahrenheitChosen() const
{
    return fahrenheit_ && fahrenheit_->isChecked();
}

void NamingPage::setFahrenheitChosen(bool fahrenheit)
{
    (fahrenheit ? fahrenheit_ : celsius_)->setChecked(true);
}

void NamingPage::updateNameAndRate()
{
    nameEdit_->setText(QString::fromStdString(cp1252ToUtf8(config().loggerName())));
    if (rateList_)
        fillRateList(rateList_, rateListFor(stepOfPage(pageNumber()), config().modelType()), config().sampleInterval());
}

bool NamingPage::acceptName(int readBackLimit)
{
    const NameCheck check = readBackName(nameEdit_->text().toStdString(), readBackLimit, ui());
    if (check.messageId != 0) {
        rejectInput(check.message, nameEdit_);
        return false;
    }
    config().setLoggerName(check.name);
    return true;
}

void NamingPage::storeRate()
{
    if (rateList_)
        config().setSampleInterval(
            rateToStore(rateListFor(stepOfPage(pageNumber()), config().modelType()), rateList_->currentIndex()));
}

// --- Page 1 ---

SetupNameForm::SetupNameForm(PageContext& context, QWidget* parent)
    : NamingPage(PAGE_SETUP_NAME, context, parent)
{
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));
    addNameGroup(tr("Logger Name (Max 15 Char.):-"), tr("For example: Outside Temp"), 0);
    addUnitGroup(tr("Select Temperature Scale. "));
    QGroupBox* rate = addGroup(tr("Sample Rate:-"));
    auto* rateLayout = new QHBoxLayout(rate);
    rateLayout->addWidget(makeRateList(rate));
    rateLayout->addStretch(1);
    controlsLayout()->addStretch(1);
}

void SetupNameForm::updatePage()
{
    backButton()->setEnabled(isBackEnabled(PAGE_SETUP_NAME, config()));
    updateNameAndRate();
    shownFahrenheit_ = isFahrenheitByte(config());
    setFahrenheitChosen(shownFahrenheit_);
}

void SetupNameForm::onNext()
{
    if (!acceptName(NAME_READ_BACK_LIMIT))
        return;
    applyNamePageUnit(config(), fahrenheitChosen(), shownFahrenheit_);
    storeRate();
    goNext();
}

// --- Page 8 ---

SetupVoltageNameForm::SetupVoltageNameForm(PageContext& context, QWidget* parent)
    : NamingPage(PAGE_VOLTAGE_NAME, context, parent)
{
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));
    addNameGroup(tr("Logger Name (Max 15 Char.):-"), tr("For example: Battery"), NAME_BOX_LIMIT_SHORT);

    QGroupBox* rate = addGroup(tr("Sample Rate:-"));
    auto* rateLayout = new QHBoxLayout(rate);
    rateLayout->addWidget(makeRateList(rate));
    rateLayout->addStretch(1);

    QGroupBox* scaling = addGroup();
    auto* layout = new QVBoxLayout(scaling);
    layout->setSpacing(4);
    auto* setToLine = new QHBoxLayout;
    setTo_ = new QLabel(scaling);
    range_ = new QLabel(scaling);
    setToLine->addWidget(setTo_);
    setToLine->addWidget(range_);
    setToLine->addStretch(1);
    layout->addLayout(setToLine);
    standard_ = new QRadioButton(tr("Standard Calibration."), scaling);
    custom_ = new QRadioButton(tr("Custom Calibration. Change the units and graph scale."), scaling);
    addChoices(layout, {standard_, custom_}, scaling);
    controlsLayout()->addStretch(1);
}

void SetupVoltageNameForm::updatePage()
{
    updateNameAndRate();
    (isCustomScaling(config()) ? custom_ : standard_)->setChecked(true);
    setTo_->setText(QString::fromStdString(scalingSetToText(config())));
    range_->setText(QString::fromStdString(scalingRangeText(config())));
}

void SetupVoltageNameForm::onNext()
{
    if (!acceptName())
        return;
    storeRate();
    applyScalingChoice(config(), custom_->isChecked());
    goNext();
}

// --- Page 11 ---

SetupLiteNameForm::SetupLiteNameForm(PageContext& context, QWidget* parent)
    : NamingPage(PAGE_LITE_NAME, context, parent)
{
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));
    addNameGroup(tr("Logger Name (Max 15 Char.):-"), tr("For example: Outside Temp"), NAME_BOX_LIMIT_LONG);
    addUnitGroup(tr("Select Temperature Scale. "));
    QGroupBox* rate = addGroup();
    auto* layout = new QVBoxLayout(rate);
    layout->addWidget(noteLabel(tr("The logging rate is fixed, one reading every 30 minutes."), rate));
    layout->addWidget(noteLabel(tr("Battery permitting this logger will record for a month."), rate));
    controlsLayout()->addStretch(1);
}

void SetupLiteNameForm::updatePage()
{
    updateNameAndRate();
    setFahrenheitChosen(isFahrenheitByte(config()));
}

void SetupLiteNameForm::onNext()
{
    if (!acceptName())
        return;
    storeLiteNamePage(config(), fahrenheitChosen());
    goNext();
}

// --- Page 13 ---

SetupCONameForm::SetupCONameForm(PageContext& context, QWidget* parent)
    : NamingPage(PAGE_CO_NAME, context, parent)
{
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));
    addNameGroup(tr("Logger Name (Max 15 Char.):-"), tr("For example: Boiler Room"), 0);
    QGroupBox* rate = addGroup(tr("Sample Rate:-"));
    auto* rateLayout = new QHBoxLayout(rate);
    rateLayout->addWidget(makeRateList(rate));
    rateLayout->addStretch(1);
    controlsLayout()->addStretch(1);
}

void SetupCONameForm::updatePage()
{
    updateNameAndRate();
}

void SetupCONameForm::onNext()
{
    if (!acceptName())
        return;
    storeRate();
    goNext();
}

// --- Page 16 ---

SetupTCNameForm::SetupTCNameForm(PageContext& context, QWidget* parent)
    : NamingPage(PAGE_TC_NAME, context, parent)
{
    setHeading(tr("Name the USB Data Logger to give it a unique identity."));
    addNameGroup(tr("Logger Name (Max 15 Char.):-"), tr("For example: Outside Temp"), 0);
    addUnitGroup(tr("Temperature Scale. "));
    QGroupBox* input = addGroup();
    auto* form = new QFormLayout(input);
    typeList_ = new QComboBox(input);
    for (const char* text : THERMOCOUPLE_TYPE_TEXTS)
        typeList_->addItem(QString::fromLatin1(text));
    form->addRow(tr("Select Input Type and"), typeList_);
    form->addRow(tr("Sample Rate:-"), makeRateList(input));
    controlsLayout()->addStretch(1);
}

void SetupTCNameForm::updatePage()
{
    updateNameAndRate();
    shownFahrenheit_ = isFahrenheitBit(config());
    setFahrenheitChosen(shownFahrenheit_);
    typeList_->setCurrentIndex(thermocoupleTypeIndex(config().optionFlags()));
}

void SetupTCNameForm::onNext()
{
    if (!acceptName(NAME_READ_BACK_LIMIT))
        return;
    applyThermocoupleUnit(config(), fahrenheitChosen(), shownFahrenheit_);
    storeRate();
    config().setOptionFlags(withThermocoupleType(config().optionFlags(), typeList_->currentIndex()));
    goNext();
}

} // namespace vessor

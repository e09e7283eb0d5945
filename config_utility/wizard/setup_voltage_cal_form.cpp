#include "config_utility/wizard/setup_voltage_cal_form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include "config_utility/wizard/number_edit.h"
#include "logger/setup/scaling_page_logic.h"
#include "config_utility/wizard/setup_form_text.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

// Refuses characters the unit cannot be stored with.
class UnitValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (const QChar ch : input)
            if (!isUnitCharacter(ch.unicode()))
                return Invalid;
        return Acceptable;
    }
};

QLabel* unitLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(56);
    return label;
}

} // namespace

SetupVoltageCalForm::SetupVoltageCalForm(PageContext& context, QWidget* parent)
    : WizardPage(PAGE_VOLTAGE_CAL, context, parent)
{
    QGroupBox* unitGroup = addGroup();
    auto* unitLayout = new QVBoxLayout(unitGroup);
    unitLayout->setSpacing(0);
    unitLayout->addWidget(makeFormText(tr("Select the appropriate measurement unit below,"), unitGroup));
    unitLayout->addWidget(makeFormText(tr("or type in your own preferred unit."), unitGroup));
    unitLayout->addWidget(makeFormText(tr("(8 characters max)"), unitGroup));
    unitLayout->addSpacing(6);
    unitList_ = new QComboBox(unitGroup);
    unitList_->setEditable(true);
    unitList_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: the text Next stores is the text the user typed.
    unitList_->setCompleter(nullptr);
    unitList_->setValidator(new UnitValidator(unitList_));
    unitList_->setMaxVisibleItems(12);
    unitList_->setFixedWidth(130);
    unitLayout->addWidget(unitList_);

    QGroupBox* pointGroup = addGroup();
    auto* pointLayout = new QVBoxLayout(pointGroup);
    pointLayout->setSpacing(8);
    pointLayout->addWidget(makeFormText(tr("Calibration: Select 2 points. Type the input value in the left") +
                                            QLatin1Char(' ') + tr("hand boxes and the corresponding") +
                                            QLatin1Char(' ') + tr("graph output value in right hand boxes."),
                                        pointGroup));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(new QLabel(tr("Input"), pointGroup), 0, 1);
    grid->addWidget(new QLabel(tr("Graph Output"), pointGroup), 0, 4);
    input1_ = new NumberEdit(pointGroup);
    output1_ = new NumberEdit(pointGroup);
    input2_ = new NumberEdit(pointGroup);
    output2_ = new NumberEdit(pointGroup);
    inputUnit1_ = unitLabel(pointGroup);
    inputUnit2_ = unitLabel(pointGroup);
    outputUnit1_ = unitLabel(pointGroup);
    outputUnit2_ = unitLabel(pointGroup);
    struct Row {
        const char* number;
        NumberEdit* input;
        QLabel* inputUnit;
        NumberEdit* output;
        QLabel* outputUnit;
    };
    const Row rows[] = {{"1)", input1_, inputUnit1_, output1_, outputUnit1_},
                        {"2)", input2_, inputUnit2_, output2_, outputUnit2_}};
    int r = 1;
    for (const Row& row : rows) {
        for (NumberEdit* box : {row.input, row.output}) {
            box->setMaxLength(SCALE_POINT_BOX_LIMIT);
            box->setFixedWidth(80);
            box->setAlignment(Qt::AlignRight);
        }
        grid->addWidget(new QLabel(QString::fromLatin1(row.number), pointGroup), r, 0);
        grid->addWidget(row.input, r, 1);
        grid->addWidget(row.inputUnit, r, 2);
        grid->addWidget(new QLabel(QStringLiteral("="), pointGroup), r, 3);
        grid->addWidget(row.output, r, 4);
        grid->addWidget(row.outputUnit, r, 5);
        ++r;
    }
    grid->setColumnStretch(6, 1);
    pointLayout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    default_ = new QPushButton(tr("Default"), pointGroup);
    default_->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(default_);
    pointLayout->addLayout(buttons);
    controlsLayout()->addStretch(1);

    // The Tab order follows the points: input 1, output 1, input 2, output 2.
    setTabOrder(unitList_, input1_);
    setTabOrder(input1_, output1_);
    setTabOrder(output1_, input2_);
    setTabOrder(input2_, output2_);
    setTabOrder(output2_, default_);

    // A chosen entry and typed text alike go to the output unit texts.
    connect(unitList_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        outputUnit1_->setText(text);
        outputUnit2_->setText(text);
    });
    connect(default_, &QPushButton::clicked, this, [this] { restoreDefaults(); });
}

void SetupVoltageCalForm::updatePage()
{
    showUnit(QString::fromStdString(cp1252ToUtf8(config().scaleUnit())));
    loadPointBoxes();
    const QString inputUnit = QString::fromStdString(cp1252ToUtf8(config().inputUnit()));
    inputUnit1_->setText(inputUnit);
    inputUnit2_->setText(inputUnit);
}

void SetupVoltageCalForm::showUnit(const QString& unit)
{
    const UnitListState state = unitListFor(unit.toStdString());
    const QString text = QString::fromStdString(state.text);
    const QSignalBlocker blocker(unitList_);
    unitList_->clear();
    for (const std::string& entry : state.entries)
        unitList_->addItem(QString::fromStdString(entry));
    // A longer unit from the logger is shown whole; typing stays limited.
    unitList_->lineEdit()->setMaxLength(std::max<int>(SCALE_UNIT_BOX_LIMIT, static_cast<int>(text.size())));
    unitList_->setCurrentIndex(state.selected);
    unitList_->setEditText(text);
    outputUnit1_->setText(text);
    outputUnit2_->setText(text);
}

void SetupVoltageCalForm::loadPointBoxes()
{
    const std::pair<NumberEdit*, std::string> boxes[] = {
        {output1_, config().scaleOutput1Text()},
        {input1_, config().scaleInput1Text()},
        {output2_, config().scaleOutput2Text()},
        {input2_, config().scaleInput2Text()},
    };
    for (const auto& [box, stored] : boxes) {
        // Only the typing filter acts: the box shows the stored text as is.
        box->setValue(0.0, SCALE_POINT_DECIMALS, true, false);
        box->setText(QString::fromStdString(checkedPointText(stored)));
    }
}

void SetupVoltageCalForm::restoreDefaults()
{
    // The factory points; the unit stays as the user has it on the page.
    config().resetScaling();
    loadPointBoxes();
}

void SetupVoltageCalForm::onNext()
{
    ScalingEntry entry;
    entry.unit = unitList_->currentText().toStdString();
    entry.output1 = output1_->text().toStdString();
    entry.input1 = input1_->text().toStdString();
    entry.output2 = output2_->text().toStdString();
    entry.input2 = input2_->text().toStdString();
    const ScalingVerdict verdict = storeCustomScaling(config(), entry);
    if (verdict.messageId == 0) {
        goNext();
        return;
    }
    QWidget* focus = nullptr;
    switch (verdict.focus) {
    case ScalingBox::Output1: focus = output1_; break;
    case ScalingBox::Input1: focus = input1_; break;
    case ScalingBox::Output2: focus = output2_; break;
    case ScalingBox::Input2: focus = input2_; break;
    case ScalingBox::None: break;
    }
    rejectInput(verdict.messageId, focus);
}

} // namespace vessor

// The custom scaling page (page 9) of the voltage and current loggers: the
// output unit and two input/output points of a straight-line scaling. Its
// decisions live in scaling_page_logic.h.
#pragma once

#include <QString>

#include "config_utility/wizard/wizard_page.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vessor {

class NumberEdit;

class SetupVoltageCalForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupVoltageCalForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QComboBox* unitList() const { return unitList_; }
    NumberEdit* output1Box() const { return output1_; }
    NumberEdit* input1Box() const { return input1_; }
    NumberEdit* output2Box() const { return output2_; }
    NumberEdit* input2Box() const { return input2_; }
    QLabel* inputUnitLabel(int point) const { return point == 1 ? inputUnit1_ : inputUnit2_; }
    QLabel* outputUnitLabel(int point) const { return point == 1 ? outputUnit1_ : outputUnit2_; }
    QPushButton* defaultButton() const { return default_; }

protected:
    void onNext() override;

private:
    void loadPointBoxes();
    void restoreDefaults();
    void showUnit(const QString& unit);

    QComboBox* unitList_ = nullptr;
    NumberEdit* output1_ = nullptr;
    NumberEdit* input1_ = nullptr;
    NumberEdit* output2_ = nullptr;
    NumberEdit* input2_ = nullptr;
    QLabel* inputUnit1_ = nullptr;
    QLabel* inputUnit2_ = nullptr;
    QLabel* outputUnit1_ = nullptr;
    QLabel* outputUnit2_ = nullptr;
    QPushButton* default_ = nullptr;
};

} // namespace vessor

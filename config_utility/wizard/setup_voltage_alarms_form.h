// The numeric alarm page (page 10): typed high and low levels within the
// model's range, their hold boxes, and "Disable LEDs".
#pragma once

#include "config_utility/wizard/wizard_page.h"

class QCheckBox;
class QLabel;

namespace vessor {

class NumberEdit;

class SetupVoltageAlarmsForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupVoltageAlarmsForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QCheckBox* highEnableBox() const { return highEnable_; }
    QCheckBox* lowEnableBox() const { return lowEnable_; }
    NumberEdit* highBox() const { return highBox_; }
    NumberEdit* lowBox() const { return lowBox_; }
    QCheckBox* highHoldBox() const { return highHold_; }
    QCheckBox* lowHoldBox() const { return lowHold_; }
    QCheckBox* disableLedsBox() const { return disableLeds_; }
    QLabel* highUnitLabel() const { return highUnit_; }

protected:
    void onNext() override;

private:
    void enableClicked(bool high);
    void showEnabled();

    QCheckBox* highEnable_ = nullptr;
    QCheckBox* lowEnable_ = nullptr;
    QLabel* highLabel_ = nullptr;
    QLabel* lowLabel_ = nullptr;
    NumberEdit* highBox_ = nullptr;
    NumberEdit* lowBox_ = nullptr;
    QLabel* highUnit_ = nullptr;
    QLabel* lowUnit_ = nullptr;
    QCheckBox* highHold_ = nullptr;
    QCheckBox* lowHold_ = nullptr;
    QCheckBox* disableLeds_ = nullptr;
};

} // namespace vessor

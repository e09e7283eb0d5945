// The carbon monoxide warning page (page 15): the LED indicator with its
// warning level, hold and sounder, and the "CO Levels..." advice table.
#pragma once

#include "config_utility/wizard/wizard_page.h"

#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vessor {

class NumberEdit;

class SetupCOAlarmsForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupCOAlarmsForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QCheckBox* ledBox() const { return led_; }
    NumberEdit* levelBox() const { return level_; }
    QCheckBox* holdBox() const { return hold_; }
    QCheckBox* sounderBox() const { return sounder_; }
    QPushButton* levelsButton() const { return levels_; }

protected:
    void onNext() override;

private:
    void ledClicked();
    void showEnabled();

    QCheckBox* led_ = nullptr;
    NumberEdit* level_ = nullptr;
    QCheckBox* hold_ = nullptr;
    QCheckBox* sounder_ = nullptr;
    QPushButton* levels_ = nullptr;
    std::vector<QWidget*> ledDependents_;
};

} // namespace vessor

// The drop-down alarm pages: temperature (page 2), low-cost temperature
// (page 12) and humidity (page 7). Each alarm has an enable box, a list of
// levels and a hold box; the enable boxes change theConfig at once, the
// levels and holds are stored on Next (and on Back, except on page 12).
#pragma once

#include "logger/setup/alarm_list_logic.h"
#include "config_utility/wizard/wizard_page.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace vessor {

class AlarmListForm : public WizardPage {
    Q_OBJECT
public:
    AlarmListForm(int pageNumber, AlarmListPage kind, PageContext& context, QWidget* parent);

    void updatePage() override;

    QCheckBox* highEnableBox() const { return highEnable_; }
    QCheckBox* lowEnableBox() const { return lowEnable_; }
    QComboBox* highList() const { return highList_; }
    QComboBox* lowList() const { return lowList_; }
    QCheckBox* highHoldBox() const { return highHold_; }
    QCheckBox* lowHoldBox() const { return lowHold_; }

protected:
    void onNext() override;
    void onBack() override;

private:
    AlarmListState controls() const;
    void enableClicked(bool high);
    void showEnabled();

    AlarmListPage kind_;
    QCheckBox* highEnable_ = nullptr;
    QCheckBox* lowEnable_ = nullptr;
    QComboBox* highList_ = nullptr;
    QComboBox* lowList_ = nullptr;
    QCheckBox* highHold_ = nullptr;
    QCheckBox* lowHold_ = nullptr;
    QLabel* highLabel_ = nullptr;
    QLabel* lowLabel_ = nullptr;
};

class SetupAlarmsForm : public AlarmListForm {
    Q_OBJECT
public:
    SetupAlarmsForm(PageContext& context, QWidget* parent = nullptr);
};

class SetupLiteAlarmsForm : public AlarmListForm {
    Q_OBJECT
public:
    SetupLiteAlarmsForm(PageContext& context, QWidget* parent = nullptr);
};

class SetupRHAlarmsForm : public AlarmListForm {
    Q_OBJECT
public:
    SetupRHAlarmsForm(PageContext& context, QWidget* parent = nullptr);
};

} // namespace vessor

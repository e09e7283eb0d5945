// The event logger's set-up pages: name and mode of operation (21), trigger
// (22), voltage range (23) and counting period (24). Their decisions live in
// event_pages_logic.h.
#pragma once

#include <cstdint>

#include "config_utility/wizard/wizard_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace vessor {

class SetupZevNameForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupZevNameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QLineEdit* nameEdit() const { return name_; }
    QRadioButton* modeButton(int choice) const;   // EventModeChoice

protected:
    void onNext() override;

private:
    QLineEdit* name_ = nullptr;
    QRadioButton* mode_[3] = {};
    int shownMode_ = 0;
};

class SetupZevTriggerModeForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupZevTriggerModeForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QRadioButton* risingButton() const { return rising_; }
    QRadioButton* fallingButton() const { return falling_; }
    QRadioButton* voltageButton() const { return voltage_; }
    QRadioButton* voltFreeButton() const { return voltFree_; }
    QRadioButton* ledOnButton() const { return ledOn_; }
    QRadioButton* ledOffButton() const { return ledOff_; }
    QLabel* noteLabel() const { return note_; }

protected:
    void onNext() override;

private:
    QRadioButton* rising_ = nullptr;
    QRadioButton* falling_ = nullptr;
    QRadioButton* voltage_ = nullptr;
    QRadioButton* voltFree_ = nullptr;
    QRadioButton* ledOn_ = nullptr;
    QRadioButton* ledOff_ = nullptr;
    QLabel* note_ = nullptr;
};

class SetupZevVoltageTriggerForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupZevVoltageTriggerForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QRadioButton* rangeButton(int choice) const;

protected:
    void onNext() override;

private:
    QRadioButton* range_[4] = {};
};

class SetupZevCountPeriodForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupZevCountPeriodForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    enum Field { HOURS = 0, MINUTES = 1, SECONDS = 2 };
    QCheckBox* periodBox() const { return periodBox_; }
    QLineEdit* field(Field f) const { return fields_[f]; }
    QToolButton* spinUp(Field f) const { return up_[f]; }
    QToolButton* spinDown(Field f) const { return down_[f]; }

protected:
    void onNext() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void boxClicked(bool ticked);
    void enableFields(bool on);
    void fillFields(std::uint32_t period);
    void spin(int f, int step);

    QCheckBox* periodBox_ = nullptr;
    QLineEdit* fields_[3] = {};
    QToolButton* up_[3] = {};
    QToolButton* down_[3] = {};
};

} // namespace vessor

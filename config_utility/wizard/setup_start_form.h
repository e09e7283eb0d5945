// The start pages: the start page (3) of most models and the push-button
// start page (18) of the models with a start button. While the user has not
// touched them their pickers follow the clock on a 500 ms timer, so that an
// untouched page starts the logger at once; Finish writes the block.
#pragma once

#include "config_utility/wizard/wizard_page.h"

class QRadioButton;
class QTimer;

namespace vessor {

class StartPickers;

inline constexpr int START_CLOCK_PERIOD_MS = 500;

class SetupStartForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupStartForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    StartPickers* pickers() const { return pickers_; }
    QTimer* clockTimer() const { return timer_; }
    // One timer tick: the pickers show the current time.
    void followClock();

protected:
    void onNext() override;   // Finish
    void onBack() override;
    void onCancel() override;

private:
    void stopFollowing();

    StartPickers* pickers_ = nullptr;
    QTimer* timer_ = nullptr;
};

class SetupPushToStartForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupPushToStartForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    StartPickers* pickers() const { return pickers_; }
    QTimer* clockTimer() const { return timer_; }
    QRadioButton* choiceButton(int choice) const;   // PushStartChoice
    int choice() const;
    void followClock();

protected:
    void onNext() override;   // Finish
    void onBack() override;
    void onCancel() override;

private:
    void select(int choice);
    void immediateClicked();
    void buttonStartClicked();
    void delayedClicked();
    void pickerChanged();
    void stopFollowing();

    QRadioButton* choices_[3] = {};
    StartPickers* pickers_ = nullptr;
    QTimer* timer_ = nullptr;
};

} // namespace vessor

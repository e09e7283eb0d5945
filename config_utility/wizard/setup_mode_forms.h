// The display page (17) of the models with a display, the storage mode page
// (19) of the models that can overwrite old readings, and the confirmation
// page (4) after a successful Finish.
#pragma once

#include "config_utility/wizard/wizard_page.h"

class QLabel;
class QRadioButton;

namespace vessor {

class SetupLCDForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupLCDForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QRadioButton* displayButton(int choice) const;   // 0 off, 1 on 30 s, 2 always on
    QRadioButton* storageButton(int choice) const;   // 0 stop, 1 overwrite

protected:
    void onNext() override;

private:
    QRadioButton* display_[3] = {};
    QRadioButton* storage_[2] = {};
};

class SetupStorageModeForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupStorageModeForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QRadioButton* storageButton(int choice) const;
    QLabel* capacityLabel() const { return capacity_; }
    QLabel* retainLabel() const { return retain_; }

protected:
    void onNext() override;

private:
    QRadioButton* storage_[2] = {};
    QLabel* capacity_ = nullptr;
    QLabel* retain_ = nullptr;
};

class SetupSummaryForm : public WizardPage {
    Q_OBJECT
public:
    explicit SetupSummaryForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    QLabel* nameLabel() const { return name_; }

private:
    QLabel* name_ = nullptr;
};

} // namespace vessor

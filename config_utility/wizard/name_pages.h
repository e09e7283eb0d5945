// The naming pages of the set-up wizard: the logger's name and sample rate,
// and per model the temperature unit, the thermocouple type or standard and
// custom scaling. Their decisions live in name_pages_logic.h.
#pragma once

#include "config_utility/wizard/wizard_page.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vessor {

// What every naming page shares: the name box and the optional rate list.
class NamingPage : public WizardPage {
    Q_OBJECT
public:
    NamingPage(int pageNumber, PageContext& context, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return nameEdit_; }
    QComboBox* rateList() const { return rateList_; }
    QRadioButton* celsiusButton() const { return celsius_; }
    QRadioButton* fahrenheitButton() const { return fahrenheit_; }

protected:
    // The name group: title, box (limit 0: none) and example line.
    void addNameGroup(const QString& title, const QString& example, int boxLimit);
    // A drop-down filled from the page's rate list on every refresh.
    QComboBox* makeRateList(QWidget* parent);
    // A group with the °C/°F radio pair.
    void addUnitGroup(const QString& title);
    bool fahrenheitChosen() const;
    void setFahrenheitChosen(bool fahrenheit);

    // Refresh of the shared controls: name and rate list.
    void updateNameAndRate();
    // The naming rule on the box; on failure the message is shown, the focus
    // goes to the box and false is returned. `readBackLimit`: the pages
    // that check the box's length when reading it (0: no check).
    bool acceptName(int readBackLimit = 0);
    // Stores the selected rate in sampleInterval.
    void storeRate();

private:
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* rateList_ = nullptr;
    QRadioButton* celsius_ = nullptr;
    QRadioButton* fahrenheit_ = nullptr;
};

// Page 1: ZR-T, ZR-TH, ZR-TH-D, ZR-TH-X, ZR-T-PRO, ZR-TH-DX, ZR-T-RC.
class SetupNameForm : public NamingPage {
    Q_OBJECT
public:
    explicit SetupNameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

protected:
    void onNext() override;

private:
    bool shownFahrenheit_ = false;
};

// Page 8: voltage and current loggers.
class SetupVoltageNameForm : public NamingPage {
    Q_OBJECT
public:
    explicit SetupVoltageNameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QRadioButton* customButton() const { return custom_; }
    QRadioButton* standardButton() const { return standard_; }

protected:
    void onNext() override;

private:
    QLabel* setTo_ = nullptr;
    QLabel* range_ = nullptr;
    QRadioButton* standard_ = nullptr;
    QRadioButton* custom_ = nullptr;
};

// Page 11: the low-cost temperature logger (fixed rate).
class SetupLiteNameForm : public NamingPage {
    Q_OBJECT
public:
    explicit SetupLiteNameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

protected:
    void onNext() override;
};

// Page 13: carbon monoxide loggers.
class SetupCONameForm : public NamingPage {
    Q_OBJECT
public:
    explicit SetupCONameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

protected:
    void onNext() override;
};

// Page 16: thermocouple loggers.
class SetupTCNameForm : public NamingPage {
    Q_OBJECT
public:
    explicit SetupTCNameForm(PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QComboBox* typeList() const { return typeList_; }

protected:
    void onNext() override;

private:
    QComboBox* typeList_ = nullptr;
    bool shownFahrenheit_ = false;
};

} // namespace vessor

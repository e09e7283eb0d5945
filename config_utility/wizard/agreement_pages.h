// The safety agreements that open the set-up of the carbon monoxide loggers
// (page 14) and the professional high-temperature logger (page 20). Next is
// possible only after "I Agree"; every refresh withdraws the agreement.
#pragma once

#include <string>

#include "config_utility/wizard/wizard_page.h"
#include "logger/setup/setup_steps.h"

class QPlainTextEdit;
class QRadioButton;

namespace vessor {

// The whole text page `page` (14 or 20) shows: its fixed text with CR LF
// line ends, followed by the confirmation sentence. Empty for other pages.
std::string agreementText(int page);

class AgreementPage : public WizardPage {
    Q_OBJECT
public:
    AgreementPage(int pageNumber, PageContext& context, QWidget* parent = nullptr);
    void updatePage() override;

    QPlainTextEdit* textBox() const { return text_; }
    QRadioButton* agreeButton() const { return agree_; }
    QRadioButton* disagreeButton() const { return disagree_; }

private:
    QPlainTextEdit* text_ = nullptr;
    QRadioButton* disagree_ = nullptr;
    QRadioButton* agree_ = nullptr;
};

class SetupCODisclaimerForm : public AgreementPage {
    Q_OBJECT
public:
    explicit SetupCODisclaimerForm(PageContext& context, QWidget* parent = nullptr)
        : AgreementPage(PAGE_CO_DISCLAIMER, context, parent)
    {
    }
};

class SetupPRODisclaimerForm : public AgreementPage {
    Q_OBJECT
public:
    explicit SetupPRODisclaimerForm(PageContext& context, QWidget* parent = nullptr)
        : AgreementPage(PAGE_PRO_DISCLAIMER, context, parent)
    {
    }
};

} // namespace vessor

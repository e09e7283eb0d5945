#include "config_utility/wizard/wizard_factory.h"

#include "config_utility/shell/page.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/name_pages.h"

namespace vessor {

Page* createWizardPage(int index, PageContext& context, QWidget* parent)
{
    (void)context;
    (void)parent;
    switch (index) {
    // Each set-up page adds its case here:
    //   case PAGE_SETUP_NAME: return new SetupNameForm(context, parent);
    case PAGE_SETUP_NAME: return new CSetupNameForm(context, parent);
    case PAGE_VOLTAGE_NAME: return new CSetupVoltageNameForm(context, parent);
    case PAGE_LITE_NAME: return new CSetupLiteNameForm(context, parent);
    case PAGE_CO_NAME: return new CSetupCONameForm(context, parent);
    case PAGE_CO_DISCLAIMER: return new CSetupCODisclaimerForm(context, parent);
    case PAGE_TC_NAME: return new CSetupTCNameForm(context, parent);
    case PAGE_PRO_DISCLAIMER: return new CSetupPRODisclaimerForm(context, parent);
    default:
        return nullptr;
    }
}

} // namespace vessor

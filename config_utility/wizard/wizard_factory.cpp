#include "config_utility/wizard/wizard_factory.h"

#include "config_utility/shell/page.h"

namespace vessor {

Page* createWizardPage(int index, PageContext& context, QWidget* parent)
{
    (void)context;
    (void)parent;
    switch (index) {
    // Each set-up page adds its case here:
    //   case PAGE_SETUP_NAME: return new SetupNameForm(context, parent);
    default:
        return nullptr;
    }
}

} // namespace vessor

#include "config_utility/download/stop_page_factory.h"

#include "config_utility/download/stop_info_form.h"

namespace vessor {

Page* createStopPage(PageContext& context, QWidget* parent)
{
    return new StopInfoForm(context, parent);
}

} // namespace vessor

#include "config_utility/download/stop_page_factory.h"

namespace vessor {

Page* createStopPage(PageContext& context, QWidget* parent)
{
    (void)context;
    (void)parent;
    return nullptr;
}

} // namespace vessor

#include "config_utility/support/page_fixture.h"

namespace vessor::test {

PageFixture::PageFixture()
{
    config.setUserInterface(&ui);
    config.setClock(&clock);
    config.setLocaleFormat(&locale);
    context.pageSwitcher = [this](int index) { shown.push_back(index); };
}

} // namespace vessor::test

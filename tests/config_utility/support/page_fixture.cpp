#include "config_utility/support/page_fixture.h"

namespace vessor::test {

PageFixture::PageFixture()
{
    context.pageSwitcher = [this](int index) { shown.push_back(index); };
}

} // namespace vessor::test

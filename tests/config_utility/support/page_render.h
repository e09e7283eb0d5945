// A wizard page laid out at the window's size on a logger of a fitting
// model: no text may be cut off or fall outside the page. With
// VESSOR_RENDER_DIR set, the page is also saved there as NAME.png, and its
// first drop-down list opened as NAME_list.png.
#pragma once

#include "logger/logger_config.h"

#include <functional>

namespace vessor::test {

struct PageRenderCase {
    const char* name;
    int model;
    int page;
    std::function<void(LoggerConfig&)> edit; // the block changed first, when given
};

void checkPageFitsItsTexts(const PageRenderCase& c);

} // namespace vessor::test

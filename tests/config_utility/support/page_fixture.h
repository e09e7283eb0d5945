// Everything a page needs, with scripted seams: theConfig, the sample
// buffer, a recording user interface and desktop, a fixed clock and the
// default date/time formats. Pages built on `context` switch pages through
// a recorder: `shown` lists every showPage() request in order.
//
//   vessor::test::PageFixture f;
//   f.config.setModelType(3);
//   SetupNameForm page(f.context, nullptr);
//   page.updatePage();
//   ... click ...
//   EXPECT_EQ(f.shown, std::vector<int>{2});
#pragma once

#include <vector>

#include "config_utility/shell/page.h"
#include "config_utility/support/scripted_ui.h"
#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"

namespace vessor::test {

struct PageFixture {
    PageFixture();

    LoggerConfig config;
    SampleBuffer samples;
    ScriptedUserInterface ui;
    ScriptedDesktop desktop;
    FixedClock clock{makeCalendarTime(2024, 3, 15, 10, 30, 0)};
    FixedLocaleFormat locale;
    LoggerSession session{config, clock};
    PageContext context{session, samples, ui, desktop, clock, locale};
    std::vector<int> shown;
};

} // namespace vessor::test

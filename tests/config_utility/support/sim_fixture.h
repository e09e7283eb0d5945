// A page fixture whose theConfig talks to a simulated logger held in memory
// (its clock frozen at the fixture's clock): factory images of any model,
// edited block fields, and the transport's fault injection.
//
//   vessor::test::SimFixture f(3);                 // a ZR-TH
//   f.editBlock([](LoggerConfig& c) { c.setStatusFlags(STATUS_LOGGING); });
//   ASSERT_TRUE(f.session.refresh());
#pragma once

#include <functional>
#include <memory>

#include "config_utility/support/page_fixture.h"
#include "logger/sim/simulated_logger.h"

namespace vessor::test {

struct SimFixture : PageFixture {
    // A factory logger of `model`, stopped, with no readings.
    explicit SimFixture(int model, std::uint32_t serialNumber = 0);

    // Edits the logger's block through a LoggerConfig view of it.
    void editBlock(const std::function<void(LoggerConfig&)>& edit);
    // The block as the logger holds it now.
    LoggerConfig loggerBlock() const;
    // Another logger of `model` with a different serial number, for swaps.
    std::shared_ptr<sim::SimulatedLogger> otherLogger(int model) const;

    std::shared_ptr<sim::SimulatedLogger> logger;
    std::unique_ptr<sim::SimXpress> usb;
};

} // namespace vessor::test

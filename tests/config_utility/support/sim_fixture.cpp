#include "config_utility/support/sim_fixture.h"

#include <stdexcept>

namespace vessor::test {

namespace {

std::shared_ptr<sim::SimulatedLogger> makeLogger(int model, std::uint32_t serial, const Clock& clock)
{
    sim::FactoryOptions options;
    options.modelType = model;
    options.serialNumber = serial;
    options.now = clock.now();
    std::string error;
    auto image = sim::makeFactoryImage(options, error);
    if (!image)
        throw std::runtime_error("factory image: " + error);
    return std::shared_ptr<sim::SimulatedLogger>(
        sim::SimulatedLogger::fromImage(std::move(*image), clock, 0.0));
}

} // namespace

SimFixture::SimFixture(int model, std::uint32_t serialNumber)
    : logger(makeLogger(model, serialNumber, clock)), usb(std::make_unique<sim::SimXpress>(logger))
{
    session.setTransport(usb.get());
}

void SimFixture::editBlock(const std::function<void(LoggerConfig&)>& edit)
{
    LoggerConfig view;
    view.setBlock(logger->image().block);
    edit(view);
    sim::LoggerImage image = logger->image();
    image.block = view.block();
    logger->setImage(image);
}

LoggerConfig SimFixture::loggerBlock() const
{
    LoggerConfig view;
    view.setBlock(logger->image().block);
    return view;
}

std::shared_ptr<sim::SimulatedLogger> SimFixture::otherLogger(int model) const
{
    return makeLogger(model, logger->serialNumber() + 1000, clock);
}

} // namespace vessor::test

// libFuzzer entry: a logger image as a file or a device may give it (a
// configuration block, then the data memory). Everything that reads a block
// reads it (status, warnings, scaling, readings); the simulated logger runs
// over the image, frozen and catching up, and a download through it builds
// the download file, which the reader must then take or refuse cleanly; the
// logger then takes the stop and start writes.
#include "logger/conversion.h"
#include "logger/download_file.h"
#include "logger/download_reader.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"
#include "logger/session.h"
#include "logger/sim/simulated_logger.h"
#include "logger/status_report.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace vessor;

const CalendarTime TODAY{.second = 0, .minute = 30, .hour = 10, .day = 14, .month = 4, .year = 124};

// What the programs show of a block read from a device or a file.
void readBlock(LoggerConfig& config) {
    config.refreshDerived();
    const FixedLocaleFormat locale;
    const StatusReport report = composeStatus(config, locale);
    if (report.lines().size() != 11)
        std::abort();
    (void)formatStatusText(report);
    (void)deviceWarnings(config, TODAY);
    (void)expiryText(config.sensorLife(), locale);
    (void)expiryTextNumeric(config.calibrationPeriod());
    (void)formatHighAlarm(config);
    (void)formatLowAlarm(config);
    (void)unitText(config);
    (void)downloadHeader(config);
    (void)sampleLayout(config);
    for (unsigned raw : {0u, 1u, 127u, 255u, 32768u, 65535u})
        (void)formatReading(config, raw);
}

void downloadFromLogger(const sim::LoggerImage& image, double speed) {
    const FixedClock clock(TODAY);
    std::shared_ptr<sim::SimulatedLogger> logger = sim::SimulatedLogger::fromImage(image, clock, speed);
    std::string error;
    (void)logger->pressButton(error);
    sim::SimXpress usb(logger);
    LoggerConfig config;
    LoggerSession session(config, clock);
    session.setTransport(&usb);
    if (!session.refresh())
        return;
    readBlock(config);
    SampleBuffer samples;
    if (!session.readSamples(samples))
        return;
    if (samples.size() > SAMPLE_BUFFER_CAPACITY)
        std::abort();
    std::string file;
    if (buildDownloadFile(config, samples, file).ok()) {
        // Whatever the block says, the reader takes the file or refuses it.
        const download::ReadResult read = download::readDownload(file);
        if (read.outcome.status == download::ReadStatus::Ok && read.data.rows.empty())
            std::abort();
    }
    // The logger takes the blocks the session writes back.
    if (session.stopLogging())
        (void)session.startLogging(2024, 4, 14, 10, 31, 0, 0, config.isPushButtonMode());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    std::optional<sim::LoggerImage> image = sim::LoggerImage::fromBytes(std::vector<std::uint8_t>(data, data + size), error);
    if (!image) {
        if (error.empty())
            std::abort();
        return 0;
    }
    LoggerConfig fromFile;
    fromFile.setBlock(image->block);
    readBlock(fromFile);

    // The same image as a logger on the bus, frozen and then running (its
    // readings catching up to now), downloaded as the programs do.
    for (const double speed : {0.0, 1.0})
        downloadFromLogger(*image, speed);
    return 0;
}

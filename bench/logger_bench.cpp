// How long the core takes for the largest transfer and for turning it into
// download-file texts.
#include "logger/clock.h"
#include "logger/conversion.h"
#include "logger/download_reader.h"
#include "logger/summary.h"
#include "logger/session.h"
#include "logger/sim/simulated_logger.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace vessor;

std::shared_ptr<sim::SimulatedLogger> fullLogger(const Clock& clock, int model) {
    sim::FactoryOptions options;
    options.modelType = model;
    options.now = clock.now();
    std::string error;
    auto image = sim::makeFactoryImage(options, error);
    image->memory.assign(sim::MAX_MEMORY_BYTES, 0);
    for (std::size_t i = 0; i < image->memory.size(); ++i)
        image->memory[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return sim::SimulatedLogger::fromImage(*image, clock, 0.0);
}

// A whole 65535-byte data memory through the link and the simulator.
void BM_ReadFullMemory(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    FixedClock clock(makeCalendarTime(2024, 1, 1));
    sim::SimXpress usb(fullLogger(clock, model));
    LoggerConfig config;
    LoggerSession session(config, clock);
    session.setTransport(&usb);
    if (!session.refresh())
        state.SkipWithError("refresh failed");
    SampleBuffer samples;
    samples.reserve(SAMPLE_BUFFER_CAPACITY);
    for (auto _ : state) {
        if (!session.readSamples(samples))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 65535);
}
BENCHMARK(BM_ReadFullMemory)->Arg(2)->Arg(14)->Unit(benchmark::kMillisecond);

// Converting and formatting 65536 readings as the download does.
void BM_FormatReadings(benchmark::State& state) {
    LoggerConfig config;
    config.setModelType(static_cast<int>(state.range(0)));
    config.setCalGradient(0.5f);
    config.setCalOffset(-40.0f);
    config.setF32At(field::CAP_SCALAR, 10.0f / 65472.0f);
    config.setScaleInput1Text("0");
    config.setScaleOutput1Text("0");
    config.setScaleInput2Text("10");
    config.setScaleOutput2Text("100");
    config.setOptionFlags(config.modelType() == 4 ? 1 : 0);
    config.refreshDerived();
    std::size_t total = 0;
    for (auto _ : state) {
        for (unsigned raw = 0; raw < 65536; ++raw)
            total += formatReading(config, config.modelType() == 2 ? raw & 0xFF : raw).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 65536);
}
BENCHMARK(BM_FormatReadings)->Arg(2)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);

// The summary of a full humidity logger's file: 65,535 readings, two
// channels with high and low alarms that are crossed often, and the dew point.
void BM_Summary(benchmark::State& state) {
    std::string text = "TH,Time,Celsius(\xB0" "C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,"
                       "Low Alarm rh,dew point(\xB0" "C)\r\n";
    const std::int64_t start = download::toClockSeconds({2026, 12, 8, 0, 0, 0});
    for (int k = 0; k < 65535; ++k) {
        const download::ClockFields t = download::fromClockSeconds(start + std::int64_t{k} * 60);
        char row[160];
        std::snprintf(row, sizeof row, "%d,%02d/%02d/%04d %02d:%02d:%02d,%.1f,25.0,5.0,%.1f,70.0,30.0,%s\r\n",
                      k + 1, t.day, t.month, t.year, t.hour, t.minute, t.second, 15.0 + (k * 37 % 150) / 10.0,
                      20.0 + (k * 13 % 600) / 10.0, k % 7 == 0 ? "Error" : "9.5");
        text += row;
    }
    const download::ReadResult read = download::readDownload(text);
    if (read.outcome.status != download::ReadStatus::Ok || read.data.rowCount() != 65535)
        state.SkipWithError("the file was not read");
    const download::SummaryInput input = download::summaryInput(read.data);
    for (auto _ : state) {
        const download::Summary summary = download::summarize(input);
        benchmark::DoNotOptimize(summary.channels.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 65535);
}
BENCHMARK(BM_Summary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

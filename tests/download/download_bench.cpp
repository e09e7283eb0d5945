// Building and saving the largest download files: a 16-bit wrap logger with
// a full ring of 65535 readings and a humidity logger with 32767 rows.
#include "logger/download_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace vessor;

LoggerConfig largestRing()
{
    LoggerConfig config;
    config.setModelType(MODEL_ZR_T_PRO);
    config.setLoggerName("Largest ring");
    config.setCalGradient(0.01f);
    config.setCalOffset(-50.0f);
    config.setSampleInterval(1);
    config.setWrapMode(true);
    config.setByteAt(field::WRAP_COUNT, 3);
    config.setU16At(field::MEMORY_CAPACITY, 65535);
    config.setReadingCount(1000);
    config.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
    config.setHighAlarmRaw(9000);
    config.setLowAlarmRaw(4000);
    config.setStartTime(2011, 12, 31, 23, 0, 0);
    config.refreshDerived();
    return config;
}

LoggerConfig largestHumidity()
{
    LoggerConfig config;
    config.setModelType(MODEL_ZR_TH);
    config.setLoggerName("Largest TH");
    config.setCalGradient(0.5f);
    config.setCalOffset(-40.0f);
    config.setSampleInterval(60);
    config.setReadingCount(32767);
    config.setAlarmFlags(0xFF);
    config.setHighAlarmRaw(140);
    config.setLowAlarmRaw(80);
    config.setRhHighAlarm(160);
    config.setRhLowAlarm(40);
    config.setStartTime(2011, 12, 31, 23, 0, 0);
    config.refreshDerived();
    return config;
}

SampleBuffer samplesOf(std::size_t count, unsigned modulus, unsigned base)
{
    SampleBuffer samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<Sample>(base + (i * 7919) % modulus);
    return samples;
}

void build(benchmark::State& state, const LoggerConfig& config, const SampleBuffer& samples)
{
    std::string bytes;
    for (auto _ : state) {
        const DownloadOutcome outcome = buildDownloadFile(config, samples, bytes);
        if (!outcome.ok())
            state.SkipWithError(outcome.message.c_str());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_BuildRing65534Rows(benchmark::State& state)
{
    build(state, largestRing(), samplesOf(65535, 4000, 5000));
}
BENCHMARK(BM_BuildRing65534Rows)->Unit(benchmark::kMillisecond);

void BM_BuildHumidity32767Rows(benchmark::State& state)
{
    build(state, largestHumidity(), samplesOf(65534, 100, 90));
}
BENCHMARK(BM_BuildHumidity32767Rows)->Unit(benchmark::kMillisecond);

// Build, then write, flush and rename into place, as a save does.
void BM_WriteRing65534Rows(benchmark::State& state)
{
    const LoggerConfig config = largestRing();
    const SampleBuffer samples = samplesOf(65535, 4000, 5000);
    const char* folder = std::getenv("TMPDIR");
    const std::string path = std::string(folder ? folder : "/tmp") + "/vessor-download-bench.txt";
    for (auto _ : state) {
        const DownloadOutcome outcome = writeDownloadFile(config, samples, path);
        if (!outcome.ok())
            state.SkipWithError(outcome.message.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteRing65534Rows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

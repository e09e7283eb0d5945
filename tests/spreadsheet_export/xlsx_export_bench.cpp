// The export of a full logger's file (65535 humidity readings: ten columns,
// three charts) from the download file to the finished workbook.
#include "download_files.h"

#include "spreadsheet_export/download_table.h"
#include "spreadsheet_export/export_plan.h"
#include "spreadsheet_export/workbook_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

void exportFullFile(benchmark::State& state, std::string (*makeFile)(int))
{
    const auto dir = std::filesystem::temp_directory_path() / "vessor-xlsx-bench";
    std::filesystem::create_directories(dir);
    const std::string input = (dir / "full.txt").string();
    const std::string output = (dir / "full.xlsx").string();
    std::ofstream(input, std::ios::binary) << makeFile(65535);
    for (auto _ : state) {
        const auto loaded = vessor::xlsx::loadDownloadFile(input);
        const auto plan = vessor::xlsx::planExport(loaded.table.header(), loaded.table.readingCount());
        const std::string failure = vessor::xlsx::writeWorkbook(loaded.table, plan, {}, output);
        if (!failure.empty())
            state.SkipWithError(failure.c_str());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(output));
    std::filesystem::remove_all(dir);
}

void BM_ExportHumidity65535(benchmark::State& state)
{
    exportFullFile(state, vessor::xlsx::testing::humidityFile);
}
void BM_ExportTemperature65535(benchmark::State& state)
{
    exportFullFile(state, vessor::xlsx::testing::temperatureFile);
}

BENCHMARK(BM_ExportHumidity65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportTemperature65535)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

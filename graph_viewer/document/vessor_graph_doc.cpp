#include "vessor_graph_doc.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vessor::graph {

namespace {

// The chart needs the channels; of the rows, only the first (the serial number).
constexpr download::ReadOptions CHART_ROWS{.everyRow = false};

// The labels, flags and traces of one channel as the reader gave them.
void fillSet(TraceSet& set, download::Channel& channel, int points, double xStep) {
    set.name = std::move(channel.name);
    set.unit = std::move(channel.unit);
    set.highLabel = std::move(channel.highLabel);
    set.lowLabel = std::move(channel.lowLabel);
    set.extraLabel = std::move(channel.extraLabel);
    set.present = channel.present;
    set.hasHigh = channel.hasHigh;
    set.hasLow = channel.hasLow;
    set.hasExtra = channel.hasExtra;
    set.decimals = channel.decimals;
    if (!set.present)
        return;
    std::vector<double>* traces[] = {&channel.readings, &channel.high, &channel.low, &channel.extra};
    const bool shown[] = {true, set.hasHigh, set.hasLow, set.hasExtra};
    for (int t = READINGS; t < set.data.traceCount(); ++t) {
        std::vector<double>& ys = *traces[t];
        // A single reading is drawn as two equal points one second apart.
        if (points == 2 && ys.size() == 1)
            ys.push_back(ys.front());
        set.data.setTrace(t, std::move(ys), xStep);
        if (shown[t])
            set.data.setDisplay(t, Display::Shown);
        set.data.setLastPoint(t, points - 1);
    }
}

} // namespace

VessorGraphDoc::VessorGraphDoc(std::string& dataFilePath) : dataFilePath_(dataFilePath) {
    ResetContents();
}

bool VessorGraphDoc::newDocument() {
    ResetContents();
    return true;
}

bool VessorGraphDoc::openDocument(const std::string& path) {
    InputFile file = openInputFile(path);
    return openDocument(path, file);
}

bool VessorGraphDoc::openDocument(const std::string& path, InputFile& file) {
    ResetContents();
    dataFilePath_ = path;
    ParseDownloadFile(file, path);
    return true;
}

void VessorGraphDoc::ResetContents() {
    dataFilePath_.clear();
    primary.clear();
    secondary.clear();
    readingCount = 0;
    rowsRead = 0;
    serialNumber.clear();
    interval = 10;
    startTime = toClockSeconds(ClockFields{2000, 1, 1, 0, 0, 0});
    title.clear();
    seriesSource_.reset();
}

LoadStatus VessorGraphDoc::ParseDownloadFile(const std::string& path) {
    InputFile input = openInputFile(path);
    return ParseDownloadFile(input, path);
}

LoadStatus VessorGraphDoc::ParseDownloadFile(InputFile& input, const std::string& path) {
    download::FileBytes file = download::loadDownloadBytes(input, path);
    switch (file.status) {
    case download::FileBytes::Status::Ok:
        break;
    case download::FileBytes::Status::CannotOpen:
        return finish(LoadStatus::CannotOpen, std::move(file.errorText));
    case download::FileBytes::Status::ReadError:
        return finish(LoadStatus::ReadError, std::move(file.errorText));
    case download::FileBytes::Status::TooLarge:
        return finish(LoadStatus::Invalid, "a line or the whole file is larger than any download file");
    }
    return take(download::readDownload(file.bytes, CHART_ROWS));
}

LoadStatus VessorGraphDoc::ParseDownloadText(std::string_view bytes) {
    return take(download::readDownload(bytes, CHART_ROWS));
}

LoadStatus VessorGraphDoc::finish(LoadStatus status, std::string error) {
    if (status != LoadStatus::Ok)
        ResetContents();
    lastError_ = std::move(error);
    return lastStatus_ = status;
}

LoadStatus VessorGraphDoc::take(download::ReadResult read) {
    // Start empty even when called on a loaded document; the path stays.
    const std::string keptPath = dataFilePath_;
    ResetContents();
    dataFilePath_ = keptPath;
    switch (read.outcome.status) {
    case download::ReadStatus::EventFile:
        return finish(LoadStatus::EventFile);
    case download::ReadStatus::Invalid:
        return finish(LoadStatus::Invalid, "line " + std::to_string(read.outcome.line) + ": " +
                                               read.outcome.reason);
    case download::ReadStatus::Ok:
        break;
    }
    takeData(read.data);
    return finish(LoadStatus::Ok);
}

LoadStatus VessorGraphDoc::openSeries(archive::ArchiveSeries series, SeriesSource source) {
    ResetContents();
    download::DownloadData& data = series.data;
    const auto places = static_cast<std::size_t>(data.rowCount());
    // The archive is outside this program: its values are checked like a file's.
    const auto numbers = [](const std::vector<double>& values) {
        return std::none_of(values.begin(), values.end(), [](double v) { return std::isnan(v); });
    };
    const auto fits = [&](const download::Channel& c) {
        return !c.present || (c.readings.size() == places && c.high.size() == places && c.low.size() == places &&
                              (!c.hasExtra || c.extra.size() == places) && numbers(c.readings) &&
                              numbers(c.high) && numbers(c.low) && numbers(c.extra));
    };
    if (places == 0 || !data.primary.present || !fits(data.primary) || !fits(data.secondary))
        return finish(LoadStatus::Invalid, "the series' columns do not fit its " + std::to_string(places) +
                                               " places or hold a value that is no number");
    if (data.interval < MIN_INTERVAL || data.interval > MAX_INTERVAL)
        return finish(LoadStatus::Invalid, "the series' interval of " + std::to_string(data.interval) +
                                               " s is outside " + std::to_string(MIN_INTERVAL) + ".." +
                                               std::to_string(MAX_INTERVAL));
    takeData(data);
    serialNumber = std::move(source.serial);
    seriesSource_ = std::move(source);
    return finish(LoadStatus::Ok);
}

void VessorGraphDoc::takeData(download::DownloadData& data) {
    title = std::move(data.title);
    startTime = data.startTime;
    interval = data.interval;
    rowsRead = data.rowCount();
    serialNumber = download::serialNumber(data);
    readingCount = rowsRead == 1 ? 2 : rowsRead;
    fillSet(primary, data.primary, readingCount, interval);
    fillSet(secondary, data.secondary, readingCount, interval);
}

} // namespace vessor::graph

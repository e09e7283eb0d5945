#include "download_file.h"

#include "conversion.h"
#include "download_writer.h"
#include "strings.h"

#include <initializer_list>

namespace vessor {
namespace {

constexpr const char* DEGREE = "\xB0";

// A name or unit from the block goes into the file as stored, except for
// the bytes that would split a field or a line.
std::string fieldText(std::string text)
{
    for (char& c : text)
        if (c == ',' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// The steps of addSeconds; a step of days is taken in one piece once the
// time is a proper date (a corrupt counting period must not make every row
// walk tens of thousands of days).
void advance(CalendarTime& t, std::uint64_t seconds)
{
    if (seconds >= 86400 && isValidCalendarTime(t)) {
        const int tenths = t.tenths;
        t = fromCalendarSeconds(toCalendarSeconds(t) + static_cast<std::int64_t>(seconds));
        t.tenths = tenths;
        return;
    }
    addSeconds(t, seconds);
}

std::string readingHeading(const LoggerConfig& config)
{
    const ModelInfo* model = config.model();
    const std::uint8_t options = config.optionFlags();
    const auto temperature = [](bool fahrenheit) {
        return fahrenheit ? std::string("Fahrenheit(") + DEGREE + "F)"
                          : std::string("Celsius(") + DEGREE + "C)";
    };
    switch (model ? model->quantity : Quantity::Temperature) {
    case Quantity::Voltage:
        return "Voltage(" + fieldText(config.scaleUnit()) + ")";
    case Quantity::Current:
        return "Current(" + fieldText(config.scaleUnit()) + ")";
    case Quantity::CarbonMonoxide:
        return "CO(ppm)";
    case Quantity::Thermocouple:
        return temperature((options & TC_FAHRENHEIT) != 0);
    case Quantity::Events:
        switch (config.eventSampleMode()) {
        case EVENT_MODE_EDGE:
            return (options & EVENT_RISING_EDGE) ? "Event(Rising)" : "Event(Falling)";
        case EVENT_MODE_STATE:
            return "Event(State)";
        case EVENT_MODE_COUNT_TOTAL:
            return "Event(Count Total)";
        default:
            return "Event(Count Per)";
        }
    default:
        return temperature(options == 1);
    }
}

std::string alarmFields(const LoggerConfig& config)
{
    std::string text;
    if (config.alarmFlags() & ALARM_HIGH_ENABLED)
        text += ',' + fieldText(formatHighAlarm(config));
    if (config.alarmFlags() & ALARM_LOW_ENABLED)
        text += ',' + fieldText(formatLowAlarm(config));
    return text;
}

std::string humidityAlarmFields(const LoggerConfig& config)
{
    std::string text;
    if (config.alarmFlags() & ALARM_RH_HIGH_ENABLED)
        text += ',' + formatFixed(config.rhHighAlarmValue(), 1);
    if (config.alarmFlags() & ALARM_RH_LOW_ENABLED)
        text += ',' + formatFixed(config.rhLowAlarmValue(), 1);
    return text;
}

// The fields only the first row carries.
std::string firstRowExtras(const LoggerConfig& config)
{
    std::string text = ',' + config.serialNumberText();
    if (isCOModel(config.modelType())) {
        text += ',' + expiryTextNumeric(config.sensorLife());
        if (config.isCalDateSet())
            text += ',' + expiryTextNumeric(config.calibrationPeriod());
        text += config.hasSensorError() ? ",Yes" : ",No";
    }
    return text;
}

DownloadOutcome failure(DownloadError error, std::string message)
{
    return DownloadOutcome{error, std::move(message)};
}

// Fills the "%s" places of a message from left to right (a path may hold
// "%s" itself).
std::string fillIn(std::string_view pattern, std::initializer_list<std::string> values)
{
    std::string text;
    auto value = values.begin();
    std::size_t from = 0;
    for (std::size_t at = pattern.find("%s"); at != std::string_view::npos && value != values.end();
         at = pattern.find("%s", from), ++value) {
        text.append(pattern.substr(from, at - from));
        text += *value;
        from = at + 2;
    }
    text.append(pattern.substr(from));
    return text;
}

DownloadOutcome sampleMissing(std::size_t index, std::size_t available)
{
    return failure(DownloadError::SampleMissing,
                   fillIn(text::SAMPLE_MISSING, {std::to_string(index), std::to_string(available)}));
}

DownloadOutcome samplingRows(const LoggerConfig& config, const SampleBuffer& samples,
                             CalendarTime t, std::string& out)
{
    const SampleLayout layout = sampleLayout(config);
    if (layout.rows < 1)
        return failure(DownloadError::NoReadings, text::NO_READINGS);
    const int model = config.modelType();
    const std::uint64_t step = downloadTimeStep(config);
    const bool humidity = isHumidityModel(model);
    const bool rawThermocouple = isThermocoupleModel(model) && (config.optionFlags() & 0x02);
    const bool countPerPeriod = isEventLogger(model);
    const std::string alarms = alarmFields(config);
    const std::string humidityAlarms = humidityAlarmFields(config);

    out.reserve(out.size() + static_cast<std::size_t>(layout.rows) * (humidity ? 64 : 40));
    DownloadTextWriter writer(out);
    const int decimals = readingDecimals(config);
    std::size_t k = layout.first;
    for (long i = 0; i < layout.rows; ++i) {
        if (countPerPeriod && i == 0)
            advance(t, step);
        writer.beginRow(i + 1, t);
        advance(t, step);

        if (k >= samples.size())
            return sampleMissing(k, samples.size());
        const unsigned raw = samples[k];
        if (rawThermocouple)
            writer.whole(raw);
        else
            writer.value(readingValue(config, raw), decimals);
        writer.fields(alarms);
        ++k;

        if (humidity) {
            if (k >= samples.size())
                return sampleMissing(k, samples.size());
            const float h = halfUnitsToPercent(samples[k]);
            ++k;
            writer.value(h, 1);
            writer.fields(humidityAlarms);
            if (h == 0.0f)
                writer.field(text::ERROR_TEXT);
            else
                writer.value(dewPoint(config, rawToValue(config, raw), h), 1);
        }
        if (i == 0)
            writer.fields(firstRowExtras(config));
        writer.endRow();
        if (k >= layout.ring)
            k = 0;
    }
    return {};
}

// Edge (mode 0) and state (mode 1) records: bit 15 the edge or the state,
// bits 0..14 the tenths of a second since the record before.
DownloadOutcome eventRows(const LoggerConfig& config, const SampleBuffer& samples,
                          CalendarTime t, std::string& out)
{
    const long records = config.readingCount();
    if (records < 1)
        return failure(DownloadError::NoReadings, text::NO_READINGS);
    const bool stateMode = config.eventSampleMode() == EVENT_MODE_STATE;
    const char edgeValue = (config.optionFlags() & EVENT_RISING_EDGE) ? '1' : '0';
    out.reserve(out.size() + static_cast<std::size_t>(records) * 28);

    DownloadTextWriter writer(out);
    long row = 1;
    int lastState = 0;
    for (long i = 0; i < records; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (index >= samples.size())
            return sampleMissing(index, samples.size());
        const unsigned v = samples[index];
        addTenths(t, static_cast<int>(v & 0x7FFF));
        const int bit15 = (v & 0x8000) ? 1 : 0;
        char value;
        if (stateMode) {
            if (i > 0 && bit15 == lastState)
                continue;
            lastState = bit15;
            value = bit15 ? '1' : '0';
        } else {
            if (!bit15)
                continue;
            value = edgeValue;
        }
        writer.beginRow(row, t, true);
        writer.field(std::string_view(&value, 1));
        if (stateMode && row == 1)
            writer.field(config.serialNumberText());
        writer.endRow();
        ++row;
    }
    return {};
}

} // namespace

std::string defaultDownloadFileName(std::string_view loggerName)
{
    std::string name;
    name.reserve(loggerName.size());
    for (char c : loggerName) {
        const auto byte = static_cast<unsigned char>(c);
        if (FILE_NAME_REMOVED_CHARACTERS.find(c) == std::string_view::npos && byte >= 0x20 && byte != 0x7F)
            name += c;
    }
    return name;
}

std::uint64_t downloadTimeStep(const LoggerConfig& config)
{
    return isEventLogger(config.modelType()) ? config.countPeriod() : config.sampleInterval();
}

SampleLayout sampleLayout(const LoggerConfig& config)
{
    const int model = config.modelType();
    const bool oneSampleRing = modelHas(model, GROUP_ONE_SAMPLE_RING);
    SampleLayout layout;
    if (config.isWrapMode() && config.wrapCount() >= 1) {
        layout.rows = static_cast<long>(config.memoryCapacity()) - 1;
        const long count = config.readingCount();
        // A negative count from a confused logger starts the ring at 0.
        const long first = oneSampleRing ? count + 1 : 2 * count + 2;
        layout.first = first > 0 ? static_cast<std::size_t>(first) : 0;
    } else {
        layout.rows = config.readingCount();
    }
    const long rows = layout.rows > 0 ? layout.rows : 0;
    layout.ring = static_cast<std::size_t>(oneSampleRing ? rows + 1 : 2 * rows + 2);
    return layout;
}

std::string downloadHeader(const LoggerConfig& config)
{
    const int model = config.modelType();
    const std::uint8_t alarms = config.alarmFlags();
    std::string header = fieldText(config.loggerName());
    header += ",Time,";
    header += readingHeading(config);
    if (alarms & ALARM_HIGH_ENABLED)
        header += ",High Alarm";
    if (alarms & ALARM_LOW_ENABLED)
        header += isCOModel(model) ? ",Warning Level" : ",Low Alarm";
    if (isHumidityModel(model)) {
        header += ",Humidity(%rh)";
        if (alarms & ALARM_RH_HIGH_ENABLED)
            header += ",High Alarm rh";
        if (alarms & ALARM_RH_LOW_ENABLED)
            header += ",Low Alarm rh";
        header += config.optionFlags() == 1 ? std::string(",dew point(") + DEGREE + "F)"
                                            : std::string(",dew point(") + DEGREE + "C)";
    }
    header += ",Serial Number";
    if (isCOModel(model)) {
        header += ",Sensor Life Expiry";
        if (config.isCalDateSet())
            header += ",Calibration Expiry";
        header += ",Overrange Exposure";
    }
    return header;
}

DownloadOutcome buildDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  const CalendarTime& start, std::string& out)
{
    out.clear();
    CalendarTime t = start;
    t.tenths = 0;
    DownloadTextWriter writer(out);
    writer.line(downloadHeader(config));

    if (isEventLogger(config.modelType())) {
        switch (config.eventSampleMode()) {
        case EVENT_MODE_EDGE:
            writer.beginRow(0, t, true);
            writer.field({});
            writer.field(config.serialNumberText());
            writer.endRow();
            return eventRows(config, samples, t, out);
        case EVENT_MODE_STATE:
            return eventRows(config, samples, t, out);
        case EVENT_MODE_COUNT_TOTAL:
            writer.beginRow(1, t);
            writer.whole(config.countPeriod());
            writer.field(config.serialNumberText());
            writer.endRow();
            return {};
        default:
            break;
        }
    }
    return samplingRows(config, samples, t, out);
}

DownloadOutcome buildDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  std::string& out)
{
    return buildDownloadFile(config, samples, config.firstReadingTime(), out);
}

DownloadOutcome saveDownloadFile(const std::string& path, std::string_view bytes,
                                 const SaveOptions& options)
{
    if (path.empty())
        return failure(DownloadError::NoPath, text::NO_FILE_SELECTED);
    const SaveResult saved = saveFile(path, bytes, options);
    if (saved.step == SaveStep::Open)
        return failure(DownloadError::OpenFailed,
                       fillIn(text::FAILED_OPENING_FILE, {path}) + ": " + saved.reason);
    if (!saved.ok())
        return failure(DownloadError::WriteFailed,
                       fillIn(text::FAILED_WRITING_FILE, {path, saved.reason}));
    return {};
}

DownloadOutcome writeDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  const std::string& path)
{
    std::string bytes;
    const DownloadOutcome built = buildDownloadFile(config, samples, bytes);
    if (!built.ok())
        return built;
    return saveDownloadFile(path, bytes);
}

} // namespace vessor

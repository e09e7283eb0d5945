#include "config_utility/wizard/scaling_page_logic.h"

#include <array>

#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"

namespace vessor {

namespace {

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Sort weight of one character: symbols, then digits, then letters; within
// a class by the case-folded character.
std::pair<int, char32_t> sortWeight(QChar ch)
{
    const int kind = ch.isLetter() ? 2 : (ch.isDigit() ? 1 : 0);
    return {kind, ch.toCaseFolded().unicode()};
}

} // namespace

const QStringList& scalingUnits()
{
    static const QStringList units = {
        QStringLiteral("Volts"),  QStringLiteral("kVolts"), QStringLiteral("Amps"),
        QStringLiteral("Watts"),  QStringLiteral("Hz"),     QStringLiteral("kHz"),
        QStringLiteral("%"),      QStringLiteral("PSI"),    QStringLiteral("mBar"),
        QStringLiteral("mm/sec"), QStringLiteral("RPM"),    QStringLiteral("kph"),
        QStringLiteral("mph"),    QStringLiteral("g"),      QStringLiteral("kg"),
        QStringLiteral("N"),      QStringLiteral("Nm"),     QString::fromUtf8("\u00B0C"),
        QString::fromUtf8("\u00B0F"), QStringLiteral("K"),  QStringLiteral("%RH"),
        QStringLiteral("pH"),     QStringLiteral("Lux"),    QStringLiteral("ppm O2"),
        QStringLiteral("ppm CO"), QStringLiteral("ppm CO2"),
    };
    return units;
}

bool unitSortsBefore(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto wa = sortWeight(a.at(i));
        const auto wb = sortWeight(b.at(i));
        if (wa != wb)
            return wa < wb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

int insertSorted(QStringList& list, const QString& unit)
{
    qsizetype at = 0;
    while (at < list.size() && !unitSortsBefore(unit, list.at(at)))
        ++at;
    list.insert(at, unit);
    return static_cast<int>(at);
}

int prefixMatch(const QStringList& list, const QString& prefix)
{
    if (prefix.isEmpty())
        return -1;
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).startsWith(prefix, Qt::CaseInsensitive))
            return static_cast<int>(i);
    return -1;
}

UnitListState unitListFor(const QString& storedUnit)
{
    UnitListState state;
    for (const QString& unit : scalingUnits())
        insertSorted(state.entries, unit);
    state.text = storedUnit;
    if (storedUnit.isEmpty())
        return state;
    state.selected = prefixMatch(state.entries, storedUnit);
    if (state.selected < 0)
        state.selected = insertSorted(state.entries, storedUnit);
    state.text = state.entries.at(state.selected);
    return state;
}

bool isUnitCharacter(QChar ch)
{
    if (ch == QLatin1Char(',') || ch.unicode() < 32 || ch.unicode() == 127)
        return false;
    // Only what survives the trip into the block's Windows-1252 bytes.
    const std::string utf8 = QString(ch).toStdString();
    const std::string bytes = utf8ToCp1252(utf8);
    return bytes.size() == 1 && (bytes != "?" || ch == QLatin1Char('?')) && cp1252ToUtf8(bytes) == utf8;
}

std::string checkedPointText(std::string_view stored)
{
    static const std::string zero = "0.00";
    while (!stored.empty() && stored.front() == ' ')
        stored.remove_prefix(1);
    if (stored.empty() || stored.size() > static_cast<std::size_t>(SCALE_POINT_BOX_LIMIT))
        return zero;
    const char first = stored.front();
    if (!isAsciiDigit(first) && first != '+' && first != '-' && first != '.')
        return zero;
    int stops = 0;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i];
        if (c == '.') {
            if (++stops > 1)
                return zero;
        } else if (i > 0 && !isAsciiDigit(c)) {
            // Nothing the box lets the user type: a foreign or damaged text.
            return zero;
        }
    }
    return std::string(stored);
}

bool isPointNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool digits = false;
    bool stop = false;
    for (const char c : text) {
        if (isAsciiDigit(c))
            digits = true;
        else if (c == '.' && !stop)
            stop = true;
        else
            return false;
    }
    return digits;
}

ScalingVerdict verdictForScalingError(int code)
{
    switch (code) {
    case SCALING_OK: return {};
    case SCALING_OUTPUT1_EMPTY: return {MSG_INVALID_NUMBER, ScalingBox::Output1};
    case SCALING_INPUT1_EMPTY: return {MSG_INVALID_NUMBER, ScalingBox::Input1};
    case SCALING_OUTPUT2_EMPTY: return {MSG_INVALID_NUMBER, ScalingBox::Output2};
    case SCALING_INPUT2_EMPTY: return {MSG_INVALID_NUMBER, ScalingBox::Input2};
    case SCALING_EQUAL_INPUTS: return {MSG_INPUTS_EQUAL, ScalingBox::Input2};
    case SCALING_EQUAL_OUTPUTS: return {MSG_OUTPUTS_EQUAL, ScalingBox::Output2};
    case SCALING_ARITHMETIC: return {MSG_CHECK_CALIBRATION, ScalingBox::Input1};
    case SCALING_INPUT1_ABOVE_FULL_SCALE:
    case SCALING_INPUT1_BELOW_ZERO: return {MSG_INPUT_OUT_OF_RANGE, ScalingBox::Input1};
    case SCALING_INPUT2_ABOVE_FULL_SCALE:
    case SCALING_INPUT2_BELOW_ZERO: return {MSG_INPUT_OUT_OF_RANGE, ScalingBox::Input2};
    default: return {MSG_INVALID_NUMBER, ScalingBox::None};
    }
}

ScalingVerdict storeCustomScaling(LoggerConfig& config, const ScalingEntry& entry)
{
    QString unit = entry.unit;
    qsizetype blanks = 0;
    while (blanks < unit.size() && unit.at(blanks) == QLatin1Char(' '))
        ++blanks;
    unit.remove(0, blanks);
    config.setScaleUnit(utf8ToCp1252(unit.toStdString()));
    config.setScaleOutput1Text(entry.output1);
    config.setScaleInput1Text(entry.input1);
    config.setScaleOutput2Text(entry.output2);
    config.setScaleInput2Text(entry.input2);
    int error = applyScaling(config);

    // A pasted text that is no number would otherwise count as 0.
    struct Box {
        const std::string& text;
        int emptyCode;
    };
    const std::array<Box, 4> boxes = {{{entry.output1, SCALING_OUTPUT1_EMPTY},
                                       {entry.input1, SCALING_INPUT1_EMPTY},
                                       {entry.output2, SCALING_OUTPUT2_EMPTY},
                                       {entry.input2, SCALING_INPUT2_EMPTY}}};
    for (const Box& box : boxes) {
        if (!isPointNumber(box.text)) {
            config.resetDerivedScaling();
            error = box.emptyCode;
            break;
        }
    }
    return verdictForScalingError(error);
}

} // namespace vessor

#include "logger/setup/scaling_page_logic.h"

#include <algorithm>
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

// UTF-8 to code points; a malformed byte reads as U+FFFD.
std::u32string decode(std::string_view utf8)
{
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
        char32_t code = length <= 1 ? lead : lead & (0x7F >> length);
        bool wellFormed = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            wellFormed = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        text.push_back(wellFormed ? code : U'\uFFFD');
        i += wellFormed ? length : 1;
    }
    return text;
}

std::string encode(char32_t code)
{
    std::string text;
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (code >> 18)));
        text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return text;
}

// Unicode's letters among the characters a unit can hold (Windows-1252):
// ASCII and Latin-1 letters, the feminine and masculine ordinals, micro, and
// the few letters of 0x80..0x9F.
bool isLetter(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'))
        return true;
    if (c == 0xAA || c == 0xB5 || c == 0xBA)
        return true;
    if (c >= 0xC0 && c <= 0xFF)
        return c != 0xD7 && c != 0xF7;
    switch (c) {
    case 0x152: case 0x153: case 0x160: case 0x161: case 0x178: case 0x17D: case 0x17E:
    case 0x192: case 0x2C6:
        return true;
    default:
        return false;
    }
}

// Unicode's simple case folding over the same characters.
char32_t foldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    switch (c) {
    case 0xB5: return 0x3BC;    // micro sign to Greek mu
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x178: return 0xFF;
    case 0x17D: return 0x17E;
    default: return c;
    }
}

// Sort weight of one character: symbols, then digits, then letters; within
// a class by the case-folded character.
std::pair<int, char32_t> sortWeight(char32_t ch)
{
    const int kind = isLetter(ch) ? 2 : (ch >= U'0' && ch <= U'9' ? 1 : 0);
    return {kind, foldCase(ch)};
}

} // namespace

const UnitList& scalingUnits()
{
    static const UnitList units = {
        "Volts", "kVolts", "Amps", "Watts", "Hz", "kHz", "%", "PSI", "mBar", "mm/sec", "RPM", "kph", "mph",
        "g", "kg", "N", "Nm", "\u00B0C", "\u00B0F", "K", "%RH", "pH", "Lux", "ppm O2", "ppm CO", "ppm CO2",
    };
    return units;
}

bool unitSortsBefore(std::string_view a, std::string_view b)
{
    const std::u32string ca = decode(a);
    const std::u32string cb = decode(b);
    const std::size_t n = std::min(ca.size(), cb.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto wa = sortWeight(ca[i]);
        const auto wb = sortWeight(cb[i]);
        if (wa != wb)
            return wa < wb;
    }
    if (ca.size() != cb.size())
        return ca.size() < cb.size();
    return ca < cb;
}

int insertSorted(UnitList& list, const std::string& unit)
{
    std::size_t at = 0;
    while (at < list.size() && !unitSortsBefore(unit, list[at]))
        ++at;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), unit);
    return static_cast<int>(at);
}

int prefixMatch(const UnitList& list, std::string_view prefix)
{
    const std::u32string wanted = decode(prefix);
    if (wanted.empty())
        return -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::u32string entry = decode(list[i]);
        if (entry.size() < wanted.size())
            continue;
        if (std::equal(wanted.begin(), wanted.end(), entry.begin(),
                       [](char32_t x, char32_t y) { return foldCase(x) == foldCase(y); }))
            return static_cast<int>(i);
    }
    return -1;
}

UnitListState unitListFor(std::string_view storedUnit)
{
    UnitListState state;
    for (const std::string& unit : scalingUnits())
        insertSorted(state.entries, unit);
    state.text = std::string(storedUnit);
    if (storedUnit.empty())
        return state;
    state.selected = prefixMatch(state.entries, storedUnit);
    if (state.selected < 0)
        state.selected = insertSorted(state.entries, state.text);
    state.text = state.entries.at(static_cast<std::size_t>(state.selected));
    return state;
}

bool isUnitCharacter(char32_t ch)
{
    if (ch == U',' || ch < 32 || ch == 127)
        return false;
    // Only what survives the trip into the block's Windows-1252 bytes.
    const std::string utf8 = encode(ch);
    const std::string bytes = utf8ToCp1252(utf8);
    return bytes.size() == 1 && (bytes != "?" || ch == U'?') && cp1252ToUtf8(bytes) == utf8;
}

bool isUnitText(std::string_view unit)
{
    const std::u32string characters = decode(unit);
    return std::all_of(characters.begin(), characters.end(), isUnitCharacter);
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
    std::string_view unit = entry.unit;
    while (!unit.empty() && unit.front() == ' ')
        unit.remove_prefix(1);
    config.setScaleUnit(utf8ToCp1252(unit));
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

// The decisions of the custom scaling page (page 9) of the voltage and
// current loggers: the unit list, the check of stored point texts, and what
// Next stores and how it reports a scaling that does not work.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vessor {

class LoggerConfig;

// The unit box takes 8 characters, each point box 7 (the block's texts hold
// 7 characters and their NUL).
inline constexpr int SCALE_UNIT_BOX_LIMIT = 8;
inline constexpr int SCALE_POINT_BOX_LIMIT = 7;
// Decimal places the point boxes let the user type.
inline constexpr int SCALE_POINT_DECIMALS = 3;

// --- Unit list (texts UTF-8) ---

using UnitList = std::vector<std::string>;

// The 26 units in the order they are added to the list.
const UnitList& scalingUnits();

// The list's order: case ignored, symbols before digits before letters, and
// the exact text as the tie-break, so the order does not depend on the
// locale.
bool unitSortsBefore(std::string_view a, std::string_view b);
// Inserts `unit` into the sorted `list` at its place; returns the index.
int insertSorted(UnitList& list, const std::string& unit);
// The first entry of `list` that begins with `prefix`, case ignored
// (the list's prefix selection); -1 when none does or `prefix` is empty.
int prefixMatch(const UnitList& list, std::string_view prefix);

// What the unit box shows for a stored unit.
struct UnitListState {
    UnitList entries;     // sorted
    int selected = -1;    // -1: the text is shown unselected
    std::string text;     // the box's text
};
// The 26 units, plus `storedUnit` when no entry begins with it; the entry
// beginning with the stored unit is selected (so "volt" shows as "Volts").
UnitListState unitListFor(std::string_view storedUnit);

// Whether the unit box takes `ch`: characters the logger block can hold,
// except the comma, which would split the download file's heading.
bool isUnitCharacter(char32_t ch);
// Whether every character of `unit` (UTF-8) is one the unit box takes.
bool isUnitText(std::string_view unit);

// --- Point texts ---

// A stored point text as refresh shows it: leading blanks removed; an
// empty text, one longer than 7 characters, one that does not start with
// a digit, sign or full stop, one with a second full stop or with any other
// character after the first is shown as "0.00".
std::string checkedPointText(std::string_view stored);

// Whether a typed point text is a number ("-.5", "5.", "+2" are; "-", ".",
// "1-2" are not).
bool isPointNumber(std::string_view text);

// --- Next ---

// The boxes of the page in the order deriveScaling examines them.
enum class ScalingBox { None, Output1, Input1, Output2, Input2 };

struct ScalingEntry {
    std::string unit;      // the unit box's text (UTF-8)
    std::string output1;   // the point boxes' texts as typed
    std::string input1;
    std::string output2;
    std::string input2;
};

struct ScalingVerdict {
    int messageId = 0;                     // 0: the scaling works
    ScalingBox focus = ScalingBox::None;   // None: the focus stays
};

// The page's reaction to a scaling error code.
ScalingVerdict verdictForScalingError(int code);

// Next: stores the unit (leading blanks removed) and the four texts as
// typed, derives the scaling and returns what to tell the user. A text that
// is empty or not a number is refused (message 157 on that box, the boxes in
// the order output 1, input 1, output 2, input 2) before the other checks.
ScalingVerdict storeCustomScaling(LoggerConfig& config, const ScalingEntry& entry);

} // namespace vessor

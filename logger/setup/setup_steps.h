// What the set-up steps of a model's sequence (models.h) decide beyond
// their pages: which steps the earlier choices skip, and the agreements the
// CO loggers and the ZR-T-PRO ask for before anything is set.
#pragma once

#include "logger/models.h"

#include <string>

namespace vessor {

class LoggerConfig;

// Whether `step` is shown for the logger as the earlier steps left it:
// custom scaling only when chosen, the event voltage range only for voltage
// triggering, the count period only in the counting modes.
bool isStepShown(WizardStep step, const LoggerConfig& config);

// The question Set up and Start asks before the first step: 131 in a
// delayed start, 176 waiting for the button, 130 logging; 133 for a
// stopped logger holding readings not yet downloaded; 0 when there is
// nothing to ask.
int setUpQuestion(const LoggerConfig& config);

// The closing sentence of both agreements (CR LF included).
inline constexpr const char* AGREEMENT_CONFIRMATION =
    "I confirm I have read and fully understood the manual and the above conditions.\r\n";

// The whole text an agreement step shows: its fixed text with CR LF line
// ends, followed by the confirmation sentence. Empty for other steps.
std::string agreementText(WizardStep step);

} // namespace vessor

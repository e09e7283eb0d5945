#include "logger/setup/setup_steps.h"

#include "logger/logger_config.h"
#include "logger/setup/name_pages_logic.h"
#include "logger/strings.h"

namespace vessor {

namespace {

// Paragraphs are separated by an empty line; every line ends in CR LF.
constexpr const char* CO_AGREEMENT =
    "PLEASE READ THROUGH THE MANUAL, WHICH SHOULD BE KEPT FOR FUTURE REFERENCE.\r\n"
    "PASS THE MANUAL ON TO THOSE WHO USE THIS DEVICE. \r\n"
    "\r\n"
    "Do not use the ZR-CO until you have read and understood the manual and all the "
    "documentation supplied with it. Monitoring carbon monoxide is a complex procedure. If you "
    "are in any doubt, stop and consult a suitably qualified expert.\r\n"
    "\r\n"
    "The ZR-CO is a professional measuring instrument that records carbon monoxide (CO) levels "
    "for later analysis. It is NOT an alarm, safety or warning device, because:\r\n"
    "1. Its light and sound do not adequately warn people in the area.\r\n"
    "2. The battery drains quickly while the light or sound is indicating.\r\n"
    "3. It registers CO only when it takes a sample, at the interval that has been set.\r\n"
    "4. The light and sound alarms are set by the user, who may choose to set no warning at "
    "all.\r\n"
    "\r\n"
    "Carbon monoxide is a poisonous gas. It is colourless and odourless and can kill at low "
    "concentrations. Wherever people or animals may be at risk from carbon monoxide, a "
    "certified domestic or industrial CO detector or alarm must be installed.\r\n"
    "\r\n"
    "IMPORTANT INFORMATION\r\n"
    "\r\n"
    "Operate the ZR-CO and replace its batteries only as the instructions describe.\r\n"
    "\r\n"
    "The red LED flashes when a preset level is exceeded. As supplied, the indicator is enabled"
    " for 50ppm or greater and the sounder is also enabled. Any change to these settings is "
    "made at the user's own risk. The LED and the sounder are triggered only at the times a "
    "sample is taken.\r\n"
    "\r\n"
    "The ZR-CO cannot adequately warn people of dangerous carbon monoxide levels.\r\n"
    "\r\n"
    "Meridane Electronics products are not authorised for use as critical components in "
    "life-support devices or systems without the express written approval of Meridane "
    "Electronics. The ZR-CO is intended for non-life-saving analysis only.\r\n"
    "\r\n"
    "The ZR-CO detects no gas other than carbon monoxide. Other gases may affect the reading.\r\n"
    "\r\n";

constexpr const char* PRO_AGREEMENT =
    "PLEASE READ THROUGH THE MANUAL, WHICH SHOULD BE KEPT FOR FUTURE REFERENCE.\r\n"
    "PASS THE MANUAL ON TO THOSE WHO USE THIS DEVICE. \r\n"
    "\r\n"
    "Do not use the ZR-T-PRO until you have read and understood the manual and all the "
    "documentation supplied with it. The ZR-T-PRO measures high temperatures: correct "
    "procedures must be followed to avoid injury.\r\n"
    "\r\n"
    "The ZR-T-PRO is a professional measuring instrument for recording temperature. Take the "
    "following precautions:\r\n"
    "1. Removing the logger from an extreme environment: the metal case keeps its heat or cold "
    "for some time. Always use protective gloves or suitable tools. See the data sheet for the "
    "limits of use.\r\n"
    "2. Replacing the batteries: use only the battery specified by Meridane Electronics. Many "
    "batteries fail at extreme temperatures, and the wrong battery can cause serious injury.\r\n"
    "\r\n"
    "Meridane Electronics products are not authorised for use as critical components in "
    "life-support devices or systems without the express written approval of Meridane "
    "Electronics.\r\n"
    "\r\n";

} // namespace

bool isStepShown(WizardStep step, const LoggerConfig& config)
{
    switch (step) {
    case WizardStep::CustomScaling:
        return isCustomScaling(config);
    case WizardStep::EventVoltageRange:
        return (config.optionFlags() & EVENT_VOLT_FREE) == 0;
    case WizardStep::EventCountPeriod:
        return config.eventSampleMode() >= EVENT_MODE_COUNT_TOTAL;
    default:
        return true;
    }
}

int setUpQuestion(const LoggerConfig& config)
{
    if (config.isLogging())
        return config.isDelayedStart()     ? MSG_SETUP_WHILE_DELAYED
               : config.isAwaitingButton() ? MSG_SETUP_AWAITING_BUTTON
                                           : MSG_SETUP_WHILE_LOGGING;
    return config.hasUndownloadedData() ? MSG_SETUP_NOT_DOWNLOADED : 0;
}

std::string agreementText(WizardStep step)
{
    if (step == WizardStep::CoAgreement)
        return std::string(CO_AGREEMENT) + AGREEMENT_CONFIRMATION;
    if (step == WizardStep::ProAgreement)
        return std::string(PRO_AGREEMENT) + AGREEMENT_CONFIRMATION;
    return {};
}

} // namespace vessor

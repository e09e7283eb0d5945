#include "config_utility/wizard/page_sequence.h"

#include "config_utility/shell/page.h"
#include "logger/logger_config.h"

namespace vessor {

namespace {

bool isVoltFree(const LoggerConfig& config)
{
    return (config.optionFlags() & 0x04) != 0;
}

int eventMode(const LoggerConfig& config)
{
    return config.eventSampleMode();
}

bool isOneOf(int model, std::initializer_list<int> models)
{
    for (int m : models)
        if (m == model)
            return true;
    return false;
}

} // namespace

int entryPage(int modelType)
{
    switch (modelType) {
    case 4: case 5: case 6: case 7: return PAGE_VOLTAGE_NAME;
    case 8: return PAGE_LITE_NAME;
    case 9: case 11: return PAGE_CO_DISCLAIMER;
    case 10: case 15: return PAGE_TC_NAME;
    case 14: return PAGE_PRO_DISCLAIMER;
    case 17: return PAGE_EV_NAME;
    default: return PAGE_SETUP_NAME;
    }
}

int nextPage(int page, const LoggerConfig& config)
{
    const int model = config.modelType();
    switch (page) {
    case PAGE_SETUP_NAME:
        if (isOneOf(model, {12, 16}))
            return PAGE_LCD;
        if (isOneOf(model, {13, 14, 18}))
            return PAGE_STORAGE_MODE;
        return PAGE_SETUP_ALARMS;
    case PAGE_SETUP_ALARMS:
        return isOneOf(model, {3, 12, 13, 16}) ? PAGE_RH_ALARMS : PAGE_SETUP_START;
    case PAGE_SETUP_SUMMARY:
        return PAGE_MAIN_MENU;
    case PAGE_RH_ALARMS:
        return isOneOf(model, {12, 16}) ? PAGE_PUSH_TO_START : PAGE_SETUP_START;
    case PAGE_VOLTAGE_NAME:
        // Custom scaling is chosen when the option flags are not zero.
        return config.optionFlags() != 0 ? PAGE_VOLTAGE_CAL : PAGE_VOLTAGE_ALARMS;
    case PAGE_VOLTAGE_CAL:
        return PAGE_VOLTAGE_ALARMS;
    case PAGE_VOLTAGE_ALARMS:
        return model == 15 ? PAGE_PUSH_TO_START : PAGE_SETUP_START;
    case PAGE_LITE_NAME:
        return PAGE_LITE_ALARMS;
    case PAGE_LITE_ALARMS:
        return PAGE_SETUP_START;
    case PAGE_CO_NAME:
        return PAGE_CO_ALARMS;
    case PAGE_CO_DISCLAIMER:
        return PAGE_CO_NAME;
    case PAGE_CO_ALARMS:
        return PAGE_SETUP_START;
    case PAGE_TC_NAME:
        return model == 15 ? PAGE_LCD : PAGE_VOLTAGE_ALARMS;
    case PAGE_LCD:
        return model == 15 ? PAGE_VOLTAGE_ALARMS : PAGE_SETUP_ALARMS;
    case PAGE_STORAGE_MODE:
        return isOneOf(model, {14, 18}) ? PAGE_VOLTAGE_ALARMS : PAGE_SETUP_ALARMS;
    case PAGE_PRO_DISCLAIMER:
        return PAGE_SETUP_NAME;
    case PAGE_EV_NAME:
        return PAGE_EV_TRIGGER_MODE;
    case PAGE_EV_TRIGGER_MODE:
        if (!isVoltFree(config))
            return PAGE_EV_VOLTAGE_TRIGGER;
        return eventMode(config) <= 1 ? PAGE_SETUP_START : PAGE_EV_COUNT_PERIOD;
    case PAGE_EV_VOLTAGE_TRIGGER:
        return eventMode(config) <= 1 ? PAGE_SETUP_START : PAGE_EV_COUNT_PERIOD;
    case PAGE_EV_COUNT_PERIOD:
        return PAGE_SETUP_START;
    default:
        // The start pages finish; the main menu, stop and status pages are
        // not part of the wizard.
        return NO_PAGE;
    }
}

int backPage(int page, const LoggerConfig& config)
{
    const int model = config.modelType();
    switch (page) {
    case PAGE_SETUP_NAME:
        return model == 14 ? PAGE_PRO_DISCLAIMER : NO_PAGE;
    case PAGE_SETUP_ALARMS:
        if (isOneOf(model, {12, 16}))
            return PAGE_LCD;
        if (model == 13)
            return PAGE_STORAGE_MODE;
        return PAGE_SETUP_NAME;
    case PAGE_SETUP_START:
        if (isOneOf(model, {3, 12, 13, 16}))
            return PAGE_RH_ALARMS;
        if (model == 8)
            return PAGE_LITE_ALARMS;
        if (isOneOf(model, {9, 11}))
            return PAGE_CO_ALARMS;
        if (model == 17) {
            if (eventMode(config) > 1)
                return PAGE_EV_COUNT_PERIOD;
            return isVoltFree(config) ? PAGE_EV_TRIGGER_MODE : PAGE_EV_VOLTAGE_TRIGGER;
        }
        if (isOneOf(model, {4, 5, 6, 7, 10, 14, 18}))
            return PAGE_VOLTAGE_ALARMS;
        return PAGE_SETUP_ALARMS;
    case PAGE_RH_ALARMS:
        return PAGE_SETUP_ALARMS;
    case PAGE_VOLTAGE_CAL:
        return PAGE_VOLTAGE_NAME;
    case PAGE_VOLTAGE_ALARMS:
        if (model == 10)
            return PAGE_TC_NAME;
        if (isOneOf(model, {14, 18}))
            return PAGE_STORAGE_MODE;
        if (model == 15)
            return PAGE_LCD;
        return config.optionFlags() != 0 ? PAGE_VOLTAGE_CAL : PAGE_VOLTAGE_NAME;
    case PAGE_LITE_ALARMS:
        return PAGE_LITE_NAME;
    case PAGE_CO_NAME:
        return PAGE_CO_DISCLAIMER;
    case PAGE_CO_DISCLAIMER:
        return PAGE_MAIN_MENU;
    case PAGE_CO_ALARMS:
        return PAGE_CO_NAME;
    case PAGE_LCD:
        return model == 15 ? PAGE_TC_NAME : PAGE_SETUP_NAME;
    case PAGE_PUSH_TO_START:
        return model == 15 ? PAGE_VOLTAGE_ALARMS : PAGE_RH_ALARMS;
    case PAGE_STORAGE_MODE:
        return PAGE_SETUP_NAME;
    case PAGE_PRO_DISCLAIMER:
        return PAGE_MAIN_MENU;
    case PAGE_EV_TRIGGER_MODE:
        return PAGE_EV_NAME;
    case PAGE_EV_VOLTAGE_TRIGGER:
        return PAGE_EV_TRIGGER_MODE;
    case PAGE_EV_COUNT_PERIOD:
        return isVoltFree(config) ? PAGE_EV_TRIGGER_MODE : PAGE_EV_VOLTAGE_TRIGGER;
    default:
        // Inert first pages, the confirmation page, and pages outside the wizard.
        return NO_PAGE;
    }
}

bool isBackInert(int page)
{
    switch (page) {
    case PAGE_VOLTAGE_NAME:
    case PAGE_LITE_NAME:
    case PAGE_TC_NAME:
    case PAGE_EV_NAME:
        return true;
    default:
        return false;
    }
}

bool isBackEnabled(int page, const LoggerConfig& config)
{
    if (page == PAGE_SETUP_NAME)
        return config.modelType() == 14;
    return page != PAGE_SETUP_SUMMARY;
}

} // namespace vessor

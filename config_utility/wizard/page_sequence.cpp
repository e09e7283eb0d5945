#include "config_utility/wizard/page_sequence.h"

#include <array>
#include <utility>

#include "config_utility/shell/page.h"
#include "logger/logger_config.h"
#include "logger/models.h"
#include "logger/setup/setup_steps.h"

namespace vessor {

namespace {

// The utility's page for each kind of set-up step.
constexpr std::array<std::pair<WizardStep, int>, 21> STEP_PAGES{{
    {WizardStep::Name, PAGE_SETUP_NAME},
    {WizardStep::TemperatureAlarms, PAGE_SETUP_ALARMS},
    {WizardStep::HumidityAlarms, PAGE_RH_ALARMS},
    {WizardStep::Start, PAGE_SETUP_START},
    {WizardStep::PushButtonStart, PAGE_PUSH_TO_START},
    {WizardStep::VoltageName, PAGE_VOLTAGE_NAME},
    {WizardStep::CustomScaling, PAGE_VOLTAGE_CAL},
    {WizardStep::NumberAlarms, PAGE_VOLTAGE_ALARMS},
    {WizardStep::LiteName, PAGE_LITE_NAME},
    {WizardStep::LiteAlarms, PAGE_LITE_ALARMS},
    {WizardStep::CoAgreement, PAGE_CO_DISCLAIMER},
    {WizardStep::CoName, PAGE_CO_NAME},
    {WizardStep::CoAlarms, PAGE_CO_ALARMS},
    {WizardStep::ThermocoupleName, PAGE_TC_NAME},
    {WizardStep::Display, PAGE_LCD},
    {WizardStep::StorageMode, PAGE_STORAGE_MODE},
    {WizardStep::ProAgreement, PAGE_PRO_DISCLAIMER},
    {WizardStep::EventName, PAGE_EV_NAME},
    {WizardStep::EventTrigger, PAGE_EV_TRIGGER_MODE},
    {WizardStep::EventVoltageRange, PAGE_EV_VOLTAGE_TRIGGER},
    {WizardStep::EventCountPeriod, PAGE_EV_COUNT_PERIOD},
}};

int pageOf(WizardStep step)
{
    for (const auto& [s, page] : STEP_PAGES)
        if (s == step)
            return page;
    return NO_PAGE;
}

// Where `page` stands in the model's sequence; -1 when it is not in it.
int positionOf(int page, const WizardSequence& sequence)
{
    const WizardStep step = stepOfPage(page);
    if (step == WizardStep::None)
        return -1;
    for (std::size_t i = 0; i < sequence.size(); ++i)
        if (sequence[i] == step)
            return static_cast<int>(i);
    return -1;
}

} // namespace

WizardStep stepOfPage(int page)
{
    for (const auto& [step, p] : STEP_PAGES)
        if (p == page)
            return step;
    return WizardStep::None;
}

int entryPage(int modelType)
{
    return pageOf(setupModel(modelType).wizard.front());
}

int nextPage(int page, const LoggerConfig& config)
{
    if (page == PAGE_SETUP_SUMMARY)
        return PAGE_MAIN_MENU;
    // The start pages finish; the main menu, stop and status pages are not
    // part of the wizard.
    const WizardSequence& sequence = setupModel(config.modelType()).wizard;
    const int at = positionOf(page, sequence);
    if (at < 0)
        return NO_PAGE;
    for (std::size_t i = static_cast<std::size_t>(at) + 1; i < sequence.size(); ++i)
        if (sequence[i] != WizardStep::None && isStepShown(sequence[i], config))
            return pageOf(sequence[i]);
    return NO_PAGE;
}

int backPage(int page, const LoggerConfig& config)
{
    const WizardSequence& sequence = setupModel(config.modelType()).wizard;
    const int at = positionOf(page, sequence);
    if (at < 0)
        return NO_PAGE;
    for (int i = at - 1; i >= 0; --i)
        if (isStepShown(sequence[static_cast<std::size_t>(i)], config))
            return pageOf(sequence[static_cast<std::size_t>(i)]);
    // Back on an agreement declines it; on any other first page it does nothing.
    if (page == PAGE_CO_DISCLAIMER || page == PAGE_PRO_DISCLAIMER)
        return PAGE_MAIN_MENU;
    return NO_PAGE;
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
        return backPage(page, config) != NO_PAGE;
    return page != PAGE_SETUP_SUMMARY;
}

} // namespace vessor

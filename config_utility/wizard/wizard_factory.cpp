#include "config_utility/wizard/wizard_factory.h"

#include "config_utility/shell/page.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/event_pages.h"
#include "config_utility/wizard/name_pages.h"
#include "config_utility/wizard/setup_voltage_cal_form.h"
#include "config_utility/wizard/setup_alarms_form.h"
#include "config_utility/wizard/setup_co_alarms_form.h"
#include "config_utility/wizard/setup_mode_forms.h"
#include "config_utility/wizard/setup_start_form.h"
#include "config_utility/wizard/setup_voltage_alarms_form.h"

namespace vessor {

Page* createWizardPage(int index, PageContext& context, QWidget* parent)
{
    (void)context;
    (void)parent;
    switch (index) {
    // Each set-up page adds its case here:
    //   case PAGE_SETUP_NAME: return new SetupNameForm(context, parent);
    case PAGE_SETUP_NAME: return new SetupNameForm(context, parent);
    case PAGE_VOLTAGE_NAME: return new SetupVoltageNameForm(context, parent);
    case PAGE_LITE_NAME: return new SetupLiteNameForm(context, parent);
    case PAGE_CO_NAME: return new SetupCONameForm(context, parent);
    case PAGE_CO_DISCLAIMER: return new SetupCODisclaimerForm(context, parent);
    case PAGE_TC_NAME: return new SetupTCNameForm(context, parent);
    case PAGE_PRO_DISCLAIMER: return new SetupPRODisclaimerForm(context, parent);
    case PAGE_SETUP_ALARMS: return new SetupAlarmsForm(context, parent);
    case PAGE_SETUP_START: return new SetupStartForm(context, parent);
    case PAGE_SETUP_SUMMARY: return new SetupSummaryForm(context, parent);
    case PAGE_RH_ALARMS: return new SetupRHAlarmsForm(context, parent);
    case PAGE_VOLTAGE_ALARMS: return new SetupVoltageAlarmsForm(context, parent);
    case PAGE_LITE_ALARMS: return new SetupLiteAlarmsForm(context, parent);
    case PAGE_CO_ALARMS: return new SetupCOAlarmsForm(context, parent);
    case PAGE_LCD: return new SetupLCDForm(context, parent);
    case PAGE_PUSH_TO_START: return new SetupPushToStartForm(context, parent);
    case PAGE_STORAGE_MODE: return new SetupStorageModeForm(context, parent);
    case PAGE_VOLTAGE_CAL: return new SetupVoltageCalForm(context, parent);
    case PAGE_EV_NAME: return new SetupZevNameForm(context, parent);
    case PAGE_EV_TRIGGER_MODE: return new SetupZevTriggerModeForm(context, parent);
    case PAGE_EV_VOLTAGE_TRIGGER: return new SetupZevVoltageTriggerForm(context, parent);
    case PAGE_EV_COUNT_PERIOD: return new SetupZevCountPeriodForm(context, parent);
    default:
        return nullptr;
    }
}

} // namespace vessor

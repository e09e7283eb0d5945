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
    case PAGE_SETUP_NAME: return new CSetupNameForm(context, parent);
    case PAGE_VOLTAGE_NAME: return new CSetupVoltageNameForm(context, parent);
    case PAGE_LITE_NAME: return new CSetupLiteNameForm(context, parent);
    case PAGE_CO_NAME: return new CSetupCONameForm(context, parent);
    case PAGE_CO_DISCLAIMER: return new CSetupCODisclaimerForm(context, parent);
    case PAGE_TC_NAME: return new CSetupTCNameForm(context, parent);
    case PAGE_PRO_DISCLAIMER: return new CSetupPRODisclaimerForm(context, parent);
    case PAGE_SETUP_ALARMS: return new CSetupAlarmsForm(context, parent);
    case PAGE_SETUP_START: return new CSetupStartForm(context, parent);
    case PAGE_SETUP_SUMMARY: return new CSetupSummaryForm(context, parent);
    case PAGE_RH_ALARMS: return new CSetupRHAlarmsForm(context, parent);
    case PAGE_VOLTAGE_ALARMS: return new CSetupVoltageAlarmsForm(context, parent);
    case PAGE_LITE_ALARMS: return new CSetupLiteAlarmsForm(context, parent);
    case PAGE_CO_ALARMS: return new CSetupCOAlarmsForm(context, parent);
    case PAGE_LCD: return new CSetupLCDForm(context, parent);
    case PAGE_PUSH_TO_START: return new CSetupPushToStartForm(context, parent);
    case PAGE_STORAGE_MODE: return new CSetupStorageModeForm(context, parent);
    case PAGE_VOLTAGE_CAL: return new CSetupVoltageCalForm(context, parent);
    case PAGE_EV_NAME: return new CSetupZevNameForm(context, parent);
    case PAGE_EV_TRIGGER_MODE: return new CSetupZevTriggerModeForm(context, parent);
    case PAGE_EV_VOLTAGE_TRIGGER: return new CSetupZevVoltageTriggerForm(context, parent);
    case PAGE_EV_COUNT_PERIOD: return new CSetupZevCountPeriodForm(context, parent);
    default:
        return nullptr;
    }
}

} // namespace vessor

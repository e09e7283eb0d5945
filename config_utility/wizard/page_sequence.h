// The order of the set-up pages for every logger model: a walk over the
// model table's sequence of set-up steps, as plain functions of the page
// number and theConfig, so that pages and tests share one table.
#pragma once

#include "logger/models.h"

namespace vessor {

class LoggerConfig;

// Returned where a page has no table target: Next on the start pages is
// Finish (their own handler), Back on the confirmation page and the inert
// Back of a sequence's first page.
inline constexpr int NO_PAGE = -1;

// The kind of set-up step page `page` is; None outside the wizard's steps.
WizardStep stepOfPage(int page);

// The first set-up page of `modelType` (any value; unknown models get page 1).
int entryPage(int modelType);

// Where Next leads from set-up page `page` for the logger in `config`;
// NO_PAGE on the Finish pages (3, 18) and for pages outside the wizard.
// The confirmation page (4) leads back to the main menu (0).
int nextPage(int page, const LoggerConfig& config);

// Where Back leads from `page`; NO_PAGE where Back does nothing.
int backPage(int page, const LoggerConfig& config);

// True when Back on `page` is an inert button (present, enabled, no effect):
// the first page of the voltage, low-cost, thermocouple and event sequences.
bool isBackInert(int page);

// Page 1's Back is enabled only where the sequence has a page before it (the
// professional disclaimer of the ZR-T-PRO).
bool isBackEnabled(int page, const LoggerConfig& config);

} // namespace vessor

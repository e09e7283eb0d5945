// Writes the download file and its charts as an .xlsx workbook: the sheet
// "Data" with the file's rows, then one chart sheet per chart of the plan.
#pragma once

#include "logger/safe_save.h"
#include "spreadsheet_export/download_table.h"
#include "spreadsheet_export/export_plan.h"
#include "spreadsheet_export/number_formats.h"

#include <string>

namespace vessor::xlsx {

// Returns an empty text when the workbook is written, otherwise the reason it
// is not. The workbook is written through the safe save (the library writes
// into its temporary file), so a failed export leaves an existing file as it
// was.
std::string writeWorkbook(const DownloadTable& table, const ExportPlan& plan, const NumberFormats& formats,
                          const std::string& outputPath, const SaveOptions& options = {});

} // namespace vessor::xlsx

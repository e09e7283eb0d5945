// File > Export to Excel and --export-xlsx of the graph viewer. Only these
// functions know Qt; the plan and the writer are plain C++.
#pragma once

#include "logger/open_file.h"

#include <QString>

#include <optional>

class QStatusBar;
class QWidget;

namespace vessor::xlsx {

// File > Export to Excel on the file on show (empty path: "Open the data file
// before exporting data to Excel."). Shows its own messages (the chart count
// when the readings need more than one chart), the save dialog (proposing the
// download file's name with .xlsx, in its folder), "Now processing File.." in
// the status bar and a busy cursor while it writes, then opens the workbook
// with the desktop's spreadsheet program.
void exportToExcel(QWidget* window, const QString& dataFilePath, QStatusBar* statusBar);

// --export-xlsx: returns the exit status (0 written; 1 the download file cannot
// be read or the workbook cannot be written; 2 its content is refused;
// 3 it is an event logger's file) and sets `message` for stderr (on success, the
// chart-count notice when there is one, else empty).
int exportToExcelHeadless(const QString& dataFilePath, const QString& outputPath, QString& message);
// The same over file names as bytes, reading the download file from `input`
// (opened from `dataFile` by the caller).
int exportToExcelHeadless(const std::string& dataFile, InputFile& input, const std::string& outputPath,
                          QString& message);

// What the export asks of the desktop, so that tests can answer in its place.
class ExportInteraction {
public:
    enum class Icon { Information, Warning };
    virtual ~ExportInteraction() = default;
    virtual void showMessage(const QString& text, Icon icon) = 0;
    // The chosen path, or empty when the user cancels.
    virtual QString askSavePath(const QString& proposedPath) = 0;
    virtual bool openWorkbook(const QString& path) = 0;
};

// The export with its dialogs behind `interaction`; exportToExcel runs it with
// message boxes, a file dialog and QDesktopServices.
void exportToExcel(ExportInteraction& interaction, const QString& dataFilePath, QStatusBar* statusBar);

inline constexpr const char* XLSX_MIME_TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// Whether the desktop names a program for files of `mimeType` (asked of
// xdg-mime): nothing when that cannot be told (no xdg-mime, no answer, another
// platform), and the workbook is then simply handed to the desktop.
std::optional<bool> desktopHasProgramFor(const QString& mimeType);

// The workbook's name proposed for a download file: same folder, same name, .xlsx.
QString proposedWorkbookPath(const QString& dataFilePath);

} // namespace vessor::xlsx

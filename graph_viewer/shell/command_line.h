// The viewer's command line: an optional download file, and the headless
// exports for users' scripts.
#pragma once

#include "logger/summary.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace vessor::graph {

// File names are the bytes given: a name that is not UTF-8 stays as it is
// (QString would hold U+FFFD in its place). QFile::decodeName shows one.
struct CommandLine {
    std::string file;       // first argument that is no option (the window opens it)
    std::vector<std::string> files; // every argument that is no option, in order
    std::string exportPng;  // --export-png OUT.png
    std::string exportPdf;  // --export-pdf OUT.pdf
    std::string exportJson; // --export-json OUT.json ("-": standard output)
    std::string exportXlsx; // --export-xlsx OUT.xlsx
    std::string exportSummary; // --export-summary OUT.json ("-": standard output)
    std::string exportReport;  // --export-report OUT.pdf
    // --activation-energy KJ_PER_MOL: the summary's and the report's MKT;
    // never the panel's setting.
    double activationEnergy = download::DEFAULT_ACTIVATION_ENERGY;
    QString error;          // set when the arguments make no sense
    bool help = false;
    bool version = false;   // --version

    bool headless() const {
        return !exportPng.empty() || !exportPdf.empty() || !exportJson.empty() || !exportXlsx.empty() ||
               !exportSummary.empty() || !exportReport.empty();
    }
};

// `arguments` without the program name, as the raw bytes of argv. With
// several files every export's OUT must be an existing folder, and two inputs
// whose outputs would share a name are refused here, before any work starts.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
// The same from names Qt holds (each as QFile::encodeName gives it).
CommandLine parseCommandLine(const QStringList& arguments);
// The exports, one run per file in the order given: with one file the line
// itself; with several, each output is OUT/NAME plus the export's suffix
// (.png, .pdf, .json, .xlsx, .summary.json, .report.pdf), NAME being the input's file
// name without its last extension.
std::vector<CommandLine> singleFileRuns(const CommandLine& line);
// The input's file name without its last extension: "a/cold.txt" gives "cold".
std::string outputBaseName(const std::string& input);
// A name as shown in messages.
QString displayName(const std::string& path);
QString usageText();

// Whether the raw arguments ask for a run without a window: an export, the
// help text or a usage error (checked before the application object exists,
// to pick the offscreen platform, so that none of them needs a display).
bool wantsHeadless(int argc, char** argv);

} // namespace vessor::graph

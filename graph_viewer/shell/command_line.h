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
    std::string file;       // first argument that is no option
    std::string exportPng;  // --export-png OUT.png
    std::string exportPdf;  // --export-pdf OUT.pdf
    std::string exportJson; // --export-json OUT.json ("-": standard output)
    std::string exportXlsx; // --export-xlsx OUT.xlsx
    std::string exportSummary; // --export-summary OUT.json ("-": standard output)
    // --activation-energy KJ_PER_MOL: the summary's MKT; never the panel's setting.
    double activationEnergy = download::DEFAULT_ACTIVATION_ENERGY;
    QString error;          // set when the arguments make no sense
    bool help = false;

    bool headless() const {
        return !exportPng.empty() || !exportPdf.empty() || !exportJson.empty() || !exportXlsx.empty() ||
               !exportSummary.empty();
    }
};

// `arguments` without the program name, as the raw bytes of argv.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);
// The same from names Qt holds (each as QFile::encodeName gives it).
CommandLine parseCommandLine(const QStringList& arguments);
// A name as shown in messages.
QString displayName(const std::string& path);
QString usageText();

// Whether the raw arguments ask for a run without a window: an export, the
// help text or a usage error (checked before the application object exists,
// to pick the offscreen platform, so that none of them needs a display).
bool wantsHeadless(int argc, char** argv);

} // namespace vessor::graph

// The viewer's command line: an optional download file, and the headless
// exports for users' scripts.
#pragma once

#include <QString>
#include <QStringList>

namespace vessor::graph {

struct CommandLine {
    QString file;       // first argument that is no option
    QString exportPng;  // --export-png OUT.png
    QString exportPdf;  // --export-pdf OUT.pdf
    QString exportJson; // --export-json OUT.json ("-": standard output)
    QString exportXlsx; // --export-xlsx OUT.xlsx
    QString error;      // set when the arguments make no sense
    bool help = false;

    bool headless() const {
        return !exportPng.isEmpty() || !exportPdf.isEmpty() || !exportJson.isEmpty() ||
               !exportXlsx.isEmpty();
    }
};

// `arguments` without the program name.
CommandLine parseCommandLine(const QStringList& arguments);
QString usageText();

// Whether the raw arguments ask for a run without a window: an export, the
// help text or a usage error (checked before the application object exists,
// to pick the offscreen platform, so that none of them needs a display).
bool wantsHeadless(int argc, char** argv);

} // namespace vessor::graph

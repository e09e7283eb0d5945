#include "command_line.h"

#include <cstring>

namespace vessor::graph {

namespace {

struct ValueOption {
    const char* name;
    QString CommandLine::*target;
};

constexpr ValueOption VALUE_OPTIONS[] = {
    {"--export-png", &CommandLine::exportPng},
    {"--export-pdf", &CommandLine::exportPdf},
    {"--export-json", &CommandLine::exportJson},
    {"--export-xlsx", &CommandLine::exportXlsx},
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            if (line.file.isEmpty())
                line.file = arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            line.help = true;
            continue;
        }
        bool known = false;
        for (const ValueOption& option : VALUE_OPTIONS) {
            const QString name = QString::fromLatin1(option.name);
            QString value;
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    line.error = QStringLiteral("%1 needs an output file.").arg(name);
                    return line;
                }
                value = arguments[++i];
            } else if (arg.startsWith(name + QLatin1Char('='))) {
                value = arg.mid(name.size() + 1);
            } else {
                continue;
            }
            if (value.isEmpty()) {
                line.error = QStringLiteral("%1 needs an output file.").arg(name);
                return line;
            }
            line.*option.target = value;
            known = true;
            break;
        }
        if (!known) {
            line.error = QStringLiteral("Unknown option %1.").arg(arg);
            return line;
        }
    }
    if (line.headless() && line.file.isEmpty())
        line.error = QStringLiteral("An export needs a download file.");
    return line;
}

QString usageText() {
    return QStringLiteral(
        "Usage: vessor-graph [FILE]\n"
        "       vessor-graph --export-png OUT.png FILE\n"
        "       vessor-graph --export-pdf OUT.pdf FILE\n"
        "       vessor-graph --export-json OUT.json FILE   (OUT.json '-' is standard output)\n"
        "       vessor-graph --export-xlsx OUT.xlsx FILE\n"
        "Shows a download file as a chart; the export options write it without a window.\n"
        "Exit status: 0 done, 1 the file cannot be opened, 2 its content is refused,\n"
        "3 it is an event logger's file.\n");
}

bool wantsHeadless(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        // Every option is an export, the help or a mistake; none opens a window.
        if (argv[i][0] == '-' && argv[i][1] != '\0')
            return true;
    }
    return false;
}

} // namespace vessor::graph

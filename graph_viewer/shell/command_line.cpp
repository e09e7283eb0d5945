#include "command_line.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

namespace vessor::graph {

namespace {

struct ValueOption {
    const char* name;
    std::string CommandLine::*target;
    const char* suffix; // the output's name ending when OUT is a folder
};

constexpr ValueOption VALUE_OPTIONS[] = {
    {"--export-png", &CommandLine::exportPng, ".png"},
    {"--export-pdf", &CommandLine::exportPdf, ".pdf"},
    {"--export-json", &CommandLine::exportJson, ".json"},
    {"--export-xlsx", &CommandLine::exportXlsx, ".xlsx"},
    {"--export-summary", &CommandLine::exportSummary, ".summary.json"},
    {"--export-report", &CommandLine::exportReport, ".report.pdf"},
};

std::string outputInFolder(const std::string& folder, const std::string& input, const char* suffix) {
    return folder + (folder.ends_with('/') ? "" : "/") + outputBaseName(input) + suffix;
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

// Several files: each OUT a folder, and no output name made twice, within an
// export or across them ("x.summary.txt" as JSON is "x.txt"'s summary).
QString severalFilesProblem(const CommandLine& line) {
    std::map<std::string, const std::string*> made; // output -> the input it is made from
    for (const ValueOption& option : VALUE_OPTIONS) {
        const std::string& out = line.*option.target;
        if (out.empty())
            continue;
        // "-" is standard output even where a folder of that name exists.
        if (out == "-" || !isFolder(out))
            return QStringLiteral("%1 %2: with several files, OUT must be an existing folder.")
                .arg(QLatin1String(option.name), displayName(out));
        for (const std::string& input : line.files) {
            const auto [place, added] = made.emplace(outputInFolder(out, input, option.suffix), &input);
            if (!added)
                return QStringLiteral("%1 and %2 would both be exported to %3.")
                    .arg(displayName(*place->second), displayName(input), displayName(place->first));
        }
    }
    return {};
}

constexpr const char* ACTIVATION_ENERGY = "--activation-energy";

// A number of kJ/mol above 0, read the same in every locale.
bool parseActivationEnergy(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && std::isfinite(value) && value > 0;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    bool activationGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || !arg.starts_with('-') || arg == "-") {
            if (line.file.empty())
                line.file = arg;
            line.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--version") {
            line.version = true;
            continue;
        }
        if (arg == ACTIVATION_ENERGY || arg.starts_with(std::string(ACTIVATION_ENERGY) + '=')) {
            const bool separate = arg == ACTIVATION_ENERGY;
            const bool given = !separate || i + 1 < arguments.size();
            const std::string value =
                separate ? (given ? arguments[++i] : std::string()) : arg.substr(std::strlen(ACTIVATION_ENERGY) + 1);
            if (!parseActivationEnergy(value, line.activationEnergy)) {
                line.error = QStringLiteral("--activation-energy needs a number of kJ/mol above 0.");
                return line;
            }
            activationGiven = true;
            continue;
        }
        bool known = false;
        for (const ValueOption& option : VALUE_OPTIONS) {
            const std::string name = option.name;
            std::string value;
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    line.error = QStringLiteral("%1 needs an output file.").arg(QLatin1String(option.name));
                    return line;
                }
                value = arguments[++i];
            } else if (arg.starts_with(name + '=')) {
                value = arg.substr(name.size() + 1);
            } else {
                continue;
            }
            if (value.empty()) {
                line.error = QStringLiteral("%1 needs an output file.").arg(QLatin1String(option.name));
                return line;
            }
            line.*option.target = value;
            known = true;
            break;
        }
        if (!known) {
            line.error = QStringLiteral("Unknown option %1.").arg(displayName(arg));
            return line;
        }
    }
    if (line.headless() && line.files.empty())
        line.error = QStringLiteral("An export needs a download file.");
    else if (activationGiven && line.exportSummary.empty() && line.exportReport.empty())
        line.error = QStringLiteral("--activation-energy goes with --export-summary or --export-report.");
    else if (line.headless() && line.files.size() > 1)
        line.error = severalFilesProblem(line);
    return line;
}

std::vector<CommandLine> singleFileRuns(const CommandLine& line) {
    if (line.files.size() <= 1)
        return {line};
    std::vector<CommandLine> runs;
    runs.reserve(line.files.size());
    for (const std::string& input : line.files) {
        CommandLine run = line;
        run.file = input;
        run.files = {input};
        for (const ValueOption& option : VALUE_OPTIONS) {
            if (!(line.*option.target).empty())
                run.*option.target = outputInFolder(line.*option.target, input, option.suffix);
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

std::string outputBaseName(const std::string& input) {
    const std::size_t slash = input.rfind('/');
    const std::string name = slash == std::string::npos ? input : input.substr(slash + 1);
    // A leading dot starts a hidden name, not an extension.
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

CommandLine parseCommandLine(const QStringList& arguments) {
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& arg : arguments)
        bytes.push_back(QFile::encodeName(arg).toStdString());
    return parseCommandLine(bytes);
}

QString displayName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString usageText() {
    return QStringLiteral(
        "Usage: vessor-graph [FILE]\n"
        "       vessor-graph --export-png OUT.png FILE\n"
        "       vessor-graph --export-pdf OUT.pdf FILE\n"
        "       vessor-graph --export-json OUT.json FILE   (OUT.json '-' is standard output)\n"
        "       vessor-graph --export-xlsx OUT.xlsx FILE\n"
        "       vessor-graph --export-summary OUT.json [--activation-energy KJ_PER_MOL] FILE\n"
        "       vessor-graph --export-report OUT.pdf [--activation-energy KJ_PER_MOL] FILE\n"
        "       vessor-graph --export-... OUTDIR FILE FILE...\n"
        "       vessor-graph --help | --version\n"
        "Shows a download file as a chart; the export options write it without a window.\n"
        "--export-summary writes the statistics, the mean kinetic temperature (activation\n"
        "energy 83.14472 kJ/mol unless given) and the alarm excursions as JSON ('-' is\n"
        "standard output).\n"
        "--export-report writes the same as a PDF report: the header, whether the readings\n"
        "stayed within limits, the tables, the chart and every excursion, with page numbers,\n"
        "on Letter or A4 paper as the locale uses.\n"
        "With several files, OUTDIR is an existing folder and each output is named after\n"
        "its input without the extension: NAME.png, NAME.pdf, NAME.json, NAME.xlsx,\n"
        "NAME.summary.json, NAME.report.pdf. The files are done in order; a refused one\n"
        "does not stop the others, and its messages start with its name.\n"
        "Exit status: 0 done, 1 the file cannot be opened, 2 its content is refused,\n"
        "3 it is an event logger's file; with several files, the highest met.\n");
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

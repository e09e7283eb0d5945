// vessor-logger archive: store download files in the archive, list them (or
// the conflicting readings), export a logger's merged readings, check every
// stored file, hide a download. The archive itself is logger/archive.
#include "cli_support.h"

#include "logger/archive/archive.h"
#include "logger/download_reader.h"
#include "logger/safe_save.h"
#include "logger/strings.h"

#include <sys/stat.h>

#include <cinttypes>
#include <filesystem>

namespace vessor::cli {

namespace {

constexpr const char* COMMAND = "archive";

// Tabs and line ends inside a field would break the line into more fields.
std::string field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string timeField(const std::optional<std::int64_t>& time) {
    return time ? download::isoTimeText(*time) : std::string();
}

int fail(CommandContext& context, const std::string& what) {
    std::fprintf(context.err, "vessor-logger %s: %s\n", COMMAND, what.c_str());
    return EXIT_DEVICE_FAILURE;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Takes --logger SERIAL; false (usage shown) when it is given but no serial.
bool takeSerial(CommandContext& context, std::vector<std::string>& args, std::optional<std::int64_t>& serial,
                int& status) {
    bool missing = false;
    const std::optional<std::string> text = takeOption(args, "--logger", missing);
    if (missing || (text && !archive::parseSerial(*text))) {
        status = context.usageError(COMMAND, "--logger needs a serial number (digits)");
        return false;
    }
    if (text)
        serial = archive::parseSerial(*text);
    return true;
}

bool takeTime(CommandContext& context, std::vector<std::string>& args, const char* name,
              std::optional<std::int64_t>& time, int& status) {
    bool missing = false;
    const std::optional<std::string> text = takeOption(args, name, missing);
    if (missing || (text && !archive::parseIsoTime(*text))) {
        status = context.usageError(COMMAND, std::string(name) + " needs a time YYYY-MM-DDTHH:MM:SS");
        return false;
    }
    if (text)
        time = archive::parseIsoTime(*text);
    return true;
}

int importFiles(CommandContext& context, archive::Archive& store, const std::vector<std::string>& paths) {
    int status = EXIT_OK;
    const archive::Stamp stamp = archive::currentStamp();
    for (const std::string& path : paths) {
        const download::FileBytes file = download::loadDownloadBytes(path);
        std::string refusal;
        switch (file.status) {
        case download::FileBytes::Status::Ok:
            break;
        case download::FileBytes::Status::CannotOpen:
            refusal = path + ": " + file.errorText + ". " + text::UNABLE_TO_OPEN_FILE;
            break;
        case download::FileBytes::Status::ReadError:
            refusal = file.errorText;
            break;
        case download::FileBytes::Status::TooLarge:
            refusal = path + ": " + viewerStringText(VSTR_INVALID_DATA);
            break;
        }
        if (!refusal.empty()) {
            status = fail(context, refusal);
            continue;
        }
        const archive::ImportResult result = store.importFile(file.bytes, path, stamp);
        switch (result.status) {
        case archive::ImportStatus::Stored:
            if (result.event)
                std::fprintf(context.out, "%s: stored as download %" PRId64 " (an event logger's file, %d rows)\n",
                             path.c_str(), result.downloadId, result.readings);
            else
                std::fprintf(context.out,
                             "%s: stored as download %" PRId64 " (%d readings, %" PRId64 " new, %" PRId64
                             " conflicting)\n",
                             path.c_str(), result.downloadId, result.readings, result.added, result.conflicts);
            break;
        case archive::ImportStatus::AlreadyStored:
            std::fprintf(context.out, "%s: already stored as download %" PRId64 "%s\n", path.c_str(),
                         result.downloadId, result.hidden ? " (deleted)" : "");
            break;
        case archive::ImportStatus::Refused:
        case archive::ImportStatus::Failed:
            status = fail(context, path + ": " + result.message);
            break;
        }
    }
    return status;
}

int list(CommandContext& context, archive::Archive& store, std::optional<std::int64_t> serial, bool conflicts) {
    if (conflicts) {
        const auto found = store.conflicts(serial);
        if (!found.ok())
            return fail(context, found.error);
        for (const archive::ConflictEntry& c : *found.value)
            std::fprintf(context.out, "%s\t%s\t%" PRId64 "\t%s\t%" PRId64 "\t%s\n",
                         archive::serialText(c.serial).c_str(), download::isoTimeText(c.time).c_str(),
                         c.keptDownload, c.keptValue.c_str(), c.otherDownload, c.otherValue.c_str());
        return EXIT_OK;
    }
    const auto found = store.downloads(serial);
    if (!found.ok())
        return fail(context, found.error);
    for (const archive::DownloadEntry& d : *found.value)
        std::fprintf(context.out, "%" PRId64 "\t%s\t%s\t%s\t%s\t%s\t%d\t%s\t%s\t%s\n", d.id,
                     archive::serialText(d.serial).c_str(), field(d.loggerName).c_str(), field(d.heading).c_str(),
                     timeField(d.firstTime).c_str(), timeField(d.lastTime).c_str(), d.readings,
                     field(d.sourceName).c_str(), archive::utcTimeText(d.storedAt).c_str(),
                     field(d.storedBy).c_str());
    return EXIT_OK;
}

int exportFiles(CommandContext& context, archive::Archive& store, std::int64_t serial,
                std::optional<std::int64_t> from, std::optional<std::int64_t> to, const std::string& output) {
    const auto found = store.exportFiles(serial, from, to);
    if (!found.ok())
        return fail(context, found.error);
    const std::vector<archive::ExportFile>& files = *found.value;
    const bool folder = isFolder(output);
    if (files.size() > 1 && !folder)
        return fail(context, "the range holds " + std::to_string(files.size()) +
                                 " stretches of readings (gaps or changes between downloads), one file each: " +
                                 output + " must be a folder");
    for (const archive::ExportFile& file : files) {
        const std::string path = folder ? (std::filesystem::path(output) / file.name).string() : output;
        const SaveResult saved = saveFile(path, file.bytes);
        if (!saved.ok())
            return fail(context, "cannot write " + path + ": " + saved.reason);
        std::fprintf(context.out, "%s\n", path.c_str());
    }
    return EXIT_OK;
}

int verify(CommandContext& context, archive::Archive& store) {
    const archive::VerifyReport report = store.verify();
    if (!report.error.empty())
        return fail(context, report.error);
    for (const std::string& difference : report.differences)
        std::fprintf(context.out, "%s\n", difference.c_str());
    std::fprintf(context.out, "%d downloads, %" PRId64 " readings checked: %zu difference%s\n", report.downloads,
                 report.readings, report.differences.size(), report.differences.size() == 1 ? "" : "s");
    return report.differences.empty() ? EXIT_OK : EXIT_DEVICE_FAILURE;
}

} // namespace

int cmdArchive(CommandContext& context) {
    std::vector<std::string> args = context.args;
    if (args.empty())
        return context.usageError(COMMAND, "needs import, list, export, verify or delete (see --help)");
    const std::string action = args.front();
    args.erase(args.begin());

    int status = EXIT_OK;
    std::optional<std::int64_t> serial, from, to, id;
    bool conflicts = false;
    std::string output, reason;
    bool missing = false;
    if (action == "import") {
        if (args.empty())
            return context.usageError(COMMAND, "import needs at least one FILE");
        for (const std::string& arg : args)
            if (arg.starts_with("--"))
                return context.usageError(COMMAND, "unexpected option \"" + arg + "\"");
    } else if (action == "list") {
        if (!takeSerial(context, args, serial, status))
            return status;
        conflicts = takeFlag(args, "--conflicts");
    } else if (action == "export") {
        if (!takeSerial(context, args, serial, status) || !takeTime(context, args, "--from", from, status) ||
            !takeTime(context, args, "--to", to, status))
            return status;
        if (!serial)
            return context.usageError(COMMAND, "export needs --logger SERIAL");
        std::optional<std::string> out = takeOption(args, "-o", missing);
        if (!missing && !out)
            out = takeOption(args, "--output", missing);
        if (missing || !out || out->empty())
            return context.usageError(COMMAND, "export needs -o OUT");
        if (from && to && *from >= *to)
            return context.usageError(COMMAND, "--from must come before --to");
        output = *out;
    } else if (action == "delete") {
        const std::optional<std::string> text = takeOption(args, "--reason", missing);
        if (missing || !text || download::trimBlanks(*text).empty())
            return context.usageError(COMMAND, "delete needs --reason TEXT");
        reason = *text;
        if (args.empty() || !archive::parseSerial(args.front()) || *archive::parseSerial(args.front()) == 0)
            return context.usageError(COMMAND, "delete needs the ID of a download (see archive list)");
        id = archive::parseSerial(args.front());
        args.erase(args.begin());
    } else if (action != "verify") {
        return context.usageError(COMMAND, "unknown action \"" + action + "\" (import, list, export, verify, delete)");
    }
    if (action != "import" && !args.empty())
        return context.usageError(COMMAND, "unexpected argument \"" + args.front() + "\"");

    const archive::ArchiveChoice choice = archive::chooseArchiveForProgram(context.archiveUrl);
    if (!choice.ok())
        return context.usageError(COMMAND, choice.error);
    if (!choice.url->enabled())
        return fail(context, std::string("no archive is chosen (") + archive::urlSourceName(choice.source) +
                                 " is none)");
    std::string error;
    const std::unique_ptr<archive::Archive> store = archive::Archive::open(*choice.url, error);
    if (!store)
        return fail(context, error);

    if (action == "import")
        return importFiles(context, *store, args);
    if (action == "list")
        return list(context, *store, serial, conflicts);
    if (action == "export")
        return exportFiles(context, *store, *serial, from, to, output);
    if (action == "verify")
        return verify(context, *store);
    const std::string refused = store->hide(*id, reason, archive::currentStamp());
    if (!refused.empty())
        return fail(context, refused);
    std::fprintf(context.out, "download %" PRId64 " deleted\n", *id);
    return EXIT_OK;
}

} // namespace vessor::cli

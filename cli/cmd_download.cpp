// vessor-logger download: Stop and Download from a terminal. The same checks
// and the same writer as the utility's stop page, so the file is the same
// byte for byte; only the questions become options (--stop, -o).
#include "cli_support.h"

#include "logger/archive/archive.h"
#include "logger/download_sequence.h"
#include "logger/safe_save.h"
#include "logger/text_encoding.h"

#include <filesystem>

namespace vessor::cli {

namespace {

constexpr const char* COMMAND = "download";

// The utility's text, and the command that keeps the readings anyway.
int refuseStartDate(CommandContext& context, const DownloadResult& result) {
    context.ui.showMessage(result.refusal + " `vessor-logger dump` saves its whole memory.");
    return EXIT_DEVICE_FAILURE;
}

int refuse(CommandContext& context, const std::string& what) {
    std::fprintf(context.err, "vessor-logger %s: %s\n", COMMAND, what.c_str());
    return EXIT_DEVICE_FAILURE;
}

// The questions of the download, answered by the command line: stop only
// with --stop, and the file is the one already decided. The file written
// goes into the archive; a failure there is a warning, never a lost download.
class CommandLinePrompts : public DownloadPrompts {
public:
    CommandLinePrompts(bool stop, const archive::ArchiveChoice& choice, std::FILE* err)
        : m_stop(stop), m_archive(choice), m_err(err) {}
    bool confirmStop(const LoggerConfig&) override { return m_stop; }
    std::string chooseFile(const LoggerConfig&) override { return path; }
    void saved(const std::string& written, std::string_view bytes) override {
        const std::string warning = archive::archiveSavedDownload(m_archive, bytes, written);
        if (!warning.empty())
            std::fprintf(m_err, "vessor-logger %s: warning: %s\n", COMMAND, warning.c_str());
    }

    std::string path;

private:
    bool m_stop;
    const archive::ArchiveChoice& m_archive;
    std::FILE* m_err;
};

// A simulated logger's image is the data being read: never write over it.
bool writesOverTheImage(const CommandContext& context, const std::string& path) {
    const std::string_view device = context.deviceSpec;
    return device.starts_with("sim:") && isSameFile(std::string(device.substr(4)), path);
}

} // namespace

int cmdDownload(CommandContext& context) {
    std::vector<std::string> args = context.args;
    bool missing = false;
    std::optional<std::string> output = takeOption(args, "-o", missing);
    if (missing)
        return context.usageError(COMMAND, "-o needs a FILE");
    if (!output) {
        output = takeOption(args, "--output", missing);
        if (missing)
            return context.usageError(COMMAND, "--output needs a FILE");
    }
    const bool stop = takeFlag(args, "--stop");
    if (!args.empty())
        return context.usageError(COMMAND, "unexpected argument \"" + args.front() + "\"");
    if (output && output->empty())
        return context.usageError(COMMAND, "-o needs a FILE");
    if (output && writesOverTheImage(context, *output))
        return context.usageError(COMMAND, "-o names the logger image the data is read from");
    const archive::ArchiveChoice archiveChoice = archive::chooseArchiveForProgram(context.archiveUrl);
    if (!archiveChoice.ok() && archiveChoice.source == archive::UrlSource::Option)
        return context.usageError(COMMAND, archiveChoice.error);

    DeviceSession session(context);
    if (!attachTransport(context, session))
        return EXIT_DEVICE_FAILURE;
    CommandLinePrompts prompts(stop, archiveChoice, context.err);
    const DownloadResult prepared = prepareDownload(session.session, &context.ui, context.clock.now(), prompts);
    if (prepared.step == DownloadStep::StopDeclined)
        return refuse(context, "the logger is still logging; add --stop to stop it and download");
    if (prepared.step == DownloadStep::BadStartDate)
        return refuseStartDate(context, prepared);
    if (!prepared.ok())
        return reportDeviceResult(context, prepared.device);

    const LoggerConfig& config = session.config;
    if (config.readingCount() < 1) {
        context.ui.showMessage(text::NO_READINGS);
        return EXIT_DEVICE_FAILURE;
    }
    if (output) {
        prompts.path = *output;
    } else {
        const std::string name = cp1252ToUtf8(defaultDownloadFileName(config.loggerName()));
        if (name.empty())
            return refuse(context, "the logger's name gives no file name; choose one with -o FILE");
        prompts.path = name + ".txt";
        if (writesOverTheImage(context, prompts.path))
            return context.usageError(
                COMMAND, prompts.path + " is the logger image the data is read from; choose -o FILE");
    }

    SampleBuffer samples;
    samples.reserve(SAMPLE_BUFFER_CAPACITY);
    const DownloadResult saved = saveReadings(session.session, samples, prompts, false);
    if (saved.step == DownloadStep::DeviceFailed)
        return reportDeviceResult(context, saved.device);
    if (saved.step == DownloadStep::BadStartDate)
        return refuseStartDate(context, saved);
    if (!saved.ok()) {
        context.ui.showMessage(saved.saved.message);
        return EXIT_DEVICE_FAILURE;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(saved.path, error);
    std::fprintf(context.out, "%s\n", error ? saved.path.c_str() : absolute.string().c_str());
    return EXIT_OK;
}

} // namespace vessor::cli

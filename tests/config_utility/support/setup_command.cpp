#include "config_utility/support/setup_command.h"

#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "cli/cli_support.h"
#include "logger/locale_format.h"

namespace vessor::test {

namespace {

std::string readAll(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

// The image's own clock stands still, as the in-memory loggers' do.
class FrozenSimulation {
public:
    FrozenSimulation()
    {
        if (const char* speed = std::getenv("VESSOR_SIM_SPEED"))
            saved_ = speed;
        setenv("VESSOR_SIM_SPEED", "0", 1);
    }
    ~FrozenSimulation()
    {
        if (saved_)
            setenv("VESSOR_SIM_SPEED", saved_->c_str(), 1);
        else
            unsetenv("VESSOR_SIM_SPEED");
    }

private:
    std::optional<std::string> saved_;
};

} // namespace

SetupCommandRun runSetupCommand(int model, const Clock& clock, const std::vector<std::string>& args)
{
    SetupCommandRun run;
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("logger.img")).toStdString();
    sim::FactoryOptions options;
    options.modelType = model;
    options.now = clock.now();
    std::string error;
    const auto factory = sim::makeFactoryImage(options, error);
    if (!factory || !sim::saveImage(path, *factory, error)) {
        run.err = error;
        return run;
    }
    const FrozenSimulation frozen;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    cli::StderrUserInterface ui(err, nullptr, false);
    const std::array<cli::Command, 1> table{{{"setup", "setup", "", cli::cmdSetup}}};
    std::vector<std::string> line{"--device", "sim:" + path, "setup"};
    line.insert(line.end(), args.begin(), args.end());
    run.status = cli::runCommandLine(table, line, ui, clock, FixedLocaleFormat::instance(), out, err);
    run.out = readAll(out);
    run.err = readAll(err);
    run.image = sim::loadImage(path, error);
    return run;
}

std::string startOption(const Clock& clock, int seconds)
{
    CalendarTime t = clock.now();
    addSeconds(t, static_cast<std::uint64_t>(seconds));
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.fullYear(), t.month + 1, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

} // namespace vessor::test

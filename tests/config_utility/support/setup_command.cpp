#include "config_utility/support/setup_command.h"

#include <QTemporaryDir>

#include <array>
#include <cstdlib>

#include "cli/cli_support.h"
#include "tests/cli/cli_run.h"

namespace vessor::test {

namespace {

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
    const std::array<cli::Command, 1> table{{{"setup", "setup", "", cli::cmdSetup}}};
    std::vector<std::string> line{"--device", "sim:" + path, "setup"};
    line.insert(line.end(), args.begin(), args.end());
    const CliRun cli = runCli(table, line, clock);
    run.status = cli.status;
    run.out = cli.out;
    run.err = cli.err;
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

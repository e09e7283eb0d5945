// The programs from outside: vessor-usb's start-up options and
// `vessor-logger status`, which prints what the status page shows.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "config_utility/shell/startup_options.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"
#include "logger/product_info.h"
#include "logger/sim/simulated_logger.h"
#include "logger/status_report.h"

namespace vessor {
namespace {

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProcessResult run(const QString& program, const QStringList& args, const QString& locale = QStringLiteral("C.UTF-8"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VESSOR_SIM_SPEED"), QStringLiteral("0"));
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.remove(QStringLiteral("VESSOR_DEVICE"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProcessResult r;
    if (!process.waitForFinished(20000))
        return r;
    r.exitCode = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

TEST(StartupOptions, DeviceUsbIdsHelpVersionAndWhatIsLeftForQt)
{
    StartupOptions o = parseStartupOptions({"vessor-usb", "--device", "sim:/tmp/a b.img", "--usb-id",
                                            "10c4:EA60", "-style", "fusion"},
                                           "usb");
    EXPECT_TRUE(o.error.empty());
    EXPECT_EQ(o.deviceSpec, "sim:/tmp/a b.img");
    ASSERT_EQ(o.transport.extraUsbIds.size(), 1u);
    EXPECT_EQ(o.transport.extraUsbIds[0].vendorId, 0x10c4);
    EXPECT_EQ(o.transport.extraUsbIds[0].productId, 0xea60);
    EXPECT_EQ(o.remaining, (std::vector<std::string>{"vessor-usb", "-style", "fusion"}));

    o = parseStartupOptions({"vessor-usb", "--device=usb", "--help"}, "sim:/env.img");
    EXPECT_EQ(o.deviceSpec, "usb");
    EXPECT_TRUE(o.help);
    EXPECT_EQ(parseStartupOptions({"vessor-usb"}, "sim:/env.img").deviceSpec, "sim:/env.img");

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"vessor-usb", "--device"},
          {"vessor-usb", "--device="},
          {"vessor-usb", "--device", "sim:"},
          {"vessor-usb", "--device", "/dev/ttyUSB0"},
          {"vessor-usb", "--device=USB"},
          {"vessor-usb", "--usb-id", "10c4"},
          {"vessor-usb", "--usb-id", "10c4:xyz"},
          {"vessor-usb", "--usb-id", "10c45:1"},
          {"vessor-usb", "--archive", "mysql://db/x"},
          {"vessor-usb", "--archive"}})
        EXPECT_FALSE(parseStartupOptions(bad, "usb").error.empty()) << bad.back();
    EXPECT_EQ(parseStartupOptions({"vessor-usb", "--archive=none"}, "usb").archiveUrl, "none");

    // An option's value is never taken as an option.
    for (const char* option : {"--device", "--usb-id"}) {
        for (const char* next : {"--help", "--version"}) {
            const StartupOptions o = parseStartupOptions({"vessor-usb", option, next}, "usb");
            EXPECT_EQ(o.error, std::string(option) + " needs a value") << next;
            EXPECT_FALSE(o.help);
            EXPECT_FALSE(o.version);
        }
    }
}

TEST(Programs, UtilityAnswersHelpAndVersionWithoutADisplay)
{
    ProcessResult version = run(QStringLiteral(VESSOR_USB_PROGRAM), {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("vessor-usb ") + product::VERSION + "\n");
    ProcessResult help = run(QStringLiteral(VESSOR_USB_PROGRAM), {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--device DEV"));
    ProcessResult bad = run(QStringLiteral(VESSOR_USB_PROGRAM), {QStringLiteral("--usb-id"), QStringLiteral("zz")});
    EXPECT_EQ(bad.exitCode, 2);
    // A device that is no kind of device is refused before any window opens.
    bad = run(QStringLiteral(VESSOR_USB_PROGRAM), {QStringLiteral("--device"), QStringLiteral("sim")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("unknown device \"sim\"")) << bad.err.constData();
}

#ifdef VESSOR_LOGGER_PROGRAM
// The command prints the composition of the status page line by line, and
// numbers do not follow the C library's locale.
TEST(Programs, StatusCommandPrintsWhatThePageShows)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString logger = QStringLiteral(VESSOR_LOGGER_PROGRAM);
    for (int model : {3, 6, 12, 17}) {
        const QString image = dir.filePath(QStringLiteral("model %1.img").arg(model));
        ProcessResult create = run(logger, {QStringLiteral("sim-create"), QStringLiteral("--model"),
                                  QString::number(model), image});
        ASSERT_EQ(create.exitCode, 0) << create.err.toStdString();

        std::string error;
        auto loaded = sim::loadImage(image.toStdString(), error);
        ASSERT_TRUE(loaded) << error;
        LoggerConfig config;
        config.setBlock(loaded->block);
        config.refreshDerived();
        const std::string expected = formatStatusText(composeStatus(config, FixedLocaleFormat::instance()));

        for (const QString& locale : {QStringLiteral("C.UTF-8"), QStringLiteral("de_DE.UTF-8")}) {
            ProcessResult status = run(logger, {QStringLiteral("--device"), QStringLiteral("sim:") + image,
                                      QStringLiteral("status")},
                             locale);
            EXPECT_EQ(status.exitCode, 0) << status.err.toStdString();
            EXPECT_EQ(status.out.toStdString(), expected) << "model " << model << " " << locale.toStdString();
        }
    }

    ProcessResult missing = run(logger, {QStringLiteral("--device"), QStringLiteral("sim:") + dir.filePath("none.img"),
                               QStringLiteral("status")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
}
#endif

} // namespace
} // namespace vessor

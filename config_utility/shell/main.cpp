// vessor-usb: the configuration utility of the Vessor USB data loggers.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config_utility/shell/qt_desktop.h"
#include "config_utility/shell/qt_locale_format.h"
#include "config_utility/shell/qt_user_interface.h"
#include "config_utility/shell/startup_options.h"
#include "config_utility/shell/utility_window.h"
#include "logger/clock.h"
#include "logger/logger_config.h"
#include "logger/product_info.h"
#include "logger/transport.h"

int main(int argc, char** argv)
{
    using namespace vessor;

    const std::vector<std::string> args(argv, argv + argc);
    const StartupOptions options = parseStartupOptions(args, defaultDeviceSpec());
    if (!options.error.empty()) {
        std::fprintf(stderr, "vessor-usb: %s\nTry 'vessor-usb --help'.\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(startupUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vessor-usb %s\n", product::VERSION);
        return 0;
    }

    // Qt sees only the arguments the utility does not take itself.
    std::vector<std::string> qtArgs = options.remaining;
    std::vector<char*> qtArgv;
    for (std::string& arg : qtArgs)
        qtArgv.push_back(arg.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArgs.size());
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setOrganizationName(QStringLiteral("Meridane Electronics"));
    QApplication::setApplicationName(QStringLiteral("Vessor USB"));
    QApplication::setApplicationVersion(QString::fromLatin1(product::VERSION));
    if (qtArgc > 1) {
        std::fprintf(stderr, "vessor-usb: unknown argument \"%s\"\nTry 'vessor-usb --help'.\n",
                     qtArgv[1]);
        return 2;
    }

    // The run's one configuration and sample buffer, owned here for the
    // whole run and handed to the pages by reference.
    LoggerConfig theConfig;
    SampleBuffer samples(65536);
    QtUserInterface ui;
    QtDesktop desktop(QCoreApplication::applicationDirPath());
    QtLocaleFormat locale;
    const Clock& clock = SystemClock::instance();

    std::string transportError;
    std::unique_ptr<UsbXpress> transport =
        createTransport(options.deviceSpec, options.transport, transportError);
    LoggerSession session(theConfig, clock);
    session.setTransport(transport.get());

    UtilityWindow window(session, samples, ui, desktop, clock, locale);
    window.context().archiveOption = options.archiveUrl;
    ui.setParent(&window);
    desktop.setDialogParent(&window);
    window.show();
    if (!transport) {
        // Without a device every logger command reports that no logger is
        // attached; say why once.
        ui.showMessage("The logger device \"" + options.deviceSpec + "\" cannot be used:\n" +
                           transportError,
                       MessageIcon::Warning);
    }
    return app.exec();
}

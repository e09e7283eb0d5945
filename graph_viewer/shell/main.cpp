// vessor-graph: shows a download file as a chart.
#include "command_line.h"
#include "headless_export.h"
#include "vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include "logger/product_info.h"
#include "logger/safe_save.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    // Exports run without a window, on machines without a display too.
    if (vessor::graph::wantsHeadless(argc, argv) && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VessorGraph"));
    QApplication::setOrganizationName(QStringLiteral("Meridane Electronics"));
    QApplication::setApplicationVersion(QString::fromLatin1(vessor::product::VERSION));

    QTextStream errors(stderr);
    // The raw bytes (QApplication has taken its own options out of argv):
    // arguments() would put U+FFFD in a name that is not UTF-8.
    const vessor::graph::CommandLine line =
        vessor::graph::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        const vessor::SaveResult written =
            vessor::writeStream(stdout, vessor::graph::usageText().toStdString());
        if (!written.ok()) {
            errors << "Cannot write the standard output: "
                   << QString::fromStdString(written.reason) << ".\n";
            return vessor::graph::EXIT_CANNOT_OPEN;
        }
        return 0;
    }
    if (line.version) {
        std::printf("vessor-graph %s\n", vessor::product::VERSION);
        return 0;
    }
    if (!line.error.isEmpty()) {
        errors << line.error << '\n' << vessor::graph::usageText();
        return vessor::graph::EXIT_CANNOT_OPEN;
    }
    if (line.headless())
        return vessor::graph::runHeadless(line, errors);

    vessor::graph::VessorGraphApp app;
    // For the benchmarks: how long the chart takes to appear, then the end.
    if (std::getenv("VESSOR_TIME_FIRST_PAINT")) {
        QObject::connect(
            &app.view().chart(), &vessor::graph::Chart2D::painted, &app,
            [started] {
                const std::chrono::duration<double, std::milli> elapsed =
                    std::chrono::steady_clock::now() - started;
                std::fprintf(stderr, "first paint: %.1f ms\n", elapsed.count());
                QTimer::singleShot(0, &QCoreApplication::quit);
            },
            Qt::SingleShotConnection);
    }
    if (!app.InitInstance(line))
        return vessor::graph::EXIT_CANNOT_OPEN;
    return QApplication::exec();
}

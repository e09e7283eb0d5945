// Pictures for a person to look at: the main window with a file open (menus
// and toolbar), an open View menu, and the chart as exported; then, on the
// last file, the window zoomed with the readout, with markers, with a trace
// hidden, with the grid off, and the print preview and printed PDF. Each
// file is pictured with the summary panel open too, and its report written
// (NAME.report.pdf; the zoomed one zoomed.report.pdf), and the File menu.
// When VESSOR_ARCHIVE names an archive, File > Open from Archive... and its
// first logger's whole span are pictured as well.
// graph_viewer_snapshot OUT_DIR FILE...
#include "shell/command_ids.h"
#include "shell/main_frame.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTimer>

namespace {

// A mouse event delivered to the chart as the window system would.
void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    QApplication::processEvents();
}

QPoint within(const QRect& r, double fx, double fy) {
    return {r.left() + static_cast<int>(r.width() * fx), r.top() + static_cast<int>(r.height() * fy)};
}

} // namespace

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: graph_viewer_snapshot OUT_DIR FILE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    vessor::graph::RecordingUserInterface ui;
    vessor::graph::VessorGraphApp app;
    app.setUserInterface(ui);
    app.fileNew();
    app.frame().resize(1024, 720);
    app.frame().show();
    QApplication::processEvents();
    app.frame().grab().save(out.filePath("empty-window.png"));
    app.view().chart().exportPng(out.filePath("empty-chart.png"), QSize(1024, 768));
    // The About box is modal: picture it once it is up, then close it.
    QTimer::singleShot(200, [&out] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->grab().save(out.filePath("about.png"));
            box->close();
        }
    });
    app.frame().showAbout();
    for (int i = 2; i < argc; ++i) {
        const QString file = QString::fromLocal8Bit(argv[i]);
        app.OpenDocumentFile(file);
        QApplication::processEvents();
        const QString base = QFileInfo(file).completeBaseName();
        app.frame().grab().save(out.filePath(base + "-window.png"));
        app.view().chart().exportPng(out.filePath(base + "-chart.png"), QSize(1024, 768));
        // The export laid the chart out at its own size: back to the window's.
        QApplication::processEvents();
        // The same with View > Summary open beside the chart.
        QAction* summary = app.frame().command(vessor::graph::command::VIEW_SUMMARY);
        summary->trigger();
        QApplication::processEvents();
        app.frame().grab().save(out.filePath(base + "-summary.png"));
        summary->trigger();
        QApplication::processEvents();
        app.exportReportTo(out.filePath(base + ".report.pdf"));
    }
    // The last file: zoom, readout, markers, a hidden trace, no grid, printing.
    vessor::graph::VessorGraphView& graph = app.view();
    QWidget* area = graph.chart().mouseArea();
    QRect plot = graph.chart().plotRect();
    mouse(area, QEvent::MouseButtonPress, within(plot, 0.25, 0.2), Qt::LeftButton, Qt::LeftButton);
    mouse(area, QEvent::MouseMove, within(plot, 0.5, 0.5), Qt::NoButton, Qt::LeftButton);
    mouse(area, QEvent::MouseMove, within(plot, 0.6, 0.75), Qt::NoButton, Qt::LeftButton);
    app.frame().grab().save(out.filePath("zoom-band.png"));
    mouse(area, QEvent::MouseButtonRelease, within(plot, 0.6, 0.75), Qt::LeftButton, Qt::NoButton);
    plot = graph.chart().plotRect();
    mouse(area, QEvent::MouseMove, within(plot, 0.4, 0.5), Qt::NoButton, Qt::NoButton);
    app.frame().grab().save(out.filePath("zoomed-readout.png"));
    // The summary's second column follows the zoom.
    QAction* summary = app.frame().command(vessor::graph::command::VIEW_SUMMARY);
    summary->trigger();
    QApplication::processEvents();
    app.frame().grab().save(out.filePath("zoomed-summary.png"));
    app.exportReportTo(out.filePath("zoomed.report.pdf"));
    summary->trigger();
    QApplication::processEvents();
    plot = graph.chart().plotRect();
    app.frame().command(vessor::graph::command::MARK_POINTS)->trigger();
    mouse(area, QEvent::MouseMove, within(plot, 0.45, 0.5), Qt::NoButton, Qt::NoButton);
    app.frame().grab().save(out.filePath("zoomed-markers.png"));
    app.frame().command(vessor::graph::command::MARK_POINTS)->trigger();
    graph.toggleTrace(48000);
    mouse(area, QEvent::MouseMove, within(plot, 0.5, 0.5), Qt::NoButton, Qt::NoButton);
    app.frame().grab().save(out.filePath("zoomed-trace-hidden.png"));
    graph.toggleTrace(48000);
    graph.toggleGridX();
    graph.toggleGridY();
    mouse(area, QEvent::MouseMove, within(plot, 0.55, 0.5), Qt::NoButton, Qt::NoButton);
    app.frame().grab().save(out.filePath("zoomed-grid-off.png"));
    graph.toggleGridX();
    graph.toggleGridY();
    graph.printToPdf(out.filePath("print-zoomed.pdf"));
    // File > Print Preview as the user opens it; pictured once it is up, then closed.
    QTimer::singleShot(300, [&out] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            preview->resize(1000, 760);
            QApplication::processEvents();
            preview->grab().save(out.filePath("print-preview.png"));
            preview->close();
        }
    });
    app.frame().command(vessor::graph::command::FILE_PRINT_PREVIEW)->trigger();
    while (graph.zoomLevel() > 0)
        graph.ZoomOut();
    graph.printToPdf(out.filePath("print-full.pdf"));

    // The File menu, with Open from Archive....
    QMenu* file = app.frame().menuBar()->actions().first()->menu();
    file->popup(app.frame().mapToGlobal(QPoint(10, 30)));
    QApplication::processEvents();
    file->grab().save(out.filePath("file-menu.png"));
    file->hide();
    // The View menu opened with its traces submenu.
    QMenu* view = app.frame().viewMenu();
    view->popup(app.frame().mapToGlobal(QPoint(40, 30)));
    QApplication::processEvents();
    view->grab().save(out.filePath("view-menu.png"));
    QMenu* traces = app.frame().traceMenu();
    traces->popup(QPoint(0, 0));
    QApplication::processEvents();
    traces->grab().save(out.filePath("traces-menu.png"));
    // File > Open from Archive...: the dialog, then the series in the window.
    if (const char* archive = std::getenv("VESSOR_ARCHIVE"); archive && std::string(archive) != "none") {
        QTimer::singleShot(300, [&out] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->grab().save(out.filePath("archive-dialog.png"));
                dialog->accept();
            }
        });
        app.frame().command(vessor::graph::command::FILE_OPEN_ARCHIVE)->trigger();
        QApplication::processEvents();
        app.frame().grab().save(out.filePath("archive-window.png"));
        app.view().chart().exportPng(out.filePath("archive-chart.png"), QSize(1024, 768));
        QApplication::processEvents();
        QAction* panel = app.frame().command(vessor::graph::command::VIEW_SUMMARY);
        panel->trigger();
        QApplication::processEvents();
        app.frame().grab().save(out.filePath("archive-summary.png"));
        panel->trigger();
    }
    for (const QString& m : ui.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return 0;
}

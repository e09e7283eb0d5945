// Pictures for a person to look at: the main window with a file open (menus
// and toolbar), an open View menu, and the chart as exported.
// graph_viewer_snapshot OUT_DIR FILE...
#include "shell/main_frame.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

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
    vessor::graph::CVessorGraphApp app;
    app.setUserInterface(ui);
    app.OnFileNew();
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
    }
    // The View menu opened with its traces submenu.
    QMenu* view = app.frame().viewMenu();
    view->popup(app.frame().mapToGlobal(QPoint(40, 30)));
    QApplication::processEvents();
    view->grab().save(out.filePath("view-menu.png"));
    QMenu* traces = app.frame().traceMenu();
    traces->popup(QPoint(0, 0));
    QApplication::processEvents();
    traces->grab().save(out.filePath("traces-menu.png"));
    for (const QString& m : ui.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    return 0;
}

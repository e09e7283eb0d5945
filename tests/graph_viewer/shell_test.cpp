// The viewer's shell: opening files from every door, the recent list, the
// command line and the headless exports of the program itself.
#include "shell/command_ids.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "shell/recent_files.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace vessor::graph {
namespace {

const QString DATA_DIR = QStringLiteral(GRAPH_TEST_DATA);

QString sample(const char* name) {
    return QDir::cleanPath(DATA_DIR + "/" + name);
}

TEST(RecentFiles, MostRecentFirstWithoutRepeatsAtMostFour) {
    QStringList list;
    for (const char* f : {"/d/a.txt", "/d/b.txt", "/d/c.txt", "/d/a.txt", "/d/e.txt", "/d/f.txt"})
        list = withRecentFile(list, f);
    EXPECT_EQ(list, QStringList({"/d/f.txt", "/d/e.txt", "/d/a.txt", "/d/c.txt"}));
    EXPECT_EQ(withRecentFile(list, "/d/x/../c.txt").first(), "/d/c.txt");
    EXPECT_EQ(withRecentFile(list, "/d/x/../c.txt").size(), 4);
    EXPECT_EQ(withoutRecentFile(list, "/d/e.txt"),
              QStringList({"/d/f.txt", "/d/a.txt", "/d/c.txt"}));
}

TEST(CommandLine, FileAndExports) {
    struct Case {
        QStringList args;
        QString file, png, json;
        bool headless;
        bool error;
    };
    const Case cases[] = {
        {{}, "", "", "", false, false},
        {{"/tmp/a b.txt"}, "/tmp/a b.txt", "", "", false, false},
        {{"a.txt", "b.txt"}, "a.txt", "", "", false, false},
        {{"--export-png", "o.png", "a.txt"}, "a.txt", "o.png", "", true, false},
        {{"a.txt", "--export-json=-"}, "a.txt", "", "-", true, false},
        {{"--export-json", "-", "--", "-odd.txt"}, "-odd.txt", "", "-", true, false},
        {{"--export-png"}, "", "", "", false, true},
        {{"--export-png", "o.png"}, "", "o.png", "", true, true},
        {{"--bogus", "a.txt"}, "", "", "", false, true},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(!line.error.isEmpty(), c.error) << c.args.join(' ').toStdString();
        if (c.error)
            continue;
        EXPECT_EQ(line.file, c.file.toStdString()) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.exportPng, c.png.toStdString()) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.exportJson, c.json.toStdString()) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.headless(), c.headless) << c.args.join(' ').toStdString();
    }
}

struct Shell {
    RecordingUserInterface ui;
    VessorGraphApp app;
    Shell() {
        app.settings().clear();
        app.setUserInterface(ui);
        app.fileNew();
    }
    ~Shell() { app.settings().clear(); }
    QString title() { return app.frame().windowTitle(); }
    QStringList traceItems() {
        QStringList items;
        for (QAction* a : app.frame().traceMenu()->actions())
            items.append(a->text());
        return items;
    }
};

TEST(Shell, TheEmptyWindow) {
    Shell s;
    EXPECT_EQ(s.title(), "Untitled - Vessor USB Graph");
    EXPECT_EQ(s.app.frame().statusBar()->currentMessage(), "For Help, press F1");
    EXPECT_TRUE(s.traceItems().isEmpty());
    QStringList view;
    for (QAction* a : s.app.frame().viewMenu()->actions())
        view.append(a->isSeparator() ? "-" : a->text());
    // "Show traces..." is the View menu's eighth item.
    EXPECT_EQ(view, QStringList({"&Toolbar", "&Status Bar", "-", "Zoom In", "Zoom Out", "-",
                                 "Mark Points", "Show traces...", "Grid Lines..."}));
    QStringList tools;
    for (QAction* a : s.app.frame().toolBar()->actions())
        tools.append(a->isSeparator() ? "-" : QString::number(a->data().toInt()));
    using namespace command;
    EXPECT_EQ(tools,
              QStringList({QString::number(FILE_OPEN), "-", QString::number(ZOOM_IN),
                           QString::number(ZOOM_OUT), "-", QString::number(EXPORT_TO_EXCEL), "-",
                           QString::number(FILE_PRINT), "-", QString::number(APP_ABOUT),
                           QString::number(HELP_TOPICS), "-", QString::number(CLOSE_GRAPH)}));
}

TEST(Shell, OpeningAFileShowsItAndRemembersIt) {
    Shell s;
    ASSERT_TRUE(s.app.OpenDocumentFile(sample("zr-th-alarms.txt")));
    EXPECT_EQ(s.title(), "zr-th-alarms.txt - Vessor USB Graph");
    EXPECT_EQ(s.app.dataFile(), sample("zr-th-alarms.txt"));
    EXPECT_EQ(s.app.recentFiles(), QStringList({sample("zr-th-alarms.txt")}));
    EXPECT_EQ(s.app.settings().value("Recent File List/File1").toString(),
              sample("zr-th-alarms.txt"));
    EXPECT_EQ(s.traceItems().size(), 7);
    EXPECT_EQ(s.app.view().chart().header(), "COLDROOM");
    EXPECT_TRUE(s.ui.messages.isEmpty());
}

TEST(Shell, ARefusedFileOpensOverAnEmptyChart) {
    Shell s;
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.txt");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("X,Time,Celsius\r\n1,5/3/2007 14:30:00,1\r\n");
    f.close();
    ASSERT_TRUE(s.app.OpenDocumentFile(sample("zr-t-celsius.txt")));
    EXPECT_TRUE(s.app.OpenDocumentFile(bad));
    EXPECT_EQ(s.ui.messages, QStringList({"The File contains invaild data."}));
    EXPECT_EQ(s.title(), "bad.txt - Vessor USB Graph");
    EXPECT_EQ(s.app.dataFile(), "");
    EXPECT_EQ(s.app.recentFiles().size(), 2);
    EXPECT_TRUE(s.traceItems().isEmpty());
    EXPECT_EQ(s.app.view().chart().footer(), " ");
}

// File names are bytes: one that is not UTF-8 opens like any other.
TEST(Shell, ANameThatIsNotUtf8Opens) {
    Shell s;
    QTemporaryDir dir;
    const std::string name = QFile::encodeName(dir.path()).toStdString() + "/K\xFChlraum.txt";
    std::filesystem::copy_file(QFile::encodeName(sample("zr-t-celsius.txt")).toStdString(), name);
    ASSERT_TRUE(s.app.openFileBytes(name));
    EXPECT_TRUE(s.ui.messages.isEmpty()) << s.ui.messages.join('\n').toStdString();
    EXPECT_FALSE(s.traceItems().isEmpty());
}

TEST(Shell, AFileThatCannotBeOpenedChangesNothing) {
    Shell s;
    ASSERT_TRUE(s.app.OpenDocumentFile(sample("zr-t-celsius.txt")));
    EXPECT_FALSE(s.app.OpenDocumentFile(sample("no-such-file.txt")));
    ASSERT_EQ(s.ui.messages.size(), 1);
    EXPECT_TRUE(s.ui.messages[0].contains("File not found")) << s.ui.messages[0].toStdString();
    EXPECT_EQ(s.title(), "zr-t-celsius.txt - Vessor USB Graph");
    EXPECT_EQ(s.app.recentFiles().size(), 1);
    // A recent entry that has gone leaves the list.
    s.app.settings().clear();
    saveRecentFiles(s.app.settings(), {sample("gone.txt")});
    VessorGraphApp again;
    again.setUserInterface(s.ui);
    again.openRecentFile(0);
    EXPECT_TRUE(again.recentFiles().isEmpty());
}

TEST(Shell, DroppedFilesOpenInTurnAndTheLastStays) {
    Shell s;
    s.app.frame().openDroppedFiles(
        {QUrl::fromLocalFile(sample("zr-t-celsius.txt")), QUrl::fromLocalFile(sample("zr-v.txt"))});
    EXPECT_EQ(s.title(), "zr-v.txt - Vessor USB Graph");
    EXPECT_EQ(s.app.recentFiles(), QStringList({sample("zr-v.txt"), sample("zr-t-celsius.txt")}));
}

// The program itself, as users' scripts run it.
struct ProcessResult {
    int status;
    QByteArray out;
    QString err;
};

ProcessResult runViewer(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    // As on a server or in a terminal session without a desktop.
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VESSOR_GRAPH_BINARY), args);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Headless, ExitStatusAndMessages) {
    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("X,Time,Celsius\r\n");
    bad.close();
    const QString fifo = dir.filePath("fifo.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        QString file;
        int status;
        QString message;
    };
    const Case cases[] = {
        {sample("zr-t-celsius.txt"), 0, ""},
        {sample("missing.txt"), 1, "File not found"},
        {dir.path(), 1, "folder"},
        {"/dev/zero", 1, "not a plain file"},
        {fifo, 1, "not a plain file"},
        {bad.fileName(), 2, "The File contains invaild data."},
        {sample("zr-ev-state.txt"), 3,
         "The file you are trying to open is an event log which cannot be displayed in Vessor USB "
         "Graph.\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult run = runViewer({"--export-json", dir.filePath("out.json"), c.file});
        EXPECT_EQ(run.status, c.status) << c.file.toStdString() << run.err.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        }
    }
}

// Names reach the program as bytes: the input that is not UTF-8 is read, and
// the outputs are written under exactly the bytes given.
TEST(Headless, NamesThatAreNotUtf8) {
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    const std::string input = folder + "/K\xFChlraum.txt";
    std::filesystem::copy_file(QFile::encodeName(sample("zr-t-celsius.txt")).toStdString(), input);
    const std::string json = folder + "/out\xFF.json";
    const std::string png = folder + "/chart\xFE.png";
    const std::string xlsx = folder + "/book\xFD.xlsx";
    // The workbook reads the file first; the other exports read the same
    // descriptor again.
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") +
                                VESSOR_GRAPH_BINARY + " --export-xlsx '" + xlsx + "' --export-json '" + json +
                                "' --export-png '" + png + "' '" + input + "' 2>'" + folder + "/err.txt'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(json));
    EXPECT_TRUE(std::filesystem::exists(png));
    EXPECT_TRUE(std::filesystem::exists(xlsx));
    std::ifstream written(json, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_GT(QJsonDocument::fromJson(QByteArray::fromStdString(text)).object()["readingCount"].toInt(), 0);
    // Nothing under a name with U+FFFD in its place.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().string().find("\xEF\xBF\xBD"), std::string::npos) << entry.path();
}

TEST(Headless, HelpAndUsageErrorsNeedNoDisplay) {
    const ProcessResult help = runViewer({"--help"});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: vessor-graph")) << help.out.toStdString();
    const ProcessResult wrong = runViewer({"--export-gif", "x.gif", sample("zr-v.txt")});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains("Unknown option --export-gif.")) << wrong.err.toStdString();
}

TEST(Headless, JsonOnStandardOutputAndAPicture) {
    QTemporaryDir dir;
    const QString png = dir.filePath("chart.png");
    const ProcessResult run =
        runViewer({"--export-json", "-", "--export-png", png, sample("temperature-day.txt")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(doc["title"].toString(), "COLDROOM");
    EXPECT_EQ(doc["readingCount"].toInt(), 288);
    EXPECT_EQ(doc["interval"].toInt(), 300);
    EXPECT_EQ(doc["startTime"].toString(), "2007-03-05T14:30:00");
    const QJsonArray traces = doc["primary"].toObject()["traces"].toArray();
    ASSERT_EQ(traces.size(), 4);
    EXPECT_EQ(traces[0].toArray().size(), 288);
    EXPECT_EQ(traces[1].toArray()[0].toDouble(), 8.0);
    EXPECT_TRUE(traces[3].toArray().isEmpty());
    EXPECT_FALSE(doc["secondary"].toObject()["present"].toBool());
    EXPECT_EQ(doc["secondary"].toObject()["traces"].toArray()[0].toArray().size(), 0);
    EXPECT_EQ(QImage(png).size(), QSize(1024, 768));
}

} // namespace
} // namespace vessor::graph

// The viewer's shell: opening files from every door, the recent list, the
// command line and the headless exports of the program itself.
#include "shell/command_ids.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "shell/recent_files.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include "logger/product_info.h"

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

// A file of the test's own in `dir`.
QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
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
        {{"--export-summary", "-", "a.txt"}, "a.txt", "", "", true, false},
        {{"--export-summary", "-"}, "", "", "", true, true},
        // The activation energy is the summary's and the report's alone.
        {{"--activation-energy", "80", "a.txt"}, "", "", "", false, true},
        {{"--export-report", "r.pdf", "--activation-energy", "80", "a.txt"}, "a.txt", "", "", true, false},
        {{"--export-report=r.pdf"}, "", "", "", true, true},
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

// Several files: OUT is a folder, each output named after its input.
TEST(CommandLine, SeveralFiles) {
    QTemporaryDir dir;
    const QString out = dir.path();
    const QString file = writeFile(dir, "plain.txt", "x");
    struct Case {
        QStringList args;
        QString error;         // the start of the refusal; empty: accepted
        QStringList outputs;   // every run's PNG then summary, relative to out
    };
    const Case cases[] = {
        {{"--export-png", out, "--export-summary", out, "a/cold.txt", "b/warm.log"},
         {},
         {"cold.png", "cold.summary.json", "warm.png", "warm.summary.json"}},
        {{"--export-png", out + "/", "x", "a.b.txt"}, {}, {"x.png", "", "a.b.png", ""}},
        // Same output name, whatever the folders or extensions.
        {{"--export-png", out, "a/x.txt", "b/x.txt"}, "a/x.txt and b/x.txt would both be exported to", {}},
        {{"--export-summary", out, "x.txt", "y.txt", "x.csv"}, "x.txt and x.csv would both", {}},
        {{"--export-json", out, "--export-summary", out, "x.txt", "x.summary.txt"},
         "x.summary.txt and x.txt would both", {}},
        {{"--export-summary", "-", "a.txt", "b.txt"}, "--export-summary -: with several files", {}},
        {{"--export-json", "-", "a.txt", "b.txt"}, "--export-json -: with several files", {}},
        {{"--export-pdf", out + "/none", "a.txt", "b.txt"}, "--export-pdf " + out + "/none: with several", {}},
        {{"--export-xlsx", file, "a.txt", "b.txt"}, "--export-xlsx " + file + ": with several", {}},
        // One file: OUT is the output itself, even a folder.
        {{"--export-png", out, "a/cold.txt"}, {}, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_TRUE(line.error.startsWith(c.error)) << line.error.toStdString();
        if (!c.error.isEmpty())
            continue;
        QStringList outputs;
        for (const CommandLine& run : singleFileRuns(line)) {
            EXPECT_EQ(run.files, std::vector<std::string>{run.file});
            for (const std::string& made : {run.exportPng, run.exportSummary})
                outputs.append(made.empty() || made == out.toStdString()
                                   ? QString()
                                   : QDir(out).relativeFilePath(QString::fromStdString(made)));
        }
        EXPECT_EQ(outputs, c.outputs);
    }
    // Without an export the window opens the first file, as before.
    const CommandLine window = parseCommandLine(QStringList{"a.txt", "b.txt"});
    EXPECT_TRUE(window.error.isEmpty());
    EXPECT_EQ(window.file, "a.txt");
}

TEST(CommandLine, OutputBaseName) {
    const std::pair<const char*, const char*> cases[] = {
        {"cold.txt", "cold"}, {"a/b/cold.txt", "cold"}, {"a.b.txt", "a.b"},
        {"plain", "plain"},   {".hidden", ".hidden"},   {"dir.d/file", "file"},
    };
    for (const auto& [input, name] : cases)
        EXPECT_EQ(outputBaseName(input), name) << input;
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
                                 "Mark Points", "Show traces...", "Grid Lines...", "-",
                                 "S&ummary"}));
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

ProcessResult runViewer(const QStringList& args, const QString& standardOutput = {}) {
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
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
    const QString bad = writeFile(dir, "bad.txt", "X,Time,Celsius\r\n");
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
        {bad, 2, "The File contains invaild data."},
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

// Three files in one run: each is done in turn, a refused one does not stop
// the others, and the status is the highest met.
TEST(Headless, SeveralFiles) {
    QTemporaryDir dir;
    const QString bad = writeFile(dir, "bad.txt", "X,Time,Celsius\r\n");
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkdir(out));
    const ProcessResult run = runViewer({"--export-summary", out, "--export-png", out, sample("zr-t-celsius.txt"),
                                         bad, sample("zr-ev-state.txt")});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({"zr-t-celsius.png", "zr-t-celsius.summary.json"}));
    EXPECT_EQ(QImage(out + "/zr-t-celsius.png").size(), QSize(1024, 768));
    // The end of the messages: the platform may speak first.
    EXPECT_TRUE(run.err.endsWith(bad + ": The File contains invaild data.\n" + sample("zr-ev-state.txt") +
                           ": The file you are trying to open is an event log which cannot be displayed in "
                           "Vessor USB Graph.\n"))
        << run.err.toStdString();

    // Two inputs with one output name: nothing is done.
    QDir(out).removeRecursively();
    ASSERT_TRUE(QDir().mkdir(out));
    const ProcessResult clash =
        runViewer({"--export-json", out, sample("zr-t-celsius.txt"), dir.filePath("zr-t-celsius.csv")});
    EXPECT_EQ(clash.status, 1);
    EXPECT_TRUE(clash.err.contains("would both be exported to")) << clash.err.toStdString();
    EXPECT_TRUE(clash.err.contains("Usage: vessor-graph")) << clash.err.toStdString();
    EXPECT_TRUE(QDir(out).isEmpty());
}

TEST(CommandLine, ActivationEnergy) {
    struct Case {
        QStringList args;
        double energy; // 0: refused
    };
    const Case cases[] = {
        {{}, 83.14472},
        {{"--activation-energy", "100"}, 100},
        {{"--activation-energy=1e2"}, 100},
        {{"--activation-energy", "60.5"}, 60.5},
        {{"--activation-energy", "0"}, 0},
        {{"--activation-energy", "-83"}, 0},
        {{"--activation-energy", "83,1"}, 0},
        {{"--activation-energy", "inf"}, 0},
        {{"--activation-energy", ""}, 0},
        {{"--activation-energy"}, 0},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(QStringList({"--export-summary", "-"}) + c.args + QStringList{"a.txt"});
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(line.error.isEmpty(), c.energy > 0) << line.error.toStdString();
        if (c.energy > 0) {
            EXPECT_EQ(line.activationEnergy, c.energy);
        }
    }
}

TEST(Headless, SummaryExitStatus) {
    QTemporaryDir dir;
    const QString bad = writeFile(dir, "bad.txt", "X,Time,Celsius\r\n");
    const QString out = dir.filePath("summary.json");
    struct Case {
        QStringList args;
        QString standardOutput;
        int status;
        QString message;
    };
    const Case cases[] = {
        {{"--export-summary", out, sample("zr-t-celsius.txt")}, {}, 0, ""},
        {{"--export-summary", out, sample("missing.txt")}, {}, 1, "File not found"},
        {{"--export-summary", out, bad}, {}, 2, "The File contains invaild data."},
        {{"--export-summary", out, sample("zr-ev-state.txt")}, {}, 3, "is an event log"},
        {{"--export-summary", "-", sample("zr-t-celsius.txt")}, "/dev/full", 1,
         "Cannot write the standard output"},
        {{"--export-summary", out, "--activation-energy", "x", sample("zr-t-celsius.txt")}, {}, 1,
         "--activation-energy needs a number of kJ/mol above 0.\nUsage: vessor-graph"},
        {{"--export-summary", sample("zr-t-celsius.txt"), sample("zr-t-celsius.txt")}, {}, 2,
         "it is the file being exported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProcessResult run = runViewer(c.args, c.standardOutput);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
}

// The numbers a script reads, from the document the viewer draws.
TEST(Headless, SummaryOnStandardOutput) {
    const auto summary = [](const QStringList& args) {
        const ProcessResult run = runViewer(QStringList{"--export-summary", "-"} + args);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object();
    };
    const QJsonObject day = summary({sample("temperature-day.txt")});
    EXPECT_EQ(day["title"].toString(), "COLDROOM");
    EXPECT_EQ(day["readings"].toInt(), 288);
    EXPECT_EQ(day["first"].toString(), "2007-03-05T14:30:00");
    EXPECT_EQ(day["last"].toString(), "2007-03-06T14:25:00");
    EXPECT_EQ(day["activationEnergy"].toDouble(), 83.14472);
    const QJsonObject primary = day["channels"].toArray()[0].toObject();
    EXPECT_EQ(primary["role"].toString(), "primary");
    EXPECT_EQ(primary["count"].toInt(), 288);
    const double mkt = primary["mkt"].toDouble();
    EXPECT_GT(mkt, primary["mean"].toDouble()); // the warm readings weigh more
    EXPECT_LT(mkt, primary["max"].toDouble());

    // A higher activation energy weighs the warm readings more still.
    const QJsonObject steeper = summary({"--activation-energy", "120", sample("temperature-day.txt")});
    EXPECT_EQ(steeper["activationEnergy"].toDouble(), 120);
    EXPECT_GT(steeper["channels"].toArray()[0].toObject()["mkt"].toDouble(), mkt);

    // One reading counts once, although the chart draws it twice.
    QTemporaryDir dir;
    const QJsonObject one = summary(
        {writeFile(dir, "single.txt", "S,Time,Celsius(\xB0" "C),High Alarm\r\n1,08/12/2026 12:42:31,5.0,4.0\r\n")});
    EXPECT_EQ(one["readings"].toInt(), 1);
    EXPECT_EQ(one["first"].toString(), one["last"].toString());
    const QJsonObject alarm = one["channels"].toArray()[0].toObject()["alarms"].toArray()[0].toObject();
    EXPECT_EQ(alarm["readings"].toInt(), 1);
    EXPECT_EQ(alarm["seconds"].toInt(), 1);
}

TEST(Headless, HelpAndUsageErrorsNeedNoDisplay) {
    const ProcessResult help = runViewer({"--help"});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith("Usage: vessor-graph")) << help.out.toStdString();
    const ProcessResult version = runViewer({"--version"});
    EXPECT_EQ(version.status, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QByteArray("vessor-graph ") + product::VERSION + "\n");
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

// The PDF report as a user gets it: File › Export Report… in the window and
// `vessor-graph --export-report` from scripts, read back with pdftotext.
#include "chart/chart2d.h"
#include "shell/main_frame.h"
#include "shell/qt_user_interface.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include "logger/download_fields.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vessor::graph {
namespace {

const QString DATA_DIR = QStringLiteral(GRAPH_TEST_DATA);

QString sample(const char* name) {
    return QDir::cleanPath(DATA_DIR + "/" + name);
}

// A cold store whose compressor lets it rise above 8.0 °C for three readings
// in every ten, and is above it at the last reading: `rows` readings.
QString cyclingFile(const QTemporaryDir& dir, int rows) {
    QByteArray text = "COLD STORE,Time,Celsius(\xB0"
                      "C),High Alarm,Low Alarm,Serial Number\r\n";
    const std::int64_t start = download::toClockSeconds({2026, 12, 1, 8, 0, 0});
    for (int k = 0; k < rows; ++k) {
        const download::ClockFields t = download::fromClockSeconds(start + std::int64_t{k} * 120);
        const double celsius = k == rows - 1 || k % 10 >= 7 ? 8.4 : 5.0;
        char row[120];
        std::snprintf(row, sizeof row, "%d,%02d/%02d/%04d %02d:%02d:%02d,%.1f,8.0,2.0%s\r\n", k + 1,
                      t.day, t.month, t.year, t.hour, t.minute, t.second, celsius,
                      k == 0 ? ",000987654" : "");
        text += row;
    }
    QFile file(dir.filePath(QStringLiteral("cold-store.txt")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    return file.fileName();
}

// The PDF's text, pages apart by form feeds; empty without pdftotext.
QString pdfText(const QString& pdf) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool havePdfText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// A box over the middle of the chart, dragged with the left button.
void zoomToMiddle(Chart2D& chart) {
    const QRect r = chart.plotRect();
    QWidget* area = chart.mouseArea();
    const auto send = [area](QEvent::Type type, QPoint p, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(p), area->mapToGlobal(QPointF(p)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(area, &event);
    };
    const QPoint from(r.left() + r.width() * 3 / 10, r.top() + r.height() / 10);
    const QPoint to(r.left() + r.width() * 6 / 10, r.bottom() - r.height() / 10);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settle();
}

TEST(Report, TheWindowsReportOverSeveralPages) {
    QTemporaryDir dir;
    RecordingUserInterface ui;
    VessorGraphApp app;
    app.setUserInterface(ui);
    const FixedClock clock(makeCalendarTime(2026, 12, 8, 9, 5, 0));
    app.setClock(clock);
    const QString pdf = dir.filePath(QStringLiteral("cold.pdf"));

    // Nothing on show: nothing written.
    app.fileNew();
    EXPECT_FALSE(app.exportReportTo(pdf));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(ui.messages,
              QStringList{QStringLiteral("Open the data file before exporting a report.")});

    ASSERT_TRUE(app.OpenDocumentFile(cyclingFile(dir, 1000)));
    ASSERT_TRUE(app.exportReportTo(pdf)) << ui.messages.join('\n').toStdString();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(
        bytes.contains("/MediaBox [0 0 612.000000 792.000000]")); // Letter in the tests' en_US

    if (!havePdfText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString text = pdfText(pdf);
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    // Page 1, then 100 excursions of the high level at some 40 a page, the
    // low level's none and the place to sign.
    ASSERT_EQ(pages.size(), 4) << text.toStdString();
    for (int i = 0; i < pages.size(); ++i)
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Page %1 of 4").arg(i + 1))) << i;
    for (const char* expected :
         {"COLD STORE", "000987654", "cold-store.txt", "Report made 12/8/26 09:05:00",
          "Celsius (°C)", "Out of limits: Celsius above High Alarm", "Readings, whole file",
          "Alarm levels, whole file", "activation energy of 83.14 kJ/mol",
          "From:- 01 December 2026 08:00:00"}) {
        EXPECT_TRUE(pages[0].contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Alarm excursions")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Celsius: High Alarm, above 8.0 °C (continued)")));
    EXPECT_EQ(text.count(QStringLiteral("open at the end of the file")), 1);
    EXPECT_TRUE(
        pages[3].contains(QStringLiteral("No excursions: no reading was beyond the level.")));
    EXPECT_TRUE(pages[3].contains(QStringLiteral("Reviewed by")));
    // The first excursion: three readings two minutes apart.
    EXPECT_TRUE(pages[1].contains(QRegularExpression(
        QStringLiteral("1 +12/1/26 08:14:00 +12/1/26 08:18:00 +6 min +8.4 °C"))));
    EXPECT_FALSE(text.contains(QStringLiteral("shown in the window")));

    // Zoomed, the report adds the tables of what the window shows.
    app.frame().resize(1024, 720);
    app.frame().show();
    settle();
    zoomToMiddle(app.view().chart());
    ASSERT_EQ(app.view().zoomLevel(), 1);
    ASSERT_TRUE(app.exportReportTo(pdf));
    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("Readings, shown in the window, 12/")));

    // A folder that is not there: the message, and nothing else changes.
    ui.messages.clear();
    EXPECT_FALSE(app.exportReportTo(dir.filePath(QStringLiteral("none/cold.pdf"))));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Cannot write ") +
                                          dir.filePath("none/cold.pdf") + ": "))
        << ui.messages[0].toStdString();
}

struct ViewerRun {
    int status;
    QString err;
};

ViewerRun runGerman(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    // The paper and the numbers follow the locale: German, A4 and commas.
    env.insert("LC_ALL", "de_DE.UTF-8");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VESSOR_GRAPH_BINARY), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

TEST(Headless, ReportExitStatusAndBatch) {
    QTemporaryDir dir;
    QFile bad(dir.filePath(QStringLiteral("bad.txt")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("X,Time,Celsius\r\n") > 0);
    bad.close();
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkdir(out));
    const QString one = dir.filePath(QStringLiteral("day.pdf"));
    struct Case {
        QStringList args;
        int status;
        QString message;     // in the messages
        QStringList written; // in `out`, or `one`
    };
    const Case cases[] = {
        {{"--export-report", one, "--activation-energy", "100", sample("temperature-day.txt")},
         0,
         "",
         {"day.pdf"}},
        {{"--export-report", one, sample("missing.txt")}, 1, "File not found", {}},
        {{"--export-report", one, bad.fileName()}, 2, "The File contains invaild data.", {}},
        {{"--export-report", one, sample("zr-ev-state.txt")}, 3, "is an event log", {}},
        {{"--export-report", sample("zr-v.txt"), sample("zr-v.txt")},
         2,
         "it is the file being exported",
         {}},
        // Several files: each named after its input; a refused one stops no other.
        {{"--export-report", out, sample("humidity-day.txt"), bad.fileName(), sample("zr-co.txt")},
         2,
         bad.fileName() + ": The File contains invaild data.",
         {"humidity-day.report.pdf", "zr-co.report.pdf"}},
        // Bad usage, found before any work.
        {{"--export-report", out, "--export-pdf", out, sample("zr-v.txt"),
          dir.filePath("zr-v.report.txt")},
         1,
         "would both be exported to",
         {}},
        {{"--export-report", one, sample("zr-v.txt"), sample("zr-co.txt")},
         1,
         "with several files, OUT must be",
         {}},
        {{"--export-report", one}, 1, "An export needs a download file.", {}},
        {{"--export-report"}, 1, "--export-report needs an output file.", {}},
        {{"--activation-energy", "100", sample("zr-v.txt")},
         1,
         "--activation-energy goes with --export-summary or --export-report.\nUsage: vessor-graph",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QDir(out).removeRecursively();
        QDir().mkdir(out);
        QFile::remove(one);
        const ViewerRun run = runGerman(c.args);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        QStringList written = QDir(out).entryList(QDir::Files);
        if (QFile::exists(one))
            written.prepend(QStringLiteral("day.pdf"));
        EXPECT_EQ(written, c.written);
    }

    // The first case's report, in German on A4, with the energy given.
    QDir(out).removeRecursively();
    const ViewerRun day = runGerman(
        {"--export-report", one, "--activation-energy", "100", sample("temperature-day.txt")});
    ASSERT_EQ(day.status, 0);
    QFile pdf(one);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [0 0 595.000000 842.000000]"));
    if (!havePdfText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString text = pdfText(one);
    for (const char* expected :
         {"COLDROOM", "000123456", "temperature-day.txt", "Out of limits: Celsius below Low Alarm",
          "activation energy of 100,00 kJ/mol", "05.03.07 14:30:00", "Page 1 of 2", "Page 2 of 2",
          "Celsius: Low Alarm, below 2,0 °C",
          "3 excursions, 3 h 30 min beyond the level in all."}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    }
}

} // namespace
} // namespace vessor::graph

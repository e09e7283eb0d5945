// Speed of the viewer on the largest files a logger gives: reading them,
// rendering them, the whole `vessor-graph --export-png` run, the redraws
// a user waits for on screen (full view, a zoom, a scroll step, the readout)
// and the PDF report.
// Not a test: run bin/graph_viewer_bench by hand.
#include "document/vessor_graph_doc.h"
#include "report/report_export.h"
#include "shell/qt_user_interface.h"
#include "view/vessor_graph_view.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace vessor::graph;

// A download file as the utility writes it, `rows` readings one minute apart:
// a slow swing, or a cold room whose compressor cycles every 20 minutes (the
// worst case for drawing: every pixel column spans the whole swing).
std::string writeFile(const QString& dir, const char* name, int rows, bool humidity,
                      bool cycling = false, const char* levels = "8.0,2.0") {
    const std::string path = QDir(dir).filePath(name).toStdString();
    std::ofstream out(path, std::ios::binary);
    out << (humidity ? "COLDROOM,Time,Celsius(\xB0"
                       "C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,"
                       "Low Alarm rh,dew point(\xB0"
                       "C),Serial Number\r\n"
                     : "COLDROOM,Time,Celsius(\xB0"
                       "C),High Alarm,Low Alarm,Serial Number\r\n");
    char line[160];
    for (int i = 0; i < rows; ++i) {
        const ClockFields t = fromClockSeconds(toClockSeconds({2007, 3, 5, 14, 30, 0}) + 60LL * i);
        const double temperature =
            cycling ? 2.0 + 0.2 * (i % 20) : 4.0 + 3.0 * std::sin(i / 300.0);
        if (humidity) {
            std::snprintf(line, sizeof line,
                          "%d,%02d/%02d/%04d %02d:%02d:%02d,%.1f,30.0,10.0,%.1f,70.0,20.0,%.1f",
                          i + 1, t.day, t.month, t.year, t.hour, t.minute, t.second, temperature,
                          50 + 20 * std::cos(i / 500.0), temperature - 5);
        } else {
            std::snprintf(line, sizeof line, "%d,%02d/%02d/%04d %02d:%02d:%02d,%.1f,%s", i + 1,
                          t.day, t.month, t.year, t.hour, t.minute, t.second, temperature, levels);
        }
        out << line << (i == 0 ? ",000123456\r\n" : "\r\n");
    }
    return path;
}

// Each file is written the first time a benchmark asks for it.
struct Files {
    QTemporaryDir dir;
    const std::string& single() {
        if (single_.empty())
            single_ = writeFile(dir.path(), "zr-t-65535.txt", 65535, false);
        return single_;
    }
    const std::string& humidity() {
        if (humidity_.empty())
            humidity_ = writeFile(dir.path(), "zr-th-32767.txt", 32767, true);
        return humidity_;
    }
    const std::string& cycling() {
        if (cycling_.empty())
            cycling_ = writeFile(dir.path(), "zr-t-65535-cycling.txt", 65535, false, true);
        return cycling_;
    }
    // The cycling cold room against a high level of 5.0: an excursion every
    // 20 readings, 3,277 of them, some 80 pages of excursion tables.
    const std::string& excursions() {
        if (excursions_.empty())
            excursions_ = writeFile(dir.path(), "zr-t-65535-excursions.txt", 65535, false, true, "5.0,2.0");
        return excursions_;
    }
    const std::string& million() {
        if (million_.empty())
            million_ = writeFile(dir.path(), "million.txt", 1000000, false);
        return million_;
    }

private:
    std::string single_;
    std::string humidity_;
    std::string cycling_;
    std::string excursions_;
    std::string million_;
};

Files& files() {
    static Files f;
    return f;
}

void parse(benchmark::State& state, const std::string& path) {
    std::string dataFilePath;
    VessorGraphDoc doc(dataFilePath);
    for (auto _ : state) {
        doc.openDocument(path);
        if (doc.lastStatus() != LoadStatus::Ok)
            state.SkipWithError("file refused");
        benchmark::DoNotOptimize(doc.readingCount);
    }
    state.counters["readings"] = doc.readingCount;
}

void BM_Parse65535Readings(benchmark::State& state) {
    parse(state, files().single());
}
void BM_Parse32767HumidityRows(benchmark::State& state) {
    parse(state, files().humidity());
}
void BM_ParseMillionRows(benchmark::State& state) {
    parse(state, files().million());
}

// Loading the chart and rendering the full view as the PNG export does.
void renderPng(benchmark::State& state, const std::string& file) {
    std::string dataFilePath;
    VessorGraphDoc doc(dataFilePath);
    doc.openDocument(file);
    VessorGraphView view(doc);
    for (auto _ : state) {
        view.initialUpdate();
        const QImage image = view.chart().toImage(QSize(1024, 768));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RenderPng65535(benchmark::State& state) {
    renderPng(state, files().single());
}
void BM_RenderPng65535Cycling(benchmark::State& state) {
    renderPng(state, files().cycling());
}
void BM_RenderPng32767Humidity(benchmark::State& state) {
    renderPng(state, files().humidity());
}

// The whole program, start-up included.
void exportPng(benchmark::State& state, const std::string& file) {
    const QString out = QDir(files().dir.path()).filePath("out.png");
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(VESSOR_GRAPH_BINARY),
                      {"--export-png", out, QString::fromStdString(file)});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            state.SkipWithError("vessor-graph failed");
    }
}

void BM_ExportPngProgram65535(benchmark::State& state) {
    exportPng(state, files().single());
}
void BM_ExportPngProgram32767Humidity(benchmark::State& state) {
    exportPng(state, files().humidity());
}

// The whole report as File › Export Report… makes it: the summary, the
// tables laid out, the chart drawn and the PDF encoded in memory.
void report(benchmark::State& state, const std::string& file) {
    std::string dataFilePath;
    VessorGraphDoc doc(dataFilePath);
    doc.openDocument(file);
    VessorGraphView view(doc);
    view.resize(1024, 768);
    view.initialUpdate();
    ReportRequest request;
    request.fileName = QStringLiteral("zr-t-65535.txt");
    request.madeAt = vessor::makeCalendarTime(2026, 12, 8, 9, 5, 0);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = reportPdf(view, request);
        if (pdf.isEmpty())
            state.SkipWithError("no report");
        bytes = pdf.size();
    }
    state.counters["kB"] = static_cast<double>(bytes) / 1000;
}

void BM_Report65535(benchmark::State& state) {
    report(state, files().single());
}
void BM_Report65535ManyExcursions(benchmark::State& state) {
    report(state, files().excursions());
}

// The window's view on screen with the 65535-reading file; each measurement
// is the change plus the redraw it queues, as the event loop runs it.
struct ScreenView {
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};
    VessorGraphView view{doc};

    explicit ScreenView(const std::string& file = files().single()) {
        doc.openDocument(file);
        view.resize(1024, 768);
        view.show();
        view.initialUpdate();
        settle();
    }
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* area = view.chart().mouseArea();
        QMouseEvent event(type, QPointF(at), area->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(area, &event);
    }
    QPoint at(double fx, double fy) const {
        const QRect r = const_cast<VessorGraphView&>(view).chart().plotRect();
        return {r.left() + static_cast<int>(r.width() * fx),
                r.top() + static_cast<int>(r.height() * fy)};
    }
    // A box over a tenth of the readings, dragged with real mouse events.
    void zoomIn() {
        mouse(QEvent::MouseButtonPress, at(0.45, 0.1), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, at(0.55, 0.9), Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at(0.55, 0.9), Qt::LeftButton, Qt::NoButton);
    }
};

void BM_RedrawFullView65535(benchmark::State& state) {
    ScreenView s;
    for (auto _ : state) {
        s.view.chart().setRepaint(true);
        ScreenView::settle();
    }
}

void BM_RedrawFullView65535Cycling(benchmark::State& state) {
    ScreenView s(files().cycling());
    for (auto _ : state) {
        s.view.chart().setRepaint(true);
        ScreenView::settle();
    }
}

// Timed: the zoom in, or (zoomOut) the way back to the full view, whose
// points are all gone through again.
void zoomInAndOut(benchmark::State& state, const std::string& file, bool zoomOut = false) {
    ScreenView s(file);
    for (auto _ : state) {
        if (zoomOut)
            state.PauseTiming();
        s.zoomIn();
        ScreenView::settle();
        if (zoomOut)
            state.ResumeTiming();
        else
            state.PauseTiming();
        if (s.view.zoomLevel() != 1)
            state.SkipWithError("no zoom");
        s.view.ZoomOut();
        ScreenView::settle();
        if (!zoomOut)
            state.ResumeTiming();
    }
}

void BM_Zoom65535(benchmark::State& state) {
    zoomInAndOut(state, files().single());
}
// The million-point chart: each zoom and scroll step must redraw within a
// frame (16 ms).
void BM_ZoomMillion(benchmark::State& state) {
    zoomInAndOut(state, files().million());
}
void BM_ZoomOutMillion(benchmark::State& state) {
    zoomInAndOut(state, files().million(), true);
}

void scrollSteps(benchmark::State& state, const std::string& file) {
    ScreenView s(file);
    s.zoomIn();
    ScreenView::settle();
    bool right = true;
    for (auto _ : state) {
        s.view.scrollHorizontally(right ? ScrollCode::PageDown : ScrollCode::PageUp);
        s.view.scrollHorizontally(ScrollCode::EndScroll);
        ScreenView::settle();
        right = !right;
    }
}

void BM_ScrollStepZoomed65535(benchmark::State& state) {
    scrollSteps(state, files().single());
}
void BM_ScrollStepZoomedMillion(benchmark::State& state) {
    scrollSteps(state, files().million());
}
void BM_MarkPointsMillion(benchmark::State& state) {
    ScreenView s(files().million());
    for (auto _ : state) {
        s.view.toggleMarkPoints();
        ScreenView::settle();
    }
}
void BM_RedrawFullViewMillion(benchmark::State& state) {
    ScreenView s(files().million());
    for (auto _ : state) {
        s.view.chart().setRepaint(true);
        ScreenView::settle();
    }
}

void readoutUpdates(benchmark::State& state, bool zoomed) {
    ScreenView s;
    if (zoomed) {
        s.zoomIn();
        ScreenView::settle();
    }
    const QPoint a = s.at(0.3, 0.5);
    const QPoint b = s.at(0.7, 0.5);
    bool first = true;
    for (auto _ : state) {
        s.mouse(QEvent::MouseMove, first ? a : b, Qt::NoButton, Qt::NoButton);
        ScreenView::settle();
        first = !first;
    }
    if (!s.view.footerText().contains(QStringLiteral(" : ")))
        state.SkipWithError("no readout");
}

void BM_ReadoutFullView65535(benchmark::State& state) {
    readoutUpdates(state, false);
}
void BM_ReadoutZoomed65535(benchmark::State& state) {
    readoutUpdates(state, true);
}

} // namespace

BENCHMARK(BM_RedrawFullView65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawFullView65535Cycling)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Zoom65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollStepZoomed65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZoomMillion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZoomOutMillion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollStepZoomedMillion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawFullViewMillion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MarkPointsMillion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadoutFullView65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadoutZoomed65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Parse65535Readings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse32767HumidityRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RenderPng65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPng65535Cycling)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderPng32767Humidity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Report65535)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Report65535ManyExcursions)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportPngProgram65535)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_ExportPngProgram32767Humidity)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform's notes on window hints would bury the figures.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
        if (!text.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

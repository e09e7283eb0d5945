#include "headless_export.h"

#include "chart/png_encoder.h"
#include "document/document_json.h"
#include "document/document_summary.h"
#include "document/vessor_graph_doc.h"
#include "file_access.h"
#include "load_report.h"
#include "qt_user_interface.h"
#include "report/report_export.h"
#include "view/vessor_graph_view.h"

#include "logger/safe_save.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>

#include <algorithm>
#include <cstdio>

#ifdef VESSOR_WITH_XLSX
#include "spreadsheet_export/export_command.h"
#endif

namespace vessor::graph {

namespace {

// Headless runs never start the text editor.
class NoTextEditor : public TextEditorLauncher {
public:
    bool open(const std::string&) override { return false; }
};

// The event question's first sentence.
QString eventSentence() {
    const QString question = QString::fromUtf8(text::EVENT_QUESTION);
    const qsizetype end = question.indexOf(QLatin1String(". "));
    return end < 0 ? question : question.left(end + 1);
}

// "Cannot write X: reason." The reason is the system's text.
void cannotWrite(QTextStream& errors, const QString& target, const std::string& reason) {
    errors << "Cannot write " << target << ": " << QString::fromStdString(reason) << ".\n";
}

// Every output is written under exactly the bytes given.
bool save(const std::string& target, std::string_view bytes, QTextStream& errors) {
    const SaveResult saved = saveFile(target, bytes);
    if (!saved.ok())
        cannotWrite(errors, displayName(target), saved.reason);
    return saved.ok();
}

bool writeJson(const std::string& target, const std::string& json, QTextStream& errors) {
    if (target == "-") {
        const SaveResult written = writeStream(stdout, json);
        if (!written.ok())
            cannotWrite(errors, QStringLiteral("the standard output"), written.reason);
        return written.ok();
    }
    return save(target, json, errors);
}

// The chart or the printed page, drawn in memory.
bool saveDrawn(const std::string& target, const QByteArray& bytes, bool drawn, const char* failure,
               QTextStream& errors) {
    if (!drawn) {
        cannotWrite(errors, displayName(target), failure);
        return false;
    }
    return save(target, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), errors);
}

bool writePng(VessorGraphView& view, const std::string& target, QTextStream& errors) {
    const QByteArray bytes = encodePng(view.chart().toImage(QSize(EXPORT_WIDTH, EXPORT_HEIGHT)));
    return saveDrawn(target, bytes, !bytes.isEmpty(), "the picture cannot be encoded", errors);
}

// The PDF is the printed page: A4 across, 10 mm margins.
bool writePdf(VessorGraphView& view, const std::string& target, QTextStream& errors) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    const bool drawn = buffer.open(QIODevice::WriteOnly) && view.printToPdf(buffer, a4);
    buffer.close();
    return saveDrawn(target, bytes, drawn, "the page cannot be drawn", errors);
}

// An export over the file it reads would destroy its own input.
bool writesOverInput(const CommandLine& line, QTextStream& errors) {
    for (const std::string& output :
         {line.exportJson, line.exportPng, line.exportPdf, line.exportXlsx, line.exportSummary, line.exportReport}) {
        if (!output.empty() && output != "-" && isSameFile(line.file, output)) {
            errors << "Cannot write " << displayName(output) << ": it is the file being exported.\n";
            return true;
        }
    }
    return false;
}

bool writeReport(VessorGraphView& view, const CommandLine& line, const Clock& clock, QTextStream& errors) {
    ReportRequest request;
    request.fileName = QFileInfo(displayName(line.file)).fileName();
    request.activationEnergy = line.activationEnergy;
    request.madeAt = clock.now();
    std::string reason;
    if (saveReport(view, request, line.exportReport, reason))
        return true;
    cannotWrite(errors, displayName(line.exportReport), reason);
    return false;
}

// One file's exports.
int runOne(const CommandLine& line, QTextStream& errors, const Clock& clock) {
    InputFile input = openInputFile(line.file);
    const QString problem = fileOpenProblem(line.file, input);
    if (!problem.isEmpty()) {
        errors << problem << '\n';
        return EXIT_CANNOT_OPEN;
    }
    if (writesOverInput(line, errors))
        return EXIT_REFUSED;

    if (!line.exportXlsx.empty()) {
#ifdef VESSOR_WITH_XLSX
        QString message;
        const int status =
            vessor::xlsx::exportToExcelHeadless(line.file, input, line.exportXlsx, message);
        if (!message.isEmpty())
            errors << message << '\n';
        if (status != EXIT_DONE ||
            (line.exportPng.empty() && line.exportPdf.empty() && line.exportJson.empty() && line.exportSummary.empty() &&
             line.exportReport.empty()))
            return status;
        // The other exports read the same open file again.
        input.rewind();
#else
        errors << "This build of vessor-graph cannot write workbooks.\n";
        return EXIT_CANNOT_OPEN;
#endif
    }

    RecordingUserInterface ui;
    NoTextEditor editor;
    std::string dataFilePath;
    VessorGraphDoc doc(dataFilePath);
    doc.openDocument(line.file, input);
    reportLoad(doc, line.file, ui, editor);
    switch (doc.lastStatus()) {
    case LoadStatus::Ok:
        break;
    case LoadStatus::EventFile:
        errors << eventSentence() << '\n';
        return EXIT_EVENT_FILE;
    case LoadStatus::CannotOpen:
        errors << ui.messages.join(QLatin1Char('\n')) << '\n';
        return EXIT_CANNOT_OPEN;
    case LoadStatus::Invalid:
    case LoadStatus::ReadError:
        errors << ui.messages.join(QLatin1Char('\n')) << '\n';
        return EXIT_REFUSED;
    }

    if (!line.exportJson.empty() && !writeJson(line.exportJson, documentToJson(doc), errors))
        return EXIT_CANNOT_OPEN;
    if (!line.exportSummary.empty()) {
        const download::Summary summary =
            download::summarize(documentSummaryInput(doc), {}, line.activationEnergy);
        if (!writeJson(line.exportSummary, download::summaryToJson(summary), errors))
            return EXIT_CANNOT_OPEN;
    }
    if (!line.exportPng.empty() || !line.exportPdf.empty() || !line.exportReport.empty()) {
        VessorGraphView view(doc);
        view.resize(EXPORT_WIDTH, EXPORT_HEIGHT);
        view.initialUpdate();
        if (!line.exportPng.empty() && !writePng(view, line.exportPng, errors))
            return EXIT_CANNOT_OPEN;
        if (!line.exportPdf.empty() && !writePdf(view, line.exportPdf, errors))
            return EXIT_CANNOT_OPEN;
        if (!line.exportReport.empty() && !writeReport(view, line, clock, errors))
            return EXIT_CANNOT_OPEN;
    }
    return EXIT_DONE;
}

} // namespace

int runHeadless(const CommandLine& line, QTextStream& errors, const Clock& clock) {
    const std::vector<CommandLine> runs = singleFileRuns(line);
    if (runs.size() == 1)
        return runOne(runs.front(), errors, clock);
    // Several files: each message line starts with the file it is about, as
    // the messages of one file need not name it.
    int status = EXIT_DONE;
    for (const CommandLine& run : runs) {
        QString messages;
        QTextStream buffer(&messages);
        status = std::max(status, runOne(run, buffer, clock));
        buffer.flush();
        const QString name = displayName(run.file);
        for (const QString& message : messages.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            errors << name << ": " << message << '\n';
        errors.flush();
    }
    return status;
}

} // namespace vessor::graph

#include "headless_export.h"

#include "document/document_json.h"
#include "document/vessor_graph_doc.h"
#include "file_access.h"
#include "load_report.h"
#include "qt_user_interface.h"
#include "view/vessor_graph_view.h"

#include "logger/safe_save.h"

#include <QFile>
#include <QFileInfo>

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

bool writeJson(const QString& target, const std::string& json, QTextStream& errors) {
    if (target == QLatin1String("-")) {
        const SaveResult written = writeStream(stdout, json);
        if (!written.ok())
            cannotWrite(errors, QStringLiteral("the standard output"), written.reason);
        return written.ok();
    }
    const SaveResult saved = saveFile(QFile::encodeName(target).toStdString(), json);
    if (!saved.ok())
        cannotWrite(errors, target, saved.reason);
    return saved.ok();
}

// An export over the file it reads would destroy its own input.
bool writesOverInput(const CommandLine& line, QTextStream& errors) {
    const std::string input = QFile::encodeName(line.file).toStdString();
    for (const QString& output :
         {line.exportJson, line.exportPng, line.exportPdf, line.exportXlsx}) {
        if (!output.isEmpty() && output != QLatin1String("-") &&
            isSameFile(input, QFile::encodeName(output).toStdString())) {
            errors << "Cannot write " << output << ": it is the file being exported.\n";
            return true;
        }
    }
    return false;
}

} // namespace

int runHeadless(const CommandLine& line, QTextStream& errors) {
    const QString problem = fileOpenProblem(line.file);
    if (!problem.isEmpty()) {
        errors << problem << '\n';
        return EXIT_CANNOT_OPEN;
    }
    if (writesOverInput(line, errors))
        return EXIT_REFUSED;

    if (!line.exportXlsx.isEmpty()) {
#ifdef VESSOR_WITH_XLSX
        QString message;
        const int status = vessor::xlsx::exportToExcelHeadless(line.file, line.exportXlsx, message);
        if (!message.isEmpty())
            errors << message << '\n';
        if (status != EXIT_DONE ||
            (line.exportPng.isEmpty() && line.exportPdf.isEmpty() && line.exportJson.isEmpty()))
            return status;
#else
        errors << "This build of vessor-graph cannot write workbooks.\n";
        return EXIT_CANNOT_OPEN;
#endif
    }

    RecordingUserInterface ui;
    NoTextEditor editor;
    std::string dataFilePath;
    VessorGraphDoc doc(dataFilePath);
    const std::string file = QFile::encodeName(line.file).toStdString();
    doc.openDocument(file);
    reportLoad(doc, file, ui, editor);
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

    if (!line.exportJson.isEmpty() && !writeJson(line.exportJson, documentToJson(doc), errors))
        return EXIT_CANNOT_OPEN;
    if (!line.exportPng.isEmpty() || !line.exportPdf.isEmpty()) {
        VessorGraphView view(doc);
        view.resize(EXPORT_WIDTH, EXPORT_HEIGHT);
        view.initialUpdate();
        const QSize size(EXPORT_WIDTH, EXPORT_HEIGHT);
        std::string reason;
        if (!line.exportPng.isEmpty() && !view.chart().exportPng(line.exportPng, size, &reason)) {
            cannotWrite(errors, line.exportPng, reason);
            return EXIT_CANNOT_OPEN;
        }
        // The PDF is the printed page.
        if (!line.exportPdf.isEmpty() && !view.printToPdf(line.exportPdf, &reason)) {
            cannotWrite(errors, line.exportPdf, reason);
            return EXIT_CANNOT_OPEN;
        }
    }
    return EXIT_DONE;
}

} // namespace vessor::graph

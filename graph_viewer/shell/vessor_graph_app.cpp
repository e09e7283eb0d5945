#include "vessor_graph_app.h"

#include "archive_access.h"
#include "file_access.h"
#include "help_pages.h"
#include "load_report.h"
#include "main_frame.h"
#include "recent_files.h"
#include "report/report_export.h"
#include "summary/summary_panel.h"
#include "view/vessor_graph_view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <cctype>
#include <filesystem>

#ifdef VESSOR_WITH_XLSX
#include "spreadsheet_export/export_command.h"
#endif

namespace vessor::graph {

bool DesktopTextEditor::open(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

VessorGraphApp::VessorGraphApp()
    : settings_(QStringLiteral("Meridane Electronics"), QStringLiteral("VessorGraph")),
      ui_(&boxes_), doc_(dataFilePath_),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    view_ = new VessorGraphView(doc_);
    frame_ = std::make_unique<MainFrame>(*this, view_);
    boxes_.setParent(frame_.get());
    view_->setTraceMenu(frame_->traceMenu());
    recent_ = loadRecentFiles(settings_);
    frame_->updateRecentFiles(recent_);
}

VessorGraphApp::~VessorGraphApp() = default;

QString VessorGraphApp::dataFile() const {
    return QFile::decodeName(dataFilePath_.c_str());
}

bool VessorGraphApp::InitInstance(const CommandLine& line) {
    if (line.file.empty()) {
        fileNew();
    } else if (!openFileBytes(line.file)) {
        return false;
    }
    frame_->show();
    // Started without a file, the user is asked for one at once.
    if (line.file.empty())
        QTimer::singleShot(0, this, &VessorGraphApp::fileOpen);
    return true;
}

void VessorGraphApp::fileNew() {
    doc_.newDocument();
    view_->initialUpdate();
    frame_->setDocumentTitle({});
    showDocumentKind();
}

QString VessorGraphApp::documentName() const {
    if (const auto& source = doc_.seriesSource())
        return QString::fromStdString(source->archive);
    return QFileInfo(dataFile()).fileName();
}

void VessorGraphApp::showDocumentKind() {
    const auto& source = doc_.seriesSource();
    frame_->setWorkbookExport(!source);
    if (!source)
        frame_->showSeriesFacts({});
}

bool VessorGraphApp::OpenDocumentFile(const QString& path) {
    return openFileBytes(QFile::encodeName(path).toStdString());
}

bool VessorGraphApp::openFileBytes(const std::string& path) {
    InputFile input = openInputFile(path);
    const QString problem = fileOpenProblem(path, input);
    if (!problem.isEmpty()) {
        ui_->showMessage(problem.toStdString(), MessageIcon::Warning);
        return false;
    }
    std::error_code error;
    std::string file = std::filesystem::absolute(path, error).lexically_normal().string();
    if (error)
        file = path;
    doc_.openDocument(file, input);
    reportLoad(doc_, file, *ui_, editor_);
    afterLoad(displayName(file));
    return true;
}

void VessorGraphApp::afterLoad(const QString& path) {
    view_->initialUpdate();
    frame_->setDocumentTitle(path);
    showDocumentKind();
    recent_ = withRecentFile(recent_, path);
    saveRecentFiles(settings_, recent_);
    frame_->updateRecentFiles(recent_);
}

void VessorGraphApp::fileOpen() {
    const QString path =
        QFileDialog::getOpenFileName(frame_.get(), QStringLiteral("Open"), QString(),
                                     QStringLiteral("VessorGraph Files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void VessorGraphApp::fileOpenArchive() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    OpenedArchive opened = openArchiveForViewing(viewerArchiveChoice(utilityArchiveSetting()));
    archive::Result<std::vector<archive::LoggerEntry>> loggers;
    if (opened.archive)
        loggers = opened.archive->loggers();
    QApplication::restoreOverrideCursor();
    if (!opened.archive) {
        ui_->showMessage(opened.message, MessageIcon::Warning);
        return;
    }
    const QString name = QString::fromStdString(opened.archive->display());
    if (!loggers.ok()) {
        ui_->showMessage("The archive cannot be read: " + loggers.error, MessageIcon::Warning);
        return;
    }
    if (loggers.value->empty()) {
        ui_->showMessage("The archive " + opened.archive->display() + " holds no downloads yet.",
                         MessageIcon::Information);
        return;
    }
    archive::Archive& source = *opened.archive;
    OpenArchiveDialog dialog(name, std::move(*loggers.value),
                             [this, &source](const ArchiveRequest& request) {
                                 return openArchiveSeries(source, request);
                             },
                             frame_.get());
    connect(&dialog, &OpenArchiveDialog::helpRequested, this, [this] {
        const QString file = QDir(helpDirectory(QCoreApplication::applicationDirPath()))
                                 .filePath(QString::fromLatin1(ARCHIVE_HELP_PAGE));
        if (!QFileInfo::exists(file) || !openUrl_(QUrl::fromLocalFile(file)))
            ui_->showMessage(QStringLiteral("Unable to open the help pages:\n%1")
                                 .arg(QDir::toNativeSeparators(file))
                                 .toStdString(),
                             MessageIcon::Warning);
    });
    dialog.exec();
}

std::string VessorGraphApp::openArchiveSeries(archive::Archive& archive, const ArchiveRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    archive::Result<archive::ArchiveSeries> series = archive.series(request.serial, request.from, request.to);
    QApplication::restoreOverrideCursor();
    if (!series.ok()) {
        std::string why = series.error;
        if (!why.empty())
            why.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(why.front())));
        return why + ".";
    }
    const std::string facts = seriesFacts(*series.value);
    SeriesSource source{seriesLabel(series.value->data.title, request.serial, request.from, request.to),
                        archive.display(), archive::serialText(request.serial)};
    const QString label = QString::fromStdString(source.label);
    if (doc_.openSeries(std::move(*series.value), std::move(source)) != LoadStatus::Ok) {
        fileNew();
        return "The archive's readings cannot be shown: " + doc_.lastError() + ".";
    }
    view_->initialUpdate();
    frame_->setSeriesTitle(label);
    showDocumentKind();
    frame_->showSeriesFacts(QString::fromStdString(facts));
    return {};
}

void VessorGraphApp::openRecentFile(int index) {
    if (index < 0 || index >= recent_.size())
        return;
    const QString path = recent_[index];
    if (!OpenDocumentFile(path)) {
        // A file that has gone leaves the list.
        recent_ = withoutRecentFile(recent_, path);
        saveRecentFiles(settings_, recent_);
        frame_->updateRecentFiles(recent_);
    }
}

void VessorGraphApp::exportToExcel() {
    if (doc_.seriesSource()) {
        ui_->showMessage(WORKBOOK_NEEDS_FILE_TEXT, MessageIcon::Information);
        return;
    }
#ifdef VESSOR_WITH_XLSX
    vessor::xlsx::exportToExcel(frame_.get(), dataFile(), frame_->statusBar());
#endif
}

void VessorGraphApp::exportReport() {
    if (!reportable())
        return;
    // Offered beside the download file, named as --export-report names it in a
    // folder; a series' report after its logger and first reading.
    QString offered;
    if (const auto& series = doc_.seriesSource()) {
        const std::string stem = archive::stretchStem(archive::parseSerial(series->serial).value_or(0), doc_.startTime);
        offered = QDir::home().filePath(QString::fromStdString(stem) + QStringLiteral(".report.pdf"));
    } else {
        const QFileInfo data(dataFile());
        offered = data.dir().filePath(data.completeBaseName() + QStringLiteral(".report.pdf"));
    }
    QString path = QFileDialog::getSaveFileName(frame_.get(), QStringLiteral("Export Report"), offered,
                                                QStringLiteral("PDF Files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    exportReportTo(path);
}

bool VessorGraphApp::reportable() {
    if ((!dataFilePath_.empty() || doc_.seriesSource()) && doc_.rowsRead > 0)
        return true;
    ui_->showMessage("Open the data file before exporting a report.", MessageIcon::Warning);
    return false;
}

bool VessorGraphApp::exportReportTo(const QString& path) {
    if (!reportable())
        return false;
    ReportRequest request;
    if (const auto& series = doc_.seriesSource()) {
        request.fileName = QString::fromStdString(series->archive);
        request.series = true;
    } else {
        request.fileName = QFileInfo(dataFile()).fileName();
    }
    request.locale = frame_->locale();
    // The window's report uses the energy the panel shows.
    request.activationEnergy = frame_->summaryPanel().activationEnergy();
    request.madeAt = clock_->now();
    std::string reason;
    if (!saveReport(*view_, request, QFile::encodeName(path).toStdString(), reason)) {
        ui_->showMessage(QStringLiteral("Cannot write %1: %2.")
                             .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason))
                             .toStdString(),
                         MessageIcon::Stop);
        return false;
    }
    frame_->statusBar()->showMessage(QStringLiteral("Report written to %1").arg(QDir::toNativeSeparators(path)), 5000);
    return true;
}

void VessorGraphApp::helpTopics() {
    const QString file = QDir(helpDirectory(QCoreApplication::applicationDirPath()))
                             .filePath(helpPageFor(view_->helpContextId()));
    if (!QFileInfo::exists(file) || !openUrl_(QUrl::fromLocalFile(file))) {
        ui_->showMessage(QStringLiteral("Unable to open the help pages:\n%1")
                             .arg(QDir::toNativeSeparators(file))
                             .toStdString(),
                         MessageIcon::Warning);
    }
}

QPrinter& VessorGraphApp::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // This program's print jobs are landscape; the system's default stays as it is.
        printer_->setPageOrientation(QPageLayout::Landscape);
        printer_->setDocName(QStringLiteral("VessorGraph"));
    }
    return *printer_;
}

void VessorGraphApp::filePrint() {
    QPrintDialog dialog(&printer(), frame_.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string fileError;
    if (!view_->printTo(printer(), &fileError))
        ui_->showMessage(fileError.empty() ? PRINT_FAILED_TEXT : fileError, MessageIcon::Stop);
}

void VessorGraphApp::filePrintPreview() {
    QPrintPreviewDialog preview(&printer(), frame_.get());
    bool failed = false;
    std::string fileError;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, &failed, &fileError](QPrinter* target) {
                failed = !view_->printTo(*target, &fileError) || failed;
            });
    preview.exec();
    if (failed)
        ui_->showMessage(fileError.empty() ? PRINT_FAILED_TEXT : fileError, MessageIcon::Stop);
}

void VessorGraphApp::filePrintSetup() {
    QPageSetupDialog dialog(&printer(), frame_.get());
    dialog.exec();
}

} // namespace vessor::graph

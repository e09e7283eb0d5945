#include "spreadsheet_export/export_command.h"

#include "logger/safe_save.h"
#include "logger/strings.h"
#include "spreadsheet_export/download_table.h"
#include "spreadsheet_export/export_plan.h"
#include "spreadsheet_export/export_texts.h"
#include "spreadsheet_export/number_formats.h"
#include "spreadsheet_export/workbook_writer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>

namespace vessor::xlsx {

namespace {

QString text(std::string_view t)
{
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString viewerText(ViewerStringId id)
{
    return QString::fromStdString(viewerStringText(id));
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString manyChartsMessage(std::size_t chartCount)
{
    return viewerText(VSTR_TOO_MANY_READINGS).replace(QLatin1String("%d"), QString::number(chartCount));
}

// The times in the user's own short date and time format, with seconds.
NumberFormats userFormats()
{
    const QLocale locale = QLocale::system();
    return userNumberFormats(locale.dateFormat(QLocale::ShortFormat).toStdString(),
                             locale.timeFormat(QLocale::LongFormat).toStdString());
}

// The message for a file the export refuses, and its exit status (the same
// as the viewer's other exports: 3 for an event logger's file).
std::pair<QString, int> refusal(const LoadResult& loaded)
{
    switch (loaded.status) {
    case LoadStatus::CannotOpen:
        return {QString::fromUtf8(vessor::text::UNABLE_TO_OPEN_FILE), 1};
    case LoadStatus::ReadError:
        return {QString::fromStdString(loaded.fileError), 1};
    case LoadStatus::EventFile:
        return {text(texts::EVENT_FILE), 3};
    case LoadStatus::Invalid:
        return {viewerText(VSTR_INVALID_DATA), 2};
    case LoadStatus::TooLargeForSheet:
        return {text(texts::TOO_LARGE_FOR_SHEET), 2};
    case LoadStatus::Ok:
        break;
    }
    return {};
}

class DesktopInteraction : public ExportInteraction {
public:
    explicit DesktopInteraction(QWidget* window) : m_window(window) {}

    void showMessage(const QString& message, Icon icon) override
    {
        const QString title = viewerText(VSTR_APP_TITLE);
        if (icon == Icon::Information)
            QMessageBox::information(m_window, title, message);
        else
            QMessageBox::warning(m_window, title, message);
    }

    QString askSavePath(const QString& proposedPath) override
    {
        QFileDialog dialog(m_window, QStringLiteral("Export to Excel"), proposedPath,
                           QStringLiteral("Excel Workbook (*.xlsx)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("xlsx"));
        dialog.selectFile(proposedPath);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    bool openWorkbook(const QString& path) override
    {
        // xdg-open starts, and so reports success, even when no program takes
        // the file: ask first, so that the user hears the workbook did not open.
        if (desktopHasProgramFor(QString::fromLatin1(XLSX_MIME_TYPE)) == false)
            return false;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }

private:
    QWidget* m_window;
};

} // namespace

std::optional<bool> desktopHasProgramFor(const QString& mimeType)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(mimeType);
    return std::nullopt;
#endif
}

QString proposedWorkbookPath(const QString& dataFilePath)
{
    const QFileInfo info(dataFilePath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xlsx"));
}

void exportToExcel(ExportInteraction& interaction, const QString& dataFilePath, QStatusBar* statusBar)
{
    using Icon = ExportInteraction::Icon;
    if (dataFilePath.isEmpty()) {
        interaction.showMessage(viewerText(VSTR_OPEN_FILE_FIRST), Icon::Warning);
        return;
    }
    // The export reads the file itself: it may have changed since it was opened.
    const LoadResult loaded = loadDownloadFile(localPath(dataFilePath));
    if (loaded.status != LoadStatus::Ok) {
        interaction.showMessage(refusal(loaded).first, Icon::Warning);
        return;
    }
    const ExportPlan plan = planExport(loaded.table.header(), loaded.table.readingCount());
    if (plan.warnsOfChartCount())
        interaction.showMessage(manyChartsMessage(plan.charts.size()), Icon::Information);

    const QString outputPath = interaction.askSavePath(proposedWorkbookPath(dataFilePath));
    if (outputPath.isEmpty())
        return;
    if (isSameFile(localPath(dataFilePath), localPath(outputPath))) {
        interaction.showMessage(text(texts::CANNOT_WRITE_WORKBOOK)
                                    .arg(QDir::toNativeSeparators(outputPath),
                                         QStringLiteral("it is the download file being exported")),
                                Icon::Warning);
        return;
    }

    // The window's own prompt comes back when the export is done.
    const QString shownBefore = statusBar ? statusBar->currentMessage() : QString();
    if (statusBar) {
        statusBar->showMessage(text(texts::PROCESSING_STATUS));
        statusBar->repaint();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string failure = writeWorkbook(loaded.table, plan, userFormats(), localPath(outputPath));
    QApplication::restoreOverrideCursor();
    if (statusBar)
        statusBar->showMessage(shownBefore);

    if (!failure.empty()) {
        interaction.showMessage(
            text(texts::CANNOT_WRITE_WORKBOOK).arg(QDir::toNativeSeparators(outputPath), QString::fromStdString(failure)),
            Icon::Warning);
        return;
    }
    if (!interaction.openWorkbook(outputPath))
        interaction.showMessage(text(texts::CANNOT_OPEN_WORKBOOK).arg(QDir::toNativeSeparators(outputPath)),
                                Icon::Warning);
}

void exportToExcel(QWidget* window, const QString& dataFilePath, QStatusBar* statusBar)
{
    DesktopInteraction interaction(window);
    exportToExcel(interaction, dataFilePath, statusBar);
}

int exportToExcelHeadless(const QString& dataFilePath, const QString& outputPath, QString& message)
{
    const std::string dataFile = localPath(dataFilePath);
    InputFile input = openInputFile(dataFile);
    return exportToExcelHeadless(dataFile, input, localPath(outputPath), message);
}

int exportToExcelHeadless(const std::string& dataFile, InputFile& input, const std::string& outputPath,
                          QString& message)
{
    message.clear();
    const LoadResult loaded = loadDownloadFile(input, dataFile);
    if (loaded.status != LoadStatus::Ok) {
        const auto [reason, status] = refusal(loaded);
        message = QStringLiteral("%1: %2").arg(QFile::decodeName(QByteArray::fromStdString(dataFile)), reason);
        return status;
    }
    const ExportPlan plan = planExport(loaded.table.header(), loaded.table.readingCount());
    const std::string failure = writeWorkbook(loaded.table, plan, userFormats(), outputPath);
    if (!failure.empty()) {
        message = text(texts::CANNOT_WRITE_WORKBOOK)
                      .arg(QFile::decodeName(QByteArray::fromStdString(outputPath)), QString::fromStdString(failure));
        return 1;
    }
    if (plan.warnsOfChartCount())
        message = manyChartsMessage(plan.charts.size());
    return 0;
}

} // namespace vessor::xlsx

// The viewer's application object: owns the settings, the document, the
// path of the file on show and the main window, and runs start-up, file
// opening (menu, recent list, drops, command line) and the commands that
// belong to the application.
#pragma once

#include "command_line.h"
#include "document/vessor_graph_doc.h"
#include "open_archive_dialog.h"
#include "qt_user_interface.h"

#include "logger/clock.h"

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace vessor::graph {

class MainFrame;
class VessorGraphView;

// Opens a file in the desktop's text editor (event files).
class DesktopTextEditor : public TextEditorLauncher {
public:
    bool open(const std::string& path) override;
};

class VessorGraphApp : public QObject {
    Q_OBJECT
public:
    VessorGraphApp();
    ~VessorGraphApp() override;

    // Start-up: the window, and the command line's file or the Open dialog.
    // False when start-up fails and the program should end.
    bool InitInstance(const CommandLine& line);

    // Opens a download file as File Open, the recent list and drops do.
    // False when the file cannot be opened at all (message shown); a file
    // whose content is refused still counts as opened, over an empty chart.
    bool OpenDocumentFile(const QString& path);
    // The same for a name's bytes (the command line's, which need not be UTF-8).
    bool openFileBytes(const std::string& path);
    // The empty document.
    void fileNew();

    void fileOpen();
    // File › Open from Archive…: the archive VESSOR_ARCHIVE, else the
    // utility's setting Archive/URL, else the default names; its loggers in
    // the dialog, the chosen range as the document.
    void fileOpenArchive();
    // A logger's readings over [from, to) of `archive` as the document: empty
    // when shown, else why not (the document on show stays).
    std::string openArchiveSeries(archive::Archive& archive, const ArchiveRequest& request);
    void openRecentFile(int index);
    void exportToExcel();
    // File › Export Report…: asks where, then exportReportTo.
    void exportReport();
    // The report of the file on show, with the panel's activation energy, in
    // the user's locale; failures are shown. False when nothing was written.
    bool exportReportTo(const QString& path);
    // Help Topics and F1: the help page for the kind of logger on show.
    void helpTopics();
    // The standard print dialog, preview and page set-up, on one printer
    // that starts in landscape for this program.
    void filePrint();
    void filePrintPreview();
    void filePrintSetup();
    QPrinter& printer();

    // The path of the download file on show; empty when none.
    const std::string& dataFilePath() const { return dataFilePath_; }
    QString dataFile() const;
    // What is on show, for the summary: the file's name, or for a series
    // the archive's URL (without password).
    QString documentName() const;
    VessorGraphDoc& document() { return doc_; }
    MainFrame& frame() { return *frame_; }
    VessorGraphView& view() { return *view_; }
    QSettings& settings() { return settings_; }
    QStringList recentFiles() const { return recent_; }
    // Tests replace the message boxes and the text editor.
    void setUserInterface(UserInterface& ui) { ui_ = &ui; }
    // Tests stop the clock the reports are made at.
    void setClock(const Clock& clock) { clock_ = &clock; }
    // Tests see which page help opens instead of a browser.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

private:
    void afterLoad(const QString& path);
    // Whether a file is on show to report on; else the user is told.
    bool reportable();
    // The frame's parts that follow the kind of document: file or series.
    void showDocumentKind();

    QSettings settings_;
    std::string dataFilePath_;
    QtUserInterface boxes_;
    UserInterface* ui_;
    DesktopTextEditor editor_;
    VessorGraphDoc doc_;
    VessorGraphView* view_ = nullptr; // owned by the frame
    std::unique_ptr<MainFrame> frame_;
    QStringList recent_;
    std::unique_ptr<QPrinter> printer_;
    std::function<bool(const QUrl&)> openUrl_;
    const Clock* clock_ = &SystemClock::instance();
};

} // namespace vessor::graph

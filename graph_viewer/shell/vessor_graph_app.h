// The viewer's application object: owns the settings, the document, the
// path of the file on show and the main window, and runs start-up, file
// opening (menu, recent list, drops, command line) and the commands that
// belong to the application.
#pragma once

#include "command_line.h"
#include "document/vessor_graph_doc.h"
#include "qt_user_interface.h"

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>

class QPrinter;

namespace vessor::graph {

class CMainFrame;
class CVessorGraphView;

// Opens a file in the desktop's text editor (event files).
class DesktopTextEditor : public TextEditorLauncher {
public:
    bool open(const std::string& path) override;
};

class CVessorGraphApp : public QObject {
    Q_OBJECT
public:
    CVessorGraphApp();
    ~CVessorGraphApp() override;

    // Start-up: the window, and the command line's file or the Open dialog.
    // False when start-up fails and the program should end.
    bool InitInstance(const CommandLine& line);

    // Opens a download file as File Open, the recent list and drops do.
    // False when the file cannot be opened at all (message shown); a file
    // whose content is refused still counts as opened, over an empty chart.
    bool OpenDocumentFile(const QString& path);
    // The empty document.
    void OnFileNew();

    void OnFileOpen();
    void OnRecentFile(int index);
    void OnExportToExcel();
    // Help Topics and F1: the help page for the kind of logger on show.
    void OnHelpTopics();
    // The standard print dialog, preview and page set-up, on one printer
    // that starts in landscape for this program.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    QPrinter& printer();

    // The path of the download file on show; empty when none.
    const std::string& dataFilePath() const { return dataFilePath_; }
    QString dataFile() const;
    CVessorGraphDoc& document() { return doc_; }
    CMainFrame& frame() { return *frame_; }
    CVessorGraphView& view() { return *view_; }
    QSettings& settings() { return settings_; }
    QStringList recentFiles() const { return recent_; }
    // Tests replace the message boxes and the text editor.
    void setUserInterface(UserInterface& ui) { ui_ = &ui; }
    // Tests see which page help opens instead of a browser.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

private:
    void afterLoad(const QString& path);

    QSettings settings_;
    std::string dataFilePath_;
    QtUserInterface boxes_;
    UserInterface* ui_;
    DesktopTextEditor editor_;
    CVessorGraphDoc doc_;
    CVessorGraphView* view_ = nullptr; // owned by the frame
    std::unique_ptr<CMainFrame> frame_;
    QStringList recent_;
    std::unique_ptr<QPrinter> printer_;
    std::function<bool(const QUrl&)> openUrl_;
};

} // namespace vessor::graph

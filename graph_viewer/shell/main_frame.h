// The viewer's main window: menus, toolbar, status bar with prompts, the
// chart view, file drops and the About box.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QUrl>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;

namespace vessor::graph {

// Why Export to Excel is off while an archive's series is on show.
inline constexpr const char* WORKBOOK_NEEDS_FILE_TEXT =
    "Export to Excel takes a download file, and an archive's readings are not one. Write them to "
    "download files with \"vessor-logger archive export\", open those and export them.";

class SummaryPanel;
class VessorGraphApp;
class VessorGraphView;

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    MainFrame(VessorGraphApp& app, VessorGraphView* view);

    // The action of a menu or toolbar command (ids in command_ids.h); null
    // for an unknown id. Later parts connect zoom, print and help here.
    QAction* command(int id) const { return commands_.value(id); }
    QMenu* viewMenu() const { return viewMenu_; }
    QMenu* traceMenu() const { return traceMenu_; }
    QToolBar* toolBar() const { return toolBar_; }
    VessorGraphView& view() const { return *view_; }
    // View › Summary: the dock beside the chart and the panel in it.
    QDockWidget* summaryDock() const { return summaryDock_; }
    SummaryPanel& summaryPanel() const { return *summaryPanel_; }

    // "COLDROOM.txt - Vessor USB Graph"; the empty document is "Untitled".
    void setDocumentTitle(const QString& filePath);
    // "COLD ROOM 2 — archive, 2026-03-01 to 2026-04-01 - Vessor USB Graph".
    void setSeriesTitle(const QString& label);
    // The status bar's note on the archive's series on show (readings, gaps,
    // readings left out or moved); empty hides it.
    void showSeriesFacts(const QString& facts);
    QLabel* seriesFactsLabel() const { return seriesFacts_; }
    // Export to Excel reads a download file: off, with the reason, for a series.
    void setWorkbookExport(bool available);
    void updateRecentFiles(const QStringList& files);
    void showAbout();
    void openDroppedFiles(const QList<QUrl>& urls);

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* addCommand(int id, const QString& text, const QString& prompt,
                        const QString& toolTip = {});
    void buildMenus();
    void buildToolBar();
    void buildSummaryDock();

    VessorGraphApp& app_;
    VessorGraphView* view_;
    QHash<int, QAction*> commands_;
    QMenu* viewMenu_ = nullptr;
    QMenu* traceMenu_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QList<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    QDockWidget* summaryDock_ = nullptr;
    SummaryPanel* summaryPanel_ = nullptr;
    QLabel* seriesFacts_ = nullptr;
};

} // namespace vessor::graph

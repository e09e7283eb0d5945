// The utility's one fixed-size window: the menu bar, and the 25 pages of the
// page table in a stack of which one is shown at a time.
#pragma once

#include <QMainWindow>

#include <array>

#include "config_utility/shell/desktop.h"
#include "config_utility/shell/page.h"

class QAction;
class QStackedWidget;

namespace vessor {

// Command identifiers of the menus and the main menu's buttons.
enum CommandId : int {
    CMD_SET_UP = 1101,
    CMD_STOP_AND_DOWNLOAD = 1102,
    CMD_VIEW_PREVIOUS_GRAPH = 1103,
    CMD_ARCHIVE = 1104,
    CMD_CURRENT_STATUS = 32775,
    CMD_EXIT = 57665,
    CMD_HELP_TOPICS = 57667,
    CMD_ABOUT = 57664,
};

class UtilityWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the menus and all 25 pages, then gives every page its first
    // update; page 0 (the main menu) is shown.
    UtilityWindow(LoggerSession& session, SampleBuffer& samples, UserInterface& ui, Desktop& desktop,
                  const Clock& clock, const LocaleFormat& locale, QWidget* parent = nullptr);
    ~UtilityWindow() override;

    // Shows page `index` and has every page re-read theConfig. An index
    // outside the table, or the page already shown, does nothing. Returns the
    // page shown before, or NO_PAGE (-1) for an index outside the table.
    int showPage(int index);
    int currentPage() const;
    Page* page(int index) const;
    // The page most recently switched to (the main menu at start-up).
    int lastShownPage() const { return lastShown_; }

    QAction* action(CommandId id) const;
    PageContext& context() { return context_; }

    // The commands (menu items and main menu buttons).
    void setUp();
    void stopAndDownload();
    void viewPreviousGraph();
    void currentStatus();
    // Options › Archive…: where downloads are also stored.
    void archiveSettings();
    void about();
    void helpTopics();

private:
    void buildMenus();
    void buildPages();
    void updateCommandStates();

    PageContext context_;
    QStackedWidget* stack_ = nullptr;
    std::array<Page*, PAGE_COUNT> pages_{};
    int lastShown_ = PAGE_MAIN_MENU;
    QAction* setUp_ = nullptr;
    QAction* stop_ = nullptr;
    QAction* viewGraph_ = nullptr;
    QAction* status_ = nullptr;
    QAction* archive_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* help_ = nullptr;
    QAction* about_ = nullptr;
};

// The open-file dialog of View Previous Graph.
FileDialogRequest previousGraphRequest();

} // namespace vessor

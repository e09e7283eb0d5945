// The page framework of the configuration utility.
//
// The utility shows one page at a time in its fixed-size window: the main
// menu (0), the set-up pages, the stop page (5) and the status page (6), 25 in
// all, created once at start-up in page-table order. A page keeps no state of
// its own beyond theConfig: whenever any page is shown, every page (hidden
// ones too) re-reads theConfig in updatePage().
#pragma once

#include <QWidget>

class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QVBoxLayout;

#include <functional>
#include <optional>
#include <string>
#include <initializer_list>

#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"
#include "logger/session.h"
#include "logger/user_interface.h"

namespace vessor {

class Desktop;

// Page numbers of the page table.
enum PageNumber : int {
    PAGE_MAIN_MENU = 0,
    PAGE_SETUP_NAME = 1,
    PAGE_SETUP_ALARMS = 2,
    PAGE_SETUP_START = 3,
    PAGE_SETUP_SUMMARY = 4,
    PAGE_STOP = 5,
    PAGE_STATUS = 6,
    PAGE_RH_ALARMS = 7,
    PAGE_VOLTAGE_NAME = 8,
    PAGE_VOLTAGE_CAL = 9,
    PAGE_VOLTAGE_ALARMS = 10,
    PAGE_LITE_NAME = 11,
    PAGE_LITE_ALARMS = 12,
    PAGE_CO_NAME = 13,
    PAGE_CO_DISCLAIMER = 14,
    PAGE_CO_ALARMS = 15,
    PAGE_TC_NAME = 16,
    PAGE_LCD = 17,
    PAGE_PUSH_TO_START = 18,
    PAGE_STORAGE_MODE = 19,
    PAGE_PRO_DISCLAIMER = 20,
    PAGE_EV_NAME = 21,
    PAGE_EV_TRIGGER_MODE = 22,
    PAGE_EV_VOLTAGE_TRIGGER = 23,
    PAGE_EV_COUNT_PERIOD = 24,
    PAGE_COUNT = 25,
};

// Every page has this size; the main window fits it exactly.
inline constexpr int PAGE_WIDTH = 600;
inline constexpr int PAGE_HEIGHT = 400;

// Left-panel pictures (Qt resources), one per kind of page, 160 x 400 px.
inline constexpr const char* PICTURE_MAIN_MENU = ":/vessor-usb/panel-main.png";
inline constexpr const char* PICTURE_STATUS = ":/vessor-usb/panel-status.png";
inline constexpr const char* PICTURE_SETUP = ":/vessor-usb/panel-setup.png";
inline constexpr const char* PICTURE_ALARMS = ":/vessor-usb/panel-alarms.png";
inline constexpr const char* PICTURE_START = ":/vessor-usb/panel-start.png";
inline constexpr const char* PICTURE_DISCLAIMER = ":/vessor-usb/panel-disclaimer.png";
inline constexpr const char* PICTURE_EVENT = ":/vessor-usb/panel-event.png";
inline constexpr const char* PICTURE_DOWNLOAD = ":/vessor-usb/panel-download.png";
inline constexpr int PICTURE_WIDTH = 160;

// What every page can reach. One instance, owned by the application for the
// whole run; tests build their own around a simulated logger and scripted
// seams.
struct PageContext {
    PageContext(LoggerSession& session_, SampleBuffer& samples_, UserInterface& ui_, Desktop& desktop_,
                const Clock& clock_, const LocaleFormat& locale_)
        : session(session_), config(session_.config()), samples(samples_), ui(ui_), desktop(desktop_),
          clock(clock_), locale(locale_)
    {
    }
    PageContext(const PageContext&) = delete;
    PageContext& operator=(const PageContext&) = delete;

    LoggerSession& session;    // reads and writes theConfig on the logger
    LoggerConfig& config;      // theConfig
    SampleBuffer& samples;     // the raw readings of the last data read
    UserInterface& ui;         // messages and questions
    Desktop& desktop;          // file dialogs, viewer, editor, help, settings
    const Clock& clock;        // "now"
    const LocaleFormat& locale; // the user's date and time formats

    // --archive URL of the command line; the setting and VESSOR_ARCHIVE
    // decide when it is absent.
    std::optional<std::string> archiveOption;

    // The start pages' live-clock flags: set by the page whose Next leads to
    // the start page (3) or the push-button start page (18), cleared there.
    bool liveStartClock = false;
    bool livePushClock = false;

    // Installed by the application; tests may install a recorder.
    std::function<void(int)> pageSwitcher;

    // Shows page `index`: above 24 does nothing, the page already shown does
    // nothing, otherwise it switches and every page re-reads theConfig.
    void showPage(int index) const
    {
        if (pageSwitcher)
            pageSwitcher(index);
    }
};

class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(PageContext& context, QWidget* parent = nullptr);

    // Re-reads everything the page shows from theConfig and the shared
    // flags. Runs once at start-up and after every page switch, for every
    // page, hidden or not; it must not touch the device.
    virtual void updatePage() {}

    // Puts the keyboard focus where a user starts on this page: its first
    // control that takes focus (the chosen one of a radio group), else its
    // default button, else its first button.
    void focusFirstControl();

protected:
    PageContext& context() const { return context_; }
    LoggerConfig& config() const { return context_.config; }
    UserInterface& ui() const { return context_.ui; }
    Desktop& desktop() const { return context_.desktop; }
    void showPage(int index) const { context_.showPage(index); }
    // An information page: `picture` down the left, and beside it the column
    // this returns, for the heading, the values and the buttons.
    QVBoxLayout* infoColumn(const char* picture);
    // A sunken panel of label and value lines, added to `column`.
    QGridLayout* addValuePanel(QVBoxLayout* column, int lineSpacing);
    // One line of a value panel: the label right-aligned, its value beside it.
    static void addValueLine(QGridLayout* panel, int line, QLabel* label, QLabel* value);
    // The buttons along the bottom of an information page, right-aligned.
    static QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

    // Return and Enter work as in a dialog: a focused push button presses
    // itself, anywhere else they press the page's default button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    PageContext& context_;
};

// A page that is not built yet: a title and a way back to the main menu.
class PlaceholderPage : public Page {
    Q_OBJECT
public:
    PlaceholderPage(int pageNumber, PageContext& context, QWidget* parent = nullptr);
};

} // namespace vessor

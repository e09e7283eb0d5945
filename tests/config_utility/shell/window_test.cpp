// The window's page switching, menu enabling, viewer launch, help and the
// status page, headless.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include "config_utility/shell/main_menu_page.h"
#include "config_utility/shell/qt_desktop.h"
#include "config_utility/shell/qt_locale_format.h"
#include "config_utility/shell/status_page.h"
#include "config_utility/shell/utility_window.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/page_sequence.h"
#include "config_utility/wizard/wizard_page.h"
#include "logger/strings.h"

namespace vessor {
namespace {

struct Window {
    explicit Window(int model) : f(model), window(f.session, f.samples, f.ui, f.desktop, f.clock, f.locale) {}
    test::SimFixture f;
    UtilityWindow window;

    StatusPage* statusPage() const { return static_cast<StatusPage*>(window.page(PAGE_STATUS)); }
};

TEST(ShowPage, SwitchesOnceAndRefreshesEveryPageHiddenOnesToo)
{
    Window w(3);
    ASSERT_TRUE(w.f.session.refresh());
    EXPECT_EQ(w.window.showPage(PAGE_STATUS), PAGE_MAIN_MENU);
    EXPECT_EQ(w.statusPage()->valueText(0), QStringLiteral("ZR-TH"));

    // The page already shown: no switch, so no page re-reads theConfig.
    w.f.config.setLoggerName("Renamed");
    EXPECT_EQ(w.window.showPage(PAGE_STATUS), PAGE_STATUS);
    EXPECT_EQ(w.statusPage()->valueText(0), QStringLiteral("ZR-TH"));

    // Index 25 and beyond: nothing at all.
    EXPECT_EQ(w.window.showPage(25), NO_PAGE);
    EXPECT_EQ(w.window.showPage(-1), NO_PAGE);
    EXPECT_EQ(w.window.currentPage(), PAGE_STATUS);
    EXPECT_EQ(w.statusPage()->valueText(0), QStringLiteral("ZR-TH"));

    // A real switch refreshes the now hidden status page as well.
    EXPECT_EQ(w.window.showPage(PAGE_MAIN_MENU), PAGE_STATUS);
    EXPECT_EQ(w.statusPage()->valueText(0), QStringLiteral("Renamed"));
    EXPECT_EQ(w.window.lastShownPage(), PAGE_MAIN_MENU);
}

TEST(ShowPage, EveryPageExistsAtTheWindowsFixedSize)
{
    Window w(3);
    for (int i = 0; i < PAGE_COUNT; ++i) {
        ASSERT_NE(w.window.page(i), nullptr) << i;
        EXPECT_EQ(w.window.page(i)->size(), QSize(PAGE_WIDTH, PAGE_HEIGHT)) << i;
    }
    EXPECT_EQ(w.window.page(PAGE_COUNT), nullptr);
    EXPECT_EQ(w.window.minimumSize(), w.window.maximumSize());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Vessor USB"));
}

TEST(Menus, LoggerCommandsWorkOnlyFromTheMainMenu)
{
    Window w(3);
    const CommandId logger[] = {CMD_SET_UP, CMD_STOP_AND_DOWNLOAD, CMD_VIEW_PREVIOUS_GRAPH, CMD_CURRENT_STATUS};
    const CommandId always[] = {CMD_ARCHIVE, CMD_EXIT, CMD_HELP_TOPICS, CMD_ABOUT};
    for (int page : {PAGE_MAIN_MENU, PAGE_STATUS, PAGE_SETUP_NAME, PAGE_STOP, PAGE_EV_COUNT_PERIOD,
                     PAGE_MAIN_MENU}) {
        w.window.showPage(page);
        for (CommandId id : logger)
            EXPECT_EQ(w.window.action(id)->isEnabled(), page == PAGE_MAIN_MENU) << id << " on " << page;
        for (CommandId id : always)
            EXPECT_TRUE(w.window.action(id)->isEnabled()) << id << " on " << page;
    }

    // The menu bar: Options then Help, with the commands in order.
    const QList<QAction*> menus = w.window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Options"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Help"));
    QStringList options;
    for (QAction* a : menus[0]->menu()->actions())
        options << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(options, QStringList({"&Set up and Start...", "Stop and &Download...",
                                    "&View Previous Graph...", "&Current Status...", "-", "&Archive...", "-",
                                    "E&xit"}));
    QStringList help;
    for (QAction* a : menus[1]->menu()->actions())
        help << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(help, QStringList({"&Help Topics", "-", "&About Vessor USB..."}));
}

TEST(Menus, PictureButtonsRunTheSameCommands)
{
    Window w(3);
    auto* menu = static_cast<MainMenuPage*>(w.window.page(PAGE_MAIN_MENU));
    w.f.desktop.openAnswer = QStringLiteral("/data/a.txt");
    menu->viewGraphButton()->click();
    EXPECT_EQ(w.f.desktop.viewerPaths, QStringList{"/data/a.txt"});
    menu->setUpButton()->click();
    EXPECT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
    // Elsewhere the commands are off, even when called directly.
    w.window.currentStatus();
    EXPECT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
}

TEST(ViewPreviousGraph, StartsTheViewerOnTheChosenFileOrSaysItCannot)
{
    Window w(3);
    w.f.desktop.setSetting(QString::fromLatin1(SETTINGS_SECTION), QString::fromLatin1(SAVED_DIRECTORY_KEY),
                           QStringLiteral("/home/user/logs"));
    w.f.desktop.openAnswer.clear();
    w.window.action(CMD_VIEW_PREVIOUS_GRAPH)->trigger();
    ASSERT_EQ(w.f.desktop.openRequests.size(), 1u);
    const FileDialogRequest& request = w.f.desktop.openRequests[0];
    EXPECT_EQ(request.filters, QStringList({"VessorUSB Download File (*.txt)", "All Files (*)"}));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    EXPECT_TRUE(request.fileName.isEmpty());
    EXPECT_EQ(request.directory, QStringLiteral("/home/user/logs"));
    EXPECT_TRUE(w.f.desktop.viewerPaths.isEmpty());  // cancelled

    w.f.desktop.openAnswer = QStringLiteral("/home/user/my logs/cold \"room\".txt");
    w.f.desktop.viewerStarts = false;
    w.window.action(CMD_VIEW_PREVIOUS_GRAPH)->trigger();
    EXPECT_EQ(w.f.desktop.viewerPaths, QStringList{w.f.desktop.openAnswer});
    ASSERT_EQ(w.f.ui.texts().size(), 1u);
    const std::string message = w.f.ui.texts()[0];
    EXPECT_EQ(message, "Unable to locate and load the Vessor Graph program.\n"
                       "Ensure that the vessor-graph program is installed in the same directory\n"
                       "as vessor-usb");
}

TEST(ViewPreviousGraph, PathWithSpacesAndQuotesArrivesAsOneArgument)
{
    QTemporaryDir programDir;
    ASSERT_TRUE(programDir.isValid());
    const QString argsFile = programDir.filePath(QStringLiteral("args.out"));
    // A stand-in viewer that records its arguments and working folder.
    const QString viewer = programDir.filePath(QStringLiteral("vessor-graph"));
    {
        QFile script(viewer);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n"
                     "{ echo \"$#\"; pwd; printf '%s\\n' \"$@\"; } > \"$0.tmp\" && mv \"$0.tmp\" \"" +
                     argsFile.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QtDesktop desktop(programDir.path(), QStringLiteral("Vessor USB test"));
    const QString path = QStringLiteral("/tmp/My Logs/cold \"room\" 'b' $HOME;x.txt");
    ASSERT_TRUE(desktop.startViewer(path));

    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(argsFile) && timer.elapsed() < 5000)
        QThread::msleep(10);
    QFile out(argsFile);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(out.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("1"));
    EXPECT_EQ(QFileInfo(lines[1]).canonicalFilePath(), QFileInfo(programDir.path()).canonicalFilePath());
    EXPECT_EQ(lines[2], path);

    QtDesktop missing(programDir.filePath(QStringLiteral("nowhere")), QStringLiteral("Vessor USB test"));
    EXPECT_FALSE(missing.startViewer(path));
}

TEST(Help, TopicsOpenTheContentsPageOrSayWhyNot)
{
    Window w(3);
    w.window.showPage(PAGE_STATUS);
    w.window.action(CMD_HELP_TOPICS)->trigger();
    EXPECT_EQ(w.f.desktop.helpPages, QStringList{"index.html"});
    EXPECT_TRUE(w.f.ui.texts().empty());
    w.f.desktop.helpOpens = false;
    w.window.helpTopics();
    EXPECT_EQ(w.f.ui.texts().size(), 1u);
}

TEST(StatusPage, CurrentStatusShowsTheLoggerAndRefreshRereadsIt)
{
    Window w(16);
    w.window.action(CMD_CURRENT_STATUS)->trigger();
    ASSERT_EQ(w.window.currentPage(), PAGE_STATUS);
    StatusPage* page = w.statusPage();
    EXPECT_EQ(page->headingText(), QStringLiteral("Current Status of the ZR-TH-DX Data Logger:-"));
    EXPECT_EQ(page->labelText(1), QStringLiteral("Status :"));
    EXPECT_EQ(page->valueText(1), QStringLiteral("Stopped"));

    w.f.editBlock([](LoggerConfig& c) {
        c.setStatusFlags(STATUS_LOGGING);
        c.setReadingCount(7);
        c.setLoggerName("Freezer 2");
    });
    page->refreshButton()->click();
    EXPECT_EQ(page->valueText(0), QStringLiteral("Freezer 2"));
    EXPECT_EQ(page->valueText(1), QStringLiteral("Logging"));
    EXPECT_EQ(page->valueText(4), QStringLiteral("7"));

    // A refresh that fails shows its message and leaves the page as it was.
    sim::SimFaults faults;
    faults.noDevice = true;
    w.f.usb->setFaults(faults);
    page->refreshButton()->click();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{messageText(MSG_NO_LOGGER)});
    EXPECT_EQ(page->valueText(0), QStringLiteral("Freezer 2"));
    EXPECT_EQ(w.f.config.loggerName(), "Freezer 2");

    page->okButton()->click();
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
}

// Keyboard use: each page opens with the focus on its first control, not on
// the button row, and Return presses the page's default button unless a
// button has the focus. A ZR-TH goes from the name box to a started logger
// and back to the main menu on Return alone.
TEST(Keyboard, PagesOpenOnTheirFirstControlAndReturnPressesTheDefaultButton)
{
    Window w(3);
    w.window.show();
    w.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    auto focusIn = [&w](int page) {
        QWidget* focus = QApplication::focusWidget();
        return focus && w.window.page(page)->isAncestorOf(focus) ? focus : nullptr;
    };

    w.window.setUp();
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(focusIn(PAGE_SETUP_NAME)));
    std::vector<int> visited;
    for (int step = 0; step < 5 && w.window.currentPage() != PAGE_MAIN_MENU; ++step) {
        QWidget* focus = focusIn(w.window.currentPage());
        ASSERT_NE(focus, nullptr) << "page " << w.window.currentPage();
        EXPECT_FALSE(focus->inherits("QPushButton") && w.window.currentPage() != PAGE_SETUP_SUMMARY)
            << "page " << w.window.currentPage();
        QTest::keyClick(focus, Qt::Key_Return);
        visited.push_back(w.window.currentPage());
    }
    EXPECT_EQ(visited, (std::vector<int>{PAGE_SETUP_ALARMS, PAGE_RH_ALARMS, PAGE_SETUP_START,
                                         PAGE_SETUP_SUMMARY, PAGE_MAIN_MENU}));
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{});
    EXPECT_TRUE(w.f.loggerBlock().isLogging());

    // A focused button presses itself: Return on Cancel leaves the wizard.
    w.f.ui.script({Answer::Yes});
    w.window.setUp();
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
    auto* page = static_cast<WizardPage*>(w.window.page(PAGE_SETUP_NAME));
    page->cancelButton()->setFocus();
    QTest::keyClick(page->cancelButton(), Qt::Key_Return);
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);

    // The status page opens on OK, which Return presses.
    w.window.currentStatus();
    ASSERT_EQ(w.window.currentPage(), PAGE_STATUS);
    QWidget* focus = focusIn(PAGE_STATUS);
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(static_cast<QPushButton*>(focus)->text(), QStringLiteral("OK"));
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
}

TEST(StatusPage, IncompatibleLoggerIsRefused)
{
    Window w(3);
    w.f.editBlock([](LoggerConfig& c) { c.setModelType(42); });
    w.window.currentStatus();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{messageText(MSG_INCOMPATIBLE)});
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
}

} // namespace
} // namespace vessor

namespace vessor {
namespace {

// Status times are to the second and dates carry the full year, in the
// user's own order and separators.
TEST(LocaleFormat, UserFormatsKeepSecondsAndTheFullYear)
{
    const CalendarTime t = makeCalendarTime(2024, 3, 5, 14, 7, 9);
    const QtLocaleFormat german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.formatDate(t), "05.03.2024");
    EXPECT_EQ(german.formatTime(t), "14:07:09");
    const QtLocaleFormat american(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(american.formatDate(t), "3/5/2024");
    EXPECT_NE(american.formatTime(t).find("2:07:09"), std::string::npos) << american.formatTime(t);
}

} // namespace
} // namespace vessor

#include "config_utility/shell/utility_window.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenuBar>
#include <QStackedWidget>

#include "config_utility/download/stop_page_factory.h"
#include "config_utility/shell/about_dialog.h"
#include "config_utility/shell/archive_dialog.h"
#include "config_utility/shell/desktop.h"
#include "config_utility/shell/device_checks.h"
#include "config_utility/shell/main_menu_page.h"
#include "config_utility/shell/status_page.h"
#include "config_utility/wizard/page_sequence.h"
#include "config_utility/wizard/wizard_factory.h"
#include "logger/strings.h"

namespace vessor {

FileDialogRequest previousGraphRequest()
{
    FileDialogRequest request;
    request.filters = {QStringLiteral("VessorUSB Download File (*.txt)"),
                       QStringLiteral("All Files (*)")};
    request.defaultSuffix = QStringLiteral("txt");
    return request;
}

UtilityWindow::UtilityWindow(LoggerSession& session, SampleBuffer& samples, UserInterface& ui,
                             Desktop& desktop, const Clock& clock, const LocaleFormat& locale,
                             QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      context_{session, samples, ui, desktop, clock, locale}
{
    setWindowTitle(QStringLiteral("Vessor USB"));
    setWindowIcon(QIcon(QStringLiteral(":/vessor-usb/vessor-usb.png")));
    context_.pageSwitcher = [this](int index) { showPage(index); };

    buildMenus();
    buildPages();
    setCentralWidget(stack_);
    // The window fits the pages exactly; it cannot be resized or maximised.
    setFixedSize(PAGE_WIDTH, PAGE_HEIGHT + menuBar()->sizeHint().height());
    updateCommandStates();
}

UtilityWindow::~UtilityWindow()
{
    // Pages may still switch pages while they are torn down.
    context_.pageSwitcher = nullptr;
}

void UtilityWindow::buildMenus()
{
    auto makeAction = [this](const QString& text, CommandId id, void (UtilityWindow::*handler)()) {
        auto* action = new QAction(text, this);
        action->setData(int(id));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    setUp_ = makeAction(tr("&Set up and Start..."), CMD_SET_UP, &UtilityWindow::setUp);
    stop_ = makeAction(tr("Stop and &Download..."), CMD_STOP_AND_DOWNLOAD, &UtilityWindow::stopAndDownload);
    viewGraph_ = makeAction(tr("&View Previous Graph..."), CMD_VIEW_PREVIOUS_GRAPH,
                            &UtilityWindow::viewPreviousGraph);
    status_ = makeAction(tr("&Current Status..."), CMD_CURRENT_STATUS, &UtilityWindow::currentStatus);
    archive_ = makeAction(tr("&Archive..."), CMD_ARCHIVE, &UtilityWindow::archiveSettings);
    exit_ = new QAction(tr("E&xit"), this);
    exit_->setData(int(CMD_EXIT));
    connect(exit_, &QAction::triggered, this, &QWidget::close);
    help_ = makeAction(tr("&Help Topics"), CMD_HELP_TOPICS, &UtilityWindow::helpTopics);
    help_->setShortcut(QKeySequence::HelpContents);
    help_->setShortcutContext(Qt::ApplicationShortcut);
    about_ = makeAction(tr("&About Vessor USB..."), CMD_ABOUT, &UtilityWindow::about);

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    options->addAction(setUp_);
    options->addAction(stop_);
    options->addAction(viewGraph_);
    options->addAction(status_);
    options->addSeparator();
    options->addAction(archive_);
    options->addSeparator();
    options->addAction(exit_);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(help_);
    help->addSeparator();
    help->addAction(about_);
}

void UtilityWindow::buildPages()
{
    stack_ = new QStackedWidget(this);
    for (int index = 0; index < PAGE_COUNT; ++index) {
        Page* page = nullptr;
        switch (index) {
        case PAGE_MAIN_MENU:
            page = new MainMenuPage(context_, setUp_, stop_, viewGraph_, stack_);
            break;
        case PAGE_STOP:
            page = createStopPage(context_, stack_);
            break;
        case PAGE_STATUS:
            page = new StatusPage(context_, stack_);
            break;
        default:
            page = createWizardPage(index, context_, stack_);
            break;
        }
        if (!page)
            page = new PlaceholderPage(index, context_, stack_);
        pages_[index] = page;
        stack_->addWidget(page);
    }
    stack_->setCurrentIndex(PAGE_MAIN_MENU);
    // Each page's first update, in table order, from the still empty theConfig.
    for (Page* page : pages_)
        page->updatePage();
}

int UtilityWindow::showPage(int index)
{
    if (index < 0 || index >= PAGE_COUNT)
        return NO_PAGE;
    const int current = stack_->currentIndex();
    if (index == current)
        return current;
    lastShown_ = index;
    stack_->setCurrentIndex(index);
    updateCommandStates();
    for (Page* page : pages_)
        page->updatePage();
    // The new page starts where a keyboard user would, not on the button
    // row of the page left behind.
    pages_[index]->focusFirstControl();
    return current;
}

int UtilityWindow::currentPage() const
{
    return stack_->currentIndex();
}

Page* UtilityWindow::page(int index) const
{
    return index >= 0 && index < PAGE_COUNT ? pages_[index] : nullptr;
}

QAction* UtilityWindow::action(CommandId id) const
{
    for (QAction* a : {setUp_, stop_, viewGraph_, status_, archive_, exit_, help_, about_})
        if (a->data().toInt() == int(id))
            return a;
    return nullptr;
}

// The logger commands belong to the main menu page; elsewhere they are
// greyed out. Archive, Exit, Help Topics and About stay available.
void UtilityWindow::updateCommandStates()
{
    const bool onMainMenu = currentPage() == PAGE_MAIN_MENU;
    for (QAction* a : {setUp_, stop_, viewGraph_, status_})
        a->setEnabled(onMainMenu);
}

void UtilityWindow::setUp()
{
    if (currentPage() != PAGE_MAIN_MENU)
        return;
    const int entry = runSetUpChecks(context_.session, context_.ui, context_.clock.now());
    if (entry != NO_PAGE)
        showPage(entry);
}

void UtilityWindow::stopAndDownload()
{
    if (currentPage() != PAGE_MAIN_MENU)
        return;
    if (runStopChecks(context_.session, context_.ui, context_.clock.now()))
        showPage(PAGE_STOP);
}

void UtilityWindow::viewPreviousGraph()
{
    if (currentPage() != PAGE_MAIN_MENU)
        return;
    FileDialogRequest request = previousGraphRequest();
    request.directory = context_.desktop.setting(QString::fromLatin1(SETTINGS_SECTION),
                                                 QString::fromLatin1(SAVED_DIRECTORY_KEY))
                            .toString();
    const QString path = context_.desktop.openFileName(request);
    if (path.isEmpty())
        return;
    if (!context_.desktop.startViewer(path)) {
        context_.ui.showMessage(messageText(MSG_GRAPH_NOT_FOUND));
    }
}

void UtilityWindow::currentStatus()
{
    if (currentPage() != PAGE_MAIN_MENU)
        return;
    if (runStatusChecks(context_.session, context_.ui))
        showPage(PAGE_STATUS);
}

void UtilityWindow::archiveSettings()
{
    ArchiveDialog dialog(context_.desktop, context_.ui, context_.archiveOption, this);
    dialog.exec();
}

void UtilityWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}

void UtilityWindow::helpTopics()
{
    if (!context_.desktop.openHelp(QStringLiteral("index.html")))
        context_.ui.showMessage(tr("The help pages could not be opened.\n"
                                   "Ensure that the help folder is installed beside vessor-usb.")
                                    .toStdString(),
                                MessageIcon::Warning);
}

} // namespace vessor

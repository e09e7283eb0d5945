#include "main_frame.h"

#include "logger/product_info.h"

#include "command_ids.h"
#include "summary/summary_panel.h"
#include "toolbar_icons.h"
#include "vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>

namespace vessor::graph {

namespace {

const QString IDLE_PROMPT = QStringLiteral("For Help, press F1");
const QString PROGRAM_TITLE = QStringLiteral("Vessor USB Graph");

} // namespace

MainFrame::MainFrame(VessorGraphApp& app, VessorGraphView* view) : app_(app), view_(view) {
    setWindowIcon(toolIcon(ToolIcon::Program));
    setCentralWidget(view);
    buildMenus();
    buildToolBar();
    buildSummaryDock();
    seriesFacts_ = new QLabel(this);
    seriesFacts_->setObjectName(QStringLiteral("seriesFacts"));
    seriesFacts_->hide();
    statusBar()->addPermanentWidget(seriesFacts_);
    statusBar()->showMessage(IDLE_PROMPT);
    setAcceptDrops(true);
    resize(900, 640);
    setDocumentTitle({});
}

QAction* MainFrame::addCommand(int id, const QString& text, const QString& prompt,
                                const QString& toolTip) {
    auto* action = new QAction(text, this);
    action->setStatusTip(prompt);
    action->setToolTip(toolTip.isEmpty() ? prompt : toolTip);
    action->setData(id);
    commands_.insert(id, action);
    return action;
}

void MainFrame::buildMenus() {
    using namespace command;
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open = addCommand(FILE_OPEN, QStringLiteral("&Open..."),
                               QStringLiteral("Open an existing document"), QStringLiteral("Open"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setIcon(toolIcon(ToolIcon::Open));
    connect(open, &QAction::triggered, &app_, &VessorGraphApp::fileOpen);
    file->addAction(open);
    QAction* fromArchive =
        addCommand(FILE_OPEN_ARCHIVE, QStringLiteral("Open from &Archive..."),
                   QStringLiteral("Open a logger's readings from the archive of downloads"),
                   QStringLiteral("Open from Archive"));
    connect(fromArchive, &QAction::triggered, &app_, &VessorGraphApp::fileOpenArchive);
    file->addAction(fromArchive);
    file->addSeparator();
    QAction* print =
        addCommand(FILE_PRINT, QStringLiteral("&Print..."),
                   QStringLiteral("Print the active document"), QStringLiteral("Print"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setIcon(toolIcon(ToolIcon::Print));
    connect(print, &QAction::triggered, &app_, &VessorGraphApp::filePrint);
    file->addAction(print);
    QAction* preview =
        addCommand(FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
                   QStringLiteral("Display full pages"), QStringLiteral("Print Preview"));
    connect(preview, &QAction::triggered, &app_, &VessorGraphApp::filePrintPreview);
    file->addAction(preview);
    QAction* setup = addCommand(FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."),
                                QStringLiteral("Change the printer and printing options"),
                                QStringLiteral("Print Setup"));
    connect(setup, &QAction::triggered, &app_, &VessorGraphApp::filePrintSetup);
    file->addAction(setup);
    file->addSeparator();
    QAction* excel = addCommand(EXPORT_TO_EXCEL, QStringLiteral("Export to Excel"),
                                QStringLiteral("Export to Excel"));
    excel->setIcon(toolIcon(ToolIcon::Export));
    connect(excel, &QAction::triggered, &app_, &VessorGraphApp::exportToExcel);
#ifndef VESSOR_WITH_XLSX
    excel->setEnabled(false);
#endif
    file->addAction(excel);
    QAction* report = addCommand(EXPORT_REPORT, QStringLiteral("Export &Report..."),
                                 QStringLiteral("Write a PDF report: summary, chart and alarm excursions"),
                                 QStringLiteral("Export Report"));
    connect(report, &QAction::triggered, &app_, &VessorGraphApp::exportReport);
    file->addAction(report);
    file->addSeparator();
    for (int i = 0; i < 4; ++i) {
        QAction* recent =
            addCommand(FILE_MRU_FIRST + i, QString(), QStringLiteral("Open this document"));
        connect(recent, &QAction::triggered, &app_, [this, i] { app_.openRecentFile(i); });
        recent->setVisible(false);
        file->addAction(recent);
        recentActions_.append(recent);
    }
    recentSeparator_ = file->addSeparator();
    QAction* close =
        addCommand(CLOSE_GRAPH, QStringLiteral("&Close Graph"),
                   QStringLiteral("Close the graph application"), QStringLiteral("Close Graph"));
    close->setIcon(toolIcon(ToolIcon::Close));
    connect(close, &QAction::triggered, this, &QWidget::close);
    file->addAction(close);

    viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* toolbar =
        addCommand(VIEW_TOOLBAR, QStringLiteral("&Toolbar"),
                   QStringLiteral("Show or hide the toolbar"), QStringLiteral("Toggle ToolBar"));
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    viewMenu_->addAction(toolbar);
    QAction* status = addCommand(VIEW_STATUS_BAR, QStringLiteral("&Status Bar"),
                                 QStringLiteral("Show or hide the status bar"),
                                 QStringLiteral("Toggle StatusBar"));
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    viewMenu_->addAction(status);
    viewMenu_->addSeparator();
    QAction* zoomIn =
        addCommand(ZOOM_IN, QStringLiteral("Zoom In"),
                   QStringLiteral("Zoom In; Left click and drag box to select zoom area."),
                   QStringLiteral("Zoom In"));
    zoomIn->setIcon(toolIcon(ToolIcon::ZoomIn));
    viewMenu_->addAction(zoomIn);
    QAction* zoomOut = addCommand(ZOOM_OUT, QStringLiteral("Zoom Out"),
                                  QStringLiteral("Zoom out one level"), QStringLiteral("Zoom out"));
    zoomOut->setIcon(toolIcon(ToolIcon::ZoomOut));
    connect(zoomOut, &QAction::triggered, view_, [this] { view_->ZoomOut(); });
    viewMenu_->addAction(zoomOut);
    viewMenu_->addSeparator();
    QAction* mark = addCommand(MARK_POINTS, QStringLiteral("Mark Points"), QString());
    mark->setCheckable(true);
    connect(mark, &QAction::triggered, view_, [this] { view_->toggleMarkPoints(); });
    viewMenu_->addAction(mark);
    traceMenu_ = viewMenu_->addMenu(QStringLiteral("Show traces..."));
    QAction* none = addCommand(NO_TRACES, QStringLiteral("<no traces>"), QString());
    none->setEnabled(false);
    traceMenu_->addAction(none);
    QMenu* grid = viewMenu_->addMenu(QStringLiteral("Grid Lines..."));
    QAction* gridX = addCommand(GRID_X, QStringLiteral("X Axis"), QString());
    gridX->setCheckable(true);
    connect(gridX, &QAction::triggered, view_, [this] { view_->toggleGridX(); });
    grid->addAction(gridX);
    QAction* gridY = addCommand(GRID_Y, QStringLiteral("Y Axis"), QString());
    gridY->setCheckable(true);
    connect(gridY, &QAction::triggered, view_, [this] { view_->toggleGridY(); });
    grid->addAction(gridY);
    // After the items whose places older code counts on ("Show traces..." is the eighth).
    viewMenu_->addSeparator();
    QAction* summary = addCommand(VIEW_SUMMARY, QStringLiteral("S&ummary"),
                                  QStringLiteral("Show or hide the summary of the readings"),
                                  QStringLiteral("Summary"));
    summary->setCheckable(true);
    viewMenu_->addAction(summary);
    // Check marks follow the view's switches whenever the menu opens.
    connect(viewMenu_, &QMenu::aboutToShow, this, [this, mark, gridX, gridY, toolbar, status] {
        mark->setChecked(view_->markPoints());
        gridX->setChecked(view_->gridX());
        gridY->setChecked(view_->gridY());
        toolbar->setChecked(toolBar_->isVisible());
        status->setChecked(statusBar()->isVisible());
    });
    connect(grid, &QMenu::aboutToShow, this, [this, gridX, gridY] {
        gridX->setChecked(view_->gridX());
        gridY->setChecked(view_->gridY());
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* topics = addCommand(HELP_TOPICS, QStringLiteral("&Help Topics"),
                                 QStringLiteral("List Help topics"), QStringLiteral("Help Topics"));
    topics->setIcon(toolIcon(ToolIcon::Help));
    topics->setShortcut(QKeySequence(Qt::Key_F1));
    connect(topics, &QAction::triggered, &app_, &VessorGraphApp::helpTopics);
    help->addAction(topics);
    help->addSeparator();
    QAction* about =
        addCommand(APP_ABOUT, QStringLiteral("&About VessorGraph..."),
                   QStringLiteral("Display program information, version number and copyright"),
                   QStringLiteral("About"));
    about->setIcon(toolIcon(ToolIcon::About));
    connect(about, &QAction::triggered, this, &MainFrame::showAbout);
    help->addAction(about);
}

void MainFrame::buildToolBar() {
    using namespace command;
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->addAction(command(FILE_OPEN));
    toolBar_->addSeparator();
    toolBar_->addAction(command(ZOOM_IN));
    toolBar_->addAction(command(ZOOM_OUT));
    toolBar_->addSeparator();
    toolBar_->addAction(command(EXPORT_TO_EXCEL));
    toolBar_->addSeparator();
    toolBar_->addAction(command(FILE_PRINT));
    toolBar_->addSeparator();
    toolBar_->addAction(command(APP_ABOUT));
    toolBar_->addAction(command(HELP_TOPICS));
    toolBar_->addSeparator();
    toolBar_->addAction(command(CLOSE_GRAPH));
    QAction* toggle = command(VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, toolBar_, &QWidget::setVisible);
}

void MainFrame::buildSummaryDock() {
    summaryDock_ = new QDockWidget(QStringLiteral("Summary"), this);
    summaryDock_->setObjectName(QStringLiteral("summary"));
    summaryDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    summaryPanel_ = new SummaryPanel(*view_, app_.settings(),
                                     [this] { return app_.documentName(); },
                                     summaryDock_);
    summaryDock_->setWidget(summaryPanel_);
    addDockWidget(Qt::RightDockWidgetArea, summaryDock_);
    summaryDock_->hide();
    QAction* toggle = command(command::VIEW_SUMMARY);
    connect(toggle, &QAction::toggled, summaryDock_, &QWidget::setVisible);
    // Closed by its own button, the dock unchecks the menu item.
    connect(summaryDock_, &QDockWidget::visibilityChanged, toggle,
            [this, toggle](bool) { toggle->setChecked(!summaryDock_->isHidden()); });
}

void MainFrame::setDocumentTitle(const QString& filePath) {
    const QString name =
        filePath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(filePath).fileName();
    setWindowTitle(name + QStringLiteral(" - ") + PROGRAM_TITLE);
}

void MainFrame::setSeriesTitle(const QString& label) {
    setWindowTitle(label + QStringLiteral(" - ") + PROGRAM_TITLE);
}

void MainFrame::showSeriesFacts(const QString& facts) {
    seriesFacts_->setText(facts);
    seriesFacts_->setVisible(!facts.isEmpty());
}

void MainFrame::setWorkbookExport(bool available) {
    QAction* excel = command(command::EXPORT_TO_EXCEL);
#ifdef VESSOR_WITH_XLSX
    excel->setEnabled(available);
#endif
    const QString tip = available ? QStringLiteral("Export to Excel") : QString::fromUtf8(WORKBOOK_NEEDS_FILE_TEXT);
    excel->setStatusTip(tip);
    excel->setToolTip(tip);
}

void MainFrame::updateRecentFiles(const QStringList& files) {
    for (int i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        if (i < files.size()) {
            QString shown = QDir::toNativeSeparators(files[i]);
            shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    // MFC shows "Recent File" greyed when the list is empty; a hidden entry serves the same.
    recentSeparator_->setVisible(!files.isEmpty());
}

bool MainFrame::event(QEvent* event) {
    // Without a prompt of its own, the status bar shows the idle prompt.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? IDLE_PROMPT : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    openDroppedFiles(urls);
}

void MainFrame::openDroppedFiles(const QList<QUrl>& urls) {
    // Each dropped file is opened in turn; the last one stays on show.
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            app_.OpenDocumentFile(url.toLocalFile());
    }
}

void MainFrame::showAbout() {
    QDialog box(this);
    box.setWindowTitle(QStringLiteral("About VessorGraph"));
    auto* layout = new QVBoxLayout(&box);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(&box);
    icon->setPixmap(toolIcon(ToolIcon::Program).pixmap(32, 32));
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(new QLabel(QString::fromLatin1(product::VERSION_LINE), &box), 1);
    layout->addLayout(top);
    auto* contact = new QGroupBox(QString::fromLatin1(product::MAKER), &box);
    auto* contactLayout = new QVBoxLayout(contact);
    auto* contactText = new QLabel(contact);
    contactText->setTextFormat(Qt::RichText);
    contactText->setTextInteractionFlags(Qt::TextBrowserInteraction);
    contactText->setOpenExternalLinks(true);
    contactText->setText(QString::fromUtf8(product::CONTACT_HTML));
    contactLayout->addWidget(contactText);
    layout->addWidget(contact);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.exec();
}

} // namespace vessor::graph

#include "open_archive_dialog.h"

#include "archive_access.h"

#include "logger/download_fields.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace vessor::graph {

namespace {

enum Column { SERIAL, NAME, HEADING, FIRST, LAST, DOWNLOADS, COLUMNS };

const QString TIME_FORMAT = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString timeText(const std::optional<std::int64_t>& t) {
    return t ? QString::fromStdString(download::isoTimeText(*t))
                   .replace(QLatin1Char('T'), QLatin1Char(' '))
             : QStringLiteral("\u2014");
}

QDateTimeEdit* timeEdit(QWidget* parent) {
    auto* edit = new QDateTimeEdit(parent);
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat(TIME_FORMAT);
    edit->setCalendarPopup(true);
    edit->setDateTimeRange(clockDateTime(download::toClockSeconds({1970, 1, 1, 0, 0, 0})),
                           clockDateTime(download::toClockSeconds({2099, 12, 31, 23, 59, 59})));
    return edit;
}

} // namespace

OpenArchiveDialog::OpenArchiveDialog(const QString& archiveName,
                                     std::vector<archive::LoggerEntry> loggers, Opener opener,
                                     QWidget* parent)
    : QDialog(parent), loggers_(std::move(loggers)), opener_(std::move(opener)),
      list_(new QTreeWidget(this)), from_(timeEdit(this)), to_(timeEdit(this)),
      whole_(new QPushButton(QStringLiteral("&Whole span"), this)), open_(nullptr),
      problem_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Open from Archive"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* source = new QLabel(QStringLiteral("Archive: %1").arg(archiveName), this);
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    source->setWordWrap(true);

    list_->setColumnCount(COLUMNS);
    list_->setHeaderLabels({QStringLiteral("Serial"), QStringLiteral("Logger"),
                            QStringLiteral("Reading"), QStringLiteral("First reading"),
                            QStringLiteral("Last reading"), QStringLiteral("Downloads")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t i = 0; i < loggers_.size(); ++i) {
        const archive::LoggerEntry& logger = loggers_[i];
        auto* item = new QTreeWidgetItem(list_);
        item->setText(SERIAL, QString::fromStdString(archive::serialText(logger.serial)));
        item->setText(NAME, QString::fromStdString(logger.loggerName));
        item->setText(HEADING, QString::fromStdString(logger.heading));
        item->setText(FIRST, timeText(logger.firstTime));
        item->setText(LAST, timeText(logger.lastTime));
        item->setText(DOWNLOADS, QString::number(logger.downloads));
        item->setTextAlignment(DOWNLOADS, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(SERIAL, Qt::UserRole, static_cast<qlonglong>(i));
        // An event logger's downloads are kept as files, without readings to draw.
        if (logger.event || !logger.firstTime) {
            item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
            for (int c = 0; c < COLUMNS; ++c)
                item->setToolTip(
                    c, QStringLiteral("An event logger: its downloads have no readings to draw."));
        }
    }
    // Room between columns: the texts would otherwise touch.
    for (int c = 0; c < COLUMNS; ++c) {
        list_->resizeColumnToContents(c);
        list_->setColumnWidth(c, list_->columnWidth(c) + 16);
    }
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(NAME, QHeaderView::Stretch);
    // Wide enough for every column, tall enough for a few loggers.
    int width = list_->frameWidth() * 2 + 24;
    for (int c = 0; c < COLUMNS; ++c)
        width += list_->columnWidth(c);
    list_->setMinimumSize(std::max(width, 560), list_->fontMetrics().height() * 10);

    auto* range = new QGridLayout;
    range->addWidget(new QLabel(QStringLiteral("&From:"), this), 0, 0);
    range->addWidget(from_, 0, 1);
    range->addWidget(new QLabel(QStringLiteral("&To:"), this), 0, 2);
    range->addWidget(to_, 0, 3);
    range->addWidget(whole_, 0, 4);
    range->setColumnStretch(5, 1);
    static_cast<QLabel*>(range->itemAtPosition(0, 0)->widget())->setBuddy(from_);
    static_cast<QLabel*>(range->itemAtPosition(0, 2)->widget())->setBuddy(to_);
    auto* rangeNote = new QLabel(
        QStringLiteral(
            "Times are the logger's clock. The reading at From is included, the one at To is not."),
        this);
    rangeNote->setWordWrap(true);

    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000;"));
    problem_->hide();

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    open_ = buttons->button(QDialogButtonBox::Open);
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenArchiveDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &OpenArchiveDialog::helpRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(source);
    layout->addWidget(list_, 1);
    layout->addLayout(range);
    layout->addWidget(rangeNote);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(list_, &QTreeWidget::currentItemChanged, this, &OpenArchiveDialog::loggerChanged);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { accept(); });
    connect(whole_, &QPushButton::clicked, this, &OpenArchiveDialog::resetRange);
    for (QDateTimeEdit* edit : {from_, to_})
        connect(edit, &QDateTimeEdit::dateTimeChanged, problem_, &QLabel::hide);

    // The first logger with readings is chosen to begin with.
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->flags() & Qt::ItemIsEnabled) {
            list_->setCurrentItem(item);
            break;
        }
    }
    loggerChanged();
}

const archive::LoggerEntry* OpenArchiveDialog::current() const {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return nullptr;
    const auto index = static_cast<std::size_t>(item->data(SERIAL, Qt::UserRole).toLongLong());
    return index < loggers_.size() ? &loggers_[index] : nullptr;
}

void OpenArchiveDialog::loggerChanged() {
    const bool chosen = current() != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, whole_, open_})
        w->setEnabled(chosen);
    resetRange();
}

void OpenArchiveDialog::resetRange() {
    const archive::LoggerEntry* logger = current();
    if (!logger)
        return;
    const auto [from, to] = wholeSpan(*logger);
    from_->setDateTime(clockDateTime(from));
    to_->setDateTime(clockDateTime(to));
    problem_->hide();
}

bool OpenArchiveDialog::selectLogger(std::int64_t serial) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        const auto index = static_cast<std::size_t>(item->data(SERIAL, Qt::UserRole).toLongLong());
        if (loggers_[index].serial == serial && (item->flags() & Qt::ItemIsEnabled)) {
            list_->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

std::optional<ArchiveRequest> OpenArchiveDialog::request() const {
    const archive::LoggerEntry* logger = current();
    if (!logger)
        return std::nullopt;
    return ArchiveRequest{logger->serial, logger->loggerName, clockSecondsOf(from_->dateTime()),
                          clockSecondsOf(to_->dateTime())};
}

void OpenArchiveDialog::accept() {
    const std::optional<ArchiveRequest> chosen = request();
    if (!chosen)
        return;
    std::string why;
    if (chosen->from >= chosen->to)
        why = "From must come before To.";
    else
        why = opener_ ? opener_(*chosen) : std::string();
    if (!why.empty()) {
        problem_->setText(QString::fromStdString(why));
        problem_->show();
        return;
    }
    QDialog::accept();
}

} // namespace vessor::graph

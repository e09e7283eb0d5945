#include "config_utility/shell/status_page.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "logger/status_report.h"

namespace vessor {

StatusPage::StatusPage(PageContext& context, QWidget* parent) : Page(context, parent)
{
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QString::fromLatin1(PICTURE_STATUS)));
    picture->setFixedWidth(PICTURE_WIDTH);
    picture->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    heading_ = new QLabel(this);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    heading_->setWordWrap(true);

    auto* group = new QFrame(this);
    group->setFrameShape(QFrame::StyledPanel);
    group->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(7);
    for (int line = 0; line < LINE_COUNT; ++line) {
        labels_[line] = new QLabel(group);
        values_[line] = new QLabel(group);
        values_[line]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[line]->setTextFormat(Qt::PlainText);
        labels_[line]->setTextFormat(Qt::PlainText);
        grid->addWidget(labels_[line], line, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(values_[line], line, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    grid->setColumnStretch(1, 1);

    refresh_ = new QPushButton(tr("&Refresh"), this);
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setDefault(true);
    connect(refresh_, &QPushButton::clicked, this, &StatusPage::refresh);
    connect(ok_, &QPushButton::clicked, this, [this] { showPage(PAGE_MAIN_MENU); });

    QHBoxLayout* buttons = buttonRow({refresh_, ok_});

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 16, 16, 12);
    right->setSpacing(10);
    right->addWidget(heading_);
    right->addWidget(group);
    right->addStretch(1);
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(picture);
    layout->addLayout(right, 1);
}

void StatusPage::updatePage()
{
    show(composeStatus(config(), context().locale));
}

void StatusPage::refresh()
{
    // A failed read has shown its message and leaves the page as it was.
    if (config().refresh())
        updatePage();
}

void StatusPage::show(const StatusReport& report)
{
    heading_->setText(QString::fromStdString(report.heading));
    const std::vector<StatusLine> lines = report.lines();
    for (int line = 0; line < LINE_COUNT; ++line) {
        labels_[line]->setText(QString::fromStdString(lines[line].label));
        values_[line]->setText(QString::fromStdString(lines[line].value));
    }
}

QString StatusPage::headingText() const
{
    return heading_->text();
}

QString StatusPage::labelText(int line) const
{
    return line >= 0 && line < LINE_COUNT ? labels_[line]->text() : QString();
}

QString StatusPage::valueText(int line) const
{
    return line >= 0 && line < LINE_COUNT ? values_[line]->text() : QString();
}

} // namespace vessor

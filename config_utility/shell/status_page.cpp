#include "config_utility/shell/status_page.h"

#include "config_utility/shell/device_messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "logger/status_report.h"

namespace vessor {

StatusPage::StatusPage(PageContext& context, QWidget* parent) : Page(context, parent)
{
    QVBoxLayout* column = infoColumn(PICTURE_STATUS);

    heading_ = new QLabel(this);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    heading_->setWordWrap(true);
    column->addWidget(heading_);

    QGridLayout* panel = addValuePanel(column, 7);
    QWidget* frame = panel->parentWidget();
    for (int line = 0; line < LINE_COUNT; ++line) {
        labels_[line] = new QLabel(frame);
        values_[line] = new QLabel(frame);
        values_[line]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[line]->setTextFormat(Qt::PlainText);
        labels_[line]->setTextFormat(Qt::PlainText);
        addValueLine(panel, line, labels_[line], values_[line]);
    }

    refresh_ = new QPushButton(tr("&Refresh"), this);
    ok_ = new QPushButton(tr("OK"), this);
    ok_->setDefault(true);
    connect(refresh_, &QPushButton::clicked, this, &StatusPage::refresh);
    connect(ok_, &QPushButton::clicked, this, [this] { showPage(PAGE_MAIN_MENU); });

    column->addStretch(1);
    column->addLayout(buttonRow({refresh_, ok_}));
}

void StatusPage::updatePage()
{
    show(composeStatus(config(), context().locale));
}

void StatusPage::refresh()
{
    // A failed read leaves the page as it was.
    if (showDeviceResult(ui(), context().session.refresh()))
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

#include "config_utility/shell/page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vessor {

Page::Page(PageContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setFixedSize(PAGE_WIDTH, PAGE_HEIGHT);
}

QHBoxLayout* Page::buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    bool first = true;
    for (QPushButton* b : buttons) {
        b->setMinimumWidth(88);
        b->setAutoDefault(false);
        if (!first)
            row->addSpacing(10);
        row->addWidget(b);
        first = false;
    }
    return row;
}

PlaceholderPage::PlaceholderPage(int pageNumber, PageContext& context, QWidget* parent)
    : Page(context, parent)
{
    setObjectName(QStringLiteral("placeholder%1").arg(pageNumber));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(tr("Page %1 is not available in this version.").arg(pageNumber), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text, 1);
    auto* back = new QPushButton(tr("&Cancel"), this);
    layout->addWidget(back, 0, Qt::AlignRight);
    connect(back, &QPushButton::clicked, this, [this] { showPage(PAGE_MAIN_MENU); });
}

} // namespace vessor

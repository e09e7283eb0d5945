#include "config_utility/shell/page.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vessor {

Page::Page(PageContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setFixedSize(PAGE_WIDTH, PAGE_HEIGHT);
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

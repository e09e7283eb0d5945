#include "config_utility/shell/page.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vessor {

Page::Page(PageContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setFixedSize(PAGE_WIDTH, PAGE_HEIGHT);
}

QVBoxLayout* Page::infoColumn(const char* picture)
{
    auto* panel = new QLabel(this);
    panel->setPixmap(QPixmap(QString::fromLatin1(picture)));
    panel->setFixedWidth(PICTURE_WIDTH);
    panel->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 16, 16, 12);
    column->setSpacing(10);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(panel);
    layout->addLayout(column, 1);
    return column;
}

QGridLayout* Page::addValuePanel(QVBoxLayout* column, int lineSpacing)
{
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(lineSpacing);
    grid->setColumnStretch(1, 1);
    column->addWidget(frame);
    return grid;
}

void Page::addValueLine(QGridLayout* panel, int line, QLabel* label, QLabel* value)
{
    panel->addWidget(label, line, 0, Qt::AlignRight | Qt::AlignVCenter);
    panel->addWidget(value, line, 1, Qt::AlignLeft | Qt::AlignVCenter);
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

void Page::focusFirstControl()
{
    QPushButton* defaultButton = nullptr;
    QPushButton* firstButton = nullptr;
    // The focus chain runs through the whole window and back to this page.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !w->isVisibleTo(this) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            if (button->isDefault() && !defaultButton)
                defaultButton = button;
            if (!firstButton)
                firstButton = button;
            continue;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w); radio && !radio->isChecked()) {
            for (QRadioButton* sibling : radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
                if (sibling->isChecked() && sibling->isEnabled() && sibling->isVisibleTo(this)) {
                    w = sibling;
                    break;
                }
            }
        }
        w->setFocus(Qt::TabFocusReason);
        return;
    }
    if (QPushButton* button = defaultButton ? defaultButton : firstButton)
        button->setFocus(Qt::TabFocusReason);
}

void Page::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Edit boxes, lists, pickers and check boxes pass Return on to the page.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* target = focused && isAncestorOf(focused) ? focused : nullptr;
    if (!target) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                target = button;
                break;
            }
        }
    }
    if (target && target->isVisible() && target->isEnabled())
        target->click();
    event->accept();
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

#include "config_utility/support/layout_check.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace vessor::test {

std::vector<std::string> clippedTexts(QWidget* page)
{
    std::vector<std::string> clipped;
    auto inside = [page](QWidget* w) {
        const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
        return page->rect().contains(r);
    };
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(page) || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width();
        if (!fits || !inside(label))
            clipped.push_back(label->text().toStdString());
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        // Arrow buttons have no text to cut off.
        if (!button->isVisibleTo(page) || button->text().isEmpty())
            continue;
        if (button->sizeHint().width() > button->width() || button->sizeHint().height() > button->height() ||
            !inside(button))
            clipped.push_back(button->text().toStdString());
    }
    for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
        // The edit field of a drop-down list is judged with its list.
        if (!edit->isVisibleTo(page) || qobject_cast<QComboBox*>(edit->parentWidget()))
            continue;
        const int textWidth = edit->fontMetrics().horizontalAdvance(edit->text());
        if (textWidth > edit->contentsRect().width() - 8 || !inside(edit))
            clipped.push_back(edit->text().toStdString());
    }
    for (QComboBox* combo : page->findChildren<QComboBox*>()) {
        if (combo->isVisibleTo(page) && (combo->sizeHint().width() > combo->width() || !inside(combo)))
            clipped.push_back(combo->currentText().toStdString());
    }
    return clipped;
}

} // namespace vessor::test

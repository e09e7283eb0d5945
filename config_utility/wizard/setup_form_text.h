// Fixed texts of the set-up forms: plain, wrapped to the column.
#pragma once

#include <QLabel>

namespace vessor {

inline QLabel* makeFormText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace vessor

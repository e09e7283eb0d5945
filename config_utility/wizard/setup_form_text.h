// Builders shared by the set-up forms: fixed texts, plain and wrapped to the
// column, their paragraphs, and the radio buttons of a choice.
#pragma once

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace vessor {

inline QLabel* makeFormText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

// Lines of one paragraph, without the spacing between paragraphs.
inline QVBoxLayout* addParagraph(QVBoxLayout* parent)
{
    auto* layout = new QVBoxLayout;
    layout->setSpacing(0);
    parent->addLayout(layout);
    return layout;
}

// The radio buttons of one choice, stacked in `layout` and made exclusive by
// a button group that `owner` keeps.
inline void addChoices(QVBoxLayout* layout, std::initializer_list<QRadioButton*> choices, QObject* owner)
{
    auto* group = new QButtonGroup(owner);
    int id = 0;
    for (QRadioButton* choice : choices) {
        group->addButton(choice, id++);
        layout->addWidget(choice);
    }
}

} // namespace vessor

// Messages and questions of the viewer: Qt message boxes in the window,
// a recorder for headless runs.
#pragma once

#include "logger/user_interface.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace vessor::graph {

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void showMessage(const std::string& text, MessageIcon icon) override;
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon icon) override;

private:
    QWidget* parent_;
};

// Keeps every message and answers every question with No (or Cancel).
class RecordingUserInterface : public UserInterface {
public:
    void showMessage(const std::string& text, MessageIcon) override {
        messages.append(QString::fromStdString(text));
    }
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon) override {
        questions.append(QString::fromStdString(text));
        return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
    }
    QStringList messages;
    QStringList questions;
};

} // namespace vessor::graph

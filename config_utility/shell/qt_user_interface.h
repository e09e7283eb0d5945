// The user-interface seam on Qt message boxes, titled "Vessor USB".
#pragma once

#include "logger/user_interface.h"

class QWidget;

namespace vessor {

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    Answer ask(const std::string& text, MessageButtons buttons,
               MessageIcon icon = MessageIcon::Question) override;

private:
    QWidget* parent_;
};

} // namespace vessor

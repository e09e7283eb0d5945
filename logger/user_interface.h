// The seam through which device operations and pages speak to the user:
// Qt message boxes in the programs, stderr/stdin in the command-line tool,
// a recorder with scripted answers in tests. Texts are UTF-8.
#pragma once

#include <string>

namespace vessor {

enum class MessageIcon { None, Information, Warning, Stop, Question };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class Answer { Ok, Cancel, Yes, No };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A message with an OK button.
    virtual void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
    // A question; returns the button pressed (closing the box counts as No / Cancel).
    virtual Answer ask(const std::string& text, MessageButtons buttons,
                       MessageIcon icon = MessageIcon::Question) = 0;
};

} // namespace vessor

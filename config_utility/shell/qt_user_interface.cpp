#include "config_utility/shell/qt_user_interface.h"

#include <QMessageBox>

namespace vessor {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtUserInterface::showMessage(const std::string& text, MessageIcon icon)
{
    QMessageBox box(toQt(icon), QStringLiteral("Vessor USB"), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtUserInterface::ask(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    QMessageBox::StandardButtons choice = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo)
        choice = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MessageButtons::OkCancel)
        choice = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(toQt(icon), QStringLiteral("Vessor USB"), QString::fromStdString(text), choice,
                    parent_);
    // Closing the box counts as the negative answer.
    box.setEscapeButton(buttons == MessageButtons::YesNo ? QMessageBox::No : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == MessageButtons::OkCancel ? Answer::Cancel : Answer::No;
    }
}

} // namespace vessor

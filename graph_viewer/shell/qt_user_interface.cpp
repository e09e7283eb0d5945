#include "qt_user_interface.h"

#include <QMessageBox>

namespace vessor::graph {

namespace {

const QString TITLE = QStringLiteral("VessorGraph");

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtUserInterface::showMessage(const std::string& text, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), TITLE, QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtUserInterface::ask(const std::string& text, MessageButtons buttons, MessageIcon icon) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    QMessageBox box(boxIcon(icon), TITLE, QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No
                          : (buttons == MessageButtons::OkCancel
                                 ? QMessageBox::Ok | QMessageBox::Cancel
                                 : QMessageBox::Ok),
                    parent_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Closing the box counts as the negative answer.
        return yesNo ? Answer::No : (buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel);
    }
}

} // namespace vessor::graph

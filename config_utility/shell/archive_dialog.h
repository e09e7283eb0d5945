// Options › Archive…: where downloads are also stored. The choice is the
// setting Archive/URL (archive_choice.h decides; this is its face). Test
// checks the archive on a thread of its own, so a server that does not
// answer leaves the dialog usable.
#pragma once

#include "config_utility/shell/archive_choice.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vessor {

class Desktop;
class UserInterface;

class ArchiveDialog : public QDialog {
    Q_OBJECT
public:
    // `option` is the --archive of this run; VESSOR_ARCHIVE is read here.
    ArchiveDialog(Desktop& desktop, UserInterface& ui, const std::optional<std::string>& option,
                  QWidget* parent = nullptr);

    // The form as the user has it now.
    ArchiveForm form() const;
    void setForm(const ArchiveForm& form);

    // Stores the setting and closes; a form that cannot be stored is
    // refused with a message and the dialog stays open.
    void accept() override;
    // Checks the archive of the form; the answer appears below the button.
    void test();
    bool testing() const { return testing_; }

    QRadioButton* choice(ArchiveKind kind) const;
    QLineEdit* sqlitePathEdit() const { return sqlitePath_; }
    QLineEdit* postgresUrlEdit() const { return postgresUrl_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* testButton() const { return test_; }
    QLabel* testResult() const { return result_; }
    QLabel* noteLabel() const { return note_; }

signals:
    // A test has finished and its answer is shown.
    void tested();

private:
    void browse();
    void updateFields();
    void showCheck(const ArchiveCheck& check);
    void fitContents();

    Desktop& desktop_;
    UserInterface& ui_;
    QRadioButton* default_;
    QRadioButton* sqlite_;
    QRadioButton* postgres_;
    QRadioButton* none_;
    QLineEdit* sqlitePath_;
    QLineEdit* postgresUrl_;
    QPushButton* browse_;
    QPushButton* test_;
    QLabel* result_;
    QLabel* note_;
    bool testing_ = false;
};

} // namespace vessor

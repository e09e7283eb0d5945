// Page 5: the stopped logger's name and readings, and OK to save them as a
// download file and open it in the graph viewer (event files in the text
// editor).
#pragma once

#include <QString>

#include <string>

#include "config_utility/shell/page.h"

class QLabel;
class QPushButton;

namespace vessor {

// What the page shows for a logger, decided without widgets.
struct StopPageTexts {
    std::string name;     // UTF-8
    std::string caption;  // "Readings:" or "Memory Usage:"
    std::string count;
    bool okEnabled = false;
};
StopPageTexts stopPageTexts(const LoggerConfig& config);

// The folder the save dialog starts in: "Saved Directory" when it names an
// existing folder, else the user's documents folder (home when there is none).
QString initialSaveFolder(const QString& savedDirectory);

// Messages that name the programs as they are installed here (the string
// table already does so for the viewer).
std::string viewerNotFoundText();
std::string textEditorNotFoundText();
std::string eventFileQuestionText();

class StopInfoForm : public Page {
    Q_OBJECT
public:
    explicit StopInfoForm(PageContext& context, QWidget* parent = nullptr);

    void updatePage() override;

    // OK: refresh, read the data memory, ask for a file name, write the
    // file, back to the main menu, then the viewer or the text editor.
    void saveDownload();

    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QString nameText() const;
    QString captionText() const;
    QString countText() const;

private:
    void launch(const QString& path);

    QLabel* name_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace vessor

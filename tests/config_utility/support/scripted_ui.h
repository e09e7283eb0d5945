// Test doubles of the utility's seams: a user interface that records every
// message and question and answers from a script, and a desktop that records
// what the program asked of it.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "config_utility/shell/desktop.h"
#include "logger/user_interface.h"

namespace vessor::test {

class ScriptedUserInterface : public UserInterface {
public:
    struct Entry {
        std::string text;
        MessageButtons buttons;   // Ok for plain messages
        MessageIcon icon;
        bool question;
    };

    // Answers handed out to questions in order; when none is left the
    // question is answered No / Cancel (and the test should notice).
    void script(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }

    void showMessage(const std::string& text, MessageIcon icon) override;
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon icon) override;

    const std::vector<Entry>& log() const { return log_; }
    // The texts shown, messages and questions alike, in order.
    std::vector<std::string> texts() const;
    std::size_t unusedAnswers() const { return answers_.size(); }
    void clear() { log_.clear(); answers_.clear(); }

private:
    std::deque<Answer> answers_;
    std::vector<Entry> log_;
};

class ScriptedDesktop : public Desktop {
public:
    // What the dialogs return (empty: cancelled).
    QString openAnswer;
    QString saveAnswer;
    bool viewerStarts = true;
    bool editorStarts = true;
    bool helpOpens = true;

    // What was asked.
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList viewerPaths;
    QStringList editorPaths;
    QStringList helpPages;

    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
    bool startViewer(const QString& path) override;
    bool openInTextEditor(const QString& path) override;
    bool openHelp(const QString& page) override;
    QVariant setting(const QString& section, const QString& key,
                     const QVariant& fallback = {}) const override;
    void setSetting(const QString& section, const QString& key, const QVariant& value) override;

    std::map<QString, QVariant> settings;  // "Section/Key" -> value
};

} // namespace vessor::test

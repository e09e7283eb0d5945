#include "config_utility/support/scripted_ui.h"

namespace vessor::test {

void ScriptedUserInterface::showMessage(const std::string& text, MessageIcon icon)
{
    log_.push_back({text, MessageButtons::Ok, icon, false});
}

Answer ScriptedUserInterface::ask(const std::string& text, MessageButtons buttons, MessageIcon icon)
{
    log_.push_back({text, buttons, icon, true});
    if (answers_.empty())
        return buttons == MessageButtons::OkCancel ? Answer::Cancel : Answer::No;
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> ScriptedUserInterface::texts() const
{
    std::vector<std::string> result;
    for (const Entry& e : log_)
        result.push_back(e.text);
    return result;
}

QString ScriptedDesktop::openFileName(const FileDialogRequest& request)
{
    openRequests.push_back(request);
    return openAnswer;
}

QString ScriptedDesktop::saveFileName(const FileDialogRequest& request)
{
    saveRequests.push_back(request);
    return saveAnswer;
}

bool ScriptedDesktop::startViewer(const QString& path)
{
    viewerPaths << path;
    return viewerStarts;
}

bool ScriptedDesktop::openInTextEditor(const QString& path)
{
    editorPaths << path;
    return editorStarts;
}

bool ScriptedDesktop::openHelp(const QString& page)
{
    helpPages << page;
    return helpOpens;
}

QVariant ScriptedDesktop::setting(const QString& section, const QString& key, const QVariant& fallback) const
{
    const auto it = settings.find(section + QLatin1Char('/') + key);
    return it == settings.end() ? fallback : it->second;
}

void ScriptedDesktop::setSetting(const QString& section, const QString& key, const QVariant& value)
{
    settings[section + QLatin1Char('/') + key] = value;
}

} // namespace vessor::test

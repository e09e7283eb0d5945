// The desktop seam of the configuration utility: file dialogs, starting the
// graph viewer, the text editor and the help pages, and the program's
// settings. The program uses QtDesktop; tests script their own.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace vessor {

// What a file dialog is asked for. `filters` follow Qt's form, e.g.
// "VessorUSB Download File (*.txt)"; the first one is selected.
struct FileDialogRequest {
    QString title;             // empty: the dialog's default caption
    QStringList filters;
    QString defaultSuffix;     // added when the typed name has none ("txt")
    QString directory;         // initial folder; empty: the current one
    QString fileName;          // initial name (save dialogs)
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Modal open dialog for an existing file; empty when cancelled.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    // Modal save dialog (asks before overwriting); empty when cancelled.
    virtual QString saveFileName(const FileDialogRequest& request) = 0;

    // Starts `vessor-graph` from the utility's own folder on `path` (one
    // argument, no shell) and does not wait. False when it cannot be started;
    // the caller shows the message.
    virtual bool startViewer(const QString& path) = 0;
    // Opens a text file in the desktop's text editor (event-logger files).
    virtual bool openInTextEditor(const QString& path) = 0;
    // Opens a help page (a file name inside the installed help folder,
    // e.g. "index.html"), in the desktop's browser.
    virtual bool openHelp(const QString& page) = 0;

    // The program's settings, by section and key ("Settings"/"Saved Directory").
    virtual QVariant setting(const QString& section, const QString& key,
                             const QVariant& fallback = {}) const = 0;
    virtual void setSetting(const QString& section, const QString& key, const QVariant& value) = 0;
};

// Settings keys used by the utility.
inline constexpr const char* SETTINGS_SECTION = "Settings";
inline constexpr const char* SAVED_DIRECTORY_KEY = "Saved Directory";
// The archive's URL is "Archive"/"URL" (logger/archive/archive_url.h:
// SETTING_SECTION, SETTING_KEY), read without Qt by the command-line tool too.

} // namespace vessor

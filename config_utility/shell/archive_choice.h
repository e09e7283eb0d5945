// The decisions of Options › Archive…, without widgets: the dialog's choice
// turned into the setting Archive/URL and back, the note when the command
// line or VESSOR_ARCHIVE overrides the setting, and the Test button's check.
// The URL rules are in docs/archive.md.
#pragma once

#include <optional>
#include <string>

namespace vessor {

enum class ArchiveKind {
    Default,    // the SQLite file in the user's data folder
    SqliteFile, // another SQLite file
    Postgresql, // a shared PostgreSQL database
    None,       // downloads are saved as files only
};

// What the dialog shows: the kind chosen and the two typed fields.
struct ArchiveForm {
    ArchiveKind kind = ArchiveKind::Default;
    std::string sqlitePath;
    std::string postgresUrl;
};

// The setting's value for a form ("" for the default, "sqlite:PATH", the
// URL, "none"), or why it cannot be stored. A URL with a password is
// refused: it would sit in the settings file in clear.
struct ArchiveSetting {
    std::optional<std::string> value;
    std::string error;
    bool ok() const { return value.has_value(); }
};
ArchiveSetting archiveSettingFor(const ArchiveForm& form);

// The form a stored setting opens the dialog with; `note` says what was
// wrong with the setting (empty when nothing was). A stored password is
// never shown: the field holds the URL without it.
struct StoredArchiveForm {
    ArchiveForm form;
    std::string note;
};
StoredArchiveForm archiveFormFor(const std::string& setting);

// `url` without user:PASSWORD@ and without password= or sslpassword=
// parameters (unlike a message's form, nothing is left in their place).
std::string urlWithoutPassword(const std::string& url);

// Why the setting does not decide in this run: --archive given, or
// VESSOR_ARCHIVE set (shown without password); empty when it decides.
std::string archiveOverrideNote(const std::optional<std::string>& option,
                                const std::optional<std::string>& environment);

// The Test button: whether the archive of a setting value can be used. A
// SQLite file that is not there yet is not made: its folder is checked.
// A PostgreSQL server that does not answer is given up after
// DIALOG_CONNECT_TIMEOUT seconds.
struct ArchiveCheck {
    bool ok = false;
    std::string text;
};
ArchiveCheck checkArchive(const std::string& setting);

} // namespace vessor

// Which archive a program stores into: `none`, `sqlite:PATH` or a
// PostgreSQL URL (`postgresql://...` or `postgres://...`, as libpq reads
// it). Chosen by the --archive option, else VESSOR_ARCHIVE, else the
// utility's setting (Archive/URL), else the SQLite file in the user's data
// folder. The rules are in docs/archive.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vessor::archive {

// The utility's setting (QSettings("Meridane Electronics", "vessor-usb")):
// section and key, "Archive/URL" as QSettings writes it.
inline constexpr const char* SETTING_SECTION = "Archive";
inline constexpr const char* SETTING_KEY = "URL";
// The environment variable between the option and the setting.
inline constexpr const char* ENVIRONMENT_VARIABLE = "VESSOR_ARCHIVE";

struct ArchiveUrl {
    enum class Kind { None, Sqlite, Postgresql };
    Kind kind = Kind::None;
    std::string text;   // as given ("sqlite:/home/x/a.sqlite", "postgresql://...")
    std::string target; // SQLite: the path; PostgreSQL: the URL for libpq
    bool isDefault = false; // the data folder's file: its folder is made when missing

    bool enabled() const { return kind != Kind::None; }
    // The URL for messages: a password in it (user:PASSWORD@ or
    // password=...) is left out.
    std::string display() const;
};

// Parses an archive URL; nullopt with `error` (one line, no password) when
// it is none of the three forms.
std::optional<ArchiveUrl> parseArchiveUrl(std::string_view text, std::string& error);

// `text` with any password left out (user:PASSWORD@host, password=...).
std::string withoutPassword(std::string_view text);

// Where the URL came from.
enum class UrlSource { Option, Environment, Setting, Default };
const char* urlSourceName(UrlSource source); // "--archive", "VESSOR_ARCHIVE", "the setting Archive/URL", "the default"

struct ArchiveChoice {
    std::optional<ArchiveUrl> url; // none on error
    UrlSource source = UrlSource::Default;
    std::string error;             // a bad URL, naming its source

    bool ok() const { return url.has_value(); }
};

// The first of these that is given and not empty wins.
struct ArchiveSources {
    std::optional<std::string> option;      // --archive URL
    std::optional<std::string> environment; // VESSOR_ARCHIVE
    std::optional<std::string> setting;     // the utility's Archive/URL
    std::string defaultPath;                // the SQLite file used when none is given
};
ArchiveChoice chooseArchive(const ArchiveSources& sources);

// $XDG_DATA_HOME/vessor/archive.sqlite, else ~/.local/share/vessor/archive.sqlite
// (XDG_DATA_HOME is used only when it is an absolute path).
std::string defaultArchivePath();

// The utility's setting read without Qt from its settings file
// ($XDG_CONFIG_HOME, else ~/.config, "/Meridane Electronics/vessor-usb.conf"),
// so the command-line tool follows the same setting; nullopt when the file
// or the key is missing.
std::optional<std::string> readArchiveSetting();
// The same from the text of such a file (QSettings' INI form).
std::optional<std::string> archiveSettingFromIni(std::string_view ini);

// How long the programs' dialogs wait for a PostgreSQL server that does not
// answer, in seconds.
inline constexpr int DIALOG_CONNECT_TIMEOUT = 10;

// `url` with libpq's connect_timeout=SECONDS added to a PostgreSQL URL's
// target when it gives none, so a server that does not answer is given up
// instead of waited for; `text` (for messages) and other kinds unchanged.
ArchiveUrl withConnectTimeout(ArchiveUrl url, int seconds);

// The program's usual choice: the option (may be absent), VESSOR_ARCHIVE,
// then `setting` (the caller's, e.g. from QSettings; when absent the
// settings file is read), then the default.
ArchiveChoice chooseArchiveForProgram(const std::optional<std::string>& option,
                                      const std::optional<std::string>& setting = std::nullopt);

} // namespace vessor::archive

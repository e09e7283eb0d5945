#include "config_utility/shell/archive_choice.h"

#include "logger/archive/archive.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace vessor {

namespace {

namespace fs = std::filesystem;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool hasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isPostgresUrl(std::string_view text) {
    return startsWith(text, "postgresql://") || startsWith(text, "postgres://");
}

bool isSecretKey(std::string_view key) {
    return key == "password" || key == "sslpassword";
}

ArchiveSetting refused(std::string why) {
    return {std::nullopt, std::move(why)};
}

// The nearest folder of `path` that exists (the path itself when it does).
fs::path existingFolder(fs::path path) {
    std::error_code error;
    while (!path.empty() && !fs::exists(path, error)) {
        const fs::path parent = path.parent_path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}

bool writable(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

std::string urlWithoutPassword(const std::string& url) {
    std::string out = url;
    const auto scheme = out.find("://");
    if (scheme == std::string::npos)
        return out;
    const std::size_t start = scheme + 3;
    const std::size_t authorityEnd = std::min(out.find_first_of("/?", start), out.size());
    const std::size_t at = out.rfind('@', authorityEnd);
    if (at != std::string::npos && at >= start) {
        const std::size_t colon = out.find(':', start);
        if (colon != std::string::npos && colon < at)
            out.erase(colon, at - colon);
    }
    const std::size_t query = out.find('?');
    if (query == std::string::npos)
        return out;
    std::string kept;
    std::string_view rest = std::string_view(out).substr(query + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        const std::string_view parameter = rest.substr(0, end);
        if (!isSecretKey(parameter.substr(0, parameter.find('=')))) {
            if (!kept.empty())
                kept += '&';
            kept += parameter;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return out.substr(0, kept.empty() ? query : query + 1) + kept;
}

ArchiveSetting archiveSettingFor(const ArchiveForm& form) {
    switch (form.kind) {
    case ArchiveKind::Default:
        return {std::string(), {}};
    case ArchiveKind::None:
        return {std::string("none"), {}};
    case ArchiveKind::SqliteFile: {
        std::string path = trimmed(form.sqlitePath);
        if (startsWith(path, "sqlite:"))
            path = trimmed(path.substr(7));
        if (path.empty())
            return refused("Choose the SQLite file with Browse, or type its full path.");
        if (hasControl(path))
            return refused(
                "The SQLite file's path holds a line break or another control character.");
        if (path.front() != '/')
            return refused("Give the SQLite file's full path, starting with /.");
        if (fs::path(path).filename().empty())
            return refused("The SQLite file's path names a folder; add the file's name.");
        return {"sqlite:" + path, {}};
    }
    case ArchiveKind::Postgresql: {
        const std::string url = trimmed(form.postgresUrl);
        if (url.empty())
            return refused(
                "Type the PostgreSQL URL, for example postgresql://vessor@dbserver/archive.");
        if (!isPostgresUrl(url))
            return refused("A PostgreSQL URL starts with postgresql:// (for example "
                           "postgresql://vessor@dbserver/archive).");
        if (urlWithoutPassword(url) != url)
            return refused(
                "Leave the password out of the URL: it would be stored in clear. "
                "The PostgreSQL client reads it from ~/.pgpass or the PGPASSWORD variable.");
        if (hasControl(url) || url.find(' ') != std::string::npos)
            return refused("A URL holds no blanks or line breaks; write a blank as %20.");
        return {url, {}};
    }
    }
    return refused("Choose an archive.");
}

StoredArchiveForm archiveFormFor(const std::string& setting) {
    StoredArchiveForm stored;
    if (setting.empty())
        return stored;
    std::string error;
    const std::optional<archive::ArchiveUrl> url = archive::parseArchiveUrl(setting, error);
    if (!url) {
        stored.note = "The stored setting is not used: " + error + ".";
        return stored;
    }
    switch (url->kind) {
    case archive::ArchiveUrl::Kind::None:
        stored.form.kind = ArchiveKind::None;
        break;
    case archive::ArchiveUrl::Kind::Sqlite:
        stored.form.kind = ArchiveKind::SqliteFile;
        stored.form.sqlitePath = url->target;
        break;
    case archive::ArchiveUrl::Kind::Postgresql:
        stored.form.kind = ArchiveKind::Postgresql;
        stored.form.postgresUrl = urlWithoutPassword(setting);
        if (stored.form.postgresUrl != setting)
            stored.note = "The stored URL holds a password. It is not shown, and OK stores the URL "
                          "without it.";
        break;
    }
    return stored;
}

std::string archiveOverrideNote(const std::optional<std::string>& option,
                                const std::optional<std::string>& environment) {
    if (option && !option->empty())
        return "This run stores downloads into " + archive::withoutPassword(*option) +
               " (--archive). The setting applies when Vessor USB starts without --archive.";
    if (environment && !environment->empty())
        return std::string(archive::ENVIRONMENT_VARIABLE) + " is set to " +
               archive::withoutPassword(*environment) +
               ": it decides instead of this setting while it is set.";
    return {};
}

ArchiveCheck checkArchive(const std::string& setting) {
    archive::ArchiveSources sources;
    sources.setting = setting;
    sources.defaultPath = archive::defaultArchivePath();
    const archive::ArchiveChoice choice = archive::chooseArchive(sources);
    if (!choice.ok())
        return {false, choice.error};
    const archive::ArchiveUrl& url = *choice.url;
    if (!url.enabled())
        return {true, "No archive: downloads are saved as files only."};
    if (url.kind == archive::ArchiveUrl::Kind::Sqlite) {
        std::error_code error;
        const fs::path file(url.target);
        if (!fs::exists(file, error)) {
            const fs::path folder = file.parent_path();
            if (!url.isDefault && !fs::is_directory(folder, error))
                return {false, "The folder " + folder.string() + " does not exist."};
            const fs::path existing = existingFolder(folder);
            if (!writable(existing))
                return {false, "The folder " + existing.string() + " cannot be written to."};
            return {true, "The file " + url.target +
                              " does not exist yet: it is made when the first download is stored."};
        }
    }
    std::string why;
    const std::unique_ptr<archive::Archive> opened = archive::Archive::open(
        archive::withConnectTimeout(url, archive::DIALOG_CONNECT_TIMEOUT), why);
    if (!opened)
        return {false, "The archive cannot be opened: " + why};
    const archive::Result<std::vector<archive::LoggerEntry>> loggers = opened->loggers();
    if (!loggers.ok())
        return {false, "The archive cannot be read: " + loggers.error};
    int downloads = 0;
    for (const archive::LoggerEntry& logger : *loggers.value)
        downloads += logger.downloads;
    const auto counted = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return {true, "The archive works: it holds " + counted(downloads, "download", "downloads") +
                      " of " +
                      counted(static_cast<int>(loggers.value->size()), "logger", "loggers") + "."};
}

} // namespace vessor

#include "logger/archive/archive_url.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vessor::archive {

namespace {

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::string homeFolder() {
    if (auto home = environment("HOME"))
        return *home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return ".";
}

// An absolute folder from an XDG variable, else HOME/fallback.
std::string xdgFolder(const char* variable, const char* fallback) {
    if (auto value = environment(variable); value && value->front() == '/')
        return *value;
    return homeFolder() + "/" + fallback;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// QSettings' INI value: a quoted string or plain text, with backslash escapes.
std::string iniValue(std::string_view raw) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[++i];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'x': {
                // \xHHHH: a Unicode code point, written back as UTF-8.
                unsigned code = 0;
                std::size_t j = i + 1;
                for (; j < raw.size() && j < i + 5; ++j) {
                    const char h = raw[j];
                    const int digit = h >= '0' && h <= '9'   ? h - '0'
                                      : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                      : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                             : -1;
                    if (digit < 0)
                        break;
                    code = code * 16 + static_cast<unsigned>(digit);
                }
                i = j - 1;
                if (code < 0x80) {
                    out += static_cast<char>(code);
                } else if (code < 0x800) {
                    out += static_cast<char>(0xC0 | (code >> 6));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (code >> 12));
                    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (code & 0x3F));
                }
                break;
            }
            default: out += e; break;
            }
            continue;
        }
        if (!quoted && (c == ';' || c == '\r'))
            break;
        out += c;
    }
    // Unquoted text loses its surrounding blanks, as QSettings reads it.
    const auto first = out.find_first_not_of(" \t");
    const auto last = out.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

} // namespace

std::string withoutPassword(std::string_view text) {
    std::string out(text);
    // user:PASSWORD@host in the authority part.
    if (const auto scheme = out.find("://"); scheme != std::string::npos) {
        const std::size_t start = scheme + 3;
        const std::size_t end = out.find_first_of("/?", start);
        const std::size_t at = out.rfind('@', end == std::string::npos ? std::string::npos : end);
        if (at != std::string::npos && at >= start) {
            const std::size_t colon = out.find(':', start);
            if (colon != std::string::npos && colon < at)
                out.erase(colon, at - colon);
        }
    }
    // password=... as a query parameter or a keyword of a connection string.
    for (std::size_t at = out.find("password="); at != std::string::npos; at = out.find("password=", at + 1)) {
        const std::size_t value = at + 9;
        std::size_t end = out.find_first_of("& ", value);
        if (end == std::string::npos)
            end = out.size();
        out.replace(value, end - value, "***");
    }
    return out;
}

std::string ArchiveUrl::display() const {
    return withoutPassword(text);
}

std::optional<ArchiveUrl> parseArchiveUrl(std::string_view text, std::string& error) {
    ArchiveUrl url;
    url.text = std::string(text);
    if (text == "none") {
        url.kind = ArchiveUrl::Kind::None;
        return url;
    }
    if (startsWith(text, "sqlite:")) {
        url.kind = ArchiveUrl::Kind::Sqlite;
        url.target = std::string(text.substr(7));
        if (url.target.empty()) {
            error = "the archive URL \"sqlite:\" names no file (sqlite:PATH)";
            return std::nullopt;
        }
        return url;
    }
    if (startsWith(text, "postgresql://") || startsWith(text, "postgres://")) {
        url.kind = ArchiveUrl::Kind::Postgresql;
        url.target = std::string(text);
        return url;
    }
    error = "the archive URL \"" + withoutPassword(text) +
            "\" is none of sqlite:PATH, postgresql://... or none";
    return std::nullopt;
}

const char* urlSourceName(UrlSource source) {
    switch (source) {
    case UrlSource::Option: return "--archive";
    case UrlSource::Environment: return ENVIRONMENT_VARIABLE;
    case UrlSource::Setting: return "the setting Archive/URL";
    case UrlSource::Default: return "the default";
    }
    return "the default";
}

ArchiveChoice chooseArchive(const ArchiveSources& sources) {
    ArchiveChoice choice;
    const std::pair<const std::optional<std::string>*, UrlSource> order[] = {
        {&sources.option, UrlSource::Option},
        {&sources.environment, UrlSource::Environment},
        {&sources.setting, UrlSource::Setting},
    };
    for (const auto& [value, source] : order) {
        if (!*value || (*value)->empty())
            continue;
        choice.source = source;
        std::string error;
        choice.url = parseArchiveUrl(**value, error);
        if (!choice.url)
            choice.error = std::string(urlSourceName(source)) + ": " + error;
        return choice;
    }
    choice.source = UrlSource::Default;
    ArchiveUrl url;
    url.kind = ArchiveUrl::Kind::Sqlite;
    url.target = sources.defaultPath;
    url.text = "sqlite:" + sources.defaultPath;
    url.isDefault = true;
    choice.url = url;
    return choice;
}

std::string defaultArchivePath() {
    return xdgFolder("XDG_DATA_HOME", ".local/share") + "/vessor/archive.sqlite";
}

std::optional<std::string> archiveSettingFromIni(std::string_view ini) {
    std::istringstream lines{std::string(ini)};
    std::string line;
    bool inSection = false;
    std::optional<std::string> found;
    const std::string wantedSection = std::string("[") + SETTING_SECTION + "]";
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos)
            continue;
        const std::string_view text = std::string_view(line).substr(start);
        if (text.front() == '[') {
            inSection = text.substr(0, text.find(']') + 1) == wantedSection;
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        std::string_view key = text.substr(0, equals);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.remove_suffix(1);
        // QSettings also writes a section's key in the General section as "Archive\URL".
        const bool match = (inSection && key == SETTING_KEY) ||
                           key == std::string(SETTING_SECTION) + "\\" + SETTING_KEY ||
                           key == std::string(SETTING_SECTION) + "/" + SETTING_KEY;
        if (match)
            found = iniValue(text.substr(equals + 1));
    }
    return found;
}

std::optional<std::string> readArchiveSetting() {
    const std::string path = xdgFolder("XDG_CONFIG_HOME", ".config") + "/Meridane Electronics/vessor-usb.conf";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return archiveSettingFromIni(text.str());
}

ArchiveUrl withConnectTimeout(ArchiveUrl url, int seconds) {
    if (url.kind != ArchiveUrl::Kind::Postgresql)
        return url;
    std::string& target = url.target;
    const std::size_t query = target.find('?');
    if (query != std::string::npos) {
        // A timeout the user gave wins.
        std::string_view rest = std::string_view(target).substr(query + 1);
        while (!rest.empty()) {
            const std::size_t end = rest.find('&');
            if (rest.substr(0, end).substr(0, 16) == "connect_timeout=")
                return url;
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    const char last = target.back();
    if (query == std::string::npos)
        target += '?';
    else if (last != '?' && last != '&')
        target += '&';
    target += "connect_timeout=" + std::to_string(seconds);
    return url;
}

ArchiveChoice chooseArchiveForProgram(const std::optional<std::string>& option,
                                      const std::optional<std::string>& setting) {
    ArchiveSources sources;
    sources.option = option;
    sources.environment = environment(ENVIRONMENT_VARIABLE);
    // The settings file is read only when nothing before it decides.
    if (!(option && !option->empty()) && !sources.environment)
        sources.setting = setting ? setting : readArchiveSetting();
    sources.defaultPath = defaultArchivePath();
    return chooseArchive(sources);
}

} // namespace vessor::archive

#include "logger/safe_save.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vessor {

namespace {

constexpr std::size_t RANDOM_LENGTH = 8;
constexpr std::string_view TEMP_SUFFIX = ".part";
// Short enough for any file system's name limit, whatever the target's length.
constexpr std::size_t MAX_BASE_IN_TEMP = 200;
constexpr std::string_view ALPHABET =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string randomPart() {
    std::array<unsigned char, RANDOM_LENGTH> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        std::random_device device;
        for (unsigned char& b : bytes)
            b = static_cast<unsigned char>(device());
    }
    std::string text;
    for (unsigned char b : bytes)
        text += ALPHABET[b % ALPHABET.size()];
    return text;
}

bool isTemporaryOf(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + RANDOM_LENGTH + TEMP_SUFFIX.size() ||
        !name.starts_with(prefix) || !name.ends_with(TEMP_SUFFIX))
        return false;
    const std::string_view middle = name.substr(prefix.size(), RANDOM_LENGTH);
    return middle.find_first_not_of(ALPHABET) == std::string_view::npos;
}

// Temporary files of this target left by killed saves: ours, regular, and no
// longer locked by a save in progress.
void removeLeftovers(int dir, const std::string& prefix) {
    const int listFd = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR* list = ::fdopendir(listFd);
    if (!list) {
        ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(list)) {
        const std::string name = entry->d_name;
        if (!isTemporaryOf(name, prefix))
            continue;
        const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat open {};
        struct stat named {};
        if (::fstat(fd, &open) == 0 && S_ISREG(open.st_mode) && open.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == open.st_dev && named.st_ino == open.st_ino)
            ::unlinkat(dir, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(list);
}

} // namespace

std::string temporaryPrefix(const std::string& targetName) {
    return "." + targetName.substr(0, MAX_BASE_IN_TEMP) + ".";
}

SafeSave::SafeSave(std::string target, SaveOptions options)
    : m_target(std::move(target)), m_options(options) {}

SafeSave::~SafeSave() {
    discard();
}

void SafeSave::discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_committed && !m_direct && !m_tempName.empty() && m_dir >= 0)
        ::unlinkat(m_dir, m_tempName.c_str(), 0);
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
    if (m_dir >= 0)
        ::close(m_dir);
    m_dir = -1;
}

bool SafeSave::fail(SaveStep step, int error) {
    m_result.step = step;
    m_result.error = error;
    m_result.reason = std::strerror(error);
    discard();
    return false;
}

bool SafeSave::checkFault(SaveFault::At at) {
    if (m_options.fault.at != at)
        return false;
    if (m_options.fault.kill)
        ::raise(SIGKILL);
    errno = m_options.fault.error;
    return true;
}

bool SafeSave::open() {
    if (m_target.empty())
        return fail(SaveStep::Open, ENOENT);
    const std::size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : m_target.substr(0, slash);
    m_base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    if (m_base.empty() || m_base == "." || m_base == "..")
        return fail(SaveStep::Open, EISDIR);

    m_dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dir < 0)
        return fail(SaveStep::Open, errno);

    bool exists = false;
    struct stat old {};
    if (::fstatat(m_dir, m_base.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        exists = true;
        if (S_ISDIR(old.st_mode))
            return fail(SaveStep::Open, EISDIR);
        if (S_ISCHR(old.st_mode)) {
            // A device (/dev/null) takes the bytes as they come; there is
            // nothing to replace.
            m_direct = true;
            m_fd = ::openat(m_dir, m_base.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
            return m_fd >= 0 || fail(SaveStep::Open, errno);
        }
        if (S_ISREG(old.st_mode)) {
            // Root may write anything: the mode alone says the file is not
            // to be changed.
            if ((old.st_mode & 0222) == 0)
                return fail(SaveStep::Open, EACCES);
            if (::faccessat(m_dir, m_base.c_str(), W_OK, AT_EACCESS) != 0)
                return fail(SaveStep::Open, errno);
            m_mode = old.st_mode & 0777;
            m_owner = old.st_uid;
            m_group = old.st_gid;
            m_keepOwner = true;
        } else if (!S_ISLNK(old.st_mode)) {
            // A pipe or socket someone left here could hand the data to them.
            return fail(SaveStep::Open, EINVAL);
        }
    } else if (errno != ENOENT) {
        return fail(SaveStep::Open, errno);
    }

    const std::string prefix = temporaryPrefix(m_base);
    removeLeftovers(m_dir, prefix);
    for (int attempt = 0; attempt < 32 && m_fd < 0; ++attempt) {
        m_tempName = prefix + randomPart() + std::string(TEMP_SUFFIX);
        // 0666 lets the umask choose a new file's permissions; the data is
        // written only once the file is private.
        m_fd = ::openat(m_dir, m_tempName.c_str(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_tempName.clear();
        return fail(SaveStep::Open, error);
    }
    struct stat created {};
    if (::fstat(m_fd, &created) != 0 || ::fchmod(m_fd, 0600) != 0)
        return fail(SaveStep::Open, errno);
    if (!exists || !S_ISREG(old.st_mode))
        m_mode = created.st_mode & 0777;
    // The lock tells a later save that this file is still being written. A
    // file system without locks only keeps leftovers from being removed.
    m_lock = ::dup(m_fd);
    if (m_lock < 0)
        return fail(SaveStep::Open, errno);
    const int locked = ::flock(m_lock, LOCK_EX | LOCK_NB);
    static_cast<void>(locked);
    return true;
}

bool SafeSave::write(std::string_view bytes) {
    if (m_fd < 0)
        return false;
    while (!bytes.empty()) {
        std::size_t chunk = bytes.size();
        const SaveFault& fault = m_options.fault;
        if (fault.at == SaveFault::At::Write && m_written + chunk > fault.afterBytes) {
            chunk = fault.afterBytes > m_written ? fault.afterBytes - m_written : 0;
            if (chunk == 0 && checkFault(SaveFault::At::Write))
                return fail(SaveStep::Write, errno);
        }
        const ssize_t n = ::write(m_fd, bytes.data(), chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(SaveStep::Write, errno);
        if (n == 0)
            return fail(SaveStep::Write, EIO);
        m_written += static_cast<std::size_t>(n);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string SafeSave::libraryPath() const {
    if (m_fd < 0)
        return {};
    // The descriptor's own name opens this very file even if someone
    // renamed it away and left a link in its place.
    const std::string own = "/proc/self/fd/" + std::to_string(m_fd);
    if (::access(own.c_str(), W_OK) == 0)
        return own;
    const std::size_t slash = m_target.rfind('/');
    return (slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1)) +
           m_tempName;
}

bool SafeSave::readBack(std::string& bytes) {
    bytes.clear();
    if (m_fd < 0)
        return false;
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        return fail(SaveStep::Write, errno);
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(SaveStep::Write, n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SafeSave::rewrite(std::string_view bytes) {
    if (m_fd < 0 || m_direct)
        return false;
    if (::ftruncate(m_fd, 0) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0)
        return fail(SaveStep::Write, errno);
    m_written = 0;
    return write(bytes);
}

bool SafeSave::commit() {
    if (m_fd < 0)
        return false;
    if (m_direct) {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return fail(SaveStep::Write, errno);
        m_committed = true;
        discard();
        return true;
    }
    if (checkFault(SaveFault::At::Sync) || ::fsync(m_fd) != 0)
        return fail(SaveStep::Write, errno);
    // Root saving someone else's file leaves it theirs. Others may not give
    // a file away: it becomes theirs, as a new file would, and that is fine.
    if (m_keepOwner) {
        const int kept = ::fchown(m_fd, m_owner, m_group);
        static_cast<void>(kept);
    }
    if (::fchmod(m_fd, m_mode) != 0)
        return fail(SaveStep::Write, errno);
    // The lock descriptor keeps the file locked past this close.
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 || checkFault(SaveFault::At::Close))
        return fail(SaveStep::Write, errno);
    if (checkFault(SaveFault::At::Rename) ||
        ::renameat(m_dir, m_tempName.c_str(), m_dir, m_base.c_str()) != 0)
        return fail(SaveStep::Write, errno);
    m_committed = true;
    // Makes the rename itself durable; the file is in place whatever this says.
    ::fsync(m_dir);
    discard();
    return true;
}

SaveResult saveFile(const std::string& path, std::string_view bytes, const SaveOptions& options) {
    SafeSave save(path, options);
    if (save.open() && save.write(bytes))
        save.commit();
    return save.result();
}

bool isSameFile(const std::string& input, const std::string& output) {
    struct stat in {};
    struct stat out {};
    return ::stat(input.c_str(), &in) == 0 && ::lstat(output.c_str(), &out) == 0 &&
           in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

SaveResult writeStream(std::FILE* stream, std::string_view bytes, const SaveOptions& options) {
    SaveResult result = finishStream(stream);
    if (!result.ok())
        return result;
    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        const SaveFault& fault = options.fault;
        if (fault.at == SaveFault::At::Write && written + chunk > fault.afterBytes) {
            chunk = fault.afterBytes > written ? fault.afterBytes - written : 0;
            if (chunk == 0) {
                if (fault.kill)
                    ::raise(SIGKILL);
                errno = fault.error;
            }
        }
        const ssize_t n =
            chunk == 0 ? -1 : ::write(::fileno(stream), bytes.data() + written, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            result.step = SaveStep::Write;
            result.error = error;
            result.reason = std::strerror(error);
            return result;
        }
        written += static_cast<std::size_t>(n);
    }
    return result;
}

SaveResult finishStream(std::FILE* stream) {
    SaveResult result;
    int error = 0;
    errno = 0;
    if (std::fflush(stream) != 0)
        error = errno ? errno : EIO;
    else if (std::ferror(stream))
        // An earlier write failed; its reason is gone with it.
        error = EIO;
    if (error != 0) {
        result.step = SaveStep::Write;
        result.error = error;
        result.reason = std::strerror(error);
    }
    return result;
}

} // namespace vessor

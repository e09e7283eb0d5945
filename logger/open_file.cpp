#include "logger/open_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vessor {

InputFile::~InputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

InputFile::InputFile(InputFile&& other) noexcept
    : m_fd(other.m_fd), m_problem(other.m_problem), m_error(other.m_error), m_size(other.m_size) {
    other.m_fd = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_problem = other.m_problem;
        m_error = other.m_error;
        m_size = other.m_size;
        other.m_fd = -1;
    }
    return *this;
}

std::string InputFile::reason() const {
    switch (m_problem) {
    case OpenProblem::None:
        return {};
    case OpenProblem::NotPlainFile:
        return "Not a plain file";
    case OpenProblem::Folder:
        return std::strerror(EISDIR);
    case OpenProblem::NotFound:
        return std::strerror(ENOENT);
    case OpenProblem::CannotOpen:
        break;
    }
    return std::strerror(m_error ? m_error : EIO);
}

long InputFile::read(char* buffer, unsigned long length) {
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, length);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

bool InputFile::rewind() { return m_fd >= 0 && ::lseek(m_fd, 0, SEEK_SET) == 0; }

InputFile openInputFile(const std::string& path) {
    InputFile file;
    // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        file.m_error = errno;
        file.m_problem = errno == ENOENT ? OpenProblem::NotFound : OpenProblem::CannotOpen;
        return file;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        file.m_error = errno;
        ::close(fd);
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.m_problem = S_ISDIR(info.st_mode) ? OpenProblem::Folder : OpenProblem::NotPlainFile;
        ::close(fd);
        return file;
    }
    // A plain file is read as any other: blocking reads.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        file.m_error = errno;
        ::close(fd);
        return file;
    }
    file.m_fd = fd;
    file.m_problem = OpenProblem::None;
    file.m_size = static_cast<unsigned long long>(info.st_size);
    return file;
}

} // namespace vessor

// Opening an input file once, without blocking: a FIFO or a device opened
// for reading waits for a writer or never ends, so only a plain file is
// read, and the check is made on the descriptor that is then read, never
// on the name a second time.
#pragma once

#include <string>

namespace vessor {

enum class OpenProblem {
    None,
    NotFound,
    Folder,
    NotPlainFile,  // a FIFO, a device, a socket
    CannotOpen,    // `error` (errno) says why
};

// An open plain file; closed when it goes.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }
    OpenProblem problem() const { return m_problem; }
    int error() const { return m_error; }
    // The size fstat reported when it was opened.
    unsigned long long size() const { return m_size; }
    // The system's reason for the problem, e.g. "Not a plain file".
    std::string reason() const;

    // Reads up to `length` bytes, retrying after signals; -1 with errno on failure.
    long read(char* buffer, unsigned long length);
    // Back to the first byte, for a second reader of the same file.
    bool rewind();

private:
    friend InputFile openInputFile(const std::string& path);
    int m_fd = -1;
    OpenProblem m_problem = OpenProblem::CannotOpen;
    int m_error = 0;
    unsigned long long m_size = 0;
};

// `path` is the file name's bytes, as given.
InputFile openInputFile(const std::string& path);

} // namespace vessor

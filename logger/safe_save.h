// The one way the programs write a file. The bytes go to a hidden temporary
// file created exclusively beside the target, are flushed to disk, and only a
// complete file is renamed over the target, so a failure or a kill never
// leaves a partial file where the old one was. A symbolic link at the target
// is replaced, never followed. The old file's permissions carry over; a target
// whose mode has no write bit is refused, for root too.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vessor {

// Where a save stopped. Open: nothing was written (the target is refused or
// no temporary file could be made); Write: writing, flushing or renaming.
enum class SaveStep { None, Open, Write };

struct SaveResult {
    SaveStep step = SaveStep::None;
    int error = 0;      // errno of the failure
    std::string reason; // the system's text for it ("No space left on device")

    bool ok() const { return step == SaveStep::None; }
};

// A failure made on purpose, for the tests of full disks, I/O errors and
// kills. The programs never set one.
struct SaveFault {
    enum class At { Nothing, Write, Sync, Close, Rename };
    At at = At::Nothing;
    int error = 0;              // errno the failing step reports
    std::size_t afterBytes = 0; // At::Write: the bytes written before it fails
    bool kill = false;          // SIGKILL the process there instead
};

struct SaveOptions {
    SaveFault fault;
};

// One save of one target. open(), then write() (or let a library write into
// libraryPath()), then commit(). Destroyed without a commit, it removes the
// temporary file and the target stays as it was.
class SafeSave {
public:
    explicit SafeSave(std::string target, SaveOptions options = {});
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // Checks the target and creates the temporary file; also removes the
    // temporary files of saves of this target that were killed.
    bool open();
    bool write(std::string_view bytes);
    // A path that opens the temporary file itself, for libraries that write
    // by name (never the target's, never a name someone could swap).
    std::string libraryPath() const;
    // The whole temporary file, as a library left it.
    bool readBack(std::string& bytes);
    // Replaces what the temporary file holds.
    bool rewrite(std::string_view bytes);
    // Flushes, sets the permissions, renames over the target, syncs the folder.
    bool commit();

    const SaveResult& result() const { return m_result; }
    const std::string& target() const { return m_target; }
    const std::string& temporaryName() const { return m_tempName; }

private:
    bool fail(SaveStep step, int error);
    bool checkFault(SaveFault::At at);
    void discard();

    std::string m_target;
    SaveOptions m_options;
    SaveResult m_result;
    std::string m_base;     // the target's own name
    std::string m_tempName; // in the target's folder
    int m_dir = -1;
    int m_fd = -1;
    int m_lock = -1;      // keeps the temporary file locked until the rename
    unsigned m_mode = 0;  // the permissions the file gets
    unsigned m_owner = 0; // and its owner, when it replaces a file
    unsigned m_group = 0;
    bool m_keepOwner = false;
    bool m_direct = false; // a device: written in place, nothing renamed
    bool m_committed = false;
    std::size_t m_written = 0;
};

// The whole file in one call.
SaveResult saveFile(const std::string& path, std::string_view bytes,
                    const SaveOptions& options = {});

// The start of the hidden temporary names of a target named `targetName`:
// ".NAME." (the name cut to 200 bytes); 8 random characters and ".part"
// follow.
std::string temporaryPrefix(const std::string& targetName);

// True when writing `output` would replace the file `input` (same device and
// inode). A symbolic link at `output` is replaced, not followed, so it never
// counts as the file it points to.
bool isSameFile(const std::string& input, const std::string& output);

// Flushes a stream (standard output) and tells whether every write to it
// reached the system.
SaveResult finishStream(std::FILE* stream);
// Writes `bytes` to a stream (standard output) after what it holds, each
// write checked, with the seam's faults.
SaveResult writeStream(std::FILE* stream, std::string_view bytes, const SaveOptions& options = {});

} // namespace vessor

// The safe save: every way a save can end, and what is left on disk after it.
#include "test_support.h"

#include "logger/safe_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vessor {
namespace {

namespace fs = std::filesystem;

const std::string OLD = "old contents\n";
const std::string NEW(100000, 'n');

std::string readFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return "(not a file)";
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary) << bytes;
    ::chmod(path.c_str(), mode);
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

mode_t umaskDefault() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::tempDir(); }
    void TearDown() override {
        ::chmod(dir.c_str(), 0700);
        fs::remove_all(dir);
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> temporaries(const std::string& target) const {
        std::vector<std::string> names;
        for (const std::string& name : entries())
            if (name.starts_with(temporaryPrefix(target)) && name.ends_with(".part"))
                names.push_back(name);
        return names;
    }

    std::string dir;
};

// A failure anywhere before the rename: the old file as it was, no
// temporary file, and the system's text for the cause.
TEST_F(SafeSaveTest, AFailureLeavesTheOldFileAndNoTemporary) {
    using At = SaveFault::At;
    const struct {
        const char* name;
        SaveFault fault;
    } cases[] = {
        {"disk full at the first byte", {At::Write, ENOSPC, 0, false}},
        {"disk full part way", {At::Write, ENOSPC, 4096, false}},
        {"I/O error while writing", {At::Write, EIO, 100, false}},
        {"I/O error on the flush to disk", {At::Sync, EIO, 0, false}},
        {"I/O error on close", {At::Close, EIO, 0, false}},
        {"rename refused", {At::Rename, EXDEV, 0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool existed : {true, false}) {
            const std::string target = path("target.txt");
            fs::remove(target);
            if (existed)
                writeFile(target, OLD, 0640);
            const SaveResult result = saveFile(target, NEW, SaveOptions{c.fault});
            EXPECT_EQ(result.step, SaveStep::Write);
            EXPECT_EQ(result.error, c.fault.error);
            EXPECT_EQ(result.reason, std::strerror(c.fault.error));
            if (existed) {
                EXPECT_EQ(readFile(target), OLD);
                EXPECT_EQ(modeOf(target) & 0777, 0640u);
                EXPECT_EQ(entries(), std::vector<std::string>{"target.txt"});
            } else {
                EXPECT_TRUE(entries().empty());
            }
        }
    }
}

// What stands at the target decides what a save does to it.
TEST_F(SafeSaveTest, WhatStandsAtTheTarget) {
    const std::string victim = path("victim");
    writeFile(victim, "private\n", 0600);
    ::mkdir(path("folder").c_str(), 0755);
    ::mkfifo(path("fifo").c_str(), 0644);
    writeFile(path("mine-0600"), OLD, 0600);
    writeFile(path("shared-0664"), OLD, 0664);
    writeFile(path("read-only-0444"), OLD, 0444);
    writeFile(path("no-write-bit-0555"), OLD, 0555);
    ::symlink(victim.c_str(), path("link").c_str());
    ::symlink(path("nowhere").c_str(), path("dangling").c_str());

    const mode_t fresh = umaskDefault();
    const struct {
        const char* name;
        SaveStep step;
        int error;
        mode_t mode; // of the saved file
    } cases[] = {
        {"absent", SaveStep::None, 0, fresh},
        {"mine-0600", SaveStep::None, 0, 0600},
        {"shared-0664", SaveStep::None, 0, 0664},
        // The mode is checked, so this holds for root too.
        {"read-only-0444", SaveStep::Open, EACCES, 0},
        {"no-write-bit-0555", SaveStep::Open, EACCES, 0},
        // Replaced, never followed: the file it points to is not touched.
        {"link", SaveStep::None, 0, fresh},
        {"dangling", SaveStep::None, 0, fresh},
        {"folder", SaveStep::Open, EISDIR, 0},
        {"fifo", SaveStep::Open, EINVAL, 0},
        {"missing-folder/file", SaveStep::Open, ENOENT, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = path(c.name);
        const std::string before = readFile(target);
        const mode_t modeBefore = modeOf(target);
        const SaveResult result = saveFile(target, NEW);
        EXPECT_EQ(result.step, c.step);
        EXPECT_EQ(result.error, c.error);
        if (c.step == SaveStep::None) {
            EXPECT_TRUE(S_ISREG(modeOf(target)));
            EXPECT_EQ(modeOf(target) & 0777, c.mode);
            EXPECT_EQ(readFile(target), NEW);
        } else {
            EXPECT_EQ(result.reason, std::strerror(c.error));
            EXPECT_EQ(modeOf(target), modeBefore);
            EXPECT_EQ(readFile(target), before);
        }
    }
    EXPECT_EQ(readFile(victim), "private\n");
    EXPECT_FALSE(fs::exists(path("nowhere")));
    for (const std::string& name : entries())
        EXPECT_FALSE(name.ends_with(".part")) << name;
}

// A device takes the bytes in place: nothing to rename over /dev/null.
TEST_F(SafeSaveTest, ADeviceIsWrittenInPlace) {
    EXPECT_TRUE(saveFile("/dev/null", NEW).ok());
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/null")));
    const SaveResult full = saveFile("/dev/full", NEW);
    EXPECT_EQ(full.step, SaveStep::Write);
    EXPECT_EQ(full.reason, std::strerror(ENOSPC));
}

// Owners, and the permission checks that root passes: run as an ordinary user.
TEST_F(SafeSaveTest, WhoseFileItIs) {
    const bool root = ::geteuid() == 0;
    if (!root)
        GTEST_SKIP() << "needs root to set up files of another user";
    ::chmod(dir.c_str(), 0777);
    // Root saving an ordinary user's file leaves it theirs.
    writeFile(path("theirs.txt"), OLD, 0640);
    ASSERT_EQ(::chown(path("theirs.txt").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(saveFile(path("theirs.txt"), NEW).ok());
    struct stat theirs {};
    ASSERT_EQ(::stat(path("theirs.txt").c_str(), &theirs), 0);
    EXPECT_EQ(theirs.st_uid, 65534u);
    EXPECT_EQ(theirs.st_gid, 65534u);
    EXPECT_EQ(theirs.st_mode & 0777, 0640u);
    writeFile(path("roots.txt"), OLD, 0644);
    ::mkdir(path("locked").c_str(), 0555);
    if (::seteuid(65534) != 0)
        GTEST_SKIP() << "cannot drop to an ordinary user (uid 65534)";
    const SaveResult notMine = saveFile(path("roots.txt"), NEW);
    const SaveResult lockedFolder = saveFile(path("locked/new.txt"), NEW);
    ASSERT_EQ(::seteuid(0), 0);
    EXPECT_EQ(notMine.step, SaveStep::Open);
    EXPECT_EQ(notMine.error, EACCES);
    EXPECT_EQ(readFile(path("roots.txt")), OLD);
    EXPECT_EQ(lockedFolder.step, SaveStep::Open);
    EXPECT_EQ(lockedFolder.error, EACCES);
    EXPECT_EQ(entries(), (std::vector<std::string>{"locked", "roots.txt", "theirs.txt"}));
}

// Killed at the first write: the target is intact, the hidden temporary
// file stays behind, and the next save of that target removes it.
TEST_F(SafeSaveTest, AKilledSaveIsCleanedUpByTheNext) {
    const std::string target = path("image.bin");
    writeFile(target, OLD, 0600);
    std::string leftover;
    for (int kill = 0; kill < 2; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            saveFile(target, NEW, SaveOptions{{SaveFault::At::Write, 0, 0, true}});
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(readFile(target), OLD);
        // The second run removed the first one's file and left its own.
        const std::vector<std::string> left = temporaries("image.bin");
        ASSERT_EQ(left.size(), 1u);
        EXPECT_NE(left.front(), leftover);
        leftover = left.front();
        EXPECT_EQ(leftover.size(), temporaryPrefix("image.bin").size() + 8 + 5) << leftover;
        EXPECT_EQ(modeOf(path(leftover)) & 0777, 0600u) << "the data is private while written";
    }
    // Another target's temporary file and look-alikes stay.
    writeFile(path(".other.txt.AAAAAAAA.part"), "x");
    writeFile(path(".image.bin.short.part"), "x");

    ASSERT_TRUE(saveFile(target, NEW).ok());
    EXPECT_EQ(readFile(target), NEW);
    EXPECT_EQ(entries(), (std::vector<std::string>{".image.bin.short.part",
                                                   ".other.txt.AAAAAAAA.part", "image.bin"}));
}

// A save in progress keeps its temporary file while another save of the
// same target runs; each temporary name is new and hidden.
TEST_F(SafeSaveTest, ASaveInProgressIsNotTakenForALeftover) {
    const std::string target = path("out.json");
    SafeSave first(target);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(first.write("first"));
    SafeSave second(target);
    ASSERT_TRUE(second.open());
    EXPECT_NE(first.temporaryName(), second.temporaryName());
    EXPECT_EQ(first.temporaryName().rfind(".out.json.", 0), 0u);
    ASSERT_TRUE(second.write("second"));
    ASSERT_TRUE(second.commit());
    EXPECT_TRUE(fs::exists(path(first.temporaryName())));
    ASSERT_TRUE(first.commit());
    EXPECT_EQ(readFile(target), "first");
    EXPECT_EQ(entries(), std::vector<std::string>{"out.json"});

    // Dropped without a commit: the target as it was, nothing left.
    {
        SafeSave dropped(target);
        ASSERT_TRUE(dropped.open());
        ASSERT_TRUE(dropped.write("half"));
    }
    EXPECT_EQ(readFile(target), "first");
    EXPECT_EQ(entries(), std::vector<std::string>{"out.json"});
}

// Libraries that open by name write into the very temporary file.
TEST_F(SafeSaveTest, ALibraryWritesThroughTheTemporaryFile) {
    const std::string target = path("book.xlsx");
    writeFile(target, OLD, 0640);
    SafeSave save(target);
    ASSERT_TRUE(save.open());
    std::FILE* library = std::fopen(save.libraryPath().c_str(), "wb");
    ASSERT_NE(library, nullptr);
    std::fputs("written by the library", library);
    ASSERT_EQ(std::fclose(library), 0);
    std::string bytes;
    ASSERT_TRUE(save.readBack(bytes));
    EXPECT_EQ(bytes, "written by the library");
    ASSERT_TRUE(save.rewrite("edited"));
    EXPECT_EQ(readFile(target), OLD);
    ASSERT_TRUE(save.commit());
    EXPECT_EQ(readFile(target), "edited");
    EXPECT_EQ(modeOf(target) & 0777, 0640u);
}

TEST_F(SafeSaveTest, SameFileByDeviceAndInode) {
    const std::string input = path("a.txt");
    writeFile(input, OLD);
    writeFile(path("b.txt"), OLD);
    ::link(input.c_str(), path("hard").c_str());
    ::symlink(input.c_str(), path("soft").c_str());
    const struct {
        const char* output;
        bool same;
    } cases[] = {
        {"a.txt", true},  {"hard", true}, // another name of the same file
        {"soft", false},                  // the link would be replaced, not the file
        {"b.txt", false}, {"absent", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSameFile(input, path(c.output)), c.same) << c.output;
    EXPECT_TRUE(isSameFile(input, "./" + fs::relative(input).string()));
}

TEST_F(SafeSaveTest, StandardOutputFailuresAreSeen) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const SaveResult written = writeStream(full, NEW);
    EXPECT_EQ(written.reason, std::strerror(ENOSPC));
    std::fputs("short", full);
    EXPECT_EQ(finishStream(full).reason, std::strerror(ENOSPC));
    std::fclose(full);

    const std::string target = path("stream.txt");
    std::FILE* file = std::fopen(target.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("buffered ", file);
    EXPECT_TRUE(writeStream(file, "then direct").ok());
    const SaveResult failed =
        writeStream(file, NEW, SaveOptions{{SaveFault::At::Write, EIO, 10, false}});
    EXPECT_EQ(failed.error, EIO);
    EXPECT_TRUE(finishStream(file).ok());
    std::fclose(file);
    EXPECT_EQ(readFile(target), "buffered then direct" + NEW.substr(0, 10));
}

} // namespace
} // namespace vessor

// Saving a download file: the old file of the same name survives every
// failure, and no partial file is left behind.
#include "download_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vessor::test {
namespace {

namespace fs = std::filesystem;

class SaveDownload : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vessor-save-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static void write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

const std::string OLD_FILE = "COLDROOM,Time,Celsius(\xB0" "C),Serial Number\r\n1,01/01/2007 00:00:00,1.0,000000001\r\n";

TEST_F(SaveDownload, ReplacesAnOlderFileWholeAndKeepsItsPermissions)
{
    const std::string target = path("Freezer1a.txt");
    write(target, OLD_FILE + OLD_FILE);
    ::chmod(target.c_str(), 0640);
    const std::string bytes = fileOf({"new,Time", "1,02/02/2008 00:00:00"});

    const DownloadOutcome outcome = saveDownloadFile(target, bytes);
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    EXPECT_EQ(read(target), bytes);
    EXPECT_EQ(entries(), std::vector<std::string>{"Freezer1a.txt"});
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(SaveDownload, DiskFullKeepsTheOlderFile)
{
    // A file size limit stands in for a full disk: the write fails part way.
    const std::string target = path("full.txt");
    write(target, OLD_FILE);
    const std::string bytes(256 * 1024, 'x');

    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit limited = previous;
    limited.rlim_cur = 64 * 1024;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const DownloadOutcome outcome = saveDownloadFile(target, bytes);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(outcome.error, DownloadError::WriteFailed);
    EXPECT_EQ(outcome.message.rfind("Failed writing file:\n" + target + "\n", 0), 0u)
        << outcome.message;
    EXPECT_NE(outcome.message.find("still on the logger"), std::string::npos);
    EXPECT_EQ(read(target), OLD_FILE);
    EXPECT_EQ(entries(), std::vector<std::string>{"full.txt"});
}

TEST_F(SaveDownload, RefusalsLeaveEverythingAsItWas)
{
    write(path("locked.txt"), OLD_FILE);
    ::chmod(path("locked.txt").c_str(), 0444);
    fs::create_directory(dir / "folder.txt");

    // The read-only file is refused by its mode, so for root too.
    const struct {
        const char* name;
        std::string target;
        DownloadError error;
        const char* reason;
    } cases[] = {
        {"empty path", "", DownloadError::NoPath, ""},
        {"missing folder", path("gone/file.txt"), DownloadError::OpenFailed, "No such file or directory"},
        {"a folder of that name", path("folder.txt"), DownloadError::OpenFailed, "Is a directory"},
        {"read-only file", path("locked.txt"), DownloadError::OpenFailed, "Permission denied"},
        {"percent signs in the path", path("100%s full/x.txt"), DownloadError::OpenFailed,
         "No such file or directory"},
    };
    for (const auto& c : cases) {
        const DownloadOutcome outcome = saveDownloadFile(c.target, "data\r\n");
        EXPECT_EQ(outcome.error, c.error) << c.name;
        if (c.error == DownloadError::OpenFailed)
            EXPECT_EQ(outcome.message, "Failed opening file:\n" + c.target + ": " + c.reason) << c.name;
        else
            EXPECT_EQ(outcome.message, "Error:  No file selected.");
    }
    EXPECT_EQ(read(path("locked.txt")), OLD_FILE);
    EXPECT_EQ(entries(), (std::vector<std::string>{"folder.txt", "locked.txt"}));
}

TEST_F(SaveDownload, ReadOnlyFolder)
{
    // Root writes into any folder: the folder is tried as an ordinary user.
    const bool root = ::geteuid() == 0;
    const std::string target = path("old.txt");
    write(target, OLD_FILE);
    fs::permissions(dir, root ? fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                    fs::perms::others_exec
                              : fs::perms::owner_read | fs::perms::owner_exec);
    if (root && ::seteuid(65534) != 0)
        GTEST_SKIP() << "cannot drop to an ordinary user (uid 65534)";
    const DownloadOutcome outcome = saveDownloadFile(target, "new\r\n");
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(outcome.error, DownloadError::OpenFailed);
    EXPECT_EQ(outcome.message, "Failed opening file:\n" + target + ": Permission denied");
    EXPECT_EQ(read(target), OLD_FILE);
}

TEST_F(SaveDownload, BrokenDataLeavesNoFile)
{
    LoggerConfig config = coldroom(MODEL_ZR_T);
    config.setReadingCount(10);
    const std::string target = path("partial.txt");
    write(target, OLD_FILE);
    const DownloadOutcome outcome = writeDownloadFile(config, SampleBuffer(4, 1), target);
    EXPECT_EQ(outcome.error, DownloadError::SampleMissing);
    EXPECT_EQ(read(target), OLD_FILE);
    EXPECT_EQ(entries(), std::vector<std::string>{"partial.txt"});
}

TEST_F(SaveDownload, LongestFileName)
{
    // The temporary name must fit the file system's limit too.
    const std::string target = path(std::string(251, 'a') + ".txt");
    const DownloadOutcome outcome = saveDownloadFile(target, "x\r\n");
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    EXPECT_EQ(read(target), "x\r\n");
}

TEST_F(SaveDownload, RelativePathInTheCurrentFolder)
{
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const DownloadOutcome outcome = saveDownloadFile("Store 4.txt", "x\r\n");
    fs::current_path(previous);
    ASSERT_TRUE(outcome.ok()) << outcome.message;
    EXPECT_EQ(read(path("Store 4.txt")), "x\r\n");
}

} // namespace
} // namespace vessor::test

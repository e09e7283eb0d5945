// Inputs are opened once, without blocking, and only plain files are read;
// file names are bytes.
#include "test_support.h"

#include "logger/download_reader.h"
#include "logger/open_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace vessor {
namespace {

TEST(OpenInputFile, OnlyPlainFilesAreReadAndNothingWaits) {
    const std::string dir = test::tempDir();
    const std::string plain = dir + "/plain.txt";
    std::ofstream(plain) << "Freezer,Time,Temperature\n";
    // A name that is not UTF-8 is a name like any other.
    const std::string latin1 = dir + "/K\xFChlraum.txt";
    std::ofstream(latin1) << "Freezer,Time,Temperature\n";
    const std::string fifo = dir + "/fifo.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    const struct {
        std::string path;
        OpenProblem problem;
        download::FileBytes::Status status;
        std::string reason;  // of the download reader
    } cases[] = {
        {plain, OpenProblem::None, download::FileBytes::Status::Ok, ""},
        {latin1, OpenProblem::None, download::FileBytes::Status::Ok, ""},
        {fifo, OpenProblem::NotPlainFile, download::FileBytes::Status::CannotOpen, "Not a plain file"},
        {dir, OpenProblem::Folder, download::FileBytes::Status::ReadError,
         "An error occurred while reading " + dir + ":\nIs a directory."},
        {"/dev/zero", OpenProblem::NotPlainFile, download::FileBytes::Status::CannotOpen, "Not a plain file"},
        {dir + "/missing.txt", OpenProblem::NotFound, download::FileBytes::Status::CannotOpen,
         "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const InputFile file = openInputFile(c.path);
        EXPECT_EQ(file.problem(), c.problem);
        EXPECT_EQ(file.isOpen(), c.problem == OpenProblem::None);
        EXPECT_EQ(file.reason(), c.problem == OpenProblem::Folder ? "Is a directory" : c.reason);
        const download::FileBytes bytes = download::loadDownloadBytes(c.path);
        EXPECT_EQ(bytes.status, c.status);
        EXPECT_EQ(bytes.problem, c.problem);
        EXPECT_EQ(bytes.errorText, c.reason);
        if (c.status == download::FileBytes::Status::Ok) {
            EXPECT_EQ(bytes.bytes, "Freezer,Time,Temperature\n");
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vessor

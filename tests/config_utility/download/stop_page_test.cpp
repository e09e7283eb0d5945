// The stop page against simulated loggers with scripted dialogs: what it
// shows, the save sequence and its failures, and the same bytes as
// `vessor-logger download`.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/cli_support.h"
#include "config_utility/download/stop_info_form.h"
#include "config_utility/support/sim_fixture.h"
#include "logger/archive/archive.h"
#include "logger/download_file.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

namespace vessor {
namespace {

using Edit = std::function<void(LoggerConfig&)>;

std::string readFile(const QString& path)
{
    std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary) << bytes;
}

// Puts `count` readings (raw i + 10 in every channel slot) into an image
// and applies `edit` to its block.
void fillImage(sim::LoggerImage& image, int count, const Edit& edit = {})
{
    LoggerConfig view;
    view.setBlock(image.block);
    const int model = view.modelType();
    const std::size_t width = static_cast<std::size_t>(sampleWidth(model));
    const std::size_t slotCount = static_cast<std::size_t>(count) * (isHumidityModel(model) ? 2 : 1);
    if (image.memory.size() < slotCount * width)
        image.memory.resize(slotCount * width);
    for (std::size_t i = 0; i < slotCount; ++i) {
        const unsigned raw = isEventLogger(model) ? 0x8000u | static_cast<unsigned>(i * 3)
                                                  : static_cast<unsigned>(i % 200 + 10);
        if (width == 2) {
            image.memory[2 * i] = static_cast<std::uint8_t>(raw >> 8);
            image.memory[2 * i + 1] = static_cast<std::uint8_t>(raw & 0xFF);
        } else {
            image.memory[i] = static_cast<std::uint8_t>(raw);
        }
    }
    view.setReadingCount(static_cast<std::int16_t>(count));
    view.setStartTime(2024, 3, 15, 8, 0, 0);
    if (edit)
        edit(view);
    image.block = view.block();
}

struct StopPage {
    explicit StopPage(int model, int readings = 20, const Edit& edit = {}) : f(model, 4711)
    {
        sim::LoggerImage image = f.logger->image();
        fillImage(image, readings, edit);
        f.logger->setImage(image);
        f.editBlock([](LoggerConfig& c) { c.setLoggerName("Freezer/1.a"); });
        EXPECT_TRUE(f.session.refresh());
        page.updatePage();
        f.desktop.saveAnswer = dir.filePath(QStringLiteral("Freezer1a.txt"));
    }

    void clickOk() { page.okButton()->click(); }
    QString saved() const { return f.desktop.saveAnswer; }
    // The file as the writer makes it from what the logger holds.
    std::string expected()
    {
        LoggerConfig fresh;
        LoggerSession session(fresh, f.clock);
        session.setTransport(f.usb.get());
        EXPECT_TRUE(session.refresh());
        SampleBuffer samples;
        EXPECT_TRUE(session.readSamples(samples));
        std::string bytes;
        EXPECT_TRUE(buildDownloadFile(fresh, samples, bytes).ok());
        return bytes;
    }

    test::SimFixture f;
    StopInfoForm page{f.context};
    QTemporaryDir dir;
};

TEST(StopPage, ShowsNameAndReadings)
{
    const struct {
        const char* name;
        int model;
        int readings;
        Edit edit;
        const char* caption;
        const char* count;
        bool ok;
    } cases[] = {
        {"readings", MODEL_ZR_T, 120, {}, "Readings:", "120", true},
        {"none", MODEL_ZR_TH, 0, {}, "Readings:", "0", false},
        {"negative count", MODEL_ZR_T, 0, [](LoggerConfig& c) { c.setReadingCount(-1); },
         "Readings:", "-1", false},
        {"wrapped ring", MODEL_ZR_T_PRO, 40,
         [](LoggerConfig& c) {
             c.setWrapMode(true);
             c.setByteAt(field::WRAP_COUNT, 2);
             c.setU16At(field::MEMORY_CAPACITY, 500);
         },
         "Readings:", "499", true},
        {"wrap mode, not wrapped yet", MODEL_ZR_TH_X, 40,
         [](LoggerConfig& c) { c.setWrapMode(true); }, "Readings:", "40", true},
        {"edge records", MODEL_ZR_EV, 50,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setU16At(field::MEMORY_CAPACITY, 16383);
         },
         "Memory Usage:", "0.3%", true},
        {"one state record", MODEL_ZR_EV, 1,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_STATE);
             c.setU16At(field::MEMORY_CAPACITY, 16383);
         },
         "Memory Usage:", "0.1%", true},
        {"records beyond the capacity", MODEL_ZR_EV, 200,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_STATE);
             c.setU16At(field::MEMORY_CAPACITY, 100);
         },
         "Memory Usage:", "100.0%", true},
        {"no capacity", MODEL_ZR_EV, 0,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setU16At(field::MEMORY_CAPACITY, 0);
         },
         "Memory Usage:", "0.0%", false},
        {"counts per period", MODEL_ZR_EV, 30,
         [](LoggerConfig& c) { c.setEventSampleMode(EVENT_MODE_COUNT_PER); }, "Readings:", "30",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StopPage p(c.model, c.readings, c.edit);
        EXPECT_EQ(p.page.nameText(), QStringLiteral("Freezer/1.a"));
        EXPECT_EQ(p.page.captionText().toStdString(), c.caption);
        EXPECT_EQ(p.page.countText().toStdString(), c.count);
        EXPECT_EQ(p.page.okButton()->isEnabled(), c.ok);
    }
}

TEST(StopPage, SavesTheFileAndStartsTheViewer)
{
    StopPage p(MODEL_ZR_TH);
    p.clickOk();

    ASSERT_EQ(p.f.desktop.saveRequests.size(), 1u);
    const FileDialogRequest& request = p.f.desktop.saveRequests.front();
    EXPECT_EQ(request.fileName, QStringLiteral("Freezer1a"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(request.filters.value(0), QStringLiteral("VessorUSB Download File (*.txt)"));
    EXPECT_EQ(readFile(p.saved()), p.expected());
    EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    EXPECT_EQ(p.f.desktop.viewerPaths, QStringList{p.saved()});
    EXPECT_EQ(p.f.desktop.setting(SETTINGS_SECTION, SAVED_DIRECTORY_KEY).toString(), p.dir.path());
    EXPECT_TRUE(p.f.ui.log().empty());
}

TEST(StopPage, DialogStartsInTheSavedDirectoryWhileItExists)
{
    StopPage p(MODEL_ZR_T);
    QTemporaryDir saved;
    p.f.desktop.setSetting(SETTINGS_SECTION, SAVED_DIRECTORY_KEY, saved.path());
    p.f.desktop.saveAnswer.clear();
    p.clickOk();
    ASSERT_EQ(p.f.desktop.saveRequests.size(), 1u);
    EXPECT_EQ(p.f.desktop.saveRequests[0].directory, saved.path());

    // The folder is gone: the documents folder (or home where there is none).
    const QString vanished = saved.path();
    saved.remove();
    p.clickOk();
    ASSERT_EQ(p.f.desktop.saveRequests.size(), 2u);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir(documents).exists() ? documents : QDir::homePath();
    EXPECT_EQ(p.f.desktop.saveRequests[1].directory, fallback);
    EXPECT_EQ(p.f.desktop.setting(SETTINGS_SECTION, SAVED_DIRECTORY_KEY).toString(), vanished);

    // Damaged values: a relative folder (which would follow wherever the
    // program was started from), a list, a number.
    for (const QVariant& damaged : {QVariant(QStringLiteral(".")), QVariant(QStringLiteral("tmp")),
                                    QVariant(QStringList{QDir::tempPath(), QDir::homePath()}),
                                    QVariant(12345)}) {
        p.f.desktop.setSetting(SETTINGS_SECTION, SAVED_DIRECTORY_KEY, damaged);
        p.f.desktop.saveRequests.clear();
        p.clickOk();
        ASSERT_EQ(p.f.desktop.saveRequests.size(), 1u);
        EXPECT_EQ(p.f.desktop.saveRequests[0].directory, fallback) << damaged.toString().toStdString();
    }
}

TEST(StopPage, CancelledDialogWarnsAndStartsNothing)
{
    StopPage p(MODEL_ZR_CO);
    p.f.desktop.saveAnswer.clear();
    p.clickOk();
    EXPECT_EQ(p.f.ui.texts(), std::vector<std::string>{messageText(MSG_DATA_NOT_SAVED)});
    EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
    EXPECT_TRUE(p.f.desktop.settings.empty());
}

TEST(StopPage, FailedSaveKeepsTheOlderFile)
{
    StopPage p(MODEL_ZR_T);
    const std::string older = "older download\r\n";
    writeFile(p.saved(), older);
    // Refused by its mode, so for root too.
    QFile::setPermissions(p.saved(), QFile::ReadOwner);
    p.clickOk();
    EXPECT_EQ(p.f.ui.texts(),
              std::vector<std::string>{"Failed opening file:\n" + p.saved().toStdString() + ": Permission denied"});
    EXPECT_EQ(readFile(p.saved()), older);
    EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
}

TEST(StopPage, MissingFolderAndBrokenMemory)
{
    {
        StopPage p(MODEL_ZR_T);
        p.f.desktop.saveAnswer = p.dir.filePath(QStringLiteral("gone/x.txt"));
        p.clickOk();
        EXPECT_EQ(p.f.ui.texts(), std::vector<std::string>{"Failed opening file:\n" + p.saved().toStdString() +
                                                            ": No such file or directory"});
        EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
    }
    {
        // A reading count beyond what the memory sends back.
        StopPage p(MODEL_ZR_TC);
        sim::LoggerImage image = p.f.logger->image();
        image.memory.resize(10);
        p.f.logger->setImage(image);
        p.clickOk();
        ASSERT_EQ(p.f.ui.texts().size(), 1u);
        EXPECT_NE(p.f.ui.texts()[0].find("is missing (5 were read)"), std::string::npos);
        EXPECT_FALSE(QFileInfo::exists(p.saved()));
        EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
        EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    }
}

TEST(StopPage, StartDateThatIsNoDateWritesNothing)
{
    // A logger swapped in behind the stop question, whose start date is no date.
    StopPage p(MODEL_ZR_T, 20, [](LoggerConfig& c) {
        c.setStartTime(2024, 0, 15, 8, 0, 0);
        c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_NOT_DOWNLOADED));
    });
    const sim::LoggerImage before = p.f.logger->image();
    p.clickOk();
    EXPECT_EQ(p.f.ui.texts(),
              std::vector<std::string>{"The logger's start date (15/00/2024) is not a valid date, so its "
                                       "readings cannot be given times. No file was written; the readings "
                                       "stay in the logger."});
    EXPECT_TRUE(p.f.desktop.saveRequests.empty());
    EXPECT_FALSE(QFileInfo::exists(p.saved()));
    EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
    EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    // Not even read out: that would mark the readings as downloaded.
    EXPECT_EQ(p.f.logger->image().block, before.block);
}

TEST(StopPage, DeviceFailuresEndOnTheMainMenu)
{
    {
        StopPage p(MODEL_ZR_T);
        sim::SimFaults faults;
        faults.noDevice = true;
        p.f.usb->setFaults(faults);
        p.clickOk();
        EXPECT_EQ(p.f.ui.texts(), std::vector<std::string>{messageText(MSG_NO_LOGGER)});
        EXPECT_TRUE(p.f.desktop.saveRequests.empty());
        EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    }
    {
        // The configuration reads, the data read times out.
        StopPage p(MODEL_ZR_T);
        sim::SimFaults faults;
        faults.failReadAfter = 2;
        p.f.usb->setFaults(faults);
        p.clickOk();
        EXPECT_EQ(p.f.ui.texts(), std::vector<std::string>{messageText(MSG_COMMUNICATION_ERROR)});
        EXPECT_TRUE(p.f.desktop.saveRequests.empty());
        EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
    }
}

TEST(StopPage, ViewerThatCannotStart)
{
    StopPage p(MODEL_ZR_V);
    p.f.desktop.viewerStarts = false;
    p.clickOk();
    EXPECT_TRUE(QFileInfo::exists(p.saved()));
    EXPECT_EQ(p.f.ui.texts(), std::vector<std::string>{viewerNotFoundText()});
    EXPECT_NE(viewerNotFoundText().find("vessor-graph"), std::string::npos);
    EXPECT_EQ(viewerNotFoundText().find(".exe"), std::string::npos);
}

TEST(StopPage, EventFilesGoToTheTextEditorOnYes)
{
    const struct {
        const char* name;
        Answer answer;
        bool editorStarts;
        QStringList editorPaths;
        std::size_t messages;
    } cases[] = {
        {"yes", Answer::Yes, true, {"*"}, 1},
        {"no", Answer::No, true, {}, 1},
        {"editor missing", Answer::Yes, false, {"*"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StopPage p(MODEL_ZR_EV, 20, [](LoggerConfig& cfg) { cfg.setEventSampleMode(EVENT_MODE_STATE); });
        p.f.ui.script({c.answer});
        p.f.desktop.editorStarts = c.editorStarts;
        p.clickOk();
        EXPECT_EQ(readFile(p.saved()), p.expected());
        ASSERT_EQ(p.f.ui.log().size(), c.messages);
        EXPECT_TRUE(p.f.ui.log()[0].question);
        EXPECT_EQ(p.f.ui.log()[0].text, eventFileQuestionText());
        EXPECT_EQ(p.f.desktop.editorPaths.size(), c.editorPaths.size());
        if (c.messages == 2) {
            EXPECT_EQ(p.f.ui.log()[1].text, textEditorNotFoundText());
        }
        EXPECT_TRUE(p.f.desktop.viewerPaths.isEmpty());
    }
    EXPECT_EQ(eventFileQuestionText().find("notepad"), std::string::npos);
    EXPECT_EQ(textEditorNotFoundText().find("Notepad"), std::string::npos);
}

TEST(StopPage, CancelReturnsWithoutDownloading)
{
    StopPage p(MODEL_ZR_T);
    p.page.cancelButton()->click();
    EXPECT_EQ(p.f.shown, std::vector<int>{PAGE_MAIN_MENU});
    EXPECT_TRUE(p.f.desktop.saveRequests.empty());
    EXPECT_EQ(p.f.usb->requestsCompleted(), 1);  // the fixture's refresh only
}

// Page and command line over the same logger image write the same bytes.
TEST(StopPage, SameFileAsTheCommandLine)
{
    ::setenv("VESSOR_SIM_SPEED", "0", 1);
    static constexpr cli::Command COMMANDS[] = {{"download", "", "", cli::cmdDownload}};
    QTemporaryDir dir;
    for (int model = MODEL_FIRST; model <= MODEL_LAST; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        test::PageFixture f;
        sim::FactoryOptions options;
        options.modelType = model;
        options.name = "Bay 7";
        options.now = f.clock.now();
        std::string error;
        std::optional<sim::LoggerImage> image = sim::makeFactoryImage(options, error);
        ASSERT_TRUE(image) << error;
        fillImage(*image, 25, [model](LoggerConfig& c) {
            if (model == MODEL_ZR_T_RC) {
                c.setWrapMode(true);
                c.setByteAt(field::WRAP_COUNT, 1);
                c.setU16At(field::MEMORY_CAPACITY, 40);
            }
        });
        const std::string imagePath = dir.filePath("logger.img").toStdString();
        ASSERT_TRUE(sim::saveImage(imagePath, *image, error)) << error;

        std::shared_ptr<sim::SimulatedLogger> logger = sim::SimulatedLogger::open(imagePath, error, f.clock, 0.0);
        ASSERT_TRUE(logger) << error;
        sim::SimXpress usb(logger);
        f.session.setTransport(&usb);
        ASSERT_TRUE(f.session.refresh());
        StopInfoForm page(f.context);
        page.updatePage();
        f.desktop.saveAnswer = dir.filePath(QStringLiteral("page.txt"));
        f.ui.script({Answer::No});
        page.okButton()->click();

        const std::string fromCli = dir.filePath("cli.txt").toStdString();
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        cli::StderrUserInterface cliUi(err, nullptr, false);
        const int status = cli::runCommandLine(
            COMMANDS, {"--device", "sim:" + imagePath, "download", "-o", fromCli}, cliUi,
            SystemClock::instance(), FixedLocaleFormat::instance(), out, err);
        std::fclose(out);
        std::fclose(err);
        EXPECT_EQ(status, 0);

        const std::string bytes = readFile(f.desktop.saveAnswer);
        EXPECT_GE(bytes.size(), 60u);
        EXPECT_EQ(bytes, readFile(QString::fromStdString(fromCli)));
        EXPECT_EQ(f.desktop.viewerPaths.size() + f.desktop.editorPaths.size() + f.ui.log().size(), 1u);
    }
}

} // namespace
} // namespace vessor

namespace vessor {
namespace {

// The saved file goes into the archive the option or the setting names; an
// archive that cannot be written costs a warning, never the file.
TEST(StopPage, StoresTheSavedFileInTheArchive)
{
    QTemporaryDir folder;
    const std::string base = QFile::encodeName(folder.path()).toStdString();
    writeFile(folder.filePath(QStringLiteral("plain-file")), "not a folder");
    const struct {
        const char* name;
        std::optional<std::string> option;
        const char* setting;
        const char* archive; // where the download is found afterwards; empty: nowhere
    } cases[] = {
        {"option", "sqlite:" + base + "/option.sqlite", "", "/option.sqlite"},
        {"setting", std::nullopt, "/setting.sqlite", "/setting.sqlite"},
        {"option before setting", "sqlite:" + base + "/first.sqlite", "/second.sqlite", "/first.sqlite"},
        {"unwritable", "sqlite:" + base + "/plain-file/archive.sqlite", "", ""},
    };
    const std::string environment = std::getenv("VESSOR_ARCHIVE") ? std::getenv("VESSOR_ARCHIVE") : "";
    ::unsetenv("VESSOR_ARCHIVE");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StopPage p(MODEL_ZR_T);
        p.f.context.archiveOption = c.option;
        if (*c.setting)
            p.f.desktop.setSetting(QStringLiteral("Archive"), QStringLiteral("URL"),
                                   QString::fromStdString("sqlite:" + base + c.setting));
        p.clickOk();
        EXPECT_EQ(readFile(p.saved()), p.expected());
        EXPECT_EQ(p.f.desktop.viewerPaths, QStringList{p.saved()});
        if (!*c.archive) {
            ASSERT_EQ(p.f.ui.log().size(), 1u);
            EXPECT_NE(p.f.ui.log()[0].text.find("but not stored in the archive"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(p.f.ui.log().empty());
        std::string why;
        const auto url = archive::parseArchiveUrl("sqlite:" + base + c.archive, why);
        std::unique_ptr<archive::Archive> stored = archive::Archive::open(*url, why);
        ASSERT_TRUE(stored) << why;
        const auto downloads = stored->downloads();
        ASSERT_TRUE(downloads.ok() && downloads.value->size() == 1u);
        EXPECT_EQ(downloads.value->front().sourceName, "Freezer1a.txt");
        QFile::remove(QString::fromStdString(base + c.archive));
    }
    if (!environment.empty())
        ::setenv("VESSOR_ARCHIVE", environment.c_str(), 1);
}

} // namespace
} // namespace vessor

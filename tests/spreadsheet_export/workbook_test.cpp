// Exports download files and reads the workbooks back: sheets, cells and
// their types, and each chart's series, axes and titles.
#include "download_files.h"
#include "workbook_reader.h"

#include "spreadsheet_export/export_command.h"
#include "spreadsheet_export/export_plan.h"
#include "spreadsheet_export/workbook_writer.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>

namespace vessor::xlsx {
namespace {

using testing::Cell;
using testing::Chart;
using testing::Workbook;

class ExportTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (m_dir.path() + "/" + QString::fromStdString(name)).toStdString(); }

    std::string writeDownloadFile(const std::string& name, const std::string& bytes) const
    {
        const std::string file = path(name);
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    // The download file exported headless; the workbook read back.
    Workbook exportFile(const std::string& bytes, const std::string& name = "export")
    {
        const std::string input = writeDownloadFile(name + ".txt", bytes);
        const std::string output = path(name + ".xlsx");
        QString message;
        EXPECT_EQ(exportToExcelHeadless(QString::fromStdString(input), QString::fromStdString(output), message), 0)
            << message.toStdString();
        Workbook workbook(output);
        EXPECT_TRUE(workbook.ok()) << workbook.error().toStdString();
        return workbook;
    }

    QTemporaryDir m_dir;
};

double number(const std::optional<Cell>& cell)
{
    EXPECT_TRUE(cell.has_value());
    if (!cell)
        return -1;
    EXPECT_EQ(cell->type, QString()) << "not a number: " << cell->value.toStdString();
    return cell->value.toDouble();
}

QString text(const std::optional<Cell>& cell)
{
    EXPECT_TRUE(cell.has_value());
    return cell ? cell->value : QString();
}

// Checks the axis structure every chart has: a text category axis at the
// bottom with its labels low, spaced as given, and a value axis titled unit1.
void expectPrimaryAxes(const Chart& chart, int tickSpacing, const QString& unit1)
{
    ASSERT_GE(chart.groupAxisIds.size(), 1u);
    ASSERT_EQ(chart.groupAxisIds[0].size(), 2u);
    const auto* category = chart.axis(chart.groupAxisIds[0][0]);
    const auto* value = chart.axis(chart.groupAxisIds[0][1]);
    ASSERT_TRUE(category && value);
    EXPECT_EQ(category->kind, "catAx");
    EXPECT_EQ(category->child("c:auto"), "0"); // a text axis, not a date axis
    EXPECT_EQ(category->child("c:tickLblPos"), "low");
    EXPECT_EQ(category->child("c:tickLblSkip"), QString::number(tickSpacing));
    EXPECT_EQ(category->child("c:tickMarkSkip"), QString::number(tickSpacing));
    EXPECT_EQ(category->child("c:crossAx"), value->id());
    EXPECT_EQ(category->element.firstChildElement("c:numFmt").attribute("sourceLinked"), "0");
    EXPECT_EQ(value->kind, "valAx");
    EXPECT_EQ(value->child("c:crossBetween"), "midCat"); // the line starts on the first tick
    EXPECT_EQ(value->title(), unit1);
}

TEST_F(ExportTest, HundredTemperatureReadingsMakeOneChartOverRows1To101)
{
    const Workbook book = exportFile(testing::temperatureFile(100));
    EXPECT_EQ(book.sheetNames(), (std::vector<QString>{"Data", "Chart1"}));

    // Headings, 100 rows of five fields, and the serial number once.
    EXPECT_EQ(book.rowCount(), 101);
    EXPECT_EQ(book.cells().size(), 6u + 100 * 5 + 1);
    EXPECT_EQ(text(book.cell("A1")), "COLDROOM");
    EXPECT_EQ(text(book.cell("C1")), QString::fromUtf8("Celsius(\u00B0C)"));
    EXPECT_EQ(text(book.cell("F1")), "Serial Number");
    EXPECT_EQ(number(book.cell("A2")), 1);
    EXPECT_EQ(number(book.cell("C2")), 4.5);
    EXPECT_EQ(book.cell("C2")->format, "0.0");
    EXPECT_EQ(number(book.cell("F2")), 123456);
    EXPECT_EQ(book.cell("F2")->format, "000000000");
    EXPECT_FALSE(book.cell("F3"));
    // Times are date-time values, day first: 05/03/2007 is 5 March.
    EXPECT_NEAR(number(book.cell("B2")), 39146 + (14 * 3600 + 30 * 60) / 86400.0, 1e-9);
    EXPECT_NEAR(number(book.cell("B101")), 39146 + (14 * 3600 + 30 * 60 + 990) / 86400.0, 1e-9);
    EXPECT_TRUE(book.cell("B2")->format.contains("hh:mm:ss")) << book.cell("B2")->format.toStdString();

    ASSERT_EQ(book.charts().size(), 1u);
    const Chart& chart = book.charts()[0];
    EXPECT_EQ(chart.title, "COLDROOM");
    ASSERT_EQ(chart.series.size(), 3u);
    const char* columns[] = {"C", "D", "E"};
    for (int i = 0; i < 3; ++i) {
        const QString c = columns[i];
        EXPECT_EQ(chart.series[i].name, "Data!$" + c + "$1");
        EXPECT_EQ(chart.series[i].categories, "Data!$B$2:$B$101");
        EXPECT_EQ(chart.series[i].values, "Data!$" + c + "$2:$" + c + "$101");
        EXPECT_EQ(chart.series[i].group, 0);
    }
    EXPECT_EQ(chart.groupAxisIds.size(), 1u);
    expectPrimaryAxes(chart, 10, QString::fromUtf8("\u00B0C"));
}

TEST_F(ExportTest, HumiditySeriesHangOnASecondValueAxisAtTheRight)
{
    const Workbook book = exportFile(testing::humidityFile(100));
    ASSERT_EQ(book.charts().size(), 1u);
    const Chart& chart = book.charts()[0];
    ASSERT_EQ(chart.groupAxisIds.size(), 2u);
    expectPrimaryAxes(chart, 10, QString::fromUtf8("\u00B0C"));

    // Temperature, its alarms and the dew point on the first axis; humidity
    // and its alarms on the second.
    std::vector<QString> first;
    std::vector<QString> second;
    for (const auto& s : chart.series)
        (s.group == 0 ? first : second).push_back(s.values);
    EXPECT_EQ(first, (std::vector<QString>{"Data!$C$2:$C$101", "Data!$D$2:$D$101", "Data!$E$2:$E$101",
                                           "Data!$I$2:$I$101"}));
    EXPECT_EQ(second, (std::vector<QString>{"Data!$F$2:$F$101", "Data!$G$2:$G$101", "Data!$H$2:$H$101"}));

    const auto& ids = chart.groupAxisIds[1];
    ASSERT_EQ(ids.size(), 2u);
    const auto* hiddenCategory = chart.axis(ids[0]);
    const auto* rightValue = chart.axis(ids[1]);
    ASSERT_TRUE(hiddenCategory && rightValue);
    EXPECT_NE(ids[0], chart.groupAxisIds[0][0]);
    EXPECT_EQ(hiddenCategory->kind, "catAx");
    EXPECT_EQ(hiddenCategory->child("c:delete"), "1");
    EXPECT_EQ(hiddenCategory->child("c:auto"), "0");
    EXPECT_EQ(hiddenCategory->child("c:crossAx"), rightValue->id());
    EXPECT_EQ(rightValue->kind, "valAx");
    EXPECT_EQ(rightValue->child("c:axPos"), "r");
    EXPECT_EQ(rightValue->child("c:crosses"), "max");
    EXPECT_EQ(rightValue->child("c:crossAx"), hiddenCategory->id());
    EXPECT_EQ(rightValue->title(), "%rh");

    // "Error" dew points are empty cells; the humidity beside them is 0.
    EXPECT_FALSE(book.cell("I26"));
    EXPECT_EQ(number(book.cell("F26")), 0);
    EXPECT_EQ(number(book.cell("I25")), 9.4);
    for (const auto& [ref, cell] : book.cells())
        EXPECT_NE(cell.value.toLower(), "error") << ref.toStdString();
}

TEST_F(ExportTest, FortyThousandReadingsMakeTwoChartsWithNamesByFormula)
{
    const Workbook book = exportFile(testing::temperatureFile(40000));
    EXPECT_EQ(book.sheetNames(), (std::vector<QString>{"Data", "Chart1", "Chart2"}));
    EXPECT_EQ(book.rowCount(), 40001);
    EXPECT_EQ(number(book.cell("A40001")), 40000);
    ASSERT_EQ(book.charts().size(), 2u);

    const Chart& first = book.charts()[0];
    const Chart& second = book.charts()[1];
    EXPECT_EQ(first.series[0].categories, "Data!$B$2:$B$31999");
    EXPECT_EQ(first.series[0].values, "Data!$C$2:$C$31999");
    EXPECT_EQ(second.series[0].categories, "Data!$B$32000:$B$40001");
    EXPECT_EQ(second.series[2].values, "Data!$E$32000:$E$40001");
    EXPECT_EQ(second.series[2].name, "Data!$E$1");
    EXPECT_EQ(second.title, "COLDROOM");
    expectPrimaryAxes(first, 3199, QString::fromUtf8("\u00B0C"));
    expectPrimaryAxes(second, 800, QString::fromUtf8("\u00B0C"));
}

TEST_F(ExportTest, FileWithoutHumidityTitlesItsOnlyValueAxisWithTheFirstUnit)
{
    const Workbook book = exportFile(testing::voltageFile(20));
    ASSERT_EQ(book.charts().size(), 1u);
    EXPECT_EQ(book.charts()[0].groupAxisIds.size(), 1u);
    expectPrimaryAxes(book.charts()[0], 2, "V");
    EXPECT_EQ(number(book.cell("C2")), 12.30);
    EXPECT_EQ(book.cell("C2")->format, "0.00");
}

TEST_F(ExportTest, TextsAreConvertedAndEscapedAndOddFieldsKept)
{
    // The viewer reads the times of the first two rows only; a later row's
    // time that is none stays text.
    const std::string file = "R&D <Lab> \xE9t\xE9,Time,Celsius(\xB0"
                             "C),Serial Number\r\n"
                             "1,05/03/2007 14:30:00,4.5,000123456,04/03/2009,No\r\n"
                             "2,05/03/2007 14:35:00,4.0\r\n"
                             "3,not a time,error,,extra\r\n";
    const Workbook book = exportFile(file);
    EXPECT_EQ(text(book.cell("A1")), QString::fromUtf8("R&D <Lab> \u00E9t\u00E9"));
    ASSERT_EQ(book.charts().size(), 1u);
    EXPECT_EQ(book.charts()[0].title, QString::fromUtf8("R&D <Lab> \u00E9t\u00E9"));
    EXPECT_EQ(number(book.cell("E2")), 39876); // a day-first date
    EXPECT_EQ(text(book.cell("F2")), "No");
    EXPECT_EQ(text(book.cell("B4")), "not a time"); // kept as it stands
    EXPECT_FALSE(book.cell("C4"));
    EXPECT_EQ(text(book.cell("E4")), "extra");
}

TEST_F(ExportTest, TimesAreReadAsTheViewerReadsThem)
{
    // Century from the last two digits, a day past the month's end carried
    // over, for every row's time as for the first row's.
    const Workbook book = exportFile("X,Time,Celsius(\xB0"
                                     "C)\r\n1,05/03/2070 14:30:00,4.5\r\n2,05/03/2070 14:30:10,4.0\r\n"
                                     "3,31/02/2007 00:00:00,3.5\r\n");
    EXPECT_NEAR(number(book.cell("B2")), 25632 + (14 * 3600 + 30 * 60) / 86400.0, 1e-9); // 5 March 1970
    EXPECT_NEAR(number(book.cell("B3")), 25632 + (14 * 3600 + 30 * 60 + 10) / 86400.0, 1e-9);
    EXPECT_EQ(number(book.cell("B4")), 39144); // 3 March 2007

    // A blank second row ends the file for the viewer: one reading.
    const Workbook single = exportFile("X,Time,Celsius\r\n1,05/03/2007 14:30:00,4.5\r\n \r\n3,junk\r\n", "single");
    EXPECT_EQ(single.rowCount(), 2);
    EXPECT_FALSE(single.cell("A3"));
}

TEST_F(ExportTest, NumbersKeepTheirPointUnderAGermanLocale)
{
    // Qt sets the C library's locale from the environment.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const Workbook book = exportFile(testing::humidityFile(30));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(book.cell("C2")->value, "21.5");
    EXPECT_NEAR(number(book.cell("B2")), 39146.604166666664, 1e-9);
    EXPECT_FALSE(book.part("xl/worksheets/sheet1.xml")->contains("<v>21,5</v>"));
}

TEST_F(ExportTest, RefusedFilesGiveTheirExitStatusAndMessage)
{
    const struct {
        const char* name;
        std::optional<std::string> bytes; // none: the file does not exist
        int status;
        const char* message;
    } cases[] = {
        {"missing", std::nullopt, 1, "Unable to open the file."},
        {"event", std::string("COLDROOM,Time,Event(Count Total),Serial Number\r\n1,05/03/2007 14:30:00,1542,000123456\r\n"),
         3, "event log"},
        {"invalid", std::string("COLDROOM,Time,Celsius(\xB0"
                                "C)\r\n1,5/3/2007 14:30:00,4.5\r\n"),
         2, "The File contains invaild data."},
        // Refused as the viewer refuses it.
        {"trailing blank line", testing::temperatureFile(3) + "\r\n", 2, "The File contains invaild data."},
        // A file the viewer reads but a worksheet cannot hold.
        {"too many columns", "X,Time,Celsius\r\n1,05/03/2007 14:30:00,4.5" + std::string(16383, ',') + "\r\n", 2,
         "more columns or readings than a worksheet holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = c.bytes ? writeDownloadFile(std::string(c.name) + ".txt", *c.bytes) : path("none.txt");
        const std::string output = path(std::string(c.name) + ".xlsx");
        QString message;
        EXPECT_EQ(exportToExcelHeadless(QString::fromStdString(input), QString::fromStdString(output), message), c.status);
        EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_FALSE(QFile::exists(QString::fromStdString(output)));
    }

    // A workbook that cannot be written: status 1, nothing left behind.
    QString message;
    const std::string input = writeDownloadFile("ok.txt", testing::temperatureFile(3));
    EXPECT_EQ(exportToExcelHeadless(QString::fromStdString(input), QString::fromStdString(path("no/such/dir/x.xlsx")),
                                    message),
              1);
    EXPECT_TRUE(message.startsWith("Unable to write the workbook")) << message.toStdString();
}

// Scripted answers in place of the message boxes, the file dialog and the
// desktop's spreadsheet program.
class ScriptedInteraction : public ExportInteraction {
public:
    void showMessage(const QString& text, Icon icon) override { messages.push_back({text, icon}); }
    QString askSavePath(const QString& proposed) override
    {
        proposedPath = proposed;
        return answer;
    }
    bool openWorkbook(const QString& path) override
    {
        opened = path;
        return opens;
    }

    std::vector<std::pair<QString, Icon>> messages;
    QString proposedPath;
    QString answer;
    QString opened;
    bool opens = true;
};

TEST_F(ExportTest, ExportToExcelAsksWarnsWritesAndOpens)
{
    QStatusBar statusBar;
    {
        ScriptedInteraction ui;
        exportToExcel(ui, QString(), &statusBar);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].first, "Open the data file before exporting data to Excel.");
        EXPECT_TRUE(ui.proposedPath.isEmpty());
    }
    const QString input = QString::fromStdString(writeDownloadFile("long file.txt", testing::temperatureFile(40000)));
    {
        // Cancelled at the save dialog: the chart count was told, nothing written.
        ScriptedInteraction ui;
        exportToExcel(ui, input, &statusBar);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].first,
                  "Warning: The file contains more than 32000 readings.The maximum number of points in an Excel 2-D "
                  "chart data series is 32000. Therefore 2 charts will be generated to show all the readings.");
        EXPECT_EQ(ui.messages[0].second, ExportInteraction::Icon::Information);
        EXPECT_EQ(ui.proposedPath, m_dir.path() + "/long file.xlsx");
        EXPECT_TRUE(ui.opened.isEmpty());
        EXPECT_FALSE(QFile::exists(ui.proposedPath));
    }
    {
        ScriptedInteraction ui;
        ui.answer = m_dir.path() + "/chosen.xlsx";
        ui.opens = false;
        statusBar.showMessage("For Help, press F1");
        exportToExcel(ui, input, &statusBar);
        EXPECT_EQ(ui.opened, ui.answer);
        EXPECT_TRUE(Workbook(ui.answer.toStdString()).ok());
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_TRUE(ui.messages[1].first.contains("no spreadsheet program")) << ui.messages[1].first.toStdString();
        // "Now processing File.." gives way to the prompt the window showed before.
        EXPECT_EQ(statusBar.currentMessage(), "For Help, press F1");
    }
    {
        // The download file itself chosen as the workbook: refused, the file kept.
        const QByteArray before = [&] {
            QFile file(input);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        ScriptedInteraction ui;
        ui.answer = input;
        exportToExcel(ui, input, &statusBar);
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_TRUE(ui.messages[1].first.endsWith("it is the download file being exported"))
            << ui.messages[1].first.toStdString();
        EXPECT_TRUE(ui.opened.isEmpty());
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    }
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
TEST_F(ExportTest, TheDesktopIsAskedWhetherAProgramTakesWorkbooks)
{
    // xdg-open "succeeds" with no program to hand the file to; xdg-mime tells.
    const QByteArray savedPath = qgetenv("PATH");
    const auto withTool = [&](const char* script) {
        const std::string tool = path("bin/xdg-mime");
        std::filesystem::create_directories(path("bin"));
        std::ofstream(tool, std::ios::trunc) << "#!/bin/sh\n" << script << "\n";
        std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
        qputenv("PATH", QFile::encodeName(m_dir.path() + "/bin"));
        const std::optional<bool> answer = desktopHasProgramFor(QString::fromLatin1(XLSX_MIME_TYPE));
        qputenv("PATH", savedPath);
        return answer;
    };
    EXPECT_EQ(withTool("[ \"$3\" = application/vnd.openxmlformats-officedocument.spreadsheetml.sheet ] && echo calc.desktop"),
              std::optional<bool>(true));
    EXPECT_EQ(withTool("echo"), std::optional<bool>(false));
    EXPECT_EQ(withTool("exit 4"), std::nullopt);

    qputenv("PATH", QFile::encodeName(m_dir.path() + "/nowhere"));
    EXPECT_EQ(desktopHasProgramFor(QString::fromLatin1(XLSX_MIME_TYPE)), std::nullopt);
    qputenv("PATH", savedPath);
}
#endif

TEST_F(ExportTest, AFailedExportLeavesNothingHalfWritten)
{
    // A refused file does not touch a workbook of the same name.
    const std::string output = path("kept.xlsx");
    std::ofstream(output, std::ios::binary) << "previous";
    QString message;
    const std::string input = writeDownloadFile("event.txt", "X,Time,Event(State)\r\n1,05/03/2007 14:30:00.0,0\r\n");
    EXPECT_EQ(exportToExcelHeadless(QString::fromStdString(input), QString::fromStdString(output), message), 3);
    std::ifstream in(output, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "previous");

    // The workbook is complete but cannot take the chosen name (a folder
    // stands there): the error is told and the built file removed.
    const std::string folder = path("taken.xlsx");
    std::filesystem::create_directories(folder + "/inside");
    const LoadResult loaded = parseDownloadBytes(testing::temperatureFile(5));
    const ExportPlan plan = planExport(loaded.table.header(), loaded.table.readingCount());
    EXPECT_EQ(writeWorkbook(loaded.table, plan, {}, folder), "Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
    // The edited workbook cannot be written back (an I/O error): the old file stays.
    const SaveOptions failing{{SaveFault::At::Write, EIO, 100, false}};
    EXPECT_EQ(writeWorkbook(loaded.table, plan, {}, output, failing), "Input/output error");
    std::ifstream again(output, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), "previous");
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path().toStdString()))
        EXPECT_FALSE(entry.path().filename().string().ends_with(".part")) << entry.path();
}

TEST_F(ExportTest, LibreOfficeConvertsTheChartsToPdf)
{
    const QString office = QStandardPaths::findExecutable("soffice");
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; the workbook is not opened in a spreadsheet program";
    exportFile(testing::humidityFile(200), "calc");
    QProcess process;
    process.setProgram(office);
    // A home and a profile of its own: runs the same as root on a build
    // machine, and leaves the user's LibreOffice alone.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_dir.path());
    process.setProcessEnvironment(environment);
    // Each sheet on one page: the charts are the pages after the data sheet.
    process.setArguments({"-env:UserInstallation=" + QUrl::fromLocalFile(m_dir.path() + "/profile").toString(),
                          "--headless", "--convert-to",
                          "pdf:calc_pdf_Export:{\"SinglePageSheets\":{\"type\":\"boolean\",\"value\":\"true\"}}",
                          "--outdir", m_dir.path(), QString::fromStdString(path("calc.xlsx"))});
    process.start();
    ASSERT_TRUE(process.waitForFinished(120000)) << "LibreOffice did not finish";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    QFile pdf(m_dir.path() + "/calc.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    EXPECT_TRUE(content.startsWith("%PDF"));
    // The data sheet and one chart.
    EXPECT_EQ(QString::fromLatin1(content).count(QRegularExpression("/Type\\s*/Page[^s]")), 2);
}

} // namespace
} // namespace vessor::xlsx

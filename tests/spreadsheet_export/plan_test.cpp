// The decisions of the export, without files: headings, chart split, times,
// number formats, which files are refused, and the chart XML edit's guard.
#include "spreadsheet_export/chart_xml.h"
#include "spreadsheet_export/download_table.h"
#include "spreadsheet_export/export_plan.h"
#include "spreadsheet_export/number_formats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vessor::xlsx {
namespace {

struct HeadingCase {
    const char* header;
    const char* title;
    const char* unit1;
    const char* unit2;
    std::vector<int> primary;
    std::vector<int> secondary;
    int columnCount;
};

TEST(AnalyseHeadings, FindsTitleUnitsSeriesAndLastChartColumn)
{
    const HeadingCase cases[] = {
        {"COLDROOM,Time,Celsius(\xB0"
         "C),High Alarm,Low Alarm,Serial Number",
         "COLDROOM", "\xB0"
                     "C",
         "", {1, 2, 3}, {}, 5},
        {"COLDROOM,Time,Celsius(\xB0"
         "C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,Low Alarm rh,dew point(\xB0"
         "C),Serial Number",
         "COLDROOM", "\xB0"
                     "C",
         "%rh", {1, 2, 3, 7}, {4, 5, 6}, 9},
        // Humidity headings in another case still go to the second axis.
        {" LAB , TIME , Fahrenheit(\xB0"
         "F) , HUMIDITY(%RH) , dew point(\xB0"
         "F) , serial number ",
         "LAB", "\xB0"
                "F",
         "%RH", {1, 3}, {2}, 5},
        {"COLDROOM,Time,Voltage(V),High Alarm,Serial Number", "COLDROOM", "V", "", {1, 2}, {}, 4},
        // CO: the fields after "Serial Number" are not chart columns.
        {"COLDROOM,Time,CO(ppm),High Alarm,Warning Level,Serial Number,Sensor Life Expiry,Calibration "
         "Expiry,Overrange Exposure",
         "COLDROOM", "ppm", "", {1, 2, 3}, {}, 5},
        // Without "Serial Number" the first empty field ends the headings.
        {"X,Time,Celsius(\xB0"
         "C)",
         "X", "\xB0"
              "C",
         "", {1}, {}, 3},
        // A bracket at the start of a heading is no unit.
        {"X,Time,(odd),Current(mA),Serial Number", "X", "mA", "", {1, 2}, {}, 4},
    };
    for (const HeadingCase& c : cases) {
        SCOPED_TRACE(c.header);
        const Headings h = analyseHeadings(c.header);
        EXPECT_EQ(h.title, c.title);
        EXPECT_EQ(h.unit1, c.unit1);
        EXPECT_EQ(h.unit2, c.unit2);
        EXPECT_EQ(h.primarySeries, c.primary);
        EXPECT_EQ(h.secondarySeries, c.secondary);
        EXPECT_EQ(h.columnCount, c.columnCount);
    }
}

struct ChartRows {
    int first, last, firstPoint, tickSpacing;
};

struct SplitCase {
    int readings;
    std::vector<ChartRows> charts;
};

TEST(PlanExport, SplitsTheRowsOverChartsOfAtMost31999Rows)
{
    const SplitCase cases[] = {
        {1, {{1, 2, 2, 1}}},
        {100, {{1, 101, 2, 10}}},
        {31998, {{1, 31999, 2, 3199}}},
        {31999, {{1, 31999, 2, 3199}, {32000, 32000, 32000, 1}}},
        {40000, {{1, 31999, 2, 3199}, {32000, 40001, 32000, 800}}},
        // The rows fill two charts exactly: no third, empty chart.
        {63997, {{1, 31999, 2, 3199}, {32000, 63998, 32000, 3199}}},
        {65535, {{1, 31999, 2, 3199}, {32000, 63998, 32000, 3199}, {63999, 65536, 63999, 153}}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.readings);
        const ExportPlan plan = planExport("COLDROOM,Time,Celsius(\xB0"
                                           "C),Serial Number",
                                           c.readings);
        EXPECT_EQ(plan.rowCount, c.readings + 1);
        ASSERT_EQ(plan.charts.size(), c.charts.size());
        EXPECT_EQ(plan.warnsOfChartCount(), c.charts.size() > 1);
        for (std::size_t k = 0; k < c.charts.size(); ++k) {
            EXPECT_EQ(plan.charts[k].sheetName, "Chart" + std::to_string(k + 1));
            EXPECT_EQ(plan.charts[k].firstRow, c.charts[k].first);
            EXPECT_EQ(plan.charts[k].lastRow, c.charts[k].last);
            EXPECT_EQ(plan.charts[k].firstPointRow, c.charts[k].firstPoint);
            EXPECT_EQ(plan.charts[k].tickSpacing, c.charts[k].tickSpacing);
        }
    }
}

TEST(PlanExport, PutsHumidityOnTheSecondAxisOnlyBesideAFirstOne)
{
    const ExportPlan humidity = planExport("COLDROOM,Time,Celsius(\xB0"
                                           "C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,Low Alarm "
                                           "rh,dew point(\xB0"
                                           "C),Serial Number",
                                           10);
    ASSERT_EQ(humidity.series.size(), 7u);
    const bool expectedSecondary[] = {false, false, false, true, true, true, false};
    for (std::size_t i = 0; i < humidity.series.size(); ++i) {
        EXPECT_EQ(humidity.series[i].column, static_cast<int>(i) + 2);
        EXPECT_EQ(humidity.series[i].secondary, expectedSecondary[i]) << i;
    }
    EXPECT_TRUE(humidity.secondaryAxis);
    EXPECT_EQ(humidity.chartTitle, "COLDROOM");
    EXPECT_EQ(humidity.primaryAxisTitle, "\u00B0C"); // converted for the workbook
    EXPECT_EQ(humidity.secondaryAxisTitle, "%rh");
    EXPECT_EQ(humidity.serialNumberColumn, 9);

    const ExportPlan onlyHumidity = planExport("X,Time,Humidity(%rh),Serial Number", 10);
    EXPECT_FALSE(onlyHumidity.secondaryAxis);
    ASSERT_EQ(onlyHumidity.series.size(), 1u);
    EXPECT_FALSE(onlyHumidity.series[0].secondary);
    EXPECT_EQ(onlyHumidity.primaryAxisTitle, "%rh");
    EXPECT_TRUE(onlyHumidity.secondaryAxisTitle.empty());

    // No measurement column: the data sheet alone.
    EXPECT_TRUE(planExport("X,Time,Serial Number", 10).charts.empty());
}

TEST(DayFirstTime, ReadsDayBeforeMonthAndRefusesWhatIsNoTime)
{
    // 5 March 2007 is serial 39146; a month-first reading would give 3 May.
    const double march5 = 39146;
    const struct {
        const char* text;
        std::optional<double> serial;
    } cases[] = {
        {"05/03/2007 14:30:00", march5 + (14 * 3600 + 30 * 60) / 86400.0},
        {"05/03/2007 00:00:00", march5},
        {"12/01/2007 23:59:59", 39094 + 86399 / 86400.0}, // 12 January
        {"29/02/2008 12:00:00", 39507.5},
        {"01/01/1970 00:00:00", 25569},
        // The viewer's rule: a day past the month's end carries over, the
        // century comes from the year's last two digits.
        {"29/02/2007 12:00:00", 39142.5},
        {"31/04/2007 12:00:00", 39203.5},
        {"05/03/2070 14:30:00", 25632 + (14 * 3600 + 30 * 60) / 86400.0},
        {"5/3/2007 14:30:00", std::nullopt},
        {"05/03/2007 24:00:00", std::nullopt},
        {"05/03/2007 14:60:00", std::nullopt},
        {"05/13/2007 14:30:00", std::nullopt},
        {"05/03/1969 14:30:00", std::nullopt},
        {"05/03/2007 14:30:00.4", std::nullopt},
        {"05-03-2007 14:30:00", std::nullopt},
        {"ab/03/2007 14:30:00", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto serial = dayFirstTimeSerial(c.text);
        ASSERT_EQ(serial.has_value(), c.serial.has_value());
        if (serial) {
            EXPECT_NEAR(*serial, *c.serial, 1e-9);
        }
    }
    EXPECT_EQ(dayFirstDateSerial("04/03/2009"), 39876);
    EXPECT_FALSE(dayFirstDateSerial("04/03/09"));
}

TEST(NumberFormats, TurnsTheUsersPatternsIntoFormatCodes)
{
    const struct {
        const char* pattern;
        const char* code;
    } cases[] = {
        {"dd.MM.yy", "dd.mm.yy"},
        {"M/d/yy", "m/d/yy"},
        {"d MMM yyyy", "d mmm yyyy"},
        {"yyyy-MM-dd", "yyyy-mm-dd"},
        {"HH:mm:ss t", "hh:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AM/PM"},
        {"h:mm:ss ap", "h:mm:ss am/pm"},
        {"HH:mm:ss.zzz", "hh:mm:ss"},
        {"H\xE6\x99\x82mm\xE5\x88\x86ss\xE7\xA7\x92 t", "h\"\xE6\x99\x82\"mm\"\xE5\x88\x86\"ss\"\xE7\xA7\x92\""},
        {"dd 'de' MMMM", "dd \"de\" mmmm"},
        {"d 'o''clock'", "d \"o'clock\""},
        {"dddd, d", "dddd\",\" d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spreadsheetFormatCode(c.pattern), c.code) << c.pattern;

    const NumberFormats german = userNumberFormats("dd.MM.yy", "HH:mm:ss t");
    EXPECT_EQ(german.dateTime, "dd.mm.yy hh:mm:ss");
    EXPECT_EQ(german.date, "dd.mm.yy");
    // Nothing usable: the file's own day-first form.
    EXPECT_EQ(userNumberFormats("", "").dateTime, "dd/mm/yyyy hh:mm:ss");
}

TEST(LoadDownloadFile, TakesExactlyTheFilesTheViewerTakes)
{
    const struct {
        const char* name;
        std::string bytes;
        LoadStatus status;
        std::size_t rows;
    } cases[] = {
        {"temperature", "COLDROOM,Time,Celsius(\xB0"
                        "C),Serial Number\r\n1,05/03/2007 14:30:00,4.5,000123456\r\n2,05/03/2007 14:35:00,4.0\r\n",
         LoadStatus::Ok, 2},
        {"LF line ends", "COLDROOM,Time,Celsius(\xB0"
                         "C)\n1,05/03/2007 14:30:00,4.5\n2,05/03/2007 14:35:00,4.0\n",
         LoadStatus::Ok, 2},
        // Blank lines as the viewer takes them: a blank first row or a blank
        // line after the second row is invalid, a blank second row ends the file.
        {"blank first row", "COLDROOM,Time,Celsius(\xB0"
                            "C)\n\n1,05/03/2007 14:30:00,4.5\n",
         LoadStatus::Invalid, 0},
        {"trailing blank line", "COLDROOM,Time,Celsius(\xB0"
                                "C)\r\n1,05/03/2007 14:30:00,4.5\r\n2,05/03/2007 14:35:00,4.0\r\n\r\n",
         LoadStatus::Invalid, 0},
        {"blank second row", "COLDROOM,Time,Celsius(\xB0"
                             "C)\r\n1,05/03/2007 14:30:00,4.5\r\n \r\n3,junk\r\n",
         LoadStatus::Ok, 1},
        {"no line end at the end", "X,Time,Celsius(\xB0"
                                   "C)\r\n1,05/03/2007 14:30:00,4.5",
         LoadStatus::Ok, 1},
        {"event file", "COLDROOM,Time,Event(Rising),Serial Number\r\n0,05/03/2007 14:30:00.0,,000123456\r\n",
         LoadStatus::EventFile, 0},
        {"event in any case", "COLDROOM,Time,event(State)\r\n1,05/03/2007 14:30:00.0,0\r\n", LoadStatus::EventFile, 0},
        // A logger called EVENTS is still a temperature logger.
        {"event in the title", "EVENTS,Time,Celsius(\xB0"
                               "C)\r\n1,05/03/2007 14:30:00,4.5\r\n",
         LoadStatus::Ok, 1},
        {"header only", "COLDROOM,Time,Celsius(\xB0"
                        "C),Serial Number\r\n",
         LoadStatus::Invalid, 0},
        {"empty", "", LoadStatus::Invalid, 0},
        {"one heading", "COLDROOM\r\n1,05/03/2007 14:30:00,4.5\r\n", LoadStatus::Invalid, 0},
        {"one-digit day", "X,Time,Celsius(\xB0"
                          "C)\r\n1,5/3/2007 14:30:00,4.5\r\n",
         LoadStatus::Invalid, 0},
        {"no time", "X,Time,Celsius(\xB0"
                    "C)\r\n1\r\n",
         LoadStatus::Invalid, 0},
        {"binary", std::string("\x00\x01\x02,\xFF\r\n\x00", 9), LoadStatus::Invalid, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadResult result = parseDownloadBytes(c.bytes);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.table.data.rows.size(), c.rows);
    }
    EXPECT_EQ(loadDownloadFile("/nonexistent/folder/file.txt").status, LoadStatus::CannotOpen);
}

TEST(ChartXml, LeavesChartsOfAnotherFormAlone)
{
    ChartXmlEdit edit;
    edit.secondarySeries = {1};
    EXPECT_FALSE(editChartXml("<c:chartSpace/>", edit));
    // A category axis that is not automatic was not written by us.
    EXPECT_FALSE(editChartXml("<c:plotArea><c:lineChart><c:ser><c:idx val=\"0\"/></c:ser></c:lineChart>"
                              "<c:catAx><c:auto val=\"0\"/></c:catAx></c:plotArea>",
                              edit));
    // Every series on the second axis would leave the first one empty.
    edit.secondarySeries = {0};
    EXPECT_FALSE(editChartXml("<c:plotArea><c:lineChart><c:ser><c:idx val=\"0\"/></c:ser><c:axId val=\"1\"/>"
                              "<c:axId val=\"2\"/></c:lineChart><c:catAx><c:numFmt formatCode=\"General\"/>"
                              "<c:auto val=\"1\"/></c:catAx></c:plotArea>",
                              edit));
}

} // namespace
} // namespace vessor::xlsx

// The report without painting: where its blocks land on pages, what an
// excursion table says, and the paper a locale prints on.
#include "report/report_content.h"
#include "report/report_layout.h"

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vessor::graph::report {
namespace {

using Kind = Block::Kind;

Block fixed(double height, double gap = 0) {
    return {Kind::Fixed, height, 0, 0, 0, gap};
}
Block table(double row, double head, int rows, double gap = 0) {
    return {Kind::Table, row, head, rows, 0, gap};
}
Block chart(double least, double most, double gap = 0) {
    return {Kind::Chart, least, 0, 0, most, gap};
}
Block tailed(Block block, double tail) {
    block.tail = tail;
    return block;
}
Block newPage() {
    return {Kind::NewPage};
}

// "block@top+height", tables with their rows "[from,to)", pages apart by " | ".
std::string describe(const std::vector<Page>& pages, const std::vector<Block>& blocks) {
    std::string text;
    for (const Page& page : pages) {
        if (!text.empty())
            text += " | ";
        std::string line;
        for (const Slice& s : page) {
            if (!line.empty())
                line += ' ';
            line += std::to_string(s.block) + '@' + std::to_string(static_cast<int>(s.top)) + '+' +
                    std::to_string(static_cast<int>(s.height));
            if (blocks[s.block].kind == Kind::Table)
                line += '[' + std::to_string(s.firstRow) + ',' + std::to_string(s.endRow) + ')';
        }
        text += line;
    }
    return text;
}

TEST(ReportLayout, BlocksOverPages) {
    struct Case {
        const char* what;
        std::vector<Block> blocks;
        double firstPage; // -1: as the others
        std::string pages;
    };
    const Case cases[] = {
        {"gaps between blocks, none at the top of a page",
         {fixed(30), fixed(30, 10), fixed(50, 10)},
         -1,
         "0@0+30 1@40+30 | 2@0+50"},
        {"a table breaks between rows, its head on every page",
         {table(10, 20, 12)},
         -1,
         "0@0+100[0,8) | 0@0+60[8,12)"},
        {"a long table over several pages",
         {fixed(55), table(10, 15, 25, 5)},
         -1,
         "0@0+55 1@60+35[0,2) | 1@0+95[2,10) | 1@0+95[10,18) | 1@0+85[18,25)"},
        {"a head never stands without a row",
         {fixed(85), table(10, 10, 3)},
         -1,
         "0@0+85 | 1@0+40[0,3)"},
        {"the last row fits exactly", {fixed(70), table(10, 10, 2)}, -1, "0@0+70 1@70+30[0,2)"},
        {"a table without rows keeps one row's room", {table(10, 20, 0)}, -1, "0@0+30[0,1)"},
        {"a chart takes the room left, up to its most",
         {fixed(40), chart(30, 50, 5)},
         -1,
         "0@0+40 1@45+50"},
        {"a chart shrinks to what is left", {fixed(60), chart(30, 50, 5)}, -1, "0@0+60 1@65+35"},
        {"a chart with less than its least left moves on",
         {fixed(75), chart(30, 50, 5)},
         -1,
         "0@0+75 | 1@0+50"},
        {"a new page, but never an empty one",
         {newPage(), fixed(10), newPage(), newPage(), fixed(10)},
         -1,
         "1@0+10 | 4@0+10"},
        {"a shorter first page", {table(10, 0, 12)}, 50, "0@0+50[0,5) | 0@0+70[5,12)"},
        {"a block taller than a page gets a page of its own",
         {fixed(150), fixed(10)},
         -1,
         "0@0+150 | 1@0+10"},
        {"what follows a table keeps its last rows company",
         {fixed(40), tailed(table(10, 10, 4), 30), fixed(30)},
         -1,
         "0@0+40 1@40+30[0,2) | 1@0+30[2,4) 2@30+30"},
        {"a short table goes over whole with what follows",
         {fixed(60), tailed(table(10, 10, 2), 30), fixed(30)},
         -1,
         "0@0+60 | 1@0+30[0,2) 2@30+30"},
        {"a tail that fits changes nothing",
         {fixed(20), tailed(table(10, 10, 4), 30), fixed(30)},
         -1,
         "0@0+20 1@20+50[0,4) 2@70+30"},
        {"a chart spares the room of what follows",
         {fixed(40), tailed(chart(30, 50), 20), fixed(20)},
         -1,
         "0@0+40 1@40+40 2@80+20"},
        {"a chart that cannot spare it takes the room",
         {fixed(60), tailed(chart(30, 50), 20), fixed(20)},
         -1,
         "0@0+60 1@60+40 | 2@0+20"},
        {"nothing: one empty page", {}, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Page> pages = layoutPages(c.blocks, 100, c.firstPage);
        EXPECT_EQ(describe(pages, c.blocks), c.pages);
        EXPECT_FALSE(pages.empty());
        for (const Page& page : pages) {
            for (const Slice& s : page) {
                if (c.blocks[s.block].height <= 100) {
                    EXPECT_LE(s.top + s.height, 100 + 1e-9);
                }
            }
        }
    }
}

// One channel in °C, a minute apart from 2007-03-05 14:30:00, against a level
// of 20 on every row. The values stay for the spans of the last call.
download::SummaryInput inputOf(download::AlarmKind kind, std::vector<double> values) {
    static std::vector<double> kept;
    static std::vector<double> levels;
    kept = std::move(values);
    levels.assign(kept.size(), 20.0);
    download::SummaryInput input;
    input.title = "Cold Store";
    input.startTime = 1'173'105'000;
    input.interval = 60;
    input.readings = static_cast<int>(kept.size());
    download::ChannelColumns& channel = input.channels.emplace_back();
    channel.name = "Celsius";
    channel.unit = "\u00B0C";
    channel.decimals = 1;
    channel.values = kept;
    channel.alarms.push_back({kind, "High Alarm", levels});
    return input;
}

download::Summary crossed(download::AlarmKind kind, std::vector<double> values) {
    return download::summarize(inputOf(kind, std::move(values)));
}

TEST(ReportContent, ExcursionRows) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QStringLiteral("de_DE"));
    const QString c = QStringLiteral("\u00A0\u00B0C");
    struct Case {
        const char* what;
        download::AlarmKind kind;
        std::vector<double> values;
        QLocale locale;
        QString title;
        QStringList headings;
        std::vector<QStringList> rows;
    };
    const Case cases[] = {
        {"first row, a gap, open at the end",
         download::AlarmKind::High,
         {21, 19, 21, 21.5, 19, 22.04},
         english,
         "Celsius: High Alarm, above 20.0" + c,
         {"No.", "Start", "End", "Duration", "Highest", "Note"},
         {{"1", "3/5/07 14:30:00", "3/5/07 14:30:00", "1 min", "21.0" + c, ""},
          {"2", "3/5/07 14:32:00", "3/5/07 14:33:00", "2 min", "21.5" + c, ""},
          {"3", "3/5/07 14:35:00", "3/5/07 14:35:00", "1 min", "22.0" + c,
           "open at the end of the file"}}},
        {"a low run ends before the file does, in German",
         download::AlarmKind::Low,
         {25, 18, 17.5, 19, 21, 21},
         german,
         "Celsius: High Alarm, below 20,0" + c,
         {"No.", "Start", "End", "Duration", "Lowest"},
         {{"1", "05.03.07 14:31:00", "05.03.07 14:33:00", "3 min", "17,5" + c}}},
        {"never crossed",
         download::AlarmKind::High,
         {1, 2, 3, 4, 5, 6},
         english,
         "Celsius: High Alarm, above 20.0" + c,
         {"No.", "Start", "End", "Duration", "Highest"},
         {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const download::Summary s = crossed(k.kind, k.values);
        const Table t = excursionTable(s, s.channels[0], s.channels[0].alarms[0], k.locale);
        EXPECT_EQ(t.title, k.title);
        EXPECT_EQ(t.headings, k.headings);
        EXPECT_EQ(t.right.size(), t.headings.size());
        ASSERT_EQ(t.rows.size(), k.rows.size());
        for (std::size_t i = 0; i < k.rows.size(); ++i)
            EXPECT_EQ(t.rows[i], k.rows[i]) << i;
        EXPECT_EQ(t.note.isEmpty(), k.rows.empty());
    }
}

TEST(ReportContent, HeadlineTablesAndTheWindowsRange) {
    const download::SummaryInput input =
        inputOf(download::AlarmKind::High, {21, 19, 21, 21.5, 19, 22});
    download::Summary whole = download::summarize(input);
    Context context;
    context.fileName = QStringLiteral("cold.txt");
    context.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    context.madeAt = makeCalendarTime(2026, 12, 8, 9, 5, 0);
    const Content plain = reportContent(whole, nullptr, context);
    EXPECT_EQ(plain.verdict, Verdict::OutOfLimits);
    EXPECT_EQ(plain.headline, QStringLiteral("Out of limits: Celsius above High Alarm"));
    ASSERT_EQ(plain.summary.size(), 2u); // readings and alarm levels, whole file
    EXPECT_EQ(plain.excursions.size(), 1u);
    EXPECT_EQ(plain.footer, QStringLiteral("Report made 12/8/26 09:05:00"));
    // No serial number in the file: none in the report.
    for (const Fact& fact : plain.identity)
        EXPECT_NE(fact.first, QStringLiteral("Serial number"));

    const download::Summary shown = download::summarize(input, {1, 3});
    context.serialNumber = QStringLiteral("000123456");
    const Content zoomed = reportContent(whole, &shown, context);
    ASSERT_EQ(zoomed.summary.size(), 4u); // then the readings and the levels the window shows
    EXPECT_EQ(zoomed.summary[2].title,
              QStringLiteral("Readings, shown in the window, 3/5/07 14:31:00 to 3/5/07 14:32:00"));
    EXPECT_EQ(zoomed.identity.front(),
              Fact(QStringLiteral("Serial number"), QStringLiteral("000123456")));

    // An archive series: the archive in place of the file, the whole series.
    context.fileName = QStringLiteral("sqlite:/srv/archive.sqlite");
    context.series = true;
    const Content series = reportContent(whole, nullptr, context);
    EXPECT_EQ(series.identity[1], Fact(QStringLiteral("Archive"), context.fileName));
    EXPECT_EQ(series.summary[0].title, QStringLiteral("Readings, whole series"));
    EXPECT_TRUE(series.excursionsIntro.contains(QStringLiteral("A gap between downloads ends a run.")));
    context.series = false;

    whole.channels[0].alarms.clear();
    EXPECT_EQ(reportContent(whole, nullptr, context).verdict, Verdict::NoLevels);
    EXPECT_TRUE(reportContent(whole, nullptr, context).excursions.empty());
}

TEST(ReportContent, PaperAndPageNumbers) {
    const std::pair<const char*, QPageSize::PageSizeId> cases[] = {
        {"en_US", QPageSize::Letter}, {"en_CA", QPageSize::Letter}, {"fr_CA", QPageSize::Letter},
        {"es_MX", QPageSize::Letter}, {"en_GB", QPageSize::A4},     {"de_DE", QPageSize::A4},
        {"fr_FR", QPageSize::A4},     {"C", QPageSize::A4},
    };
    for (const auto& [name, paper] : cases)
        EXPECT_EQ(paperFor(QLocale(QString::fromLatin1(name))), paper) << name;
    EXPECT_EQ(pageNumberText(2, 5, QLocale::c()), QStringLiteral("Page 2 of 5"));
    EXPECT_EQ(pageNumberText(1, 1200, QLocale(QStringLiteral("de_DE"))),
              QStringLiteral("Page 1 of 1.200"));
}

} // namespace
} // namespace vessor::graph::report

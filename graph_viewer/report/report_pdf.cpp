#include "report_pdf.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vessor::graph::report {

namespace {

// Device units per inch: fine enough that rounding never shows.
constexpr int RESOLUTION = 600;

const QColor INK(0x1f, 0x23, 0x28);
const QColor GREY(0x5f, 0x66, 0x6d);
const QColor RULE(0xa8, 0xb0, 0xb8);
const QColor ACCENT(0x23, 0x46, 0x6b);
const QColor HEAD_FILL(0xe9, 0xee, 0xf3);
const QColor STRIPE(0xf5, 0xf7, 0xf9);

struct Tone {
    QColor text, fill, bar;
};

Tone toneOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::OutOfLimits:
        return {QColor(0xa5, 0x0e, 0x0e), QColor(0xfc, 0xe8, 0xe6), QColor(0xd9, 0x30, 0x25)};
    case Verdict::WithinLimits:
        return {QColor(0x0d, 0x65, 0x2d), QColor(0xe6, 0xf4, 0xea), QColor(0x1e, 0x8e, 0x3e)};
    case Verdict::NoLevels:
        break;
    }
    return {QColor(0x3c, 0x40, 0x43), QColor(0xf1, 0xf3, 0xf4), QColor(0x80, 0x86, 0x8b)};
}

QFont font(double points, bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    // No ligatures: the PDF's text is searched and copied as typed ("file", not "ﬁle").
    f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Long words (a file name) break anywhere rather than run past the edge.
QTextOption wrapping(Qt::Alignment alignment = Qt::AlignLeft) {
    QTextOption option(alignment | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Everything measured on the writer, in its units.
class Measure {
public:
    explicit Measure(QPaintDevice* device) : device_(device) {}
    double mm(double millimetres) const { return millimetres * RESOLUTION / 25.4; }
    QFontMetricsF metrics(const QFont& f) const { return QFontMetricsF(f, device_); }
    double line(const QFont& f) const { return metrics(f).lineSpacing(); }
    double width(const QFont& f, const QString& text) const {
        return metrics(f).horizontalAdvance(text);
    }
    // The height of `text` wrapped to `width`.
    double wrapped(const QFont& f, const QString& text, double width) const {
        if (text.isEmpty())
            return 0;
        QTextLayout layout(text, f, device_);
        layout.setTextOption(wrapping());
        layout.beginLayout();
        double height = 0;
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(width);
            height += l.height();
        }
        layout.endLayout();
        return std::ceil(height) + 1;
    }

private:
    QPaintDevice* device_;
};

struct Fonts {
    QFont kicker = font(9);
    QFont title = font(18, true);
    QFont label = font(8.5);
    QFont value = font(8.5, true);
    QFont headline = font(12, true);
    QFont tableTitle = font(10, true);
    QFont note = font(7.5);
    QFont foot = font(7.5);
    QFont sectionTitle = font(14, true);
    QFont body = font(8.5);
};

// Columns as drawn: widths filling the text block (or, compact, what they
// need with some room), the type shrunk when the natural widths do not fit.
// The excursion tables share one set, so that their columns line up.
struct Columns {
    QFont cell, heading;
    std::vector<double> widths;
    double width = 0; // their sum
    double pad = 0;
    double headingHeight = 0, rowHeight = 0;
};

Columns shapeColumns(const std::vector<const Table*>& tables, const Measure& m, double width,
                     bool compact) {
    Columns s;
    s.pad = m.mm(1.8);
    std::size_t count = 0;
    for (const Table* t : tables)
        count = std::max(count, static_cast<std::size_t>(t->headings.size()));
    const auto natural = [&](const QFont& cell, const QFont& heading) {
        std::vector<double> w(count, 0.0);
        for (const Table* t : tables) {
            for (std::size_t c = 0; c < count; ++c) {
                const qsizetype i = static_cast<qsizetype>(c);
                if (i < t->headings.size())
                    w[c] = std::max(w[c], m.width(heading, t->headings[i]));
                for (const QStringList& row : t->rows) {
                    if (i < row.size())
                        w[c] = std::max(w[c], m.width(cell, row[i]));
                }
            }
        }
        for (double& x : w)
            x = std::ceil(x) + 2 * s.pad;
        return w;
    };
    const auto sum = [](const std::vector<double>& w) {
        return std::accumulate(w.begin(), w.end(), 0.0);
    };
    double points = 8.5;
    s.cell = font(points);
    s.heading = font(points, true);
    s.widths = natural(s.cell, s.heading);
    // Too wide: a smaller type, down to 6.5 pt; cells still too wide are elided.
    for (double total = sum(s.widths); total > width && points > 6.5; total = sum(s.widths)) {
        points = std::max(6.5, points * width / total - 0.1);
        s.cell = font(points);
        s.heading = font(points, true);
        s.widths = natural(s.cell, s.heading);
    }
    const double total = sum(s.widths);
    const double target =
        compact ? std::min(width, total + static_cast<double>(count) * m.mm(10)) : width;
    const bool numbered =
        !tables.empty() && !tables.front()->right.isEmpty() && tables.front()->right.front();
    if (total < target && !s.widths.empty()) {
        // The room left goes to every column but a leading number column.
        const std::size_t from = numbered && count > 1 ? 1 : 0;
        const double extra = (target - total) / static_cast<double>(count - from);
        for (std::size_t c = from; c < count; ++c)
            s.widths[c] += extra;
    } else if (total > target) {
        for (double& w : s.widths)
            w *= target / total;
    }
    s.width = sum(s.widths);
    s.headingHeight = m.line(s.heading) * 1.5;
    s.rowHeight = m.line(s.cell) * 1.45;
    return s;
}

class ReportPainter {
public:
    ReportPainter(QPdfWriter& writer, const Content& content, const ChartPainter& chart)
        : writer_(writer), content_(content), chart_(chart), m_(&writer) {}

    int draw();

private:
    enum class Part {
        Header,
        Headline,
        SummaryTable,
        Chart,
        ExcursionsTitle,
        ExcursionTable,
        Signature
    };
    struct Item {
        Part part;
        std::size_t index = 0; // the table's
    };

    void addBlocks();
    double tableHead(const Table& t, const Columns& c) const;
    double headerHeight() const;
    double factsHeight(const std::vector<Fact>& facts, double width, double labelWidth) const;
    double headlineHeight() const;
    double excursionsTitleHeight() const;
    double signatureHeight() const;

    void drawPage(const Page& page, int number, int pages);
    void drawSlice(const Slice& slice, double top);
    void drawHeader(double top);
    void drawFacts(const std::vector<Fact>& facts, double left, double top, double width,
                   double labelWidth);
    void drawHeadline(double top, double height);
    void drawTable(const Table& t, const Columns& s, const Slice& slice, double top, bool stripes);
    void drawExcursionsTitle(double top);
    void drawSignature(double top);
    void drawText(const QFont& f, const QColor& colour, const QRectF& rect, const QString& text,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

    QPdfWriter& writer_;
    const Content& content_;
    const ChartPainter& chart_;
    Measure m_;
    Fonts fonts_;
    QPainter painter_;
    double width_ = 0, height_ = 0; // the printable area
    double footHeight_ = 0, runningHeadHeight_ = 0;
    std::vector<Block> blocks_;
    std::vector<Item> items_;
    std::vector<Columns> summaryColumns_;
    Columns excursionColumns_;
    bool chartDrawn_ = true;
};

// Its title, its note and its column headings (none over no rows).
double ReportPainter::tableHead(const Table& t, const Columns& c) const {
    return m_.line(fonts_.tableTitle) + m_.mm(0.8) +
           (t.note.isEmpty() ? 0 : m_.wrapped(fonts_.note, t.note, width_) + m_.mm(0.8)) +
           (t.rows.empty() ? 0 : c.headingHeight);
}

double ReportPainter::factsHeight(const std::vector<Fact>& facts, double width,
                                  double labelWidth) const {
    double height = 0;
    for (const Fact& fact : facts)
        height += std::max(m_.line(fonts_.label),
                           m_.wrapped(fonts_.value, fact.second, width - labelWidth)) +
                  m_.mm(0.6);
    return height;
}

// The two columns of facts: who and what on the left, the recording's times on the right.
struct FactColumns {
    double leftWidth, rightLeft, rightWidth, leftLabel, rightLabel;
};

FactColumns factColumns(const Content& c, const Fonts& fonts, const Measure& m, double width) {
    FactColumns f{};
    const double gutter = m.mm(6);
    f.leftWidth = (width - gutter) * 0.58;
    f.rightLeft = f.leftWidth + gutter;
    f.rightWidth = width - f.rightLeft;
    const auto labels = [&](const std::vector<Fact>& facts) {
        double w = 0;
        for (const Fact& fact : facts)
            w = std::max(w, m.width(fonts.label, fact.first));
        return std::ceil(w) + m.mm(3);
    };
    f.leftLabel = labels(c.identity);
    f.rightLabel = labels(c.recording);
    return f;
}

double ReportPainter::headerHeight() const {
    const FactColumns f = factColumns(content_, fonts_, m_, width_);
    const double facts = std::max(factsHeight(content_.identity, f.leftWidth, f.leftLabel),
                                  factsHeight(content_.recording, f.rightWidth, f.rightLabel));
    return m_.line(fonts_.kicker) + m_.wrapped(fonts_.title, content_.logger, width_) + m_.mm(2.5) +
           facts;
}

double ReportPainter::headlineHeight() const {
    return m_.wrapped(fonts_.headline, content_.headline, width_ - m_.mm(9)) + m_.mm(5);
}

double ReportPainter::excursionsTitleHeight() const {
    return m_.line(fonts_.sectionTitle) + m_.mm(1.5) +
           m_.wrapped(fonts_.body, content_.excursionsIntro, width_);
}

double ReportPainter::signatureHeight() const {
    return m_.mm(16) + m_.line(fonts_.note);
}

void ReportPainter::addBlocks() {
    const auto fixed = [&](Part part, double height, double gap) {
        blocks_.push_back({Block::Kind::Fixed, height, 0, 0, 0, gap});
        items_.push_back({part});
    };
    const auto table = [&](Part part, std::size_t index, const Table& t, const Columns& c,
                           double gap) {
        blocks_.push_back({Block::Kind::Table, c.rowHeight, tableHead(t, c),
                           static_cast<int>(t.rows.size()), 0, gap});
        items_.push_back({part, index});
    };
    fixed(Part::Header, headerHeight(), 0);
    fixed(Part::Headline, headlineHeight(), m_.mm(5));
    for (std::size_t i = 0; i < content_.summary.size(); ++i) {
        const Table& t = content_.summary[i];
        // The whole file's table and the window's line up, column for column.
        std::vector<const Table*> alike;
        for (const Table& other : content_.summary) {
            if (other.headings == t.headings)
                alike.push_back(&other);
        }
        summaryColumns_.push_back(shapeColumns(alike, m_, width_, t.compact));
        table(Part::SummaryTable, i, t, summaryColumns_.back(), m_.mm(5));
    }
    // The chart as printed keeps its 4:3 shape; less than a third of the
    // page is too small to read, and it moves to a page of its own.
    blocks_.push_back(
        {Block::Kind::Chart, std::min(height_ / 3, width_ * 0.75), 0, 0, width_ * 0.75, m_.mm(5)});
    items_.push_back({Part::Chart});
    if (!content_.excursions.empty()) {
        blocks_.push_back({Block::Kind::NewPage});
        items_.push_back({Part::ExcursionsTitle}); // a page break draws nothing
        fixed(Part::ExcursionsTitle, excursionsTitleHeight(), 0);
        std::vector<const Table*> all;
        for (const Table& t : content_.excursions)
            all.push_back(&t);
        excursionColumns_ = shapeColumns(all, m_, width_, false);
        for (std::size_t i = 0; i < content_.excursions.size(); ++i)
            table(Part::ExcursionTable, i, content_.excursions[i], excursionColumns_, m_.mm(6));
    }
    // The place to sign never stands alone on the last page.
    blocks_.back().tail = signatureHeight() + m_.mm(10);
    fixed(Part::Signature, signatureHeight(), m_.mm(10));
}

int ReportPainter::draw() {
    if (!painter_.begin(&writer_))
        return 0;
    const QRect area = painter_.viewport();
    width_ = area.width();
    height_ = area.height();
    footHeight_ = m_.line(fonts_.foot) + m_.mm(4);
    runningHeadHeight_ = m_.line(fonts_.foot) + m_.mm(5);
    addBlocks();
    const std::vector<Page> pages =
        layoutPages(blocks_, height_ - footHeight_ - runningHeadHeight_, height_ - footHeight_);
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !writer_.newPage())
            return 0;
        drawPage(pages[static_cast<std::size_t>(i)], i + 1, count);
    }
    const bool ended = painter_.end();
    return ended && chartDrawn_ ? count : 0;
}

void ReportPainter::drawText(const QFont& f, const QColor& colour, const QRectF& rect,
                             const QString& text, Qt::Alignment alignment) {
    painter_.setFont(f);
    painter_.setPen(colour);
    // Elided only when even the smallest type does not fit (never in practice).
    const QString shown =
        QFontMetricsF(f, &writer_).elidedText(text, Qt::ElideMiddle, rect.width() + 0.5);
    painter_.drawText(rect, static_cast<int>(alignment), shown);
}

void ReportPainter::drawPage(const Page& page, int number, int pages) {
    double top = 0;
    if (number > 1) {
        const double line = m_.line(fonts_.foot);
        drawText(fonts_.foot, GREY, QRectF(0, 0, width_, line), content_.runningHead);
        painter_.setPen(QPen(RULE, m_.mm(0.2)));
        painter_.drawLine(QPointF(0, line + m_.mm(1.5)), QPointF(width_, line + m_.mm(1.5)));
        top = runningHeadHeight_;
    }
    for (const Slice& slice : page)
        drawSlice(slice, top + slice.top);
    const double footTop = height_ - m_.line(fonts_.foot);
    painter_.setPen(QPen(RULE, m_.mm(0.2)));
    painter_.drawLine(QPointF(0, footTop - m_.mm(1.5)), QPointF(width_, footTop - m_.mm(1.5)));
    const QRectF foot(0, footTop, width_, m_.line(fonts_.foot));
    drawText(fonts_.foot, GREY, foot, content_.footer);
    drawText(fonts_.foot, GREY, foot, pageNumberText(number, pages, content_.locale),
             Qt::AlignRight | Qt::AlignVCenter);
}

void ReportPainter::drawSlice(const Slice& slice, double top) {
    const Item& item = items_[slice.block];
    switch (item.part) {
    case Part::Header:
        drawHeader(top);
        break;
    case Part::Headline:
        drawHeadline(top, slice.height);
        break;
    case Part::SummaryTable:
        drawTable(content_.summary[item.index], summaryColumns_[item.index], slice, top, false);
        break;
    case Part::Chart: {
        // The chart keeps its shape inside the room it is given, centred.
        painter_.save();
        painter_.setViewport(QRectF(0, top, width_, slice.height).toRect());
        chartDrawn_ = chart_(painter_) && chartDrawn_;
        painter_.restore();
        break;
    }
    case Part::ExcursionsTitle:
        drawExcursionsTitle(top);
        break;
    case Part::ExcursionTable:
        drawTable(content_.excursions[item.index], excursionColumns_, slice, top, true);
        break;
    case Part::Signature:
        drawSignature(top);
        break;
    }
}

void ReportPainter::drawHeader(double top) {
    const double kicker = m_.line(fonts_.kicker);
    drawText(fonts_.kicker, GREY, QRectF(0, top, width_, kicker),
             QStringLiteral("RECORDING REPORT"));
    drawText(fonts_.kicker, GREY, QRectF(0, top, width_, kicker),
             QStringLiteral("Vessor USB Graph"), Qt::AlignRight | Qt::AlignVCenter);
    top += kicker;
    const double title = m_.wrapped(fonts_.title, content_.logger, width_);
    painter_.setFont(fonts_.title);
    painter_.setPen(INK);
    painter_.drawText(QRectF(0, top, width_, title), content_.logger, wrapping());
    top += title + m_.mm(0.8);
    painter_.setPen(QPen(ACCENT, m_.mm(0.5)));
    painter_.drawLine(QPointF(0, top), QPointF(width_, top));
    top += m_.mm(1.7);
    const FactColumns f = factColumns(content_, fonts_, m_, width_);
    drawFacts(content_.identity, 0, top, f.leftWidth, f.leftLabel);
    drawFacts(content_.recording, f.rightLeft, top, f.rightWidth, f.rightLabel);
}

void ReportPainter::drawFacts(const std::vector<Fact>& facts, double left, double top, double width,
                              double labelWidth) {
    for (const Fact& fact : facts) {
        const double line = m_.line(fonts_.label);
        const double value = m_.wrapped(fonts_.value, fact.second, width - labelWidth);
        drawText(fonts_.label, GREY, QRectF(left, top, labelWidth, line), fact.first);
        painter_.setFont(fonts_.value);
        painter_.setPen(INK);
        painter_.drawText(QRectF(left + labelWidth, top, width - labelWidth, value), fact.second,
                          wrapping());
        top += std::max(line, value) + m_.mm(0.6);
    }
}

void ReportPainter::drawHeadline(double top, double height) {
    const Tone tone = toneOf(content_.verdict);
    painter_.fillRect(QRectF(0, top, width_, height), tone.fill);
    painter_.fillRect(QRectF(0, top, m_.mm(1.5), height), tone.bar);
    painter_.setFont(fonts_.headline);
    painter_.setPen(tone.text);
    painter_.drawText(QRectF(m_.mm(6), top + m_.mm(2.5), width_ - m_.mm(9), height - m_.mm(5)),
                      content_.headline, wrapping());
}

void ReportPainter::drawTable(const Table& t, const Columns& s, const Slice& slice, double top,
                              bool stripes) {
    const double titleHeight = m_.line(fonts_.tableTitle) + m_.mm(0.8);
    drawText(fonts_.tableTitle, INK, QRectF(0, top, width_, titleHeight),
             slice.continued() ? t.title + QStringLiteral(" (continued)") : t.title,
             Qt::AlignLeft | Qt::AlignTop);
    top += titleHeight;
    if (!t.note.isEmpty()) {
        const double note = m_.wrapped(fonts_.note, t.note, width_);
        painter_.setFont(fonts_.note);
        painter_.setPen(GREY);
        painter_.drawText(QRectF(0, top, width_, note), t.note, wrapping());
        top += note + m_.mm(0.8);
    }
    const QPen rule(RULE, m_.mm(0.25));
    if (t.rows.empty()) {
        painter_.setPen(rule);
        painter_.drawLine(QPointF(0, top), QPointF(s.width, top));
        drawText(s.cell, GREY, QRectF(s.pad, top, width_ - 2 * s.pad, s.rowHeight), t.none);
        top += s.rowHeight;
        painter_.setPen(rule);
        painter_.drawLine(QPointF(0, top), QPointF(s.width, top));
        return;
    }
    const auto cells = [&](const QStringList& texts, const QFont& f, const QColor& colour, double y,
                           double h, bool quiet) {
        double x = 0;
        for (std::size_t c = 0; c < s.widths.size(); ++c) {
            const qsizetype i = static_cast<qsizetype>(c);
            const bool right = i < t.right.size() && t.right[i];
            // A quiet row's label sits under the label above it, indented.
            const double indent = quiet && c == 0 ? m_.mm(4) : 0;
            if (i < texts.size() && !texts[i].isEmpty()) {
                drawText(f, colour,
                         QRectF(x + s.pad + indent, y, s.widths[c] - 2 * s.pad - indent, h),
                         texts[i], (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            }
            x += s.widths[c];
        }
    };
    painter_.fillRect(QRectF(0, top, s.width, s.headingHeight), HEAD_FILL);
    cells(t.headings, s.heading, INK, top, s.headingHeight, false);
    top += s.headingHeight;
    painter_.setPen(rule);
    painter_.drawLine(QPointF(0, top), QPointF(s.width, top));
    for (int r = slice.firstRow; r < slice.endRow && r < static_cast<int>(t.rows.size()); ++r) {
        const bool quiet = r < t.quiet.size() && t.quiet[r];
        if (stripes && r % 2 == 1)
            painter_.fillRect(QRectF(0, top, s.width, s.rowHeight), STRIPE);
        cells(t.rows[static_cast<std::size_t>(r)], s.cell, quiet ? GREY : INK, top, s.rowHeight,
              quiet);
        top += s.rowHeight;
    }
    painter_.setPen(rule);
    painter_.drawLine(QPointF(0, top), QPointF(s.width, top));
}

void ReportPainter::drawExcursionsTitle(double top) {
    const double title = m_.line(fonts_.sectionTitle);
    drawText(fonts_.sectionTitle, INK, QRectF(0, top, width_, title),
             QStringLiteral("Alarm excursions"));
    top += title + m_.mm(1.5);
    painter_.setFont(fonts_.body);
    painter_.setPen(INK);
    painter_.drawText(
        QRectF(0, top, width_, m_.wrapped(fonts_.body, content_.excursionsIntro, width_)),
        content_.excursionsIntro, wrapping());
}

void ReportPainter::drawSignature(double top) {
    // Three lines to write on: who checked the report, their signature, the date.
    const QString labels[] = {QStringLiteral("Reviewed by"), QStringLiteral("Signature"),
                              QStringLiteral("Date")};
    const double gap = m_.mm(8);
    const double each = (width_ - 2 * gap) / 3;
    const double lineY = top + m_.mm(14);
    painter_.setPen(QPen(INK, m_.mm(0.25)));
    for (int i = 0; i < 3; ++i) {
        const double x = i * (each + gap);
        painter_.drawLine(QPointF(x, lineY), QPointF(x + each, lineY));
        drawText(fonts_.note, GREY, QRectF(x, lineY + m_.mm(1), each, m_.line(fonts_.note)),
                 labels[i]);
    }
}

} // namespace

QPageLayout reportPageLayout(QPageSize::PageSizeId paper) {
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(18, 15, 18, 13),
                       QPageLayout::Millimeter);
}

int writeReportPdf(QIODevice& out, const Content& content, const QPageLayout& layout,
                   const ChartPainter& chart) {
    QPdfWriter writer(&out);
    writer.setResolution(RESOLUTION);
    writer.setPageLayout(layout);
    writer.setTitle(QStringLiteral("Recording report: %1").arg(content.logger));
    writer.setCreator(QStringLiteral("vessor-graph"));
    ReportPainter painter(writer, content, chart);
    return painter.draw();
}

} // namespace vessor::graph::report

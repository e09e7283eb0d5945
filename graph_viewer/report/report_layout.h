// Where the report's parts land on its pages: blocks stacked top to bottom,
// tables broken between rows with their heads repeated, the chart given the
// room that is left. Plain arithmetic in the page's units, no painting, so
// that the paging can be checked without a printer or a window.
#pragma once

#include <cstddef>
#include <vector>

namespace vessor::graph::report {

struct Block {
    enum class Kind {
        Fixed,   // drawn whole on one page
        Table,   // rows of one height under a head
        Chart,   // takes the room left, between its least and its most
        NewPage, // what follows starts a page (nothing on an empty page)
    };
    Kind kind = Kind::Fixed;
    double height = 0; // Fixed: all of it; Table: each row; Chart: the least
    double head = 0;   // Table: its title and column headings, on every page it spans
    int rows = 0;      // Table; none still takes one row's room (for "none" text)
    double most = 0;   // Chart
    double gap = 0;    // room above it, dropped at the top of a page
    // Table and Chart: room kept below the last row (or the chart) for the
    // block after it, which should not stand alone on a page of its own.
    double tail = 0;
};

// One block's part on one page.
struct Slice {
    std::size_t block = 0;
    double top = 0;    // from the top of the page's content area
    double height = 0; // the room it takes there
    int firstRow = 0;  // Table: rows [firstRow, endRow)
    int endRow = 0;
    bool continued() const { return firstRow > 0; }
    bool operator==(const Slice&) const = default;
};

using Page = std::vector<Slice>;

// The blocks on pages whose content is `pageHeight` high (the first page
// `firstPageHeight`, when given). A table's head never stands without a row
// under it; a chart with less than its least left starts the next page; a
// table whose tail does not fit after its last row takes its last two rows
// over to the next page, so that what follows has company there. A
// block taller than a page still gets one page of its own (the builder keeps
// its blocks smaller). At least one page.
std::vector<Page> layoutPages(const std::vector<Block>& blocks, double pageHeight,
                              double firstPageHeight = -1);

} // namespace vessor::graph::report

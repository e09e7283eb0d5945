#include "report_layout.h"

#include <algorithm>
#include <cmath>

namespace vessor::graph::report {

namespace {

class Flow {
public:
    Flow(double pageHeight, double firstPageHeight)
        : pageHeight_(pageHeight), height_(firstPageHeight < 0 ? pageHeight : firstPageHeight) {
        pages_.emplace_back();
    }

    bool pageEmpty() const { return pages_.back().empty(); }
    // The room below the last slice once `gap` is given to it.
    double left(double gap) const { return height_ - y_ - (pageEmpty() ? 0 : gap); }
    void newPage() {
        if (!pageEmpty()) {
            pages_.emplace_back();
            y_ = 0;
            height_ = pageHeight_;
        }
    }
    void place(Slice slice, double gap) {
        if (!pageEmpty())
            y_ += gap;
        slice.top = y_;
        y_ += slice.height;
        pages_.back().push_back(slice);
    }
    std::vector<Page> take() { return std::move(pages_); }

private:
    double pageHeight_;
    double height_; // this page's
    double y_ = 0;
    std::vector<Page> pages_;
};

// The rows a table's tail takes over to the next page with it.
constexpr int CARRIED_ROWS = 2;

// Rounding must not push the last row that fits over the page.
int rowsThatFit(double room, double rowHeight) {
    if (rowHeight <= 0)
        return 1 << 30;
    return static_cast<int>(std::floor(room / rowHeight + 1e-9));
}

void placeTable(Flow& flow, const Block& block, std::size_t index) {
    const int rows = std::max(block.rows, 1);
    int from = 0;
    while (from < rows) {
        int fit = rowsThatFit(flow.left(block.gap) - block.head, block.height);
        if (fit < 1 && !flow.pageEmpty()) {
            flow.newPage();
            continue;
        }
        const int remaining = rows - from;
        if (fit >= remaining &&
            rowsThatFit(flow.left(block.gap) - block.head - block.tail, block.height) < remaining) {
            // The last rows go over with what follows, unless nothing would stay.
            fit = remaining - std::min(remaining, CARRIED_ROWS);
            if (fit < 1) {
                if (!flow.pageEmpty()) {
                    flow.newPage();
                    continue;
                }
                fit = remaining;
            }
        }
        // A page that cannot hold the head and one row still takes one row.
        fit = std::clamp(fit, 1, remaining);
        Slice slice;
        slice.block = index;
        slice.height = block.head + fit * block.height;
        slice.firstRow = from;
        slice.endRow = from + fit;
        flow.place(slice, block.gap);
        from += fit;
        if (from < rows)
            flow.newPage();
    }
}

} // namespace

std::vector<Page> layoutPages(const std::vector<Block>& blocks, double pageHeight,
                              double firstPageHeight) {
    Flow flow(pageHeight, firstPageHeight);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& block = blocks[i];
        switch (block.kind) {
        case Block::Kind::NewPage:
            flow.newPage();
            break;
        case Block::Kind::Fixed:
            if (flow.left(block.gap) < block.height)
                flow.newPage();
            flow.place({i, 0, block.height}, block.gap);
            break;
        case Block::Kind::Chart: {
            if (flow.left(block.gap) < block.height)
                flow.newPage();
            // The tail's room, when the chart can spare it.
            const double left = flow.left(block.gap);
            const double room = left - block.tail >= block.height ? left - block.tail
                                                                  : std::max(left, block.height);
            flow.place({i, 0, std::min(room, std::max(block.most, block.height))}, block.gap);
            break;
        }
        case Block::Kind::Table:
            placeTable(flow, block, i);
            break;
        }
    }
    return flow.take();
}

} // namespace vessor::graph::report

// The values-level writer of download files: lays out the header line and
// the data rows (row number, time, then one field after another) from
// values already known. The block-level writer (download_file.h) feeds it
// from the configuration block and the raw samples; the archive's export
// feeds it from stored readings. Both therefore give the same bytes:
// Windows-1252 as handed in, CR LF after every line, numbers that never
// follow the C library locale.
#pragma once

#include "calendar.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vessor {

class DownloadTextWriter {
public:
    // Appends to `out`.
    explicit DownloadTextWriter(std::string& out) : out_(out) {}

    // A whole line (the header): the text and its line end.
    void line(std::string_view text);

    // Starts a data row: "number,dd/mm/yyyy hh:mm:ss", with ".t" (the
    // time's tenths) on the event logger's records.
    void beginRow(std::int64_t number, const CalendarTime& time, bool withTenths = false);
    // ",value" with `decimals` digits after the point (printf "%.*f" in the
    // C locale, so -0.04 with one decimal is "-0.0").
    void value(double v, int decimals);
    // ",value" as a whole number.
    void whole(std::int64_t v);
    // "," and the text as it is.
    void field(std::string_view text);
    // Text that already carries its leading commas (",25.0,5.0").
    void fields(std::string_view text) { out_.append(text); }
    void endRow();

private:
    std::string& out_;
};

} // namespace vessor

// Charts into PNG bytes, fast. A chart is mostly white with a few flat
// colours: each row coded as its difference from the row above and
// compressed at zlib's fastest level is as quick as writing it uncompressed
// and still small (the general encoder spent longer on trying filters and
// squeezing the last bytes than the whole chart took to draw). The two
// halves of the picture are compressed at once on two threads.
#pragma once

#include <QByteArray>
#include <QImage>

namespace vessor::graph {

// Opaque 8-bit RGB; alpha is dropped. Empty for a null image or when
// compression fails.
QByteArray encodePng(const QImage& image);

} // namespace vessor::graph

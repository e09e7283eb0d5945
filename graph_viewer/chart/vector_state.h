// Qt's raster drawing (QImage::fill among others) can return with the upper
// halves of the AVX registers in use. Processors that penalise mixing the
// two then run every SSE instruction after it (all of zlib, all double
// arithmetic) about three times slower until the halves are cleared: a
// 768-line PNG took 10 ms to compress instead of 3.5. Code that has drawn
// calls this before going on.
#pragma once

namespace vessor::graph {

void clearVectorUpperHalves();

} // namespace vessor::graph

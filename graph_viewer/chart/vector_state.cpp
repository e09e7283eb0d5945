#include "vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace vessor::graph {

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
namespace {
__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}
} // namespace

void clearVectorUpperHalves() {
    // The instruction exists only where AVX does.
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpper();
}
#else
void clearVectorUpperHalves() {}
#endif

} // namespace vessor::graph

#include "components/foundation/himetric.h"

#include <cstdint>
#include <cstdlib>

namespace {

// a * b / c rounded to the nearest integer, halves to even; c > 0.
int MulDivHalfEven(int a, int b, int c) {
    std::int64_t n = std::int64_t(a) * b;
    std::int64_t q = n / c, r = n % c;
    // Truncation went toward zero: step away from it when the rest is more
    // than half, or exactly half and the quotient is odd.
    std::int64_t twice = 2 * std::llabs(r);
    if (twice > c || (twice == c && (q & 1))) q += n < 0 ? -1 : 1;
    return int(q);
}

}  // namespace

int HimetricToPixels(int himetric, int pixelsPerInch) {
    return MulDivHalfEven(himetric, pixelsPerInch, kHimetricPerInch);
}

int PixelsToHimetric(int pixels, int pixelsPerInch) {
    if (pixelsPerInch <= 0) return 0;
    return MulDivHalfEven(pixels, kHimetricPerInch, pixelsPerInch);
}

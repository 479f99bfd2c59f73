#include "imaging/png/png_filters.h"

#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

template <int P>
void UnfilterSub(const Byte* src, Byte* dst, std::size_t n) {
    std::size_t i = 0;
    for (; i < n && i < std::size_t(P); ++i) dst[i] = src[i];
    for (; i < n; ++i) dst[i] = Byte(src[i] + dst[i - P]);
}

void UnfilterUp(const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) dst[i] = Byte(src[i] + prev[i]);
}

template <int P>
void UnfilterAverage(const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    std::size_t i = 0;
    for (; i < n && i < std::size_t(P); ++i) dst[i] = Byte(src[i] + (prev[i] >> 1));
    for (; i < n; ++i) dst[i] = Byte(src[i] + ((dst[i - P] + prev[i]) >> 1));
}

inline Byte Paeth(int a, int b, int c) {
    int pa = b - c, pb = a - c;
    int pc = pa + pb;
    pa = pa < 0 ? -pa : pa;
    pb = pb < 0 ? -pb : pb;
    pc = pc < 0 ? -pc : pc;
    if (pa <= pb && pa <= pc) return Byte(a);
    return Byte(pb <= pc ? b : c);
}

template <int P>
void UnfilterPaeth(const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    std::size_t i = 0;
    for (; i < n && i < std::size_t(P); ++i) dst[i] = Byte(src[i] + prev[i]);
    for (; i < n; ++i) dst[i] = Byte(src[i] + Paeth(dst[i - P], prev[i], prev[i - P]));
}

#if defined(__SSE2__)
// Whole pixels of 3 or 4 bytes at a time, as 16-bit lanes. A wide load
// reads four bytes for a pixel of three (the byte after the pixel must be
// there to read): the fourth lane then holds what no store writes back.
template <int P, bool Wide = false>
inline __m128i LoadPixel(const Byte* p) {
    int v;
    if constexpr (P == 4 || Wide) {
        std::memcpy(&v, p, 4);
    } else {
        v = p[0] | (p[1] << 8) | (p[2] << 16);
    }
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}

template <int P>
inline void StorePixel(Byte* p, __m128i x) {
    int v = _mm_cvtsi128_si32(_mm_packus_epi16(x, x));
    if constexpr (P == 4) {
        std::memcpy(p, &v, 4);
    } else {
        std::memcpy(p, &v, 2);
        p[2] = Byte(v >> 16);
    }
}

// Runs step(i, wide) for the start i of every whole pixel of a row of n
// bytes, wide while four bytes can be read at i.
template <int P, class F>
inline std::size_t ForEachPixel(std::size_t n, F step) {
    std::size_t i = 0;
    for (; i + 4 <= n && i + P <= n; i += P) step(i, std::true_type());
    for (; i + P <= n; i += P) step(i, std::false_type());
    return i;
}

inline __m128i Abs16(__m128i x) {
    __m128i m = _mm_srai_epi16(x, 15);
    return _mm_sub_epi16(_mm_xor_si128(x, m), m);
}

template <int P>
void UnfilterPaethSse(const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    const __m128i mask = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
    // The last pixel may need a byte-wise tail when n is not a multiple of P.
    std::size_t i = ForEachPixel<P>(n, [&](std::size_t at, auto wide) {
        __m128i b = LoadPixel<P, decltype(wide)::value>(prev + at);
        __m128i x = LoadPixel<P, decltype(wide)::value>(src + at);
        __m128i pa = Abs16(_mm_sub_epi16(b, c));
        __m128i pb = Abs16(_mm_sub_epi16(a, c));
        __m128i pc = Abs16(_mm_sub_epi16(_mm_add_epi16(a, b), _mm_add_epi16(c, c)));
        // pred = a when pa <= pb and pa <= pc, else b when pb <= pc, else c.
        __m128i useA = _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc)), mask);
        __m128i useB = _mm_andnot_si128(_mm_cmpgt_epi16(pb, pc), mask);
        __m128i pred =
            _mm_or_si128(_mm_and_si128(useA, a),
                         _mm_andnot_si128(useA, _mm_or_si128(_mm_and_si128(useB, b), _mm_andnot_si128(useB, c))));
        a = _mm_and_si128(_mm_add_epi16(x, pred), mask);
        StorePixel<P>(dst + at, a);
        c = b;
    });
    for (; i < n; ++i) {
        Byte left = i >= std::size_t(P) ? dst[i - P] : 0, upLeft = i >= std::size_t(P) ? prev[i - P] : 0;
        dst[i] = Byte(src[i] + Paeth(left, prev[i], upLeft));
    }
}

template <int P>
void UnfilterSubSse(const Byte* src, Byte* dst, std::size_t n) {
    __m128i a = _mm_setzero_si128();
    std::size_t i = ForEachPixel<P>(n, [&](std::size_t at, auto wide) {
        __m128i x = LoadPixel<P, decltype(wide)::value>(src + at);
        a = _mm_and_si128(_mm_add_epi16(a, x), _mm_set1_epi16(0xFF));
        StorePixel<P>(dst + at, a);
    });
    for (; i < n; ++i) dst[i] = Byte(src[i] + (i >= std::size_t(P) ? dst[i - P] : 0));
}

template <int P>
void UnfilterAverageSse(const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    const __m128i mask = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();
    std::size_t i = ForEachPixel<P>(n, [&](std::size_t at, auto wide) {
        __m128i b = LoadPixel<P, decltype(wide)::value>(prev + at);
        __m128i x = LoadPixel<P, decltype(wide)::value>(src + at);
        a = _mm_and_si128(_mm_add_epi16(x, _mm_srli_epi16(_mm_add_epi16(a, b), 1)), mask);
        StorePixel<P>(dst + at, a);
    });
    for (; i < n; ++i) dst[i] = Byte(src[i] + (((i >= std::size_t(P) ? dst[i - P] : 0) + prev[i]) >> 1));
}
#endif

template <int P>
void UnfilterFor(int filterType, const Byte* src, Byte* dst, const Byte* prev, std::size_t n) {
    switch (filterType) {
    case 1:
#if defined(__SSE2__)
        if constexpr (P == 3 || P == 4) return UnfilterSubSse<P>(src, dst, n);
#endif
        return UnfilterSub<P>(src, dst, n);
    case 2: return UnfilterUp(src, dst, prev, n);
    case 3:
#if defined(__SSE2__)
        if constexpr (P == 3 || P == 4) return UnfilterAverageSse<P>(src, dst, prev, n);
#endif
        return UnfilterAverage<P>(src, dst, prev, n);
    case 4:
#if defined(__SSE2__)
        if constexpr (P == 3 || P == 4) return UnfilterPaethSse<P>(src, dst, prev, n);
#endif
        return UnfilterPaeth<P>(src, dst, prev, n);
    default:
        if (src != dst) std::memcpy(dst, src, n);
    }
}

}  // namespace

void UnfilterRow(int filterType, const Byte* src, Byte* dst, const Byte* prev, std::size_t n, int p) {
    switch (p) {
    case 1: return UnfilterFor<1>(filterType, src, dst, prev, n);
    case 2: return UnfilterFor<2>(filterType, src, dst, prev, n);
    case 3: return UnfilterFor<3>(filterType, src, dst, prev, n);
    case 4: return UnfilterFor<4>(filterType, src, dst, prev, n);
    case 6: return UnfilterFor<6>(filterType, src, dst, prev, n);
    default: return UnfilterFor<8>(filterType, src, dst, prev, n);
    }
}

void FilterRow(TPngRowFilter f, const Byte* r, const Byte* q, Byte* out, std::size_t n, int p) {
    std::size_t pp = std::size_t(p);
    switch (f) {
    case rfNone: std::memcpy(out, r, n); break;
    case rfSub:
        for (std::size_t i = 0; i < n; ++i) out[i] = Byte(r[i] - (i >= pp ? r[i - pp] : 0));
        break;
    case rfUp:
        for (std::size_t i = 0; i < n; ++i) out[i] = Byte(r[i] - q[i]);
        break;
    case rfAverage:
        for (std::size_t i = 0; i < n; ++i) out[i] = Byte(r[i] - (((i >= pp ? r[i - pp] : 0) + q[i]) >> 1));
        break;
    case rfPaeth:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = Byte(r[i] - PaethPredict(i >= pp ? r[i - pp] : 0, q[i], i >= pp ? q[i - pp] : 0));
        break;
    }
}

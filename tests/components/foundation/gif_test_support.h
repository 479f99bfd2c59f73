// Small GIF files made by hand for the picture tests: a logical screen with
// a four-colour global table and frames of one colour each, every frame
// with a graphic control extension. The image data is real LZW (a clear
// code before every second pixel keeps the codes 3 bits wide), so a
// decoder shows it.
#pragma once

#include <vector>

#include "classlib/core/types.h"

namespace giftest {

using TBytes = std::vector<Byte>;

struct TGifFrame {
    Word Left = 0, Top = 0, Width = 1, Height = 1;
    Byte Color = 0;  // index into the table: 0 red, 1 green, 2 blue, 3 white
};

inline void PutWord(TBytes& out, Word v) {
    out.push_back(Byte(v & 0xFF));
    out.push_back(Byte(v >> 8));
}

// The LZW data of count pixels of one colour index, minimum code size 2.
inline TBytes LzwSolid(Byte color, int count) {
    std::vector<int> codes;
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) codes.push_back(4);  // clear
        codes.push_back(color);
    }
    codes.push_back(5);  // end of information
    TBytes packed;
    unsigned bits = 0, nbits = 0;
    for (int code : codes) {
        bits |= unsigned(code) << nbits;
        nbits += 3;
        while (nbits >= 8) {
            packed.push_back(Byte(bits & 0xFF));
            bits >>= 8;
            nbits -= 8;
        }
    }
    if (nbits > 0) packed.push_back(Byte(bits & 0xFF));
    TBytes out{2};  // minimum code size
    for (size_t at = 0; at < packed.size(); at += 255) {
        size_t n = std::min<size_t>(255, packed.size() - at);
        out.push_back(Byte(n));
        out.insert(out.end(), packed.begin() + std::ptrdiff_t(at), packed.begin() + std::ptrdiff_t(at + n));
    }
    out.push_back(0);
    return out;
}

inline TBytes FrameBytes(const TGifFrame& f) {
    TBytes out = {0x21, 0xF9, 0x04, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x2C};
    PutWord(out, f.Left);
    PutWord(out, f.Top);
    PutWord(out, f.Width);
    PutWord(out, f.Height);
    out.push_back(0);  // no local table, not interlaced
    TBytes data = LzwSolid(f.Color, f.Width * f.Height);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline TBytes GifHeader(Word width, Word height) {
    TBytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, width);
    PutWord(out, height);
    out.push_back(0x81);  // global table of 4 entries
    out.push_back(0);     // background index
    out.push_back(0);     // aspect
    const Byte table[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    out.insert(out.end(), std::begin(table), std::end(table));
    return out;
}

inline TBytes MakeGif(Word width, Word height, const std::vector<TGifFrame>& frames) {
    TBytes out = GifHeader(width, height);
    for (const TGifFrame& f : frames) {
        TBytes fb = FrameBytes(f);
        out.insert(out.end(), fb.begin(), fb.end());
    }
    out.push_back(0x3B);
    return out;
}

// Three full-screen frames of width x height: red, green, blue.
inline TBytes ThreeFrameGif(Word width, Word height) {
    return MakeGif(width, height, {{0, 0, width, height, 0}, {0, 0, width, height, 1}, {0, 0, width, height, 2}});
}

}  // namespace giftest

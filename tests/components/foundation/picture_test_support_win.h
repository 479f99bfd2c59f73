// What the picture tests under Windows share: image files made in memory
// (bitmaps by the class library, GIFs by hand), a canvas over a paint
// target, and loading bytes into a picture.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "classlib/ui/bitmaps.h"
#include "gif_test_support.h"
#include "paint_harness.h"

namespace pictest {

using giftest::TBytes;

// The bytes of a BMP file of width x height in four quadrants: red top
// left, green top right, blue bottom left, white bottom right.
inline TBytes QuadrantBmp(int width, int height) {
    TBitmap bmp(width, height, pf24bit);
    TCanvas* c = bmp.Canvas();
    auto fill = [&](TColor color, int l, int t, int r, int b) {
        c->Brush()->SetColor(color);
        c->FillRect(Rect(l, t, r, b));
    };
    fill(clRed, 0, 0, width / 2, height / 2);
    fill(clLime, width / 2, 0, width, height / 2);
    fill(clBlue, 0, height / 2, width / 2, height);
    fill(clWhite, width / 2, height / 2, width, height);
    TBytesStream s;
    bmp.SaveToStream(s);
    return s.Bytes();
}

// The bytes of a PNG file of width x height, 8-bit RGB, in the quadrants
// of QuadrantBmp; the image data is deflate's stored blocks.
inline TBytes QuadrantPng(int width, int height) {
    auto crc = [](const Byte* p, size_t n) {
        LongWord c = 0xFFFFFFFF;
        for (size_t i = 0; i < n; ++i) {
            c ^= p[i];
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
        }
        return c ^ 0xFFFFFFFF;
    };
    auto be32 = [](TBytes& out, LongWord v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(Byte(v >> shift));
    };
    TBytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    auto chunk = [&](const char* type, const TBytes& data) {
        be32(png, LongWord(data.size()));
        TBytes body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        be32(png, crc(body.data(), body.size()));
    };
    TBytes ihdr;
    be32(ihdr, LongWord(width));
    be32(ihdr, LongWord(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", ihdr);
    TBytes raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            bool right = x >= width / 2, bottom = y >= height / 2;
            Byte r = Byte(!bottom && !right ? 255 : bottom && right ? 255 : 0);
            Byte g = Byte(right ? 255 : 0);
            Byte b = Byte(bottom ? 255 : 0);
            raw.push_back(r);
            raw.push_back(g);
            raw.push_back(b);
        }
    }
    TBytes z = {0x78,
                0x01,
                1,
                Byte(raw.size() & 0xFF),
                Byte(raw.size() >> 8),
                Byte(~raw.size() & 0xFF),
                Byte((~raw.size() >> 8) & 0xFF)};
    z.insert(z.end(), raw.begin(), raw.end());
    LongWord a = 1, b = 0;
    for (Byte v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    be32(z, (b << 16) | a);
    chunk("IDAT", z);
    chunk("IEND", {});
    return png;
}

inline TBytes GarbageBytes() { return {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e', 0, 1, 2, 3, 4}; }

inline void LoadInto(TGraphic& graphic, const TBytes& bytes) {
    TBytesStream s(bytes);
    graphic.LoadFromStream(s);
}

// A canvas drawing on a paint target.
class TTargetCanvas {
public:
    TTargetCanvas(int width, int height, TColor fill) : FTarget(width, height, fill) {
        FCanvas.SetHandle(FTarget.DC());
    }
    ~TTargetCanvas() { FCanvas.SetHandle(nullptr); }
    TCanvas* Canvas() { return &FCanvas; }
    TPaintTarget& Target() { return FTarget; }
    TColor At(int x, int y) const { return FTarget.PixelAt(x, y); }

private:
    TPaintTarget FTarget;
    TCanvas FCanvas;
};

// Counts a graphic's OnChange and another event, in order.
struct TEventLog : TObject {
    std::vector<String> Events;
    void Change(TObject*) { Events.push_back("change"); }
    void Clear(TObject*) { Events.push_back("clear"); }
    void Frame(TObject*) { Events.push_back("frame"); }
    TNotifyEvent OnChange() { return TNotifyEvent::Bind<&TEventLog::Change>(this); }
    TNotifyEvent OnClear() { return TNotifyEvent::Bind<&TEventLog::Clear>(this); }
    TNotifyEvent OnFrame() { return TNotifyEvent::Bind<&TEventLog::Frame>(this); }
};

}  // namespace pictest

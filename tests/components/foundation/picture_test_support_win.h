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

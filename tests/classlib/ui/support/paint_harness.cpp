#include "paint_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/ui/gdi_helpers.h"

TPaintTarget::TPaintTarget(int width, int height, TColor fill) : FWidth(width), FHeight(height) {
    BITMAPINFO info = TopDown32BitInfo(width, height);
    FDC = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FDC || !FBitmap) throw EOutOfResources("Cannot make a picture to paint into");
    FBits = static_cast<const Byte*>(bits);
    FOldBitmap = SelectObject(FDC, FBitmap);
    Fill(fill);
}

TPaintTarget::~TPaintTarget() {
    SelectObject(FDC, FOldBitmap);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
}

void TPaintTarget::Fill(TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    RECT r{0, 0, FWidth, FHeight};
    FillRect(FDC, &r, brush);
    DeleteObject(brush);
}

namespace {

// A windowed control paints only once it has its window: make the windows
// of control and of the windowed controls on it.
void MakeWindows(TControl* control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) return;
    win->HandleNeeded();
    for (int i = 0; i < win->ControlCount(); ++i) MakeWindows(win->Controls(i));
}

}  // namespace

void TPaintTarget::Paint(TControl* control, int x, int y) {
    MakeWindows(control);
    control->PaintTo(FDC, x, y);
}

void TPaintTarget::PaintInParents(TControl* control, int x, int y) {
    TControl* root = control;
    int left = 0, top = 0;
    while (root->Parent()) {
        left += root->Left();
        top += root->Top();
        root = root->Parent();
    }
    Paint(root, x - left, y - top);
}

TColor TPaintTarget::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) {
        ADD_FAILURE() << "pixel " << x << "," << y << " is outside the " << FWidth << "x" << FHeight << " picture";
        return clNone;
    }
    GdiFlush();
    const Byte* p = FBits + (std::size_t(y) * FWidth + x) * 4;
    return TColor(p[2] | p[1] << 8 | p[0] << 16);
}

int TPaintTarget::CountPixels(const TRect& rect, TColor color) const {
    GdiFlush();
    int count = 0;
    const LongWord wanted = ColorToRGB(color);
    for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, FHeight); ++y)
        for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, FWidth); ++x) {
            const Byte* p = FBits + (std::size_t(y) * FWidth + x) * 4;
            if (LongWord(p[2] | p[1] << 8 | p[0] << 16) == wanted) ++count;
        }
    return count;
}

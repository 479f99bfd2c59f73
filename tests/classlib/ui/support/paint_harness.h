// Painting controls for tests: a 32-bit top-down DIB section that a control
// paints into through the class library's one paint path (PaintTo: the
// control paints into whatever DC it is given, its windowed children after
// it), at an origin the test chooses, and pixels read back.
//
//   TPaintTarget target(120, 40, clFuchsia);
//   target.PaintInParents(checkBox);          // the parents' background under it
//   EXPECT_EQ(target.PixelAt(3, 3), panel->Color());
//
// Pair it with TObjectBalance (object_tally.h) to check that painting frees
// what it makes.
#pragma once

#include "classlib/ui/controls.h"

class TPaintTarget {
public:
    // A width x height picture filled with fill.
    TPaintTarget(int width, int height, TColor fill = clBlack);
    ~TPaintTarget();
    TPaintTarget(const TPaintTarget&) = delete;
    TPaintTarget& operator=(const TPaintTarget&) = delete;

    HDC DC() const { return FDC; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void Fill(TColor color);

    // Paints control alone (its windowed children too, its parents not)
    // with its top-left corner at x, y. Windowed controls that have no
    // window yet get one first (not shown).
    void Paint(TControl* control, int x = 0, int y = 0);
    // Paints what shows at control's place: its outermost parent paints,
    // everything on it included, placed so that control's top-left corner
    // lands at x, y.
    void PaintInParents(TControl* control, int x = 0, int y = 0);

    // The pixel as a plain RGB colour (0x00BBGGRR). Outside the picture: a
    // test failure, and clNone.
    TColor PixelAt(int x, int y) const;
    // The number of pixels of rect (clipped to the picture) in color.
    int CountPixels(const TRect& rect, TColor color) const;

private:
    int FWidth, FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    const Byte* FBits = nullptr;
};

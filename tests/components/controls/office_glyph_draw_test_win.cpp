// The check box and radio button glyphs drawn from their premade masks show
// exactly what TransparentBlt shows (the glyph, its key colour letting the
// background through), in every look, on every kind of device context a
// paint meets, and a paint no longer calls TransparentBlt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ui/bitmaps.h"
#include "classlib/ui/forms.h"
#include "components/controls/office_button_control_win.h"
#include "components/controls/office_button_layout.h"
#include "components/controls/office_check_box_win.h"
#include "object_tally.h"
#include "paint_harness.h"

namespace {

// A device context of one kind with a background of many colours.
class TGlyphTarget {
public:
    // bits: 0 a bitmap compatible with the screen, else a DIB section of
    // that depth.
    explicit TGlyphTarget(int bits) {
        HDC screen = GetDC(nullptr);
        FDC = CreateCompatibleDC(screen);
        if (bits == 0) {
            FBitmap = CreateCompatibleBitmap(screen, kSize, kSize);
        } else {
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, WORD(bits), BI_RGB, 0, 0, 0, 0, 0};
            void* pixels = nullptr;
            FBitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        }
        ReleaseDC(nullptr, screen);
        FOld = SelectObject(FDC, FBitmap);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) SetPixel(FDC, x, y, RGB(x * 9, y * 11, (x * y) % 256));
        FCanvas.SetHandle(FDC);
    }
    ~TGlyphTarget() {
        FCanvas.SetHandle(nullptr);
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    TCanvas* Canvas() { return &FCanvas; }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> p;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) p.push_back(GetPixel(FDC, x, y));
        return p;
    }
    static constexpr int kSize = 20;

private:
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    TCanvas FCanvas;
};

std::vector<const char*> GlyphNames() {
    std::vector<const char*> names;
    for (TGlyphCheck check : {TGlyphCheck::Unchecked, TGlyphCheck::Checked, TGlyphCheck::Grayed})
        for (bool enabled : {true, false})
            for (bool down : {false, true})
                for (bool hot : {false, true}) {
                    const TGlyphLook look{check, enabled, down, hot};
                    names.push_back(CheckBoxGlyphResource(look));
                    if (check != TGlyphCheck::Grayed) names.push_back(RadioButtonGlyphResource(look));
                }
    return names;
}

TEST(OfficeGlyphDraw, ShowsWhatTransparentBltShowsOnEveryKindOfTarget) {
    int compared = 0;
    for (const int bits : {0, 32, 24, 16})
        for (const char* name : GlyphNames()) {
            TBitmap* glyph = OfficeGlyphBitmap(name);
            TGlyphTarget expected(bits), actual(bits);
            // Twice: the masks are made on the first draw and used on the second.
            for (int round = 0; round < 2; ++round) {
                glyph->Draw(expected.Canvas(), Bounds(3 + round, 4, glyph->Width(), glyph->Height()));
                DrawOfficeGlyph(actual.Canvas(), 3 + round, 4, glyph);
                EXPECT_EQ(actual.Pixels(), expected.Pixels()) << name << " on " << bits << " bits, round " << round;
                ++compared;
            }
        }
    EXPECT_GT(compared, 100);
}

int transparentBlts = 0;
using TTransparentBlt = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
TTransparentBlt realTransparentBlt = nullptr;
BOOL WINAPI CountedTransparentBlt(HDC a, int b, int c, int d, int e, HDC f, int g, int h, int i, int j, UINT k) {
    ++transparentBlts;
    return realTransparentBlt(a, b, c, d, e, f, g, h, i, j, k);
}

TEST(OfficeGlyphDraw, APaintDrawsTheGlyphWithoutTransparentBltAndKeepsNoObject) {
    static const bool hooked = [] {
        realTransparentBlt = reinterpret_cast<TTransparentBlt>(
            HookImport("msimg32.dll", "TransparentBlt", reinterpret_cast<void*>(&CountedTransparentBlt)));
        return realTransparentBlt != nullptr;
    }();
    ASSERT_TRUE(hooked);
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, 200, 100);
    auto* box = new TLumOfficeCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 20);
    box->SetCaption("Check");
    TPaintTarget target(120, 20, clWhite);
    target.PaintInParents(box);
    box->SetChecked(true);
    target.PaintInParents(box);  // the masks of both looks are made
    transparentBlts = 0;
    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) {
        box->SetChecked(i % 2 == 0);
        target.PaintInParents(box);
    }
    EXPECT_EQ(transparentBlts, 0);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    form->Free();
}

}  // namespace

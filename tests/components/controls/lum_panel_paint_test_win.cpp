// The panel's painting probed pixel by pixel in a 32-bit DIB: everything it
// draws is plain GDI, so the probes are exact.
#include <gtest/gtest.h>

#include "components/controls/group_box_win.h"
#include "components/controls/panel_shading_win.h"
#include "object_tally.h"
#include "paint_harness.h"
#include "panel_test_support_win.h"

using namespace panel_test;
using LumPanel::cpLeft;

namespace {

TColor RGBOf(TColor c) { return TColor(int(ColorToRGB(c))); }

class LumPanelPaintTest : public PanelFormTest {
protected:
    void SetUp() override {
        PanelFormTest::SetUp();
        panel = NewPanel();
        panel->SetBevelOuter(bvNone);
        panel->SetColor(TColor(0x336699));
    }
    TColor At(int x, int y) {
        TPaintTarget target(200, 100, clFuchsia);
        target.Paint(panel);
        return target.PixelAt(x, y);
    }
    TLumPanel* panel = nullptr;
};

TEST_F(LumPanelPaintTest, PlainGradientAndMirrorBodies) {
    EXPECT_EQ(At(5, 50), TColor(0x336699));
    EXPECT_EQ(At(199, 99), TColor(0x336699));
    // A 32-band vertical gradient: each band in its colour.
    panel->SetColorTo(TColor(0xFFFFFF));
    auto bands = PanelGradientBands(0x336699, 0xFFFFFF, false, Rect(0, 0, 200, 100), 64);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    for (int n : {0, 7, 20, 31}) {
        const TPanelGradientBand& b = bands[std::size_t(n)];
        // The next band overlaps the last row of this one.
        EXPECT_EQ(target.PixelAt(100, b.Rect.Top), TColor(int(b.Color))) << n;
    }
    // Horizontal.
    panel->SetGradientDirection(gdHorizontal);
    auto columns = PanelGradientBands(0x336699, 0xFFFFFF, true, Rect(0, 0, 200, 100), 64);
    EXPECT_EQ(At(columns[10].Rect.Left, 50), TColor(int(columns[10].Color)));
    // Mirror: the top half one gradient, the bottom half the other.
    panel->SetGradientDirection(gdVertical);
    panel->SetColorMirror(TColor(0x0000FF));
    panel->SetColorMirrorTo(TColor(0x00FF00));
    EXPECT_EQ(At(50, 0), TColor(0x336699));
    EXPECT_EQ(At(50, 50), TColor(0x0000FF));
    auto lower = PanelGradientBands(0x0000FF, 0x00FF00, false, Rect(0, 50, 200, 100), 32);
    EXPECT_EQ(At(50, lower[31].Rect.Top), TColor(int(lower[31].Color)));
}

TEST_F(LumPanelPaintTest, BorderAndItsShadowBlends) {
    panel->SetBorderWidth(1);
    panel->SetBorderColor(TColor(0xFF0000));
    panel->SetBorderShadow(true);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    EXPECT_EQ(target.PixelAt(0, 0), TColor(0xFF0000));
    EXPECT_EQ(target.PixelAt(197, 50), TColor(0xFF0000));
    EXPECT_EQ(target.PixelAt(50, 97), TColor(0xFF0000));
    // The shadow: 50 % and 20 % of the border colour over the button face.
    EXPECT_EQ(target.PixelAt(198, 50), RGBOf(BlendColor(TColor(0xFF0000), clBtnFace, 50)));
    EXPECT_EQ(target.PixelAt(50, 98), RGBOf(BlendColor(TColor(0xFF0000), clBtnFace, 50)));
    EXPECT_EQ(target.PixelAt(199, 50), RGBOf(BlendColor(TColor(0xFF0000), clBtnFace, 20)));
    EXPECT_EQ(target.PixelAt(50, 99), RGBOf(BlendColor(TColor(0xFF0000), clBtnFace, 20)));
    EXPECT_EQ(target.PixelAt(100, 50), TColor(0x336699));
    // No border colour: no border.
    panel->SetBorderColor(clNone);
    panel->SetBorderShadow(false);
    EXPECT_EQ(At(0, 0), TColor(0x336699));
}

TEST_F(LumPanelPaintTest, RaisedBevel) {
    panel->SetBevelOuter(bvRaised);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    EXPECT_EQ(target.PixelAt(0, 50), RGBOf(clBtnHighlight));
    EXPECT_EQ(target.PixelAt(199, 50), RGBOf(clBtnShadow));
}

TEST_F(LumPanelPaintTest, CaptionBandAndItsButtons) {
    TPanelCaption* c = panel->Caption();
    c->SetVisible(true);
    c->SetColor(TColor(0x00FF00));
    c->SetCloseColor(TColor(0x0000FF));
    c->SetCloseButton(true);
    c->SetCloseButtonColor(TColor(0x000080));
    c->SetMinMaxButton(true);
    c->SetMinMaxButtonColor(TColor(0x800000));
    TPaintTarget target(200, 100);
    target.Paint(panel);
    // The band: caption height less twice the bevel width.
    EXPECT_EQ(target.PixelAt(5, 5), TColor(0x00FF00));
    EXPECT_EQ(target.PixelAt(5, 17), TColor(0x00FF00));
    EXPECT_EQ(target.PixelAt(5, 18), TColor(0x336699));
    // The cross: (R - 10, T + 4) - (R - 4, T + 10) and the other diagonal.
    EXPECT_EQ(target.PixelAt(193, 7), TColor(0x000080));
    EXPECT_EQ(target.PixelAt(191, 5), TColor(0x000080));
    EXPECT_EQ(target.PixelAt(194, 5), TColor(0x000080));
    // The triangle, expanded: base at T + 8 from R - 10 to R - 4 (R less
    // the cross's 12), point at T + 5.
    EXPECT_EQ(target.PixelAt(181, 7), TColor(0x800000));
    EXPECT_EQ(target.PixelAt(181, 5), TColor(0x800000));
    EXPECT_EQ(target.PixelAt(181, 9), TColor(0x00FF00));
    // Collapsed: the band in CloseColor, the triangle turned over.
    panel->SetCollaps(true);
    TPaintTarget collapsed(200, 18);
    collapsed.Paint(panel);
    EXPECT_EQ(collapsed.PixelAt(5, 5), TColor(0x0000FF));
    EXPECT_EQ(collapsed.PixelAt(181, 5), TColor(0x800000));
    EXPECT_EQ(collapsed.PixelAt(181, 7), TColor(0x800000));
    EXPECT_EQ(collapsed.PixelAt(181, 4), TColor(0x0000FF));
    // A gradient band keeps its gradient while collapsed.
    c->SetColorTo(TColor(0xFF0000));
    auto bands = PanelGradientBands(0x00FF00, 0xFF0000, true, Rect(0, 0, 200, 18), 64);
    TPaintTarget gradient(200, 18);
    gradient.Paint(panel);
    EXPECT_EQ(gradient.PixelAt(bands[3].Rect.Left, 14), TColor(int(bands[3].Color)));
}

TEST_F(LumPanelPaintTest, HoveredButtonsTakeTheirHoverColours) {
    TPanelCaption* c = panel->Caption();
    c->SetVisible(true);
    c->SetCloseButton(true);
    c->SetCloseButtonColor(TColor(0x000080));
    c->SetCloseButtonHoverColor(TColor(0x008000));
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(192, 8));
    EXPECT_TRUE(panel->CloseHovered());
    EXPECT_EQ(At(193, 7), TColor(0x008000));
    panel->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(panel->CloseHovered());
    EXPECT_EQ(At(193, 7), TColor(0x000080));
}

TEST_F(LumPanelPaintTest, LeftCaptionAndItsButtons) {
    TPanelCaption* c = panel->Caption();
    c->SetVisible(true);
    c->SetPosition(cpLeft);
    c->SetColor(TColor(0x00FF00));
    c->SetCloseButton(true);
    c->SetCloseButtonColor(TColor(0x000080));
    TPaintTarget target(200, 100);
    target.Paint(panel);
    EXPECT_EQ(target.PixelAt(5, 90), TColor(0x00FF00));
    EXPECT_EQ(target.PixelAt(18, 90), TColor(0x336699));
    // cbpRight on the left: the cross at the top, (L + 4, T + 4) - (L + 10, T + 10).
    EXPECT_EQ(target.PixelAt(7, 7), TColor(0x000080));
}

TEST_F(LumPanelPaintTest, StatusBarAndSizeGrip) {
    TPanelStatusBar* s = panel->StatusBar();
    s->SetVisible(true);
    s->SetColor(TColor(0x0000FF));
    s->SetBorderStyle(bsSingle);
    s->SetBorderColor(TColor(0xFF0000));
    panel->SetCanSize(true);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    // (1, H - 18 - 1) - (W - 1, H - 1), its border one pixel out.
    EXPECT_EQ(target.PixelAt(50, 90), TColor(0x0000FF));
    EXPECT_EQ(target.PixelAt(50, 81), TColor(0xFF0000));
    EXPECT_EQ(target.PixelAt(0, 90), TColor(0xFF0000));
    EXPECT_EQ(target.PixelAt(50, 80), TColor(0x336699));
    // The grip's lines end at the bottom-right corner: the white ones of
    // width 1 over the grey ones of width 2.
    EXPECT_EQ(target.PixelAt(199, 89), TColor(0xFFFFFF));  // (R, B - 12) - (R - 12, B)
    EXPECT_EQ(target.PixelAt(199, 90), TColor(0x808080));  // (R, B - 11) - (R - 11, B)
    // Collapsed: no grip.
    panel->SetCollaps(true);
    TPaintTarget collapsed(200, 36);
    collapsed.Paint(panel);
    EXPECT_NE(collapsed.PixelAt(199, 25), TColor(0x808080));
}

TEST_F(LumPanelPaintTest, ShadedRectangleWithAndWithoutItsEdge) {
    TPanelCaption* c = panel->Caption();
    c->SetVisible(true);
    c->SetColor(TColor(0xFFFFFF));
    c->SetShadeType(stHShade);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    // The 3D edge: white along the top and left, grey along the bottom and right.
    EXPECT_EQ(target.PixelAt(50, 0), TColor(0xFFFFFF));
    EXPECT_EQ(target.PixelAt(0, 10), TColor(0xFFFFFF));
    EXPECT_EQ(target.PixelAt(50, 17), TColor(0x808080));
    EXPECT_EQ(target.PixelAt(199, 10), TColor(0x808080));
    // Inside, the shading bitmap from the clip's corner (1, 1).
    const TShadePixels& expected = [] {
        TShadeRandom r;
        TShadeParams p;
        p.Type = stHShade;
        p.Light = 200;
        p.Width = 200;
        p.Height = 20;
        static TShadePixels px = GenerateShade(p, r);
        return px;
    }();
    EXPECT_EQ(target.PixelAt(51, 5), TColor(int(expected.At(50, 4))));
    c->SetFlat(true);
    TPaintTarget flat(200, 100);
    flat.Paint(panel);
    EXPECT_EQ(flat.PixelAt(50, 0), TColor(int(expected.At(50, 0))));
}

TEST_F(LumPanelPaintTest, TheShadingIsMadeOncePerChangeNotPerPaint) {
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetShadeType(stNoise);
    TPaintTarget target(200, 100);
    target.Paint(panel);
    const int builds = panel->CaptionShadeBuilds();
    TColor pixel = target.PixelAt(50, 5);
    for (int i = 0; i < 5; ++i) target.Paint(panel);
    EXPECT_EQ(panel->CaptionShadeBuilds(), builds);
    EXPECT_EQ(target.PixelAt(50, 5), pixel);  // the noise stays as it was made
    // A shading property, or a new width, makes it again, once.
    panel->Caption()->SetShadeGrain(64);
    EXPECT_EQ(panel->CaptionShadeBuilds(), builds + 1);
    panel->SetWidth(150);
    target.Paint(panel);
    EXPECT_EQ(panel->CaptionShadeBuilds(), builds + 2);
    EXPECT_EQ(panel->CaptionShade()->Width(), 150);
}

TEST_F(LumPanelPaintTest, OnPaintGetsTheCanvasLast) {
    struct TPainter : TObject {
        void Paint(TObject*, TCanvas* canvas, TRect r) {
            canvas->Brush()->SetColor(TColor(0x123456));
            canvas->FillRect(Rect(r.Left, r.Top, r.Left + 3, r.Top + 3));
        }
    } painter;
    panel->OnPaint = TPanelPaintEvent::Bind<&TPainter::Paint>(&painter);
    EXPECT_EQ(At(1, 1), TColor(0x123456));
    panel->SetBuffered(false);
    EXPECT_EQ(At(1, 1), TColor(0x123456));
    EXPECT_EQ(At(50, 50), TColor(0x336699));
}

TEST_F(LumPanelPaintTest, TextGoesThroughTheRenderer) {
    panel->Font()->SetColor(TColor(0x0000FF));
    panel->SetText("<B>WWWW</B>");
    TPaintTarget target(200, 100);
    target.Paint(panel);
    // The text starts one pixel in (no border, no indent).
    EXPECT_GT(target.CountPixels(Rect(1, 1, 60, 20), TColor(0x0000FF)), 20);
    EXPECT_EQ(target.CountPixels(Rect(0, 30, 200, 100), TColor(0x0000FF)), 0);
    // With an indent and a top indent the text moves.
    panel->SetIndent(100);
    panel->SetTopIndent(50);
    TPaintTarget moved(200, 100);
    moved.Paint(panel);
    EXPECT_EQ(moved.CountPixels(Rect(0, 0, 100, 50), TColor(0x0000FF)), 0);
    EXPECT_GT(moved.CountPixels(Rect(100, 50, 170, 75), TColor(0x0000FF)), 20);
}

TEST_F(LumPanelPaintTest, ALeftCaptionTurnsItsTextWithoutTags) {
    TPanelCaption* c = panel->Caption();
    c->SetVisible(true);
    c->SetPosition(cpLeft);
    c->SetColor(TColor(0x00FF00));
    c->Font()->SetColor(TColor(0xFF0000));
    c->SetText("<B>Turned</B>");
    TPaintTarget target(200, 100);
    target.Paint(panel);
    // Upright text would be wider than the band; turned, it stays in it,
    // running up from the bottom.
    const int inBand = target.CountPixels(Rect(0, 0, 18, 100), TColor(0xFF0000));
    EXPECT_GT(inBand, 20);
    EXPECT_EQ(target.CountPixels(Rect(18, 0, 200, 100), TColor(0xFF0000)), 0);
    EXPECT_GT(target.CountPixels(Rect(0, 50, 18, 100), TColor(0xFF0000)), inBand / 2);
}

// A buffered paint asked for part of the panel (a clip region on the
// target) paints that part as a whole paint does, and nothing else, also
// after a paint of another look filled the buffer it keeps.
TEST_F(LumPanelPaintTest, APartPaintsAsTheWholeDoes) {
    ASSERT_TRUE(panel->Buffered());
    panel->SetColorTo(clWhite);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText("Caption");
    TPaintTarget whole(200, 100, clFuchsia);
    whole.Paint(panel);
    panel->SetColor(TColor(0x00AA00));
    TPaintTarget fresh(200, 100, clFuchsia);
    fresh.Paint(panel);
    TPaintTarget part(200, 100, clFuchsia);
    IntersectClipRect(part.DC(), 50, 10, 120, 70);
    part.Paint(panel);
    SelectClipRgn(part.DC(), nullptr);
    EXPECT_EQ(part.CountPixels(Rect(0, 0, 200, 100), clFuchsia), 200 * 100 - 70 * 60);
    for (int y = 10; y < 70; y += 3)
        for (int x = 50; x < 120; x += 3) ASSERT_EQ(part.PixelAt(x, y), fresh.PixelAt(x, y)) << x << ", " << y;
    EXPECT_NE(fresh.PixelAt(60, 60), whole.PixelAt(60, 60));
}

// A see-through group box on the panel shows the panel's own pixels behind
// it, gradient and caption band alike.
TEST_F(LumPanelPaintTest, ASeeThroughChildShowsThePanelBehindItAsThePanelPaintsIt) {
    panel->SetColorTo(clWhite);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText("Caption");
    auto* group = new TLumGroupBox(form);
    group->SetParent(panel);
    group->SetBounds(20, 10, 150, 80);
    group->SetVisible(false);
    TPaintTarget alone(200, 100, clFuchsia);
    alone.Paint(panel);
    group->SetVisible(true);
    TPaintTarget behind(150, 80, clFuchsia);
    behind.PaintInParents(group);
    ASSERT_NE(alone.PixelAt(20 + 75, 10 + 4), alone.PixelAt(20 + 75, 10 + 70));
    for (const TPoint& p : {Point(75, 4), Point(5, 40), Point(140, 70), Point(75, 70)})
        EXPECT_EQ(behind.PixelAt(p.X, p.Y), alone.PixelAt(20 + p.X, 10 + p.Y)) << p.X << ", " << p.Y;
}

TEST_F(LumPanelPaintTest, PaintingFreesWhatItMakes) {
    panel->SetColorTo(clWhite);
    panel->SetBorderWidth(1);
    panel->SetBorderShadow(true);
    panel->SetText("Body text");
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText("Caption");
    panel->Caption()->SetCloseButton(true);
    panel->Caption()->SetMinMaxButton(true);
    panel->StatusBar()->SetVisible(true);
    panel->StatusBar()->SetText("Status");
    panel->SetCanSize(true);
    TPaintTarget target(200, 100);
    // Each look painted a few times first: fonts, pens and brushes are kept
    // by their objects and canvases once made.
    auto paints = [&](const char* what) {
        for (int i = 0; i < 3; ++i) target.Paint(panel);
        TObjectBalance balance;
        for (int i = 0; i < 40; ++i) target.Paint(panel);
        EXPECT_EQ(balance.Leaked(okGdi), 0) << what << ": " << balance.Describe();
    };
    paints("top caption");
    panel->Caption()->SetPosition(cpLeft);
    paints("left caption");
    panel->Caption()->SetShadeType(stSoftBump);
    panel->Caption()->SetShape(csSemiRounded);
    paints("shaded");
    // Making the shading again and again leaves nothing behind either.
    TObjectBalance balance;
    for (int i = 0; i < 20; ++i) {
        panel->Caption()->SetShadeType(i % 2 ? stNoise : stVBump);
        target.Paint(panel);
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

}  // namespace

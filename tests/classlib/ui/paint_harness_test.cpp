// The painting harness on the class library's own controls: colours of
// panels, a label's text pixels, a nested control placed at an origin with
// its parents behind it, and the GDI objects a paint makes and frees.
#include "paint_harness.h"

#include "object_tally.h"
#include "stdctrls_test_support.h"

using namespace stdctrls_test;

namespace {

const char* const NestedLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 120
  ClientWidth = 200
  Color = clRed
  object Outer: TPanel
    Left = 20
    Top = 10
    Width = 120
    Height = 80
    BevelOuter = bvNone
    Color = clLime
    ParentBackground = False
    object Inner: TPanel
      Left = 30
      Top = 20
      Width = 50
      Height = 30
      BevelOuter = bvNone
      Color = clBlue
      ParentBackground = False
      object Caption1: TLabel
        Left = 4
        Top = 4
        Caption = 'MMMM'
        Font.Color = clWhite
        Transparent = True
      end
    end
  end
  object Box1: TPaintBox
    Left = 150
    Top = 10
    Width = 20
    Height = 20
  end
end
)";

class PaintHarnessTest : public LayoutFormTest {
protected:
    void SetUp() override {
        ClasslibUiInitialize();
        Load(NestedLayout);
    }
};

TEST_F(PaintHarnessTest, APanelAlonePaintsItsColourAtTheOriginAndNothingElse) {
    auto* inner = Find<TPanel>("Inner");
    TPaintTarget target(60, 40, clFuchsia);
    target.Paint(inner, 5, 5);  // no window yet: the harness makes it
    EXPECT_EQ(target.PixelAt(5 + 45, 5 + 25), clBlue);
    EXPECT_EQ(target.PixelAt(5, 5 + 29), clBlue);
    EXPECT_EQ(target.PixelAt(4, 4), clFuchsia);
    EXPECT_EQ(target.PixelAt(5 + 50, 5), clFuchsia);
    EXPECT_EQ(target.CountPixels(Rect(0, 0, 60, 40), clLime), 0);  // no parent painted
}

TEST_F(PaintHarnessTest, ALabelsTextPixelsAreInItsFontColourOverWhatIsBehindIt) {
    ShowForm();
    auto* label = Find<TLabel>("Caption1");
    const TRect all = Rect(0, 0, label->Width(), label->Height());
    {
        // Alone and transparent: the text over the target's own fill.
        TPaintTarget target(label->Width(), label->Height(), clFuchsia);
        target.Paint(label);
        EXPECT_GT(target.CountPixels(all, clWhite), 10);
        EXPECT_GT(target.CountPixels(all, clFuchsia), 0);
        EXPECT_EQ(target.CountPixels(all, clBlue), 0);
    }
    {
        // Inside its parents: the inner panel's blue behind the text.
        TPaintTarget target(label->Width(), label->Height(), clFuchsia);
        target.PaintInParents(label);
        EXPECT_GT(target.CountPixels(all, clWhite), 10);
        EXPECT_GT(target.CountPixels(all, clBlue), 0);
        EXPECT_EQ(target.CountPixels(all, clFuchsia), 0);
    }
    label->SetCaption("");
    TPaintTarget target(label->Width(), label->Height(), clFuchsia);
    target.PaintInParents(label);
    EXPECT_EQ(target.CountPixels(all, clWhite), 0);
}

TEST_F(PaintHarnessTest, ANestedControlLandsAtTheOriginWithEveryParentBehindIt) {
    ShowForm();
    auto* inner = Find<TPanel>("Inner");
    TPaintTarget target(120, 80, clFuchsia);
    target.PaintInParents(inner, 60, 40);
    // Inner is at 50, 30 of the form: the target's x, y is the form's
    // x - 10, y - 10.
    struct TProbe {
        int X, Y;
        TColor Expected;
    } probes[] = {
        {60, 40, clBlue},  {60 + 49, 40 + 29, clBlue},
        {59, 40, clLime},  {60, 39, clLime},
        {30, 20, clLime},  {29, 20, clRed},
        {30, 19, clRed},   {15, 15, clRed},
        {5, 5, clFuchsia}, {9, 30, clFuchsia},
        {10, 10, clRed},   {60 + 50, 40 + 30, clLime},
    };
    for (const TProbe& p : probes) EXPECT_EQ(target.PixelAt(p.X, p.Y), p.Expected) << p.X << "," << p.Y;
    // The label on the inner panel is painted too.
    EXPECT_GT(target.CountPixels(Bounds(60, 40, 50, 30), clWhite), 10);
}

TEST_F(PaintHarnessTest, PaintingAHundredTimesLeavesNoGdiObjectBehind) {
    ShowForm();
    auto* inner = Find<TPanel>("Inner");
    auto* label = Find<TLabel>("Caption1");
    auto paint = [&](int i) {
        label->Font()->SetSize(8 + i % 3);  // a new font each time
        TPaintTarget target(60, 40);
        target.PaintInParents(label);
        target.Paint(inner);
    };
    paint(0);  // what the first paint makes and keeps (the controls' brushes) is made now
    TObjectBalance balance;
    for (int i = 1; i <= 100; ++i) paint(i);
    EXPECT_GE(balance.Created(okGdi), 300);  // at least the targets' DC, bitmap and fill brush
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
}

// The tally must see a leak, or its balance proves nothing.
TEST_F(PaintHarnessTest, APaintThatKeepsAnObjectShowsAsALeakPerPaint) {
    struct TLeaky : TObject {
        std::vector<HBRUSH> Kept;
        void Paint(TObject* sender) {
            HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
            Kept.push_back(brush);
            RECT r{0, 0, 5, 5};
            FillRect(static_cast<TPaintBox*>(sender)->Canvas()->Handle(), &r, brush);
        }
    } leaky;
    auto* box = Find<TPaintBox>("Box1");
    box->OnPaint = TNotifyEvent::Bind<&TLeaky::Paint>(&leaky);
    TPaintTarget target(20, 20);
    target.Paint(box);
    TObjectBalance balance;
    for (int i = 0; i < 10; ++i) target.Paint(box);
    EXPECT_EQ(balance.Leaked(okGdi), 10);
    EXPECT_EQ(balance.Describe(), "brush: 10");
    EXPECT_EQ(target.PixelAt(2, 2), TColor(RGB(1, 2, 3)));
    for (std::size_t i = 1; i < leaky.Kept.size(); ++i) DeleteObject(leaky.Kept[i]);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    EXPECT_GE(balance.Freed(okGdi), 10);
    DeleteObject(leaky.Kept[0]);
}

TEST(ObjectTally, CountsFontsTheCanvasMakesAndWindowDcs) {
    TObjectBalance balance;
    {
        TFont font;
        font.SetName("Tahoma");
        ASSERT_NE(font.Handle(), nullptr);
        EXPECT_EQ(balance.Leaked(okGdi), 1);
    }
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(balance.Leaked(okGdi), 1);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    EXPECT_EQ(balance.Created(okGdi), 2);
}

TEST(ObjectTally, TakesGdiPlusObjectsFromTheWrappersHook) {
    TObjectBalance balance;
    int pen = 0, brush = 0;
    TObjectTally::Created(okGdiPlus, &pen);
    TObjectTally::Created(okGdiPlus, &brush);
    TObjectTally::Freed(okGdiPlus, &pen);
    TObjectTally::Freed(okGdiPlus, &pen);  // twice: counted once
    EXPECT_EQ(balance.Leaked(okGdiPlus), 1);
    EXPECT_EQ(balance.Leaked(okGdi), 0);
    TObjectTally::Freed(okGdiPlus, &brush);
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
    EXPECT_EQ(HookImport("gdiplus.dll", "GdipCreatePen1", nullptr), nullptr);  // not imported here
}

}  // namespace

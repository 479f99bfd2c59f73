// Colours, fonts, pens, brushes and the canvas's lazy selection of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/graphics.h"
#include "ui_test_support.h"

namespace {

// ---- Colours ------------------------------------------------------------------------

TEST(ColorTest, SystemColorsResolveThroughTheSystem) {
    struct Case {
        TColor Color;
        int Index;
    };
    const Case cases[] = {
        {clScrollBar, COLOR_SCROLLBAR},
        {clBtnFace, COLOR_BTNFACE},
        {clBtnShadow, COLOR_BTNSHADOW},
        {clWindow, COLOR_WINDOW},
        {clWindowText, COLOR_WINDOWTEXT},
        {clHighlight, COLOR_HIGHLIGHT},
        {clHighlightText, COLOR_HIGHLIGHTTEXT},
        {clGrayText, COLOR_GRAYTEXT},
        {clBtnText, COLOR_BTNTEXT},
        {clBtnHighlight, COLOR_BTNHIGHLIGHT},
        {cl3DDkShadow, COLOR_3DDKSHADOW},
        {cl3DLight, COLOR_3DLIGHT},
        {clInfoText, COLOR_INFOTEXT},
        {clInfoBk, COLOR_INFOBK},
        {clHotLight, COLOR_HOTLIGHT},
        {clGradientActiveCaption, COLOR_GRADIENTACTIVECAPTION},
        {clGradientInactiveCaption, COLOR_GRADIENTINACTIVECAPTION},
        {clMenuHighlight, COLOR_MENUHILIGHT},
        {clMenuBar, COLOR_MENUBAR},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unsigned(c.Color), 0xFF000000u + unsigned(c.Index));
        EXPECT_EQ(ColorToRGB(c.Color), GetSysColor(c.Index)) << ColorToString(c.Color);
    }
}

TEST(ColorTest, PlainColorsAndMarkersComeBackUnchanged) {
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(TColor(0x123456)), 0x123456u);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
    EXPECT_EQ(ColorToRGB(clDefault), 0x20000000u);
}

TEST(ColorTest, NamesAndNumbers) {
    struct Case {
        TColor Color;
        const char* Text;
    };
    const Case cases[] = {{clBtnFace, "clBtnFace"},      {clRed, "clRed"},         {clNone, "clNone"},
                          {clDefault, "clDefault"},      {clMenuBar, "clMenuBar"}, {TColor(0x00FF8040), "$00FF8040"},
                          {cl3DDkShadow, "cl3DDkShadow"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToString(c.Color), c.Text);
        EXPECT_EQ(StringToColor(c.Text), c.Color);
    }
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(ColorToString(clLtGray), "clSilver");
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

// ---- Fonts, pens, brushes ------------------------------------------------------------

TEST(FontTest, SizeAndHeightFollowPixelsPerInch) {
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    font.SetPixelsPerInch(120);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 10);  // 16 * 72 / 120 = 9.6
}

// A font names its quality (the one the system's smoothing setting gives
// a font of default quality) and draws the same glyphs as a default one.
TEST(FontTest, ExplicitQualityDrawsAsTheDefaultDoes) {
    const auto draw = [](HFONT font) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 240, -24, 1, 32, BI_RGB};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT r{0, 0, 240, 24};
        FillRect(dc, &r, HBRUSH(GetStockObject(WHITE_BRUSH)));
        TextOutA(dc, 2, 2, "Quillmere WMjy 0123", 19);
        GdiFlush();
        std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 240 * 24);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return pixels;
    };
    for (const char* name : {"Tahoma", "MS Sans Serif", "Arial"})
        for (bool bold : {false, true}) {
            TFont font;
            font.SetName(name);
            font.SetHeight(-13);
            if (bold) font.SetStyle({fsBold});
            LOGFONTA lf{};
            ASSERT_NE(GetObjectA(font.Handle(), sizeof lf, &lf), 0);
            EXPECT_NE(lf.lfQuality, DEFAULT_QUALITY) << name;
            lf.lfQuality = DEFAULT_QUALITY;
            HFONT plain = CreateFontIndirectA(&lf);
            const std::vector<DWORD> drawn = draw(font.Handle());
            EXPECT_EQ(drawn, draw(plain)) << name << (bold ? " bold" : "");
            EXPECT_NE(std::count(drawn.begin(), drawn.end(), DWORD(0x00ffffff)), long(drawn.size())) << name;
            DeleteObject(plain);
        }
}

TEST(FontTest, ChangesAreAnnouncedAndAssignCopies) {
    struct Listener : TObject {
        int Count = 0;
        void Changed(TObject*) { ++Count; }
    } listener;
    TFont font;
    font.OnChange = TNotifyEvent::Bind<&Listener::Changed>(&listener);
    font.SetName("Arial");
    font.SetStyle({fsBold, fsItalic});
    font.SetColor(clRed);
    font.SetColor(clRed);  // unchanged: no event
    EXPECT_EQ(listener.Count, 3);

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), "Arial");
    EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(copy.Color(), clRed);
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(copy.Handle(), sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
}

// A listener that takes the handle as it hears of a change (a window
// control passing its font to its window) gets one made for the new
// values, which lives on after the change; the old one is freed.
TEST(FontTest, AListenerGetsTheNewHandleAndItStaysAlive) {
    struct Listener : TObject {
        TFont* Font = nullptr;
        HFONT Seen = nullptr;
        void Changed(TObject*) { Seen = Font->Handle(); }
    } listener;
    TFont font;
    listener.Font = &font;
    HFONT before = font.Handle();
    font.OnChange = TNotifyEvent::Bind<&Listener::Changed>(&listener);
    font.SetName("Arial");
    ASSERT_NE(listener.Seen, nullptr);
    EXPECT_EQ(listener.Seen, font.Handle());
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(listener.Seen, sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(GetObjectType(before), 0u);  // freed

    // A handle taken over is the one the listeners see.
    HFONT given = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Courier New");
    HFONT replaced = font.Handle();
    font.SetHandle(given);
    EXPECT_EQ(listener.Seen, given);
    EXPECT_EQ(font.Height(), -20);
    EXPECT_EQ(GetObjectType(replaced), 0u);

    struct PenListener : TObject {
        TPen* Pen = nullptr;
        HPEN Seen = nullptr;
        void Changed(TObject*) { Seen = Pen->Handle(); }
    } penListener;
    TPen pen;
    penListener.Pen = &pen;
    pen.OnChange = TNotifyEvent::Bind<&PenListener::Changed>(&penListener);
    pen.SetColor(clRed);
    LOGPEN lp{};
    ASSERT_EQ(GetObjectA(penListener.Seen, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
    EXPECT_EQ(penListener.Seen, pen.Handle());
}

TEST(BrushTest, ColorAndClearStyle) {
    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clRed);
    EXPECT_EQ(brush.Style(), bsSolid);  // a colour on a clear brush makes it solid
    brush.SetColor(clNone);
    EXPECT_EQ(brush.Style(), bsClear);
    EXPECT_EQ(brush.Handle(), GetStockObject(NULL_BRUSH));
}

// ---- Canvas --------------------------------------------------------------------------------

// A canvas on a memory DC with a 32-bit white bitmap of 40 x 20.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        FBitmap = MakeBitmap(40, 20, clWhite);
        FDC = CreateCompatibleDC(nullptr);
        FOld = SelectObject(FDC, FBitmap->Handle());
        FCanvas.SetHandle(FDC);
    }
    void TearDown() override {
        FCanvas.SetHandle(nullptr);
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    LongWord Pixel(int x, int y) { return GetPixel(FDC, x, y); }

    std::unique_ptr<TBitmap> FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOld = nullptr;
    TCanvas FCanvas;
};

TEST_F(CanvasTest, SolidBrushSetsOpaqueBackgroundInItsColour) {
    FCanvas.Brush()->SetColor(clRed);
    FCanvas.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(GetBkMode(FDC), OPAQUE);
    EXPECT_EQ(GetBkColor(FDC), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(2, 2), Rgb(255, 0, 0));
}

TEST_F(CanvasTest, ClearBrushOrNoColourGivesTransparentBackground) {
    FCanvas.Brush()->SetStyle(bsClear);
    FCanvas.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(GetBkMode(FDC), TRANSPARENT);
    EXPECT_EQ(Pixel(5, 5), Rgb(255, 255, 255));  // not filled

    FCanvas.Brush()->SetColor(clBlue);  // solid again
    FCanvas.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(GetBkMode(FDC), OPAQUE);
    EXPECT_EQ(Pixel(5, 5), Rgb(0, 0, 255));

    FCanvas.Brush()->SetColor(clNone);
    FCanvas.Handle();
    EXPECT_EQ(GetBkMode(FDC), TRANSPARENT);
}

TEST_F(CanvasTest, SelectingTheFontSetsTheTextColour) {
    FCanvas.Font()->SetColor(clLime);
    EXPECT_NE(GetTextColor(FDC), Rgb(0, 255, 0));  // not until the font is needed
    FCanvas.TextOut(0, 0, "W");
    EXPECT_EQ(GetTextColor(FDC), Rgb(0, 255, 0));
    EXPECT_EQ(GetCurrentObject(FDC, OBJ_FONT), FCanvas.Font()->Handle());
}

TEST_F(CanvasTest, ChangedObjectsAreSelectedOnTheNextDrawingCall) {
    FCanvas.Handle();
    EXPECT_EQ(GetCurrentObject(FDC, OBJ_PEN), FCanvas.Pen()->Handle());
    FCanvas.Pen()->SetColor(clRed);
    // Taken out at once (so the old pen can be freed), put in when drawn with.
    EXPECT_EQ(GetCurrentObject(FDC, OBJ_PEN), GetStockObject(BLACK_PEN));
    FCanvas.MoveTo(0, 3);
    FCanvas.LineTo(20, 3);
    EXPECT_EQ(GetCurrentObject(FDC, OBJ_PEN), FCanvas.Pen()->Handle());
    EXPECT_EQ(Pixel(10, 3), Rgb(255, 0, 0));
}

TEST_F(CanvasTest, RawSelectedObjectSurvivesUntilThePropertyChanges) {
    HPEN bluePen = CreatePen(PS_SOLID, 1, Rgb(0, 0, 255));
    HDC dc = FCanvas.Handle();
    HGDIOBJ canvasPen = SelectObject(dc, bluePen);
    FCanvas.MoveTo(0, 5);
    FCanvas.LineTo(30, 5);
    FCanvas.Rectangle(0, 8, 10, 12);
    EXPECT_EQ(Pixel(15, 5), Rgb(0, 0, 255));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), bluePen);
    // A canvas property change takes it out again.
    FCanvas.Pen()->SetColor(clRed);
    FCanvas.MoveTo(0, 15);
    FCanvas.LineTo(30, 15);
    EXPECT_EQ(Pixel(15, 15), Rgb(255, 0, 0));
    EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), bluePen);
    (void)canvasPen;
    DeleteObject(bluePen);
}

TEST_F(CanvasTest, ShapesTextAndPixels) {
    FCanvas.Brush()->SetColor(clYellow);
    FCanvas.Pen()->SetColor(clBlue);
    FCanvas.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(Pixel(2, 2), Rgb(0, 0, 255));        // outline
    EXPECT_EQ(Pixel(6, 6), Rgb(255, 255, 0));      // inside
    EXPECT_EQ(Pixel(12, 12), Rgb(255, 255, 255));  // right and bottom are outside

    FCanvas.SetPixels(30, 10, clRed);
    EXPECT_EQ(FCanvas.Pixels(30, 10), TColor(Rgb(255, 0, 0)));

    TSize extent = FCanvas.TextExtent("Wg");
    SIZE expected{};
    GetTextExtentPoint32A(FDC, "Wg", 2, &expected);
    EXPECT_EQ(extent.cx, expected.cx);
    EXPECT_EQ(extent.cy, expected.cy);
    EXPECT_EQ(FCanvas.TextWidth("Wg"), expected.cx);
    EXPECT_GT(FCanvas.TextHeight("gh"), 0);

    FCanvas.TextOut(1, 1, "W");
    EXPECT_EQ(FCanvas.PenPos(), Point(1 + FCanvas.TextWidth("W"), 1));

    const TPoint triangle[] = {{20, 2}, {28, 2}, {20, 10}};
    FCanvas.Polygon(triangle);
    EXPECT_EQ(Pixel(21, 4), Rgb(255, 255, 0));
    EXPECT_EQ(FCanvas.ClipRect(), Rect(0, 0, 40, 20));
}

TEST_F(CanvasTest, OutlinesEllipsesAndClippedText) {
    FCanvas.Brush()->SetColor(clRed);
    FCanvas.FrameRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Pixel(0, 5), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(9, 9), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(5, 5), Rgb(255, 255, 255));

    FCanvas.Brush()->SetColor(clLime);
    FCanvas.Pen()->SetStyle(psClear);
    FCanvas.Ellipse(10, 0, 20, 10);
    EXPECT_EQ(Pixel(15, 5), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(10, 0), Rgb(255, 255, 255));  // outside the curve
    FCanvas.RoundRect(20, 0, 30, 10, 6, 6);
    EXPECT_EQ(Pixel(25, 5), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(20, 0), Rgb(255, 255, 255));  // the corner is rounded off

    FCanvas.Pen()->SetStyle(psSolid);
    FCanvas.Pen()->SetColor(clBlue);
    const TPoint line[] = {{30, 12}, {39, 12}, {39, 19}};
    FCanvas.Polyline(line);
    EXPECT_EQ(Pixel(35, 12), Rgb(0, 0, 255));
    EXPECT_EQ(Pixel(39, 15), Rgb(0, 0, 255));

    // The rectangle is filled with the brush, the text cut at its edge.
    FCanvas.Brush()->SetColor(clYellow);
    FCanvas.TextRect(Rect(0, 12, 6, 20), 0, 12, "WWWW");
    int filled = 0, inked = 0;
    for (int x = 0; x < 6; ++x)
        for (int y = 12; y < 20; ++y) ++(Pixel(x, y) == Rgb(255, 255, 0) ? filled : inked);
    EXPECT_GT(filled, 0);
    EXPECT_GT(inked, 0);
    for (int y = 12; y < 20; ++y) EXPECT_EQ(Pixel(7, y), Rgb(255, 255, 255));

    // A focus rectangle is a dotted XOR frame: twice is none.
    FCanvas.DrawFocusRect(Rect(10, 12, 20, 20));
    bool changed = false;
    for (int x = 10; x < 20; ++x) changed |= Pixel(x, 12) != Rgb(255, 255, 255);
    EXPECT_TRUE(changed);
    FCanvas.DrawFocusRect(Rect(10, 12, 20, 20));
    for (int x = 10; x < 20; ++x) EXPECT_EQ(Pixel(x, 12), Rgb(255, 255, 255));
}

TEST_F(CanvasTest, CopyRectAndDrawingAGraphic) {
    auto source = MakeBitmap(4, 4, clRed);
    FCanvas.CopyRect(Rect(0, 0, 8, 8), source->Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(Pixel(7, 7), Rgb(255, 0, 0));
    EXPECT_EQ(Pixel(8, 8), Rgb(255, 255, 255));

    auto green = MakeBitmap(3, 2, clLime);
    FCanvas.Draw(20, 10, green.get());
    EXPECT_EQ(Pixel(22, 11), Rgb(0, 255, 0));
    EXPECT_EQ(Pixel(23, 11), Rgb(255, 255, 255));
    FCanvas.StretchDraw(Rect(30, 0, 40, 10), green.get());
    EXPECT_EQ(Pixel(39, 9), Rgb(0, 255, 0));
    FCanvas.Draw(0, 0, nullptr);  // nothing
}

TEST_F(CanvasTest, AForeignDcStaysWithItsOwner) {
    FCanvas.Pen()->SetColor(clRed);
    FCanvas.LineTo(5, 5);
    FCanvas.SetHandle(nullptr);
    EXPECT_FALSE(FCanvas.HandleAllocated());
    // The DC is alive and holds stock objects again, not the canvas's.
    EXPECT_EQ(GetCurrentObject(FDC, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_NE(GetCurrentObject(FDC, OBJ_FONT), FCanvas.Font()->Handle());
    EXPECT_NE(GetDeviceCaps(FDC, BITSPIXEL), 0);
    FCanvas.SetHandle(FDC);
}

TEST(CanvasWithoutHandleTest, DrawingRaises) {
    TCanvas canvas;
    try {
        canvas.FillRect(Rect(0, 0, 1, 1));
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
}

TEST(CanvasWithoutHandleTest, LockAndTryLock) {
    TCanvas canvas;
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 1);
    EXPECT_TRUE(canvas.TryLock());  // the same thread may lock again
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

// ---- The stored layout ----------------------------------------------------------------------

class TColorWidget : public TComponent {
    QL_CLASS(TColorWidget, TComponent)
public:
    explicit TColorWidget(TComponent* owner) : TComponent(owner) {}
    ~TColorWidget() override { delete FFont; }
    TColor FColor = clBtnFace;
    TFont* FFont = new TFont;
    TFont* Font() const { return FFont; }
};

TClass TColorWidget::StaticClass() {
    static const TClassInfo info = TClassBuilder<TColorWidget>("TColorWidget")
                                       .Prop("Color", &TColorWidget::FColor, &TColorWidget::FColor)
                                       .Default(clWindow)
                                       .Prop("Font", &TColorWidget::Font, nullptr)
                                       .Build();
    return &info;
}

TEST(GraphicsLayoutTest, ColoursAndFontsByName) {
    TColorWidget widget(nullptr);
    widget.SetName("Widget1");
    widget.Font()->SetPixelsPerInch(96);
    widget.Font()->SetStyle({fsBold});
    String text = TWriter().WriteRootComponent(&widget);
    EXPECT_NE(text.find("Color = clBtnFace"), String::npos) << text;
    EXPECT_NE(text.find("Font.Charset = DEFAULT_CHARSET"), String::npos) << text;
    EXPECT_NE(text.find("Font.Color = clWindowText"), String::npos) << text;
    EXPECT_NE(text.find("Font.Height = -11"), String::npos) << text;
    EXPECT_EQ(text.find("Font.Name"), String::npos) << text;  // the default name
    EXPECT_NE(text.find("Font.Style = [fsBold]"), String::npos) << text;
    EXPECT_EQ(text.find("Font.Size"), String::npos) << text;

    TColorWidget read(nullptr);
    TReader("object Widget1: TColorWidget\n"
            "  Color = clInfoBk\n"
            "  Font.Charset = ANSI_CHARSET\n"
            "  Font.Color = $000080FF\n"
            "  Font.Height = -13\n"
            "  Font.Name = 'Arial'\n"
            "  Font.Style = [fsItalic, fsUnderline]\n"
            "end\n")
        .ReadRootComponent(&read);
    EXPECT_EQ(read.FColor, clInfoBk);
    EXPECT_EQ(read.Font()->Charset(), 0);
    EXPECT_EQ(read.Font()->Color(), TColor(0x80FF));
    EXPECT_EQ(read.Font()->Height(), -13);
    EXPECT_EQ(read.Font()->Name(), "Arial");
    EXPECT_EQ(read.Font()->Style(), (TFontStyles{fsItalic, fsUnderline}));

    // A system colour as a number, signed or not.
    TReader("object W: TColorWidget\n  Color = -16777201\nend\n").ReadRootComponent(&read);
    EXPECT_EQ(read.FColor, clBtnFace);
    TReader("object W: TColorWidget\n  Color = $FF000018\nend\n").ReadRootComponent(&read);
    EXPECT_EQ(read.FColor, clInfoBk);
}

}  // namespace

#include "components/foundation/html_text_win.h"

#include <gtest/gtest.h>

#include "object_tally.h"
#include "paint_harness.h"

namespace {

// A caption drawn on a white 32-bit picture at 96 pixels per inch, through
// a canvas in Tahoma 8 points, black.
class THtmlCanvas {
public:
    explicit THtmlCanvas(int width = 300, int height = 120) : FTarget(width, height, clWhite) {
        FCanvas.SetHandle(FTarget.DC());
        FCanvas.Font()->SetName("Tahoma");
        FCanvas.Font()->SetHeight(-11);
        FCanvas.Font()->SetColor(clBlack);
    }
    ~THtmlCanvas() { FCanvas.SetHandle(nullptr); }

    TCanvas* Canvas() { return &FCanvas; }
    TPaintTarget& Target() { return FTarget; }
    TColor At(int x, int y) const { return FTarget.PixelAt(x, y); }

    // Draws (or measures, or hit-tests) text in bounds.
    bool Draw(const String& text, TRect bounds = {}, bool hitTestOnly = false, bool measureOnly = false, int mouseX = 0,
              int mouseY = 0, int focusLink = -1) {
        if (bounds.IsEmpty()) bounds = Rect(0, 0, FTarget.Width(), FTarget.Height());
        return DrawHtmlText(&FCanvas, text, bounds, nullptr, mouseX, mouseY, focusLink, -1, 2, hitTestOnly, measureOnly,
                            false, false, BlinkVisible, false, true, 1.0, clBlue, clNone, clNone, clGray, Anchor, Plain,
                            Focused, Width, Height, Links, MouseLink, LinkRect, nullptr, nullptr, 0);
    }

    // What the device context itself reports for text in a font like the
    // canvas's, with bold as asked.
    SIZE Extent(const String& text, bool bold = false, int height = -11, bool italic = false) {
        LOGFONTA lf{};
        lf.lfHeight = height;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = italic;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(lf.lfFaceName, "Tahoma");
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(FTarget.DC(), font);
        SIZE size{};
        GetTextExtentPoint32A(FTarget.DC(), text.data(), int(text.size()), &size);
        SelectObject(FTarget.DC(), old);
        DeleteObject(font);
        return size;
    }
    // The height of "gh" in the canvas font: the height of every line.
    int LineHeight() { return int(Extent("gh").cy); }

    bool BlinkVisible = true;
    String Anchor, Plain, Focused;
    int Width = 0, Height = 0, Links = 0, MouseLink = 0;
    TRect LinkRect;

private:
    TPaintTarget FTarget;
    TCanvas FCanvas;
};

// "text" in Courier New at the canvas's height, as the device context measures it.
int MonoExtent(THtmlCanvas& c, const char* text) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "COURIER NEW");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(c.Target().DC(), font);
    SIZE size{};
    GetTextExtentPoint32A(c.Target().DC(), text, lstrlenA(text), &size);
    SelectObject(c.Target().DC(), old);
    DeleteObject(font);
    return int(size.cx);
}

TEST(DrawHtmlText, MeasuresWhatTheDeviceContextReports) {
    THtmlCanvas c;
    c.Draw("Hello world", {}, false, true);
    EXPECT_EQ(c.Width, c.Extent("Hello ").cx + c.Extent("world").cx + 2);
    EXPECT_EQ(c.Height, c.LineHeight());
    EXPECT_EQ(c.Plain, "Hello world");

    c.Draw("<B>Bold</B> <FONT size=\"5\">big</FONT>", {}, false, true);
    EXPECT_EQ(c.Width, c.Extent("Bold", true).cx + c.Extent(" ").cx + c.Extent("big", false, -21).cx + 2);
    EXPECT_EQ(c.Height, c.Extent("big", false, -21).cy);  // 16 points at 96 pixels per inch

    c.Draw("<I>italic</I><B><I>both</I></B><FONT face=\"Courier New\">mono</FONT>", {}, false, true);
    EXPECT_EQ(c.Width, c.Extent("italic", false, -11, true).cx + c.Extent("both", true, -11, true).cx +
                           MonoExtent(c, "mono") + 2);

    c.Draw("line one<BR>line two", {}, false, true);
    EXPECT_EQ(c.Height, 2 * c.LineHeight());

    c.Draw("", {}, false, true);
    EXPECT_EQ(c.Width, 0);
    EXPECT_EQ(c.Height, c.LineHeight());
}

// True when the pixels of r are the same on both.
bool SamePixels(const THtmlCanvas& a, const THtmlCanvas& b, const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

TEST(DrawHtmlText, ATabIsDrawnAsWideAsItIsMeasured) {
    for (const char* text : {"a\tb", "a\t\tb", "abcdefghijklm\tb"}) {
        SCOPED_TRACE(text);
        THtmlCanvas c;
        c.Draw(text, {}, false, true);
        const int measured = c.Width - 2;
        c.Draw(text);
        // The last character where the layout ends the piece: drawn alone
        // there, it inks the same pixels.
        THtmlCanvas alone;
        const int left = measured - alone.Extent("b").cx;
        ASSERT_GT(left, alone.Extent("a").cx);
        alone.Draw("b", Rect(left, 0, 300, 120));
        EXPECT_TRUE(SamePixels(c, alone, Rect(left - 2, 0, 300, c.LineHeight())));
        EXPECT_LT(c.Target().CountPixels(Rect(left, 0, measured, c.LineHeight()), clWhite),
                  (measured - left) * c.LineHeight());
    }
}

TEST(DrawHtmlText, HiddenBlinkingTextIsPlacedButNotDrawn) {
    for (TBrushStyle brush : {bsClear, bsSolid}) {
        SCOPED_TRACE(int(brush));
        THtmlCanvas hidden, shown;
        hidden.BlinkVisible = false;
        for (THtmlCanvas* c : {&hidden, &shown}) {
            c->Canvas()->Brush()->SetColor(clWhite);
            c->Canvas()->Brush()->SetStyle(brush);
            c->Draw("<BL>xx</BL> y");
        }
        // (The blank between keeps an overhang of the last "x" apart from "y".)
        const int h = hidden.LineHeight(), blink = hidden.Extent("xx").cx, y = blink + hidden.Extent(" ").cx;
        // Nothing where the blinking text is, which the shown one inks...
        EXPECT_EQ(hidden.Target().CountPixels(Rect(0, 0, blink, 120), clWhite), blink * 120);
        EXPECT_LT(shown.Target().CountPixels(Rect(0, 0, blink, h), clWhite), blink * h);
        // ...and what follows where it follows the shown text.
        EXPECT_LT(hidden.Target().CountPixels(Rect(y, 0, 300, h), clWhite), (300 - y) * h);
        EXPECT_TRUE(SamePixels(hidden, shown, Rect(y, 0, 300, 120)));
    }
}

TEST(DrawHtmlText, HitTestFindsTheAnchorUnderThePoint) {
    THtmlCanvas c;
    const String text = "Go <A href=\"Target\">there</A> now";
    const int start = c.Extent("Go ").cx, width = c.Extent("there").cx;
    const int middle = c.LineHeight() / 2;
    c.Anchor = "before";
    EXPECT_TRUE(c.Draw(text, {}, true, false, start + width / 2, middle));
    EXPECT_EQ(c.Anchor, "Target");
    EXPECT_EQ(c.MouseLink, 1);
    EXPECT_EQ(c.Links, 1);
    EXPECT_EQ(c.LinkRect, Rect(start, 0, start + width, c.LineHeight()));
    c.Anchor = "before";
    EXPECT_FALSE(c.Draw(text, {}, true, false, start + width + c.Extent(" n").cx, middle));
    EXPECT_EQ(c.Anchor, "before");
    EXPECT_EQ(c.MouseLink, -1);
    // A hit-test draws nothing.
    EXPECT_EQ(c.Target().CountPixels(Rect(0, 0, 300, 120), clWhite), 300 * 120);
}

TEST(DrawHtmlText, BodyAndParagraphBackgroundsFillTheirAreas) {
    THtmlCanvas c;
    c.Draw("<BODY bgcolor=\"#00FF00\">x", Rect(10, 10, 110, 60));
    EXPECT_EQ(c.At(8, 59), clLime);  // from two pixels left of the bounds
    EXPECT_EQ(c.At(109, 59), clLime);
    EXPECT_EQ(c.At(7, 30), clWhite);
    EXPECT_EQ(c.At(110, 30), clWhite);
    EXPECT_EQ(c.At(50, 60), clWhite);

    THtmlCanvas p;
    const int h = p.LineHeight();
    p.Draw("one<BR><P bgcolor=\"clRed\">two</P>three", Rect(0, 0, 200, 100));
    EXPECT_EQ(p.At(150, h + 1), clRed);
    EXPECT_EQ(p.At(199, 2 * h - 1), clRed);
    EXPECT_EQ(p.At(150, h - 1), clWhite);
    EXPECT_EQ(p.At(150, 2 * h + 1), clWhite);
}

TEST(DrawHtmlText, RuleLineOnePixelBelowTheText) {
    THtmlCanvas c;
    const int h = c.LineHeight();
    c.Draw("ab<HR>cd", Rect(0, 0, 200, 100));
    EXPECT_EQ(c.At(150, h + 1), clBlack);
    EXPECT_EQ(c.At(0, h + 1), clBlack);
    EXPECT_EQ(c.At(199, h + 1), clBlack);
    EXPECT_EQ(c.At(150, h), clWhite);
    EXPECT_EQ(c.At(150, h + 2), clWhite);
}

TEST(DrawHtmlText, ErrorZigZagUnderThePiece) {
    THtmlCanvas c;
    const int h = c.LineHeight();
    c.Draw("<E>mmmm</E>", Rect(0, 0, 200, 100));
    // From x 0 (a multiple of 4: starts below the bottom), every 2 pixels.
    EXPECT_EQ(c.At(0, h + 1), clRed);
    EXPECT_EQ(c.At(1, h), clRed);
    EXPECT_EQ(c.At(2, h - 1), clRed);
    EXPECT_EQ(c.At(3, h), clRed);
    EXPECT_EQ(c.At(4, h + 1), clRed);
    EXPECT_NE(c.At(2, h + 1), clRed);
    EXPECT_EQ(c.At(c.Extent("mmmm").cx + 4, h + 1), clWhite);
}

TEST(DrawHtmlText, BulletsOfListItems) {
    THtmlCanvas c;
    const int h = c.LineHeight();
    c.Draw("<UL><LI type=\"square\" color=\"#FF0000\">red<LI type=\"circle\" color=\"clBlue\">blue<LI>sym</UL>",
           Rect(0, 0, 200, 100));
    // Level 1: the bullet at the left edge, 2 pixels below the line's top.
    EXPECT_EQ(c.At(0, h + 2), clRed);
    EXPECT_EQ(c.At(7, h + 9), clRed);
    EXPECT_EQ(c.At(4, h + 5), clRed);
    EXPECT_EQ(c.At(4, h + 1), clWhite);
    EXPECT_EQ(c.At(8, h + 5), clWhite);
    EXPECT_EQ(c.At(4, 2 * h + 5), clBlue);   // the circle's middle
    EXPECT_EQ(c.At(0, 2 * h + 2), clWhite);  // not its corner
    // The symbol bullet is drawn in the text colour.
    EXPECT_GT(c.Target().CountPixels(Rect(0, 3 * h, 12, 4 * h), clWhite), 0);
    EXPECT_LT(c.Target().CountPixels(Rect(0, 3 * h, 12, 4 * h), clWhite), 12 * h);
}

TEST(DrawHtmlText, GradientBackgroundBands) {
    THtmlCanvas c;
    c.Draw("<BODY bgcolor=\"clBlack\" bgcolorto=\"clWhite\">", Rect(0, 0, 128, 20));
    EXPECT_EQ(c.At(0, 10), clBlack);
    EXPECT_EQ(unsigned(c.At(127, 10)), 0xFBFBFBu);  // the last of 64 bands: 251
    EXPECT_EQ(unsigned(c.At(64, 10)), 0x808080u);   // band 32: 128
    THtmlCanvas v(20, 130);
    v.Draw("<BODY bgcolor=\"clBlack\" bgcolorto=\"clWhite\" dir=\"V\">", Rect(0, 0, 20, 128));
    EXPECT_EQ(unsigned(v.At(10, 127)), 0xFBFBFBu);
    EXPECT_EQ(v.At(10, 0), clBlack);
}

TEST(DrawHtmlText, HighlightBackgroundIsTheSystemColour) {
    THtmlCanvas c;
    const int h = c.LineHeight();
    c.Draw("<HI>mmmmmmmm</HI>", Rect(0, 0, 200, 100));
    const TColor highlight = TColor(int(GetSysColor(COLOR_HIGHLIGHT)));
    const int width = c.Extent("mmmmmmmm").cx;
    const int area = width * h;
    EXPECT_GT(c.Target().CountPixels(Rect(0, 0, width, h), highlight), area / 3);
    EXPECT_EQ(c.Target().CountPixels(Rect(width, 0, 200, h), highlight), 0);
}

TEST(DrawHtmlText, CanvasFontAndBrushComeBack) {
    THtmlCanvas c;
    TCanvas* canvas = c.Canvas();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-13);
    canvas->Font()->SetColor(clMaroon);
    canvas->Font()->SetStyle(TFontStyles{fsItalic});
    canvas->Brush()->SetColor(clLime);
    canvas->TextWidth("x");
    const COLORREF textColor = GetTextColor(canvas->Handle());
    const COLORREF backColor = GetBkColor(canvas->Handle());
    const int backMode = GetBkMode(canvas->Handle());
    c.Draw("<B><U>x</B><FONT face=\"Courier New\" color=\"clBlue\" size=\"5\" bgcolor=\"clRed\">y<R a=\"90\">z"
           "<HI>h<A href=\"q\">a<S><SHAD>s<LI>l");
    EXPECT_EQ(canvas->Font()->Name(), "Arial");
    EXPECT_EQ(canvas->Font()->Height(), -13);
    EXPECT_EQ(canvas->Font()->Color(), clMaroon);
    EXPECT_EQ(canvas->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(canvas->Brush()->Color(), clLime);
    EXPECT_EQ(canvas->Brush()->Style(), bsSolid);
    // The device context's colours too, after a last piece in red on yellow:
    // the canvas's next text is drawn in its own colours.
    c.Draw("a<FONT color=\"clRed\" bgcolor=\"clYellow\">b</FONT>");
    EXPECT_EQ(GetTextColor(canvas->Handle()), textColor);
    EXPECT_EQ(GetBkColor(canvas->Handle()), backColor);
    EXPECT_EQ(GetBkMode(canvas->Handle()), backMode);
    // The font selected into the device context is the canvas's own again.
    canvas->TextWidth("x");
    EXPECT_EQ(GetCurrentObject(canvas->Handle(), OBJ_FONT), canvas->Font()->Handle());
}

TEST(DrawHtmlText, GdiObjectsBalanceOverAThousandCalls) {
    THtmlCanvas c;
    const String text = "<A href=\"a\">one <R a=\"90\">two</A> <R a=\"45\">three <B>four</B> "
                        "<A href=\"b\">five <R a=\"30\"><E>six</E></A></R></R> <UL><LI type=\"square\">seven";
    c.Draw(text);  // the canvas's own font and brush exist before counting
    TObjectBalance balance;
    for (int i = 0; i < 1000; ++i) c.Draw(text, {}, false, false, 0, 0, i % 3);
    for (int i = 0; i < 100; ++i) c.Draw(text, {}, true, false, 10, 5);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    EXPECT_GT(balance.Created(okGdi), 1000);  // the rotated fonts were made, and freed
}

TEST(DrawHtmlText, FocusRectangleAroundTheFocusedAnchor) {
    THtmlCanvas c;
    const int start = c.Extent("x ").cx, width = c.Extent("link").cx, h = c.LineHeight();
    c.Draw("x <A href=\"f\">link</A> y", Rect(0, 0, 200, 100), false, false, 0, 0, 0);
    EXPECT_EQ(c.Focused, "f");
    // The dotted frame from one pixel left of the anchor to one right of it.
    int framed = 0;
    for (int y = 0; y < h; ++y) framed += c.At(start - 1, y) != clWhite;
    EXPECT_GT(framed, h / 3);
    EXPECT_EQ(c.Target().CountPixels(Rect(start - 1, h, start + width + 1, h + 1), clWhite), width + 2);
    // Without an anchor to focus, no frame.
    THtmlCanvas none;
    none.Draw("x </A> y", Rect(0, 0, 200, 100), false, false, 0, 0, 0);
    for (int y = 0; y < h; ++y) EXPECT_EQ(none.At(none.Extent("x ").cx - 1, y), clWhite);
}

}  // namespace

namespace {

// A BMP file of width x height in one colour, written to stream.
void BitmapFile(TStream& stream, int width, int height, TColor color) {
    TBitmap bitmap(width, height, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
}

struct TPictureSources {
    TPictureSources() {
        TBitmap blue(16, 16, pf24bit);
        blue.Canvas()->Brush()->SetColor(clBlue);
        blue.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Images.SetWidth(16);
        Images.SetHeight(16);
        Images.Add(&blue, nullptr);
        TPictureItem* item = Container.Items()->Add();
        item->SetName("Logo");
        TBytesStream file;
        BitmapFile(file, 20, 10, clRed);
        item->Picture()->LoadFromStream(file);
    }
    TImageList Images{nullptr};
    TPictureContainer Container{nullptr};
    THTMLPictureCache Cache;
};

bool DrawWith(THtmlCanvas& c, TPictureSources& sources, const String& text, bool printMode = false,
              double factor = 1.0) {
    return DrawHtmlText(c.Canvas(), text, Rect(0, 0, 300, 120), &sources.Images, 0, 0, -1, -1, 2, false, false,
                        printMode, false, true, false, true, factor, clBlue, clNone, clNone, clGray, c.Anchor, c.Plain,
                        c.Focused, c.Width, c.Height, c.Links, c.MouseLink, c.LinkRect, &sources.Cache,
                        &sources.Container, 0);
}

TEST(DrawHtmlText, PicturesFromTheImageListTheContainerAndTheCache) {
    TPictureSources sources;
    THtmlCanvas c;
    DrawWith(c, sources, "<IMG src=\"IDX:0\"><IMG src=\"IDX:1\"><IMG src=\"logo\">");
    EXPECT_EQ(c.At(2, 2), clBlue);
    EXPECT_EQ(c.At(15, 15), clBlue);
    EXPECT_EQ(c.At(17, 2), clRed);  // IDX:1 is beyond the list: nothing, no room
    EXPECT_EQ(c.At(35, 9), clRed);
    EXPECT_EQ(c.At(36, 2), clWhite);
    EXPECT_EQ(c.Width, 16 + 20 + 2);
    EXPECT_EQ(c.Height, 16);

    // Stretched to WIDTH by HEIGHT.
    THtmlCanvas stretched;
    DrawWith(stretched, sources, "<IMG src=\"LOGO\" width=\"40\" height=\"30\">");
    EXPECT_EQ(stretched.At(39, 29), clRed);
    EXPECT_EQ(stretched.At(40, 29), clWhite);
    EXPECT_EQ(stretched.Width, 42);

    // Printing scales image-list pictures by the resolution factor.
    THtmlCanvas printed;
    DrawWith(printed, sources, "<IMG src=\"IDX:0\">", true, 2.0);
    EXPECT_EQ(printed.At(31, 31), clBlue);
    EXPECT_EQ(printed.At(32, 31), clWhite);

    // A picture by URL is loaded into the cache once.
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const String path = String(folder) + "html_text_test.bmp";
    {
        TFileStream out(path, fmCreate);
        BitmapFile(out, 8, 8, clLime);
    }
    THtmlCanvas cached;
    DrawWith(cached, sources, "<IMG src=\"file://" + path + "\">");
    DrawWith(cached, sources, "a<IMG src=\"file://" + path + "\">");
    DeleteFileA(path.c_str());
    EXPECT_EQ(sources.Cache.Count(), 1);
    EXPECT_EQ(cached.At(4, 4), clLime);

    // A resource that is no picture lays out as nothing, in a caption and as
    // a background, as often as it is drawn.
    THtmlCanvas notPicture;
    for (const char* text :
         {"<IMG src=\"res://HTML_NOT_A_PICTURE\">x", "<BODY background=\"RES://HTML_NOT_A_PICTURE\">x"})
        for (int i = 0; i < 2; ++i) {
            EXPECT_NO_THROW(DrawWith(notPicture, sources, text)) << text;
            EXPECT_EQ(notPicture.Width, notPicture.Extent("x").cx + 2) << text;
        }
}

TEST(DrawHtmlText, PicturesLeaveNoGdiObjectBehind) {
    TPictureSources sources;
    THtmlCanvas c;
    const String text = "<BODY background=\"logo\"><IMG src=\"IDX:0\"><IMG src=\"logo\"><IMG src=\"SSYS:1\">";
    DrawWith(c, sources, text);
    TObjectBalance balance;
    for (int i = 0; i < 50; ++i) DrawWith(c, sources, text, i % 2 == 1, 1.5);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

}  // namespace

#include "components/foundation/html_layout.h"

#include <map>

#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
#include "components/foundation/html_colors.h"

namespace {

using namespace html_draw_flags;

// Every drawing of a call, with the font it was drawn in.
struct TDrawnText {
    String Text;
    TRect Rect;
    unsigned Flags;
    TColor Color;
    TColor Background;
    TMeasureFont Face;
};

class TRecordingTarget : public IHtmlDrawTarget {
public:
    explicit TRecordingTarget(TFixedPitchMeasurer& measurer) : FMeasurer(measurer) {}

    void DrawText(const String& text, const TRect& rect, unsigned flags, TColor color, TColor background) override {
        Texts.push_back({text, rect, flags, color, background, FMeasurer.Font()});
    }
    void FillRect(const TRect& rect, TColor color) override { Fills.push_back({rect, color}); }
    void HorizontalLine(int x1, int x2, int y, TColor color) override { Lines.push_back({{x1, y, x2, y + 1}, color}); }
    void Polyline(const std::vector<TPoint>& points, TColor color) override {
        Polylines.push_back(points);
        PolylineColor = color;
    }
    void Bullet(const TRect& rect, bool circle, TColor color) override {
        Bullets.push_back({rect, color});
        Circles += circle;
    }
    void FocusRect(const TRect& rect) override { Focus.push_back(rect); }
    void Gradient(TColor from, TColor to, bool horizontal, const TRect& rect, int bands) override {
        Gradients.push_back({rect, from});
        GradientTo = to;
        GradientHorizontal = horizontal;
        GradientBandCount = bands;
    }
    void RotateFont(int degrees) override {
        EXPECT_FALSE(Rotated) << "a rotated font is never rotated again";
        Rotated = true;
        Angles.push_back(degrees);
    }
    void UnrotateFont() override {
        EXPECT_TRUE(Rotated);
        Rotated = false;
    }

    // "text@left,bottom" of every text drawn in a colour other than the shadow's.
    String Summary(TColor shadow = TColor(0x808080)) const {
        String out;
        for (const TDrawnText& t : Texts) {
            if (t.Color == shadow) continue;
            if (!out.empty()) out += "|";
            out += t.Text + "@" + IntToStr(t.Rect.Left) + "," + IntToStr(t.Rect.Bottom);
        }
        return out;
    }
    const TDrawnText* Find(const String& text) const {
        for (const TDrawnText& t : Texts)
            if (t.Text == text) return &t;
        return nullptr;
    }

    std::vector<TDrawnText> Texts;
    std::vector<std::pair<TRect, TColor>> Fills, Lines, Bullets, Gradients;
    std::vector<std::vector<TPoint>> Polylines;
    TColor PolylineColor = clNone, GradientTo = clNone;
    bool GradientHorizontal = false;
    int GradientBandCount = 0;
    int Circles = 0;
    std::vector<TRect> Focus;
    std::vector<int> Angles;
    bool Rotated = false;

private:
    TFixedPitchMeasurer& FMeasurer;
};

// An image list of two 16 by 16 pictures, and named and URL pictures.
class TFakePictures : public IHtmlPictures {
public:
    int ImageCount() override { return Count; }
    TSize ImageSize() override { return ImageListSize; }
    void DrawImage(int index, int x, int y) override { Drawn.push_back("IDX" + IntToStr(index) + Where(x, y)); }
    TSize ShellIcon(const String& path, bool large, bool draw, int x, int y) override {
        if (draw) Drawn.push_back((large ? "LSYS " : "SSYS ") + path + Where(x, y));
        return large ? TSize{32, 32} : TSize{16, 16};
    }
    bool FindPicture(const String& source, bool url, TSize& size) override {
        auto found = Pictures.find(url ? "url " + source : "name " + LowerCase(source));
        if (found == Pictures.end()) return false;
        size = found->second;
        return true;
    }
    void DrawPicture(const String& source, bool url, int x, int y, int width, int height) override {
        Drawn.push_back((url ? "url " : "name ") + source + Where(x, y) +
                        (width ? " " + IntToStr(width) + "x" + IntToStr(height) : String()));
    }
    void DrawBackground(const String& source, bool, THtmlBackground where, const TRect&) override {
        Drawn.push_back("background " + source + " " + IntToStr(int(where)));
    }

    static String Where(int x, int y) { return "@" + IntToStr(x) + "," + IntToStr(y); }

    int Count = 2;
    TSize ImageListSize{16, 16};
    std::map<String, TSize> Pictures{{"name logo", {30, 10}}, {"url http://x/a.png", {20, 20}}};
    std::vector<String> Drawn;
};

constexpr TColor kStartColor = TColor(0x123456);

THtmlParams Params(const String& text, int width = 200, int height = 100) {
    THtmlParams params;
    params.Text = text;
    params.Bounds = Rect(0, 0, width, height);
    params.StartFont = {{"Tahoma", -11}, kStartColor};
    params.StartBrushColor = TColor(0xFFFFFF);
    return params;
}

struct TRun {
    TFixedPitchMeasurer Measurer;
    TRecordingTarget Target{Measurer};
    TFakePictures Pictures;
    THtmlResult Result;

    bool Lay(const THtmlParams& params) { return LayoutHtml(Measurer, &Target, &Pictures, params, Result); }
};

// ---- Line breaking, alignment and indents ------------------------------------------

struct TLayoutCase {
    const char* Name;
    const char* Text;
    int Width;
    bool WordWrap;
    const char* Drawn;
    int MeasuredWidth;
    int MeasuredHeight;
};

TEST(HtmlLayout, LinesBreakAlignAndIndentOnTheFixedPitch) {
    const TLayoutCase cases[] = {
        {"one line", "Hello world", 200, true, "Hello @0,16|world@42,16", 79, 16},
        {"words wrap whole", "aaa bbb ccc", 50, true, "aaa @0,16|bbb @0,32|ccc@28,32", 51, 32},
        {"a long word stays", "abcdefghij xy", 50, true, "abcdefghij @0,16|xy@0,32", 72, 32},
        {"right aligned paints both words", "<P align=\"right\">aaa bbb</P>", 50, true, "aaa @1,16|bbb@29,16", 51, 16},
        {"right aligned wraps", "<P align=\"right\">aaa bbb ccc</P>", 50, true, "aaa @29,16|bbb @1,32|ccc@29,32", 51,
         32},
        {"centred", "<P align=\"center\">ab</P>", 100, true, "ab@43,16", 16, 16},
        {"centred in an odd room: the half rounds down", "<P align=\"center\">ab</P>", 101, true, "ab@43,16", 16, 16},
        {"right aligned: a line ending in a tag leaves its trailing blank out", "<P align=\"right\">ab </U>", 100, true,
         "ab @86,16", 16, 16},
        {"no word wrap: a piece starting more than a w from the right edge is drawn", "aaaaaa<U>b", 50, false,
         "aaaaaa@0,16|b@42,16", 51, 16},
        {"no word wrap: a piece starting within a w of the right edge is not", "aaaaaa<U>b", 49, false, "aaaaaa@0,16",
         51, 16},
        {"later alignment words win", "<P align=\"right left\">ab", 100, true, "ab@0,16", 16, 16},
        {"paragraph indent", "<P indent=\"10\">ab</P>cd", 100, true, "ab@10,16|cd@10,32", 16, 32},
        {"bold is wider", "<B>ab</B>cd", 100, true, "ab@0,16|cd@16,16", 32, 16},
        {"line break tag", "ab<BR>cd", 100, true, "ab@0,16|cd@0,32", 16, 32},
        {"CR breaks, LF is dropped", "ab\r\ncd\nef", 100, true, "ab@0,16|cdef@0,32", 30, 32},
        {"no word wrap: one piece", "aaa bbb ccc", 50, false, "aaa bbb ccc@0,16", 79, 16},
        {"subscript drops", "a<SUB>b</SUB>", 100, true, "a@0,16|b@7,20", 16, 20},
        {"superscript raises", "a<SUP>b</SUP>", 100, true, "a@0,20|b@7,16", 16, 20},
        {"indent tag", "<IND x=\"30\">ab", 100, true, "ab@30,16", 46, 16},
        {"indent never goes back", "abcdef<IND x=\"10\">g", 100, true, "abcdef@0,16|g@42,16", 51, 16},
        {"offset carries to the next lines", "<OF x=\"20\">ab<BR>cd</OF><BR>ef", 100, true, "ab@20,16|cd@20,32|ef@0,48",
         36, 48},
        {"an offset counts once on its own line", "<OF x=\"30\">abc def", 100, true, "abc @30,16|def@58,16", 81, 16},
        {"a tab goes to the next stop of eight characters", "a\tb c", 200, true, "a\tb @0,16|c@70,16", 79, 16},
        {"hidden text takes no room", "<Z>abc</Z>de", 100, true, "de@0,16", 16, 16},
        {"blanks around lines go", "  ab  <BR>  cd", 100, true, "ab @0,16| @21,16|cd@0,32", 23, 32},
        {"entities of a piece", "a&lt;b&gt;&nbsp;c", 100, true, "a<b> c@0,16", 44, 16},
        {"the <# rule shows the hash", "x <#1> y", 100, true, "x @0,16|#1 @14,16|y@35,16", 44, 16},
        {"a text ending in < drops it", "ab<", 100, true, "ab@0,16", 16, 16},
        {"a tag without > ends the text", "ab<B cd", 100, true, "ab@0,16", 16, 16},
        {"empty", "", 100, true, "", 0, 16},
    };
    for (const TLayoutCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRun run;
        THtmlParams params = Params(c.Text, c.Width);
        params.WordWrap = c.WordWrap;
        run.Lay(params);
        EXPECT_EQ(run.Target.Summary(), c.Drawn);
        EXPECT_EQ(run.Result.MeasuredWidth, c.MeasuredWidth);
        EXPECT_EQ(run.Result.MeasuredHeight, c.MeasuredHeight);
        // Measuring alone gives the same sizes.
        TRun measure;
        params.MeasureOnly = true;
        measure.Lay(params);
        EXPECT_TRUE(measure.Target.Texts.empty());
        EXPECT_EQ(measure.Result.MeasuredWidth, c.MeasuredWidth);
        EXPECT_EQ(measure.Result.MeasuredHeight, c.MeasuredHeight);
    }
}

TEST(HtmlLayout, LineSpacingAddsToEveryLine) {
    TRun run;
    THtmlParams params = Params("ab<BR>cd");
    params.LineSpacing = 3;
    run.Lay(params);
    EXPECT_EQ(run.Target.Summary(), "ab@0,19|cd@0,38");
    EXPECT_EQ(run.Result.MeasuredHeight, 38);
}

TEST(HtmlLayout, DrawFlagsFollowTheTextAndWordWrap) {
    TRun plain;
    plain.Lay(Params("a&amp;b"));
    ASSERT_EQ(plain.Target.Texts.size(), 1u);
    EXPECT_EQ(plain.Target.Texts[0].Text, "a&&b");
    EXPECT_EQ(plain.Target.Texts[0].Flags, kSingleLine | kBottom | kExpandTabs);
    EXPECT_EQ(plain.Result.MeasuredWidth, 3 * 7 + 2);  // "&&" shows as one "&"

    TRun noPrefix;
    noPrefix.Lay(Params("a & b&amp;"));
    EXPECT_EQ(noPrefix.Target.Summary(), "a @0,16|& @14,16|b&&@28,16");
    EXPECT_EQ(noPrefix.Target.Texts[0].Flags, kSingleLine | kBottom | kExpandTabs | kNoPrefix);

    TRun ellipsis;
    THtmlParams params = Params("ab");
    params.WordWrap = false;
    ellipsis.Lay(params);
    EXPECT_EQ(ellipsis.Target.Texts[0].Flags, kSingleLine | kBottom | kExpandTabs | kEndEllipsis);
}

TEST(HtmlLayout, TheEntityPassRunsUntilNothingIsLeft) {
    const struct {
        const char* Text;
        const char* Plain;
    } cases[] = {
        {"&permil;", "\x89"},
        {"&euro;&EURO;", "\x80\x80"},
        {"&sect;&reg;&copy;&para;&trade;", "\xA7\xAE\xA9\xB6\x99"},
        {"&quot;x&quot;", "\"x\""},
        {"&amp;amp;", "&&&"},
        {"&amp;quot;", "&\""},
    };
    for (const auto& c : cases) {
        TRun run;
        THtmlParams params = Params(c.Text);
        params.MeasureOnly = true;
        run.Lay(params);
        EXPECT_EQ(run.Result.PlainText, c.Plain) << c.Text;
    }
}

// The entity pass as it is defined: rounds of first occurrences.
String EntityRounds(String text) {
    const char* entities[][2] = {{"&amp;", "&&"},      {"&quot;", "\""},    {"&sect;", "\xA7"},
                                 {"&permil;", "\x89"}, {"&reg;", "\xAE"},   {"&copy;", "\xA9"},
                                 {"&para;", "\xB6"},   {"&trade;", "\x99"}, {"&euro;", "\x80"}};
    bool replaced = true;
    while (replaced) {
        replaced = false;
        for (const auto& e : entities) replaced |= ReplaceFirstNoCase(text, e[0], e[1]);
    }
    return text;
}

TEST(HtmlLayout, TheEntityPassGivesWhatItsRoundsGive) {
    // Random texts of the entities' own letters, so that they meet, nest and
    // form again after a replacement.
    const char alphabet[] = "&&&;;ampAMquotsecrgyhdeEUmil x";
    unsigned seed = 12345;
    for (int n = 0; n < 3000; ++n) {
        String text;
        const int length = 1 + n % 40;
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245 + 12345;
            text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        if (n % 3 == 0) text = "&amp;amp;" + text + "&AMP;quot;";
        if (text.find('<') != String::npos || text.find(" & ") != String::npos) continue;
        TRun run;
        THtmlParams params = Params(text, 100000);
        params.MeasureOnly = true;
        run.Lay(params);
        String expected;
        for (char c : EntityRounds(text)) expected += c;
        // Blanks around the line go, and pieces are split at blanks.
        EXPECT_EQ(run.Result.PlainText, Trim(expected)) << text;
    }
}

TEST(HtmlLayout, PlainTextHasEveryPieceAndCRForLineBreaks) {
    TRun run;
    THtmlParams params = Params("<B>ab</B> <Z>hid</Z>cd<BR>ef");
    params.MeasureOnly = true;
    run.Lay(params);
    EXPECT_EQ(run.Result.PlainText, "ab hidcd\ref");
    // Painting and hit-testing give the same text: each piece once.
    TRun painted;
    painted.Lay(Params("<B>ab</B> <Z>hid</Z>cd<BR>ef"));
    EXPECT_EQ(painted.Result.PlainText, "ab hidcd\ref");
    TRun hit;
    params.MeasureOnly = false;
    params.HitTestOnly = true;
    hit.Lay(params);
    EXPECT_EQ(hit.Result.PlainText, "ab hidcd\ref");
}

TEST(HtmlLayout, MeasuredWidthKeepsALineUpToTwoPixelsWider) {
    TRun run;
    THtmlParams params = Params("a<BR><IND x=\"8\">");
    params.MeasureOnly = true;
    run.Lay(params);
    EXPECT_EQ(run.Result.MeasuredWidth, 10);
}

TEST(HtmlLayout, LinesBelowTheBottomAreNotLaidOutUnlessMeasuring) {
    TRun run;
    run.Lay(Params("a<BR>b<BR>c", 100, 20));
    EXPECT_EQ(run.Target.Summary(), "a@0,16");
    EXPECT_EQ(run.Result.MeasuredHeight, 16);
    TRun measure;
    THtmlParams params = Params("a<BR>b<BR>c", 100, 20);
    params.MeasureOnly = true;
    measure.Lay(params);
    EXPECT_EQ(measure.Result.MeasuredHeight, 48);
}

// ---- Styles ------------------------------------------------------------------------

TEST(HtmlLayout, TagsChangeTheFontAndClosingTagsGoBackToTheStartFont) {
    TRun run;
    THtmlParams params = Params("<B>b</B><I>i</IMG><U>u</U><S>s</S>"
                                "<FONT face=\"Arial\" size=\"3\">f</FONT><FONT size=\"20\">g</FONT>x");
    run.Lay(params);
    const auto face = [&](const char* text) { return run.Target.Find(text)->Face; };
    EXPECT_TRUE(face("b").Bold);
    EXPECT_TRUE(face("i").Italic);
    EXPECT_TRUE(face("u").Underline);
    EXPECT_TRUE(face("s").StrikeOut);
    EXPECT_EQ(face("f").Name, "ARIAL");
    EXPECT_EQ(face("f").Height, -16);  // 12 points at 96 pixels per inch
    EXPECT_EQ(face("g").Height, -27);  // 20 points
    EXPECT_EQ(face("x"), (TMeasureFont{"Tahoma", -11}));
}

TEST(HtmlLayout, ColoursOfFontTags) {
    const struct {
        const char* Text;
        unsigned Color;
    } cases[] = {
        {"<FONT COLOR=\"#FF0000\">x", 0x0000FF},
        {"<FONT color=\"#ff0000\">x", 0x0000FF},
        {"<FONT COLOR=\"clRed\">x", 0x0000FF},
        {"<FONT COLOR=\"nosuch\">x", 0},
        {"<FONT COLOR=\"\">x", 0x123456},
        {"<FONT BGCOLOR=\"clRed\">x", 0x123456},
        {"<FONT COLOR=\"clRed\">y</FONT>x", 0x123456},
        {"<FONT COLOR=\"clRed\">y</BX>x", 0x123456},  // any other </B.. goes back to the start colour
    };
    for (const auto& c : cases) {
        TRun run;
        run.Lay(Params(c.Text));
        ASSERT_NE(run.Target.Find("x"), nullptr) << c.Text;
        EXPECT_EQ(unsigned(run.Target.Find("x")->Color), c.Color) << c.Text;
    }
    TRun selected;
    THtmlParams params = Params("<FONT COLOR=\"clRed\" BGCOLOR=\"clBlue\">x");
    params.Selected = true;
    selected.Lay(params);
    EXPECT_EQ(selected.Target.Find("x")->Color, kStartColor);
    EXPECT_EQ(selected.Target.Find("x")->Background, clNone);
}

TEST(HtmlLayout, BackgroundsOfFontHighlightAndStrayClosingTags) {
    TRun run;
    run.Lay(Params("<FONT BGCOLOR=\"clRed\">a</FONT><HI>b</HI>c<FONT COLOR=\"clRed\">d</H>e"));
    EXPECT_EQ(unsigned(run.Target.Find("a")->Background), 0x0000FFu);
    EXPECT_EQ(run.Target.Find("b")->Background, TColor(int(0xFF00000Du)));
    EXPECT_EQ(run.Target.Find("b")->Color, TColor(int(0xFF00000Eu)));
    EXPECT_EQ(run.Target.Find("c")->Background, clNone);
    EXPECT_EQ(run.Target.Find("c")->Color, kStartColor);
    // </H> after <HI>..</HI>: the colours saved by the last <HI>.
    EXPECT_EQ(run.Target.Find("e")->Color, kStartColor);

    // Closing tags without their opening ones restore the call's own colours.
    TRun stray;
    stray.Lay(Params("<FONT COLOR=\"clRed\">a</H>b</FONT>c</P>d"));
    EXPECT_EQ(stray.Target.Find("b")->Color, kStartColor);
    EXPECT_EQ(stray.Target.Find("b")->Background, clNone);
    EXPECT_EQ(stray.Target.Find("d")->Background, clNone);
}

TEST(HtmlLayout, BlinkingTextTakesTheBrushColourWhenHidden) {
    TRun run;
    THtmlParams params = Params("<BL>x</BL>y");
    params.BlinkVisible = false;
    params.StartBrushColor = TColor(0xABCDEF);
    run.Lay(params);
    EXPECT_EQ(unsigned(run.Target.Find("x")->Color), 0xABCDEFu);
    EXPECT_EQ(run.Target.Find("y")->Color, kStartColor);
    TRun visible;
    visible.Lay(Params("<BL>x</BL>y"));
    EXPECT_EQ(visible.Target.Find("x")->Color, kStartColor);
}

TEST(HtmlLayout, ShadowErrorLineAndRule) {
    TRun run;
    THtmlParams params = Params("<SHAD>ab</SHAD><E>cd</E><HR>x");
    params.ShadowOffset = 2;
    params.ShadowColor = TColor(0x808080);
    run.Lay(params);
    ASSERT_GE(run.Target.Texts.size(), 2u);
    EXPECT_EQ(run.Target.Texts[0].Text, "ab");
    EXPECT_EQ(unsigned(run.Target.Texts[0].Color), 0x808080u);
    EXPECT_EQ(run.Target.Texts[0].Rect, Rect(2, 2, 202, 18));
    EXPECT_EQ(run.Target.Texts[1].Rect, Rect(0, 0, 200, 16));
    ASSERT_EQ(run.Target.Polylines.size(), 1u);
    const std::vector<TPoint> zigzag{{14, 15}, {16, 17}, {18, 15}, {20, 17}, {22, 15}, {24, 17}, {26, 15}, {28, 17}};
    EXPECT_EQ(run.Target.Polylines[0], zigzag);  // "cd" from 14 to 28, bottom 16
    EXPECT_EQ(unsigned(run.Target.PolylineColor), 0x0000FFu);
    ASSERT_EQ(run.Target.Lines.size(), 1u);
    EXPECT_EQ(run.Target.Lines[0].first, Rect(0, 17, 200, 18));
    EXPECT_EQ(unsigned(run.Target.Lines[0].second), 0u);
    EXPECT_EQ(run.Target.Summary(), "ab@0,16|cd@14,16|x@0,32");
}

TEST(HtmlLayout, BodyAndParagraphBackgrounds) {
    TRun body;
    body.Lay(Params("<BODY bgcolor=\"#00FF00\">x"));
    ASSERT_EQ(body.Target.Fills.size(), 1u);
    EXPECT_EQ(body.Target.Fills[0].first, Rect(-2, 0, 200, 100));
    EXPECT_EQ(unsigned(body.Target.Fills[0].second), 0x00FF00u);
    EXPECT_EQ(unsigned(body.Target.Find("x")->Background), 0x00FF00u);

    TRun gradient;
    gradient.Lay(Params("<BODY bgcolor=\"clBlack\" bgcolorto=\"clWhite\" dir=\"V\">x"));
    ASSERT_EQ(gradient.Target.Gradients.size(), 1u);
    EXPECT_EQ(gradient.Target.Gradients[0].first, Rect(0, 0, 200, 100));
    EXPECT_EQ(unsigned(gradient.Target.GradientTo), 0xFFFFFFu);
    EXPECT_FALSE(gradient.Target.GradientHorizontal);
    EXPECT_EQ(gradient.Target.GradientBandCount, 64);
    EXPECT_EQ(gradient.Target.Find("x")->Background, clNone);

    TRun paragraph;
    paragraph.Lay(Params("a<BR><P bgcolor=\"clRed\">b<BR>c</P>d"));
    ASSERT_EQ(paragraph.Target.Fills.size(), 2u);
    EXPECT_EQ(paragraph.Target.Fills[0].first, Rect(0, 16, 200, 32));  // the line of the tag
    EXPECT_EQ(paragraph.Target.Fills[1].first, Rect(0, 32, 200, 48));  // and every line after it
    EXPECT_EQ(unsigned(paragraph.Target.Find("c")->Background), 0x0000FFu);
    EXPECT_EQ(paragraph.Target.Find("d")->Background, clNone);

    TRun selected;
    THtmlParams params = Params("<BODY bgcolor=\"#00FF00\"><P bgcolor=\"clRed\">x");
    params.Selected = true;
    selected.Lay(params);
    EXPECT_TRUE(selected.Target.Fills.empty());
}

TEST(HtmlLayout, ListsIndentByLevelAndDrawBullets) {
    TRun run;
    run.Lay(Params("<UL><LI>one<LI>two</UL>after"));
    EXPECT_EQ(run.Target.Summary(), "\xB7@0,32|one@12,32|\xB7@0,48|two@12,48|after@33,48");
    EXPECT_EQ(run.Target.Find("\xB7")->Face.Name, "Symbol");
    EXPECT_EQ(run.Target.Find("one")->Face.Name, "Tahoma");
    EXPECT_EQ(run.Result.MeasuredHeight, 48);  // </UL> breaks no line
    EXPECT_EQ(run.Result.MeasuredWidth, 12 + 21 + 35 + 2);

    TRun nested;
    nested.Lay(Params("<UL><UL><LI type=\"square\" color=\"clRed\">x<LI type=\"circle\">y<LI>z"));
    ASSERT_EQ(nested.Target.Bullets.size(), 2u);
    EXPECT_EQ(nested.Target.Bullets[0].first, Rect(12, 34, 20, 42));
    EXPECT_EQ(unsigned(nested.Target.Bullets[0].second), 0x0000FFu);
    EXPECT_EQ(nested.Target.Bullets[1].second, kStartColor);
    EXPECT_EQ(nested.Target.Circles, 1);
    EXPECT_EQ(nested.Target.Summary(), "x@24,48|y@24,64|o@12,80|z@24,80");
}

TEST(HtmlLayout, RotatedFontsNeverNestAndAreTurnedBack) {
    const char* texts[] = {"<R a=\"90\">a<R a=\"45\">b</R></R>c", "<R a=\"10\">abc", "</R>x", "<R a=\"5\">a<BR>b"};
    for (const char* text : texts) {
        TRun run;
        run.Lay(Params(text));
        EXPECT_FALSE(run.Target.Rotated) << text;
    }
    TRun run;
    run.Lay(Params("<R a=\"90\">a<R a=\"45\">b"));
    EXPECT_EQ(run.Target.Angles, (std::vector<int>{90, 45, 90, 45}));
}

// ---- Anchors and the hit-test ------------------------------------------------------

TEST(HtmlLayout, AnchorsAreCountedAndColoured) {
    TRun run;
    THtmlParams params = Params("<A href=\"u\">x</A>y<A href=\"v\">z</A>");
    params.URLColor = TColor(0xFF0000);
    run.Lay(params);
    EXPECT_EQ(run.Result.LinkCount, 2);
    EXPECT_EQ(unsigned(run.Target.Find("x")->Color), 0xFF0000u);
    EXPECT_TRUE(run.Target.Find("x")->Face.Underline);
    EXPECT_EQ(run.Target.Find("y")->Color, kStartColor);
    EXPECT_FALSE(run.Target.Find("y")->Face.Underline);

    // Hover only: only the hovered anchor is underlined and gets the hover colours.
    TRun hover;
    params.HoverOnlyLinks = true;
    params.HoverLink = 2;
    params.HoverColor = TColor(0x00FFFF);
    params.HoverFontColor = TColor(0x0000FF);
    hover.Lay(params);
    EXPECT_FALSE(hover.Target.Find("x")->Face.Underline);
    EXPECT_EQ(hover.Target.Find("x")->Background, clNone);
    EXPECT_TRUE(hover.Target.Find("z")->Face.Underline);
    EXPECT_EQ(unsigned(hover.Target.Find("z")->Background), 0x00FFFFu);
    EXPECT_EQ(unsigned(hover.Target.Find("z")->Color), 0x0000FFu);

    TRun measure;
    params.MeasureOnly = true;
    measure.Lay(params);
    EXPECT_EQ(measure.Result.LinkCount, 2);
}

struct THitCase {
    const char* Name;
    const char* Text;
    int Width;
    int MouseX, MouseY;
    bool Hit;
    const char* Anchor;
    int Link;
    TRect LinkRect;
};

TEST(HtmlLayout, HitTestOutputsOnlyWhereThePointIsOnTheAnchor) {
    const THitCase cases[] = {
        {"on the text", "ab <A href=\"Target\">link</A> after", 200, 30, 8, true, "Target", 1, Rect(21, 0, 49, 16)},
        {"beside it", "ab <A href=\"Target\">link</A> after", 200, 60, 8, false, "unchanged", -1, {}},
        {"on its left edge", "ab <A href=\"Target\">link</A> after", 200, 21, 8, true, "Target", 1,
         Rect(21, 0, 49, 16)},
        {"on its right edge", "ab <A href=\"Target\">link</A> after", 200, 49, 8, true, "Target", 1,
         Rect(21, 0, 49, 16)},
        {"a pixel left of it", "ab <A href=\"Target\">link</A> after", 200, 20, 8, false, "unchanged", -1, {}},
        {"a pixel right of it", "ab <A href=\"Target\">link</A> after", 200, 50, 8, false, "unchanged", -1, {}},
        {"on the line's top row", "ab <A href=\"Target\">link</A> after", 200, 30, 0, false, "unchanged", -1, {}},
        {"on the line's first row inside", "ab <A href=\"Target\">link</A> after", 200, 30, 1, true, "Target", 1,
         Rect(21, 0, 49, 16)},
        {"on the row below the line", "ab <A href=\"Target\">link</A> after", 200, 30, 16, false, "unchanged", -1, {}},
        {"on the line's last row inside", "ab <A href=\"Target\">link</A> after", 200, 30, 15, true, "Target", 1,
         Rect(21, 0, 49, 16)},
        {"second anchor", "<A href=\"a\">x</A> <A href=\"b\">y</A>", 200, 16, 8, true, "b", 2, Rect(14, 0, 21, 16)},
        {"started on the line before", "aaa <A href=\"T\">bbb ccc</A>", 50, 10, 24, true, "T", 1, Rect(0, 16, 49, 32)},
        {"not closed on its line", "<A href=\"T\">aaa bbbb</A>", 50, 10, 8, true, "T", 1, Rect(0, 0, 28, 16)},
        {"right aligned", "<P align=\"right\"><A href=\"r\">ab</A>", 100, 90, 8, true, "r", 1, Rect(86, 0, 100, 16)},
        {"after an offset", "<OF x=\"50\"><BR><A href=\"o\">ab</A>", 200, 55, 24, true, "o", 1, Rect(50, 16, 64, 32)},
        {"above the text of a tall line",
         "<A href=\"x\">ab</A><IMG src=\"LSYS:1\">",
         200,
         5,
         5,
         false,
         "unchanged",
         -1,
         {}},
        {"on a picture in an anchor", "<A href=\"p\">a<IMG src=\"LSYS:1\"></A>", 200, 20, 5, true, "p", 1,
         Rect(0, 0, 39, 32)},
        {"one quote: empty target", "<A href=\"abc>def</A>", 200, 5, 8, true, "", 1, Rect(0, 0, 21, 16)},
        {"below every line", "<A href=\"x\">ab</A>", 200, 5, 40, false, "unchanged", -1, {}},
    };
    for (const THitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRun run;
        THtmlParams params = Params(c.Text, c.Width);
        params.HitTestOnly = true;
        params.MouseX = c.MouseX;
        params.MouseY = c.MouseY;
        run.Result.AnchorUnderMouse = "unchanged";
        EXPECT_EQ(run.Lay(params), c.Hit);
        EXPECT_TRUE(run.Target.Texts.empty());
        EXPECT_EQ(run.Result.AnchorUnderMouse, c.Anchor);
        EXPECT_EQ(run.Result.MouseLink, c.Link);
        if (c.Hit) {
            EXPECT_EQ(run.Result.MouseLinkRect, c.LinkRect);
        }
    }
}

TEST(HtmlLayout, MeasuringAndPaintingCallsReturnNoHit) {
    for (bool measureOnly : {true, false}) {
        TRun run;
        THtmlParams params = Params("<A href=\"x\">ab</A>");
        params.MeasureOnly = measureOnly;
        params.MouseX = 5;
        params.MouseY = 8;
        run.Result.AnchorUnderMouse = "unchanged";
        EXPECT_FALSE(run.Lay(params));
        EXPECT_EQ(run.Result.AnchorUnderMouse, "unchanged");
        EXPECT_EQ(run.Result.MouseLink, -1);
    }
}

// The pieces a measurer was asked for, in order (not the font measures
// "gh", " " and "w"), and how often its font was set.
class TCountingMeasurer : public TFixedPitchMeasurer {
public:
    void SetFont(const TMeasureFont& font) override {
        ++Fonts;
        TFixedPitchMeasurer::SetFont(font);
    }
    TTextExtent TextExtent(const String& text) override {
        if (text != "gh" && text != " " && text != "w") Pieces.push_back(text);
        return TFixedPitchMeasurer::TextExtent(text);
    }
    std::vector<String> Pieces;
    int Fonts = 0;
};

// A line's second pass (painting or hit-testing) takes the extents its
// measuring pass took: the call measures each piece once, whatever the
// fonts, turns, tabs, prefixes, hidden pieces and wrapping of its lines;
// and a hit-test, which draws nothing, sets no font its measuring did not.
TEST(HtmlLayout, EveryPieceIsMeasuredOncePerCall) {
    const char* texts[] = {
        ("Rewrites <B>settings.ini</B> of the <I>chosen</I> <FONT face=\"Courier\" size=\"3\">compiler</FONT> "
         "with the <U>colour scheme</U> and <S>layout</S> you picked; see the log for <B>details</B>."),
        "a\tb <B>c\td</B> e &amp; f & g <Z>hidden words</Z> h",
        "<R a=\"90\">turned <B>text</B></R> and <SUB>low</SUB> <SUP>high</SUP> <SHAD>shadowed</SHAD>",
        "<P align=\"center\">centred words on lines</P><P align=\"right\">right words on lines</P>",
        "<UL><LI>one item<LI>two items</UL>word word word word word word word word word word word",
    };
    for (const char* text : texts) {
        for (bool wordWrap : {true, false}) {
            THtmlParams params = Params(text, 120, 400);
            params.WordWrap = wordWrap;
            params.MeasureOnly = true;
            TCountingMeasurer measuring;
            THtmlResult measured;
            LayoutHtml(measuring, nullptr, nullptr, params, measured);
            ASSERT_FALSE(measuring.Pieces.empty()) << text;
            for (bool hitTest : {false, true}) {
                params.MeasureOnly = false;
                params.HitTestOnly = hitTest;
                TCountingMeasurer counting;
                TRecordingTarget target(counting);
                THtmlResult result;
                LayoutHtml(counting, &target, nullptr, params, result);
                EXPECT_EQ(counting.Pieces, measuring.Pieces)
                    << text << (wordWrap ? " wrapped" : "") << (hitTest ? " hit-test" : " paint");
                EXPECT_EQ(result.MeasuredHeight, measured.MeasuredHeight) << text;
                if (hitTest) {
                    EXPECT_EQ(counting.Fonts, measuring.Fonts) << text << (wordWrap ? " wrapped" : "");
                } else {
                    EXPECT_FALSE(target.Texts.empty()) << text;
                }
            }
        }
    }
}

TEST(HtmlLayout, FocusRectangleOnlyAroundTheFocusedAnchor) {
    TRun run;
    THtmlParams params = Params("x<A href=\"a\">ab</A> <A href=\"b\">cd</A>");
    params.FocusLink = 1;
    run.Lay(params);
    ASSERT_EQ(run.Target.Focus.size(), 1u);
    EXPECT_EQ(run.Target.Focus[0], Rect(27, 0, 43, 16));
    EXPECT_EQ(run.Result.FocusedAnchor, "b");

    // Over two lines: one rectangle on each.
    TRun wrapped;
    params = Params("<A href=\"a\">aaa bbbb</A>", 50);
    params.FocusLink = 0;
    wrapped.Lay(params);
    EXPECT_EQ(wrapped.Target.Focus, (std::vector<TRect>{Rect(-1, 0, 29, 16), Rect(0, 16, 29, 32)}));

    const char* stray[] = {"ab</A>cd", "<A href=\"a\">ab</A></A>"};
    for (int focus : {-1, 0, 5}) {
        for (const char* text : stray) {
            TRun none;
            params = Params(text);
            params.FocusLink = focus;
            none.Lay(params);
            EXPECT_EQ(none.Target.Focus.size(), text[1] == 'A' && focus == 0 ? 1u : 0u) << text << " " << focus;
        }
    }
}

// ---- Pictures ----------------------------------------------------------------------

TEST(HtmlLayout, PicturesFromEverySource) {
    const struct {
        const char* Text;
        const char* Drawn;
        const char* Pieces;
        int Width;
    } cases[] = {
        {"a<IMG src=\"IDX:1\">b", "IDX1@7,0", "a@0,16|b@23,16", 32},
        {"a<IMG src=\"idx:2\">b", "", "a@0,16|b@7,16", 16},  // beyond the count
        {"a<IMG src=\"IDX:-1\">b", "", "a@0,16|b@7,16", 16},
        {"<IMG src=\"SSYS:c:\\x.txt\">", "SSYS c:\\x.txt@0,0", "", 18},
        {"<IMG src=\"LSYS:3\">", "LSYS 3@0,0", "", 34},
        {"<IMG src=\"logo\">b", "name logo@0,0", "b@30,16", 39},
        {"<IMG src=\"logo\" width=\"8\" height=\"4\">b", "name logo@0,0 8x4", "b@8,16", 17},
        {"<IMG src=\"http://x/a.png\">", "url http://x/a.png@0,0", "", 22},
        {"<IMG src=\"c:\\a.bmp\">b", "", "b@0,16", 9},
        {"<IMG src=\"nosuch\">b", "", "b@0,16", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TRun run;
        run.Lay(Params(c.Text));
        String drawn;
        for (const String& d : run.Pictures.Drawn) drawn += (drawn.empty() ? "" : "|") + d;
        EXPECT_EQ(drawn, c.Drawn);
        EXPECT_EQ(run.Target.Summary(), c.Pieces);
        EXPECT_EQ(run.Result.MeasuredWidth, c.Width);
    }
}

TEST(HtmlLayout, PicturesWrapAlignAndScale) {
    TRun wrap;
    wrap.Lay(Params("aaaaa<IMG src=\"IDX:0\">b", 50));
    EXPECT_EQ(wrap.Pictures.Drawn, (std::vector<String>{"IDX0@0,16"}));
    EXPECT_EQ(wrap.Target.Summary(), "aaaaa@0,16|b@16,32");

    TRun wide;
    wide.Pictures.ImageListSize = {60, 16};
    wide.Lay(Params("a<IMG src=\"IDX:0\">", 50));
    EXPECT_EQ(wide.Pictures.Drawn, (std::vector<String>{"IDX0@7,0"}));  // wider than any line: stays

    TRun top;
    top.Lay(Params("a<IMG src=\"LSYS:1\" align=\"top\">b"));
    EXPECT_EQ(top.Target.Summary(), "a@0,16|b@39,16");
    TRun middle;
    middle.Lay(Params("a<IMG src=\"LSYS:1\" align=\"middle\">b"));
    EXPECT_EQ(middle.Target.Summary(), "a@0,24|b@39,24");
    TRun bottom;
    bottom.Lay(Params("a<IMG src=\"LSYS:1\">b"));
    EXPECT_EQ(bottom.Target.Summary(), "a@0,32|b@39,32");
    EXPECT_EQ(bottom.Result.MeasuredHeight, 32);
    TRun wrapped;
    wrapped.Lay(Params("a<IMG src=\"LSYS:1\" wrap>b"));
    EXPECT_EQ(wrapped.Result.MeasuredHeight, 16);

    TRun scaled;
    THtmlParams params = Params("<IMG src=\"IDX:0\">b");
    params.PixelsPerInchX = 132;  // 16 * 132 / 96 = 22
    params.PixelsPerInchY = 120;  // 20
    params.MeasureOnly = true;
    scaled.Lay(params);
    EXPECT_EQ(scaled.Result.MeasuredWidth, 22 + 7 + 2);
    EXPECT_EQ(scaled.Result.MeasuredHeight, 20);
}

TEST(HtmlLayout, BodyPictures) {
    TRun run;
    run.Lay(Params("<BODY background=\"logo\" bgtopleft=\"IDX:0\" bgtopright=\"IDX:1\">x"));
    EXPECT_EQ(run.Pictures.Drawn, (std::vector<String>{"background LOGO 0", "IDX0@0,0", "IDX1@184,0"}));
    // A shell icon at the top right without an image list: by its own width.
    TRun icon;
    icon.Pictures.Count = -1;
    icon.Lay(Params("<BODY bgtopright=\"LSYS:1\">x"));
    EXPECT_EQ(icon.Pictures.Drawn, (std::vector<String>{"LSYS 1@168,0"}));
}

TEST(HtmlLayout, AltPictureUnderTheMouse) {
    TRun run;
    THtmlParams params = Params("<A href=\"x\"><IMG src=\"IDX:0\" alt=\"IDX:1\"></A>");
    params.MouseX = 5;
    params.MouseY = 5;
    run.Lay(params);
    EXPECT_EQ(run.Pictures.Drawn, (std::vector<String>{"IDX1@0,0"}));
}

// ---- Hostile input -----------------------------------------------------------------

TEST(HtmlLayout, HostileTextIsReadSafely) {
    const char* texts[] = {
        "ab<SU",
        "<IND x=\"99999999999999\">a<OF x=\"-99999999999\">b",
        "<FONT size=\"999999999999\">a</FONT><FONT size=\"-5\">b",
        "<R a=\"2147483647\">a",
        "<IMG src=\"IDX:99999999999\" width=\"999999999999\" height=\"999999999999\">",
        "<P indent=\"2147483647\" align=\"center\">aaaa",
        "<OF x=\"2147483647\">a<BR>b<BR>c",
        "<UL><UL><UL><LI><LI><LI></UL></UL></UL></UL></UL>",
        "<",
        "<>",
        "</>",
        "<A",
        "&",
        "<#",
        "\x01\x02<\x80\xFF>",
    };
    for (const char* text : texts) {
        TRun run;
        THtmlParams params = Params(text);
        params.FocusLink = 0;
        run.Lay(params);
        params.HitTestOnly = true;
        run.Lay(params);
        EXPECT_FALSE(run.Target.Rotated) << text;
    }
}

}  // namespace

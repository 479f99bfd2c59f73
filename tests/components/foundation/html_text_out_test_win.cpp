// A piece of an HTML caption drawn by DrawHtmlPieceText shows exactly what
// DrawText shows for the same flags: fonts, texts, rectangles (roomy and
// clipping) and flags crossed, every pixel compared.
#include "components/foundation/html_text_out_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "paint_harness.h"

namespace {

struct TFontRow {
    const char* Face;
    int Height, Weight;
    bool Italic, Underline, StrikeOut;
    BYTE Charset;
};

const TFontRow kFonts[] = {
    {"Tahoma", -11, FW_NORMAL, false, false, false, DEFAULT_CHARSET},
    {"Tahoma", -11, FW_BOLD, false, false, false, DEFAULT_CHARSET},
    {"Tahoma", -13, FW_NORMAL, true, true, false, DEFAULT_CHARSET},
    {"Arial", -15, FW_NORMAL, false, false, true, DEFAULT_CHARSET},
    {"Courier New", -12, FW_BOLD, true, false, false, ANSI_CHARSET},
    {"Symbol", -12, FW_NORMAL, false, false, false, SYMBOL_CHARSET},
    {"Tahoma", -11, FW_NORMAL, false, false, false, GREEK_CHARSET},
};

const char* const kTexts[] = {"layout ",   "Rewrites", "caf\xE9 \xFC\xDF \xB7", "a & b", "a &b", "&&x",
                              "tab\there", "W",        "  wide  spaces "};

struct TFlagRow {
    const char* Name;
    unsigned Flags;
};

const TFlagRow kFlags[] = {
    {"caption", DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS},
    {"no prefix", DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_NOPREFIX},
    {"ellipsis", DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_END_ELLIPSIS},
    {"ellipsis, no prefix", DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_END_ELLIPSIS | DT_NOPREFIX},
    {"centred", DT_SINGLELINE | DT_VCENTER | DT_CENTER},
};

std::vector<TColor> Pixels(const TPaintTarget& t) {
    std::vector<TColor> p;
    for (int y = 0; y < t.Height(); ++y)
        for (int x = 0; x < t.Width(); ++x) p.push_back(t.PixelAt(x, y));
    return p;
}

TEST(HtmlPieceText, DrawsWhatDrawTextDraws) {
    TPaintTarget expected(160, 40, clWhite), actual(160, 40, clWhite);
    int compared = 0;
    for (const TFontRow& f : kFonts) {
        LOGFONTA lf{};
        lf.lfHeight = f.Height;
        lf.lfWeight = f.Weight;
        lf.lfItalic = f.Italic;
        lf.lfUnderline = f.Underline;
        lf.lfStrikeOut = f.StrikeOut;
        lf.lfCharSet = f.Charset;
        std::strncpy(lf.lfFaceName, f.Face, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectA(&lf);
        ASSERT_NE(font, nullptr);
        for (const char* text : kTexts) {
            SIZE extent{};
            {
                HGDIOBJ old = SelectObject(expected.DC(), font);
                GetTextExtentPoint32A(expected.DC(), text, int(std::strlen(text)), &extent);
                SelectObject(expected.DC(), old);
            }
            // Roomy; exactly as wide as the text; cut through the text on
            // the right; lower than the text (clipped at the top); moved.
            const RECT rects[] = {{2, 2, 150, 36},
                                  {5, 3, 5 + extent.cx, 30},
                                  {4, 4, 4 + extent.cx / 2, 34},
                                  {3, 20, 140, 20 + extent.cy / 2},
                                  {-7, -3, 120, 25}};
            for (const TFlagRow& flags : kFlags)
                for (const RECT& rect : rects)
                    for (const int mode : {TRANSPARENT, OPAQUE}) {
                        for (TPaintTarget* t : {&expected, &actual}) {
                            t->Fill(clWhite);
                            SelectObject(t->DC(), font);
                            SetTextColor(t->DC(), RGB(0, 0, 0x80));
                            SetBkColor(t->DC(), RGB(0xFF, 0xFF, 0xC0));
                            SetBkMode(t->DC(), mode);
                        }
                        RECT r = rect;
                        DrawTextA(expected.DC(), text, int(std::strlen(text)), &r, flags.Flags);
                        const std::vector<TColor> drawText = Pixels(expected);
                        // Measuring the piece, and taking the font's height.
                        TEXTMETRICA metrics{};
                        GetTextMetricsA(actual.DC(), &metrics);
                        for (const int height : {0, int(metrics.tmHeight)}) {
                            actual.Fill(clWhite);
                            DrawHtmlPieceText(actual.DC(), text, rect, flags.Flags, height);
                            EXPECT_EQ(Pixels(actual), drawText)
                                << f.Face << " " << f.Height << ", \"" << text << "\", " << flags.Name << ", rect "
                                << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ", mode "
                                << mode << ", height " << height;
                            ++compared;
                        }
                    }
        }
        for (TPaintTarget* t : {&expected, &actual}) SelectObject(t->DC(), GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
    EXPECT_EQ(compared, 7 * 9 * 5 * 5 * 2 * 2);
}

// Drawn with the current position in use, as DrawText does (it moves it on).
TEST(HtmlPieceText, KeepsDrawTextsUseOfTheCurrentPosition) {
    TPaintTarget expected(160, 40, clWhite), actual(160, 40, clWhite);
    for (TPaintTarget* t : {&expected, &actual}) {
        SetTextAlign(t->DC(), TA_UPDATECP);
        MoveToEx(t->DC(), 30, 5, nullptr);
        SetBkMode(t->DC(), TRANSPARENT);
    }
    RECT r{2, 2, 150, 36};
    DrawTextA(expected.DC(), "layout", 6, &r, DT_SINGLELINE | DT_BOTTOM);
    DrawHtmlPieceText(actual.DC(), "layout", RECT{2, 2, 150, 36}, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(Pixels(actual), Pixels(expected));
    POINT a{}, e{};
    GetCurrentPositionEx(expected.DC(), &e);
    GetCurrentPositionEx(actual.DC(), &a);
    EXPECT_EQ(a.x, e.x);
}

}  // namespace

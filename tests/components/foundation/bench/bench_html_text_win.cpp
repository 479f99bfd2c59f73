// How long a typical caption takes to measure, paint and hit-test through
// DrawHtmlText, against DrawText of its plain text on the same device
// context (a 32-bit DIB at 96 pixels per inch, Tahoma 8 points), and where
// the time goes: the layout on the fixed-pitch measurer (no GDI at all),
// the text-extent calls and font changes it makes on the canvas. Run by
// hand under Wine:
//
//   scripts/wine-run.sh build/win64/tests/components/foundation/bench_html_text.exe [iterations [picture.bmp]]
//
// With a file name it also saves the painted caption there, to look at.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "classlib/ui/canvas_measurer.h"
#include "components/foundation/html_layout.h"
#include "components/foundation/html_text_win.h"

namespace {

// About 200 characters, fourteen tags, two anchors.
const char* const kCaption =
    "Rewrites <B>settings.ini</B> of the chosen <I>compiler</I> with the <FONT color=\"clNavy\">layout</FONT> "
    "and <U>colour scheme</U> you picked; see <A href=\"help\">the help</A> or <A href=\"log\">the last log</A> "
    "for <B>details</B>.";

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// Microseconds per run of work, the best of five rounds of iterations.
double Time(int iterations, const std::function<void()>& work) {
    for (int i = 0; i < iterations / 10 + 1; ++i) work();
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const double start = Now();
        for (int i = 0; i < iterations; ++i) work();
        const double each = (Now() - start) / iterations * 1e6;
        if (each < best) best = each;
    }
    return best;
}

// Counts what the layout asks of the canvas's measurer.
class TCountingMeasurer : public ITextMeasurer {
public:
    explicit TCountingMeasurer(ITextMeasurer& inner) : FInner(inner) {}
    void SetFont(const TMeasureFont& font) override {
        ++Fonts;
        if (std::find(Faces.begin(), Faces.end(), font) == Faces.end()) Faces.push_back(font);
        FInner.SetFont(font);
    }
    TTextExtent TextExtent(const String& text) override {
        ++Extents;
        return FInner.TextExtent(text);
    }
    TFontMeasures FontMeasures() override { return FInner.FontMeasures(); }
    int Fonts = 0, Extents = 0;
    std::vector<TMeasureFont> Faces;

private:
    ITextMeasurer& FInner;
};

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int width = 300, height = 100;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Font()->SetName("Tahoma");
        canvas.Font()->SetHeight(-11);
        canvas.Brush()->SetColor(clWhite);
        const TRect bounds = Rect(0, 0, width, height);

        String anchor, plain, focused;
        int measuredWidth = 0, measuredHeight = 0, links = 0, mouseLink = 0;
        TRect linkRect;
        auto html = [&](bool hitTest, bool measure) {
            DrawHtmlText(&canvas, kCaption, bounds, nullptr, 150, 20, -1, -1, 2, hitTest, measure, false, false, true,
                         false, true, 1.0, clBlue, clNone, clNone, clGray, anchor, plain, focused, measuredWidth,
                         measuredHeight, links, mouseLink, linkRect, nullptr, nullptr, 0);
        };
        html(false, true);
        const String text = plain;
        std::printf("caption: %d characters, plain text %d, %d anchors, %d x %d pixels\n", int(strlen(kCaption)),
                    int(text.size()), links, measuredWidth, measuredHeight);

        const HDC handle = canvas.Handle();
        const double drawTextMeasure = Time(iterations, [&] {
            RECT r{0, 0, width, height};
            DrawTextA(handle, text.data(), int(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        });
        const double drawTextPaint = Time(iterations, [&] {
            RECT r{0, 0, width, height};
            DrawTextA(handle, text.data(), int(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
        });
        const double measure = Time(iterations, [&] { html(false, true); });
        const double hitTest = Time(iterations, [&] { html(true, false); });
        const double paint = Time(iterations, [&] { html(false, false); });

        // Where the time goes.
        THtmlParams params;
        params.Text = kCaption;
        params.Bounds = bounds;
        params.MeasureOnly = true;
        params.StartFont = {MeasureFontOf(canvas.Font()), canvas.Font()->Color()};
        THtmlResult result;
        TFixedPitchMeasurer fixed;
        const double layoutOnly = Time(iterations, [&] { LayoutHtml(fixed, nullptr, nullptr, params, result); });
        TCanvasTextMeasurer canvasMeasurer(&canvas);
        TCountingMeasurer counting(canvasMeasurer);
        LayoutHtml(counting, nullptr, nullptr, params, result);
        const int extents = counting.Extents, fonts = counting.Fonts;
        const double extentCall = Time(iterations, [&] {
            SIZE size;
            GetTextExtentPoint32A(handle, "layout ", 7, &size);
        });
        // What a font of the caption costs the first time a call meets it.
        LOGFONTA bold{};
        GetObjectA(canvas.Font()->Handle(), sizeof bold, &bold);
        bold.lfWeight = FW_BOLD;
        const double fontMade = Time(iterations, [&] {
            HFONT font = CreateFontIndirectA(&bold);
            HGDIOBJ old = SelectObject(handle, font);
            SIZE size;
            GetTextExtentPoint32A(handle, "a", 1, &size);
            SelectObject(handle, old);
            DeleteObject(font);
        });
        const int faces = int(counting.Faces.size());
        // What switching between two fonts already made costs.
        HFONT boldFont = CreateFontIndirectA(&bold);
        HFONT normalFont = canvas.Font()->Handle();
        const double fontSwitch = Time(iterations,
                                       [&] {
                                           SelectObject(handle, boldFont);
                                           SIZE size;
                                           GetTextExtentPoint32A(handle, "a", 1, &size);
                                           SelectObject(handle, normalFont);
                                           GetTextExtentPoint32A(handle, "a", 1, &size);
                                       }) /
                                  2;
        DeleteObject(boldFont);
        std::printf("DrawText of the plain text: measure %.1f us, paint %.1f us\n", drawTextMeasure, drawTextPaint);
        std::printf("DrawHtmlText measure only:  %.1f us  (%.2fx DrawText's measure)\n", measure,
                    measure / drawTextMeasure);
        std::printf("DrawHtmlText hit-test:      %.1f us  (%.2fx)\n", hitTest, hitTest / drawTextMeasure);
        std::printf("DrawHtmlText paint:         %.1f us  (%.2fx DrawText's paint)\n", paint, paint / drawTextPaint);
        std::printf("measuring: %d text extents (%.2f us each), %d font changes (%.2f us each) among %d fonts "
                    "(%.2f us to make one), the layout without GDI %.1f us\n",
                    extents, extentCall, fonts, fontSwitch, faces, fontMade, layoutOnly);
        if (argc > 2) {
            canvas.Brush()->SetColor(clWhite);
            canvas.FillRect(bounds);
            html(false, false);
            const int size = width * height * 4;
            BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                                  DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
            if (FILE* out = std::fopen(argv[2], "wb")) {
                std::fwrite(&file, sizeof file, 1, out);
                std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
                std::fwrite(bits, 1, size_t(size), out);
                std::fclose(out);
            }
        }
        canvas.SetHandle(nullptr);
    }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}

// Lays arbitrary tagged text out on the fixed-pitch measurer: a measuring
// call, a hit-testing call at a point the input chooses and a painting call
// without a target, with pictures from every source. The first four bytes
// choose the width, the point and the switches; the rest is the text. A
// rotated font is never rotated again before it is turned back, every call
// turns it back, and measuring alone gives the height and the anchors the
// other calls give when every line fits in the bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "components/foundation/html_layout.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class TCheckingTarget : public IHtmlDrawTarget {
public:
    void DrawText(const String&, const TRect&, unsigned, TColor, TColor) override {}
    void FillRect(const TRect&, TColor) override {}
    void HorizontalLine(int, int, int, TColor) override {}
    void Polyline(const std::vector<TPoint>& points, TColor) override { Check(points.size() <= 40000); }
    void Bullet(const TRect&, bool, TColor) override {}
    void FocusRect(const TRect&) override {}
    void Gradient(TColor, TColor, bool, const TRect&, int) override {}
    void RotateFont(int) override {
        Check(!Rotated);
        Rotated = true;
    }
    void UnrotateFont() override {
        Check(Rotated);
        Rotated = false;
    }
    bool Rotated = false;
};

class TPictures : public IHtmlPictures {
public:
    int ImageCount() override { return 3; }
    TSize ImageSize() override { return {16, 16}; }
    void DrawImage(int index, int, int) override { Check(index >= 0 && index < 3); }
    TSize ShellIcon(const String&, bool large, bool, int, int) override {
        return large ? TSize{32, 32} : TSize{16, 16};
    }
    bool FindPicture(const String& source, bool, TSize& size) override {
        if (source.empty()) return false;
        size = {int(source.size()) * 3, 10 + int(source[0] & 7)};
        return true;
    }
    void DrawPicture(const String&, bool, int, int, int, int) override {}
    void DrawBackground(const String&, bool, THtmlBackground, const TRect&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    THtmlParams params;
    params.Bounds = Rect(3, 2, 3 + 8 + data[0], 0xFFFF);
    params.MouseX = data[1];
    params.MouseY = data[2] / 2;
    const std::uint8_t switches = data[3];
    params.WordWrap = (switches & 1) == 0;
    params.Selected = (switches & 2) != 0;
    params.HoverOnlyLinks = (switches & 4) != 0;
    params.BlinkVisible = (switches & 8) == 0;
    params.FocusLink = (switches >> 4 & 3) - 1;
    params.HoverLink = (switches >> 6) - 1;
    params.LineSpacing = switches & 3;
    params.ShadowOffset = 2;
    params.StartFont = {{"Tahoma", -11}, TColor(0x123456)};
    params.Text.assign(reinterpret_cast<const char*>(data) + 4, size - 4);

    TFixedPitchMeasurer measurer;
    TCheckingTarget target;
    TPictures pictures;

    params.MeasureOnly = true;
    THtmlResult measured;
    Check(!LayoutHtml(measurer, &target, &pictures, params, measured));
    Check(!target.Rotated);
    Check(measured.MouseLink == -1 && measured.MeasuredHeight > 0 && measured.MeasuredWidth >= 0);

    params.MeasureOnly = false;
    params.HitTestOnly = true;
    THtmlResult hit;
    hit.AnchorUnderMouse = "none";
    const bool found = LayoutHtml(measurer, &target, &pictures, params, hit);
    Check(!target.Rotated);
    Check(found == (hit.MouseLink >= 1));
    Check(found || (hit.AnchorUnderMouse == "none" && hit.MouseLink == -1));
    Check(hit.MouseLink <= hit.LinkCount);
    // Unless measuring, lines below the bounds are not laid out.
    const bool fits = Int64(params.Bounds.Top) + measured.MeasuredHeight + 16 <= params.Bounds.Bottom;
    Check(!fits || (hit.LinkCount == measured.LinkCount && hit.MeasuredHeight == measured.MeasuredHeight));

    params.HitTestOnly = false;
    THtmlResult painted;
    Check(!LayoutHtml(measurer, nullptr, &pictures, params, painted));
    Check(!fits || (painted.LinkCount == measured.LinkCount && painted.MeasuredHeight == measured.MeasuredHeight));
    return 0;
}

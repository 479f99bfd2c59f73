// Paint time of one glow button with a picture, in each of its looks (a
// repaint of the look it keeps, and a paint of a new look), against the
// standard button that stood in its place, painted the same way (PaintTo
// into a 32-bit DIB), and what a paint's GDI+ set-up costs on
// its own (the graphics object, the caption's font, the picture's stream
// and image), which every paint of a new look makes afresh.
//
//   bench_glow_paint.exe [paints]   (default 2000) medians of 7 rounds, in microseconds a paint
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "classlib/core/streams.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/stdctrls.h"
#include "components/controls/glow_button_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/gdiplus_win.h"
#include "imaging/png/png_imagelist_win.h"
#include "imaging/png/png_unit_win.h"
#include "tests/classlib/ui/support/bench_timing.h"
#include "tests/classlib/ui/support/paint_harness.h"

#include <objbase.h>

namespace {

// The expand button's "_down" arrow of the stored layout.
const char kArrowPngHex[] =
    "89504E470D0A1A0A0000000D49484452000000100000001008060000001FF3FF610000005D4944415478DA6374707060A004308E1A80"
    "61C07C204E20A067011027E273C17E20C6E5AC0340EC48C80B0250430CD0C42F40357F20260C0CA0860840F91FA09A2F9012880E5043"
    "18A09A0F101388E80016A00B7029187CE960081A0000C02C191178CDA2D40000000049454E44AE426082";

std::string FromHex(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] && p[1]; p += 2)
        bytes.push_back(char(std::strtol(std::string(p, 2).c_str(), nullptr, 16)));
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    ClasslibUiInitialize();
    FoundationInitialize();
    PngInitialize();
    RegisterGlowButtonClasses();
    auto* form = new TForm(Application);
    form->SetBounds(40, 40, 300, 200);
    auto* list = new TPngImageList(form);
    list->PngImages()->BeginUpdate();
    auto* item = dynamic_cast<TPngImageCollectionItem*>(list->PngImages()->Add());
    TMemoryStream png;
    const std::string bytes = FromHex(kArrowPngHex);
    png.Write(bytes.data(), int(bytes.size()));
    png.SetPosition(0);
    item->PngObject()->LoadFromStream(png);
    list->PngImages()->EndUpdate();

    auto* glow = new TLumGlowButton(form);
    glow->SetParent(form);
    glow->SetBounds(10, 10, 116, 25);
    glow->SetCaption("Open Layouts Folder");
    glow->SetImages(list);
    glow->SetImageIndex(0);
    auto* standard = new TButton(form);
    standard->SetParent(form);
    standard->SetBounds(10, 50, 116, 25);
    standard->SetCaption("Open Layouts Folder");
    standard->SetImages(list);
    standard->SetImageIndex(0);

    TPaintTarget target(116, 25);
    target.Paint(glow);
    target.Paint(standard);
    const double standardTime = MicrosecondsPer(paints, [&] { target.Paint(standard); });
    std::printf("one paint of a button with a picture, %d paints, median of 7 rounds (us)\n", paints);
    std::printf("standard button            %8.1f\n", standardTime);
    auto report = [&](const char* look) {
        const double t = MicrosecondsPer(paints, [&] { target.Paint(glow); });
        std::printf("glow button, %-14s %8.1f  %5.1fx\n", look, t, t / standardTime);
    };
    report("normal");
    glow->Perform(CM_MOUSEENTER, 0, LPARAM(glow));
    report("hot (fading)");
    glow->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    report("down");
    glow->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    glow->Perform(CM_MOUSELEAVE, 0, LPARAM(glow));
    glow->SetEnabled(false);
    report("disabled");
    glow->SetEnabled(true);
    // Where the normal paint's time goes: without the picture, then also
    // without the corners taken from the parent.
    glow->SetImageIndex(-1);
    report("no picture");
    glow->SetRounded(false);
    report("square, no pic");
    glow->SetRounded(true);
    glow->SetImageIndex(0);
    // A paint of a look the button has not kept (a new caption each time):
    // what each first paint of a look costs.
    {
        int n = 0;
        const double t = MicrosecondsPer(paints, [&] {
            glow->SetCaption(++n % 2 ? "Open Layouts Folder" : "Open Layouts Folder.");
            target.Paint(glow);
        });
        std::printf("glow button, %-14s %8.1f  %5.1fx\n", "new look", t, t / standardTime);
    }

    // What a paint sets up through GDI+ before it draws anything.
    HDC dc = target.DC();
    std::printf("GDI+ set-up of one paint (us)\n");
    std::printf("graphics object            %8.1f\n", MicrosecondsPer(paints, [&] { TGPGraphics g(dc); }));
    std::printf("font family, font, format  %8.1f\n", MicrosecondsPer(paints, [&] {
                    TGPFontFamily family(L"Tahoma");
                    TGPFont font(&family, 8);
                    TGPStringFormat format;
                }));
    std::printf("picture: stream and image  %8.1f\n", MicrosecondsPer(paints, [&] {
                    TMemoryStream out;
                    item->PngObject()->SaveToStream(out);
                    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(out.Size()));
                    std::memcpy(GlobalLock(memory), out.Memory(), std::size_t(out.Size()));
                    GlobalUnlock(memory);
                    IStream* stream = nullptr;
                    CreateStreamOnHGlobal(memory, TRUE, &stream);
                    { TGPBitmap image(stream); }
                    stream->Release();
                }));
    form->Free();
    FoundationFinalize();
    ClasslibUiFinalize();
    return 0;
}

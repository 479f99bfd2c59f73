// The window placement values of a "Settings.ini" of any content ("ShowCmd",
// "Flags", "PixelsPerInch", "MinMaxPos", "NormPos" and their screen-size
// forms), read into a stand-in form as the form placement does at start-up.
// Nothing may crash, and what is read writes back as values that read and
// write back as the same values.
#include <cstdint>
#include <cstdlib>

#include "../placement_stand_in_store.h"
#include "classlib/core/sysutils.h"
#include "storage/placement_values.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class TFuzzForm : public TZvPlacementTarget {
public:
    TZvWindowPlacement Placement{0, zvShowNormal, -1, -1, -8, -8, 100, 50, 400, 350};
    int FormPosition = zppDesigned;
    TZvPlacementState State = zpsNormal;
    TZvWindowPlacement GetPlacement() override { return Placement; }
    void SetPlacement(const TZvWindowPlacement& p) override { Placement = p; }
    bool IsVisible() override { return true; }
    int Left() override { return Placement.Left; }
    int Top() override { return Placement.Top; }
    int Width() override { return Placement.Right - Placement.Left; }
    int Height() override { return Placement.Bottom - Placement.Top; }
    int Position() override { return FormPosition; }
    void SetPositionAsDesigned(int position) override { FormPosition = position; }
    bool IsDesigning() override { return false; }
    bool IsMainForm() override { return true; }
    bool HasNoMainForm() override { return false; }
    bool IsApplicationMinimized() override { return false; }
    bool IsMDIForm() override { return false; }
    bool IsMDIChild() override { return false; }
    bool IsNormalStyle() override { return true; }
    // The window shows in the state it is given.
    void SetWindowState(TZvPlacementState state) override {
        State = state;
        Placement.ShowCmd = state == zpsMinimized   ? zvShowMinimized
                            : state == zpsMaximized ? zvShowMaximized
                                                    : zvShowNormal;
    }
    void StoreWindowState(TZvPlacementState state) override { SetWindowState(state); }
    void MinimizeApplication() override {}
    void Repaint() override {}
    int ScreenWidth() override { return 1280; }
    int ScreenHeight() override { return 1024; }
    int ScreenPixelsPerInch() override { return 96; }
};

const TPlacementOptions Options{fpState, fpSize, fpLocation};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 12) return 0;
    const String text(reinterpret_cast<const char*>(data), size);

    // The fields of one value: each writes back as the number it read.
    int fields[4];
    for (int n = 1; n <= 4; ++n) fields[n - 1] = PlacementField(text, n, -7);
    const String points = FormatPlacementPoints(fields[0], fields[1], fields[2], fields[3]);
    for (int n = 1; n <= 4; ++n) Check(PlacementField(points, n, 0) == fields[n - 1]);

    // "Name=value" lines under "frmMain\".
    TPlacementMapStore store;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == String::npos) end = text.size();
        const String line = text.substr(start, end - start);
        const size_t eq = line.find('=');
        if (eq != String::npos) store.Values[PlacementValuePath("frmMain\\", line.substr(0, eq))] = line.substr(eq + 1);
        start = end + 1;
    }
    TFuzzForm form;
    LoadWindowPlacement(form, store, "frmMain\\", Options);

    // What was read writes back as values that a fresh form reads and
    // writes back as the same values, in the same placement.
    TPlacementMapStore written;
    StoreWindowPlacement(form, written, "frmMain\\", Options);
    TFuzzForm again;
    LoadWindowPlacement(again, written, "frmMain\\", Options);
    TPlacementMapStore rewritten;
    StoreWindowPlacement(again, rewritten, "frmMain\\", Options);
    Check(rewritten.Values == written.Values);
    Check(again.Placement == form.Placement);
    return 0;
}

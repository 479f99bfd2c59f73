// The placement values and the rules that read them back.
#include "storage/placement_values.h"

#include <algorithm>
#include <limits>

#include "classlib/core/sysutils.h"
#include "storage/support/text_routines.h"

QL_DEFINE_ENUM(TPlacementOption, "fpState", "fpSize", "fpLocation", "fpActiveControl")

namespace {

bool ActiveControlOnly(TPlacementOptions options) { return options == TPlacementOptions{fpActiveControl}; }

bool SizeOrLocation(TPlacementOptions options) { return options.Contains(fpSize) || options.Contains(fpLocation); }

// The text of name under the current screen size when it exists, else the
// plain one (empty when neither exists).
String ReadScreenValue(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path, const String& name) {
    const String sized =
        PlacementValuePath(path, name + PlacementScreenSuffix(form.ScreenWidth(), form.ScreenHeight()));
    if (store.ValueStored(sized)) return store.ReadString(sized, String());
    return store.ReadString(PlacementValuePath(path, name), String());
}

void WriteScreenValue(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path, const String& name,
                      const String& value) {
    store.WriteString(PlacementValuePath(path, name + PlacementScreenSuffix(form.ScreenWidth(), form.ScreenHeight())),
                      value);
    store.WriteString(PlacementValuePath(path, name), value);
}

// The far edge of a side that starts at start and runs extent pixels. A
// hand-edited text can hold any two ints, whose sum or difference an int
// cannot hold: the edges are computed in 64 bits and held to the int range.
int PlacementEdge(Int64 start, Int64 extent) {
    return int(std::clamp<Int64>(start + extent, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Field n of text less start, the stored width or height; ownExtent when
// the field is missing or no number.
Int64 StoredExtent(const String& text, int n, int start, int ownExtent) {
    int edge = 0;
    if (!TryStrToInt(Trim(NthWord(n, text, ",")), edge)) return ownExtent;
    return Int64(edge) - start;
}

}  // namespace

String PlacementValuePath(const String& path, const String& name) {
    if (path.empty()) return name;
    if (path.back() == '\\') return path + name;
    return path + "\\" + name;
}

String PlacementScreenSuffix(int width, int height) { return Format("(%dx%d)", {width, height}); }

String FormatPlacementPoints(int a, int b, int c, int d) { return Format("%d,%d,%d,%d", {a, b, c, d}); }

int PlacementField(const String& text, int n, int defaultValue) {
    return StrToIntDef(Trim(NthWord(n, text, ",")), defaultValue);
}

TZvPlacementState PlacementShowCmdToState(int showCmd, TZvPlacementState fallback) {
    switch (showCmd) {
    case zvShowNormal:
    case zvShow:
    case zvRestore: return zpsNormal;
    case zvShowMinimized:
    case zvMinimize:
    case zvShowMinNoActive: return zpsMinimized;
    case zvShowMaximized: return zpsMaximized;
    default: return fallback;
    }
}

int AdjustPlacementPosition(int position, TPlacementOptions options) {
    const bool size = options.Contains(fpSize);
    const bool location = options.Contains(fpLocation);
    if (size && location) return zppDesigned;
    if (location) {
        if (position == zppDefault) return zppDefaultSizeOnly;
        return zppDesigned;
    }
    if (size && position == zppDefault) return zppDefaultPosOnly;
    return position;
}

void StoreWindowPlacement(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path,
                          TPlacementOptions options) {
    using namespace ZvPlacementNames;
    if (ActiveControlOnly(options)) return;
    TZvWindowPlacement placement = form.GetPlacement();
    if (form.IsMainForm() && form.IsApplicationMinimized()) placement.ShowCmd = zvShowMinimized;
    if (form.IsMDIChild() && PlacementShowCmdToState(placement.ShowCmd, zpsNormal) == zpsMinimized)
        placement.Flags |= zvPlacementSetMinPosition;
    if (options.Contains(fpState)) store.WriteInteger(PlacementValuePath(path, ShowCmd), placement.ShowCmd);
    if (!SizeOrLocation(options)) return;
    store.WriteInteger(PlacementValuePath(path, Flags), int(placement.Flags));
    store.WriteInteger(PlacementValuePath(path, PixelsPerInch), form.ScreenPixelsPerInch());
    WriteScreenValue(form, store, path, MinMaxPos,
                     FormatPlacementPoints(placement.MinX, placement.MinY, placement.MaxX, placement.MaxY));
    WriteScreenValue(form, store, path, NormPos,
                     FormatPlacementPoints(placement.Left, placement.Top, placement.Right, placement.Bottom));
}

void LoadWindowPlacement(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path,
                         TPlacementOptions options) {
    using namespace ZvPlacementNames;
    if (ActiveControlOnly(options)) return;
    TZvWindowPlacement placement = form.GetPlacement();
    if (!form.IsVisible()) placement.ShowCmd = zvShowHide;

    if (SizeOrLocation(options)) {
        const bool size = options.Contains(fpSize);
        const bool location = options.Contains(fpLocation);
        placement.Flags = unsigned(store.ReadInteger(PlacementValuePath(path, Flags), int(placement.Flags)));
        const String minMax = ReadScreenValue(form, store, path, MinMaxPos);
        if (!minMax.empty()) {
            if (location) {
                placement.MinX = PlacementField(minMax, 1, 0);
                placement.MinY = PlacementField(minMax, 2, 0);
            }
            if (size) {
                placement.MaxX = PlacementField(minMax, 3, 0);
                placement.MaxY = PlacementField(minMax, 4, 0);
            }
        }
        const String norm = ReadScreenValue(form, store, path, NormPos);
        if (!norm.empty()) {
            const int formLeft = form.Left(), formTop = form.Top();
            placement.Left = location ? PlacementField(norm, 1, formLeft) : formLeft;
            placement.Top = location ? PlacementField(norm, 2, formTop) : formTop;
            if (size) {
                // The stored width and height at the restored place. A
                // right or bottom edge that cannot be read keeps the form's
                // own width or height.
                const int storedLeft = PlacementField(norm, 1, formLeft);
                const int storedTop = PlacementField(norm, 2, formTop);
                placement.Right = PlacementEdge(placement.Left, StoredExtent(norm, 3, storedLeft, form.Width()));
                placement.Bottom = PlacementEdge(placement.Top, StoredExtent(norm, 4, storedTop, form.Height()));
            } else {
                placement.Right = PlacementEdge(placement.Left, form.Width());
                placement.Bottom = PlacementEdge(placement.Top, form.Height());
            }
        }
        if (!minMax.empty() || !norm.empty()) {
            const int ppi = store.ReadInteger(PlacementValuePath(path, PixelsPerInch), form.ScreenPixelsPerInch());
            if (ppi == form.ScreenPixelsPerInch() && placement.Left < placement.Right) {
                if (!form.IsDesigning()) {
                    const int position = AdjustPlacementPosition(form.Position(), options);
                    if (position != form.Position()) form.SetPositionAsDesigned(position);
                }
                form.SetPlacement(placement);
            }
        }
    }

    if (options.Contains(fpState)) {
        TZvPlacementState fallback = zpsNormal;
        if ((form.IsMainForm() || form.HasNoMainForm()) &&
            (form.IsMDIForm() || (form.IsNormalStyle() && form.Position() == zppDefault)))
            fallback = zpsMaximized;
        const TZvPlacementState state =
            PlacementShowCmdToState(store.ReadInteger(PlacementValuePath(path, ShowCmd), zvShowHide), fallback);
        if (state == zpsMinimized && form.IsMainForm()) {
            form.SetWindowState(zpsNormal);
            form.MinimizeApplication();
            return;
        }
        if (form.IsMDIForm() || form.IsMDIChild())
            form.StoreWindowState(state);
        else
            form.SetWindowState(state);
    }
    form.Repaint();
}

// Counting the GDI and GDI+ objects that the program's own code makes and
// frees, so that a test can assert that painting leaves none behind:
//
//   TObjectBalance balance;
//   for (int i = 0; i < 100; ++i) target.Paint(button);
//   EXPECT_EQ(balance.Leaked(okGdi), 0);
//
// Wine's GetGuiResources counts nothing, so the tally sits in front of the
// system instead: the test program's imports of the gdi32 functions that
// make objects (fonts, pens, brushes, bitmaps, regions, palettes, memory
// DCs), of DeleteObject and DeleteDC, and of user32's GetDC, GetWindowDC,
// GetDCEx and ReleaseDC are routed through it. The class library and the
// components are linked into the test program, so everything they make is
// counted, and nothing that Windows' own libraries make for themselves.
//
// GDI+ objects: the same for the program's imports of gdiplus.dll that
// make native objects (GdipCreateFromHDC, GdipCreatePen1, the brushes,
// paths, regions, font families, fonts, string formats, images, bitmaps and
// image attributes) and that free them (GdipDelete..., GdipDispose...).
// The GDI+ wrappers (components/foundation/gdiplus_win.h) call through
// those imports, so a component test sees every GDI+ object it made:
//
//   EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
//
// A program that does not import gdiplus.dll counts no GDI+ objects.
#pragma once

#include <map>
#include <vector>

#include "classlib/core/types.h"
#include "classlib/os/win.h"

enum TObjectKind { okGdi, okGdiPlus };

class TObjectTally {
public:
    // Routes the GDI functions named above through the tally (once; later
    // calls do nothing). Runs when the test program starts.
    static void CountGdiObjects();
    // A handle made: it counts as live until Freed. Null handles are not
    // counted.
    static void Created(TObjectKind kind, const void* handle);
    // A handle freed; one the tally did not see made is ignored (a stock
    // object, or one made before counting began).
    static void Freed(TObjectKind kind, const void* handle);
    // Objects made and not yet freed, and the running totals.
    static long Live(TObjectKind kind);
    static long CreatedCount(TObjectKind kind);
    static long FreedCount(TObjectKind kind);
    // The GDI object types (OBJ_FONT...) of the objects made and not yet
    // freed, one entry for each.
    static std::vector<DWORD> LiveTypes(TObjectKind kind);
};

// What a piece of work made and left behind: made before it, asked after.
class TObjectBalance {
public:
    TObjectBalance();
    // Objects made since the balance was made, and freed since.
    long Created(TObjectKind kind) const;
    long Freed(TObjectKind kind) const;
    // Objects alive now that were not alive then (negative: more freed).
    long Leaked(TObjectKind kind) const;
    // How the live GDI objects changed since then, by type ("brush: 10,
    // font: -1"; "none"): what a failed balance prints.
    String Describe() const;

private:
    static std::map<DWORD, long> TypeCounts();
    std::map<DWORD, long> FLiveTypes;
    long FLive[2];
    long FCreated[2];
    long FFreed[2];
};

// Routes the test program's import of dll!name to replacement and returns
// the function it called before (nullptr, and nothing changed, when the
// program does not import it).
void* HookImport(const char* dll, const char* name, void* replacement);

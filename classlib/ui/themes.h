// Drawing parts of the visual style (uxtheme.dll, bound at run time): a
// control asks whether visual styles are active, opens the theme of a
// window class for its window, draws parts into a DC and closes it again.
// Every drawing call answers whether it drew; without uxtheme.dll, with
// visual styles off or with the theme not open it draws nothing and answers
// false, so the caller falls back to its own drawing:
//
//   TThemeData theme(Handle(), "BUTTON");
//   if (!theme.DrawBackground(dc, BP_CHECKBOX, CBS_CHECKEDNORMAL, box))
//       DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
//
// Tests: TThemeServices over a library name that does not exist is the
// "uxtheme missing" case; SetThemeAppProperties(0) turns visual styles off
// for the program without touching the prefix's theme.
#pragma once

#include "classlib/os/win.h"
// After win.h, which it needs.
#include <uxtheme.h>

#include "classlib/core/types.h"
#include "classlib/ui/geometry.h"

// One binding of a visual-styles library: loaded once, freed with the
// object. The functions the class library draws with are looked up when it
// loads; anything else can be looked up by name through Function.
class TThemeServices {
public:
    explicit TThemeServices(const char* libraryName = "uxtheme.dll");
    ~TThemeServices();
    TThemeServices(const TThemeServices&) = delete;
    TThemeServices& operator=(const TThemeServices&) = delete;

    // The library, or nullptr when it could not be loaded.
    HMODULE Library() const { return FLibrary; }
    // A function of the library by name; nullptr when there is no library
    // or it has no such function.
    FARPROC Function(const char* name) const;
    // The library is there with every function the class library draws with.
    bool Available() const { return FAvailable; }
    // Visual styles are on for this program: the library is available,
    // IsThemeActive and IsAppThemed say so and the program lets controls be
    // themed (GetThemeAppProperties).
    bool Active() const;

private:
    friend class TThemeData;
    HMODULE FLibrary = nullptr;
    bool FAvailable = false;
    decltype(&::OpenThemeData) FOpenThemeData = nullptr;
    decltype(&::CloseThemeData) FCloseThemeData = nullptr;
    decltype(&::DrawThemeBackground) FDrawThemeBackground = nullptr;
    decltype(&::DrawThemeEdge) FDrawThemeEdge = nullptr;
    decltype(&::DrawThemeText) FDrawThemeText = nullptr;
    decltype(&::GetThemePartSize) FGetThemePartSize = nullptr;
    decltype(&::IsThemeActive) FIsThemeActive = nullptr;
    decltype(&::IsAppThemed) FIsAppThemed = nullptr;
    decltype(&::GetThemeAppProperties) FGetThemeAppProperties = nullptr;
};

// The program's binding of uxtheme.dll, made when first asked for.
TThemeServices& ThemeServices();
// Visual styles are on (ThemeServices().Active()).
bool ThemesActive();

// The open theme data of a window class for a window; closed by Close or by
// the destructor. Opens nothing when visual styles are off.
class TThemeData {
public:
    // classList: one class name or several separated by ";" ("BUTTON",
    // "COMBOBOX", "WINDOW").
    TThemeData(HWND window, const String& classList, TThemeServices& services = ThemeServices());
    ~TThemeData() { Close(); }
    TThemeData(const TThemeData&) = delete;
    TThemeData& operator=(const TThemeData&) = delete;

    bool IsOpen() const { return FTheme != nullptr; }
    HTHEME Handle() const { return FTheme; }
    void Close();

    // The part's background in rect (clipped to clip when given).
    bool DrawBackground(HDC dc, int part, int state, const TRect& rect, const TRect* clip = nullptr);
    // The part's edge (BDR_..., BF_... as DrawEdge takes them); contentRect,
    // when given, receives the area inside the edge.
    bool DrawEdge(HDC dc, int part, int state, const TRect& rect, UINT edge, UINT flags, TRect* contentRect = nullptr);
    // Text (8-bit, system code page) in the part's font and colour, with
    // DT_... flags.
    bool DrawText(HDC dc, int part, int state, const String& text, DWORD flags, const TRect& rect);
    // The part's size: TS_MIN, TS_TRUE or TS_DRAW (then within rect, when
    // given). dc may be nullptr (the screen's).
    bool PartSize(HDC dc, int part, int state, THEMESIZE kind, TSize& size, const TRect* rect = nullptr);

private:
    TThemeServices& FServices;
    HTHEME FTheme = nullptr;
};

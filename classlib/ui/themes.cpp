#include "classlib/ui/themes.h"

#include <string>
#include <type_traits>

#include "classlib/os/dll_functions.h"

namespace {

// The class library's strings are 8-bit in the system code page.
std::wstring Widen(const String& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

}  // namespace

TThemeServices::TThemeServices(const char* libraryName) {
    FLibrary = LoadLibraryA(libraryName);
    if (!FLibrary) return;
    auto bind = [this](auto& function, const char* name) {
        using F = std::remove_reference_t<decltype(function)>;
        function = DllFunctionCast<F>(Function(name));
        return function != nullptr;
    };
    bool all = true;
    all &= bind(FOpenThemeData, "OpenThemeData");
    all &= bind(FCloseThemeData, "CloseThemeData");
    all &= bind(FDrawThemeBackground, "DrawThemeBackground");
    all &= bind(FDrawThemeEdge, "DrawThemeEdge");
    all &= bind(FDrawThemeText, "DrawThemeText");
    all &= bind(FGetThemePartSize, "GetThemePartSize");
    all &= bind(FIsThemeActive, "IsThemeActive");
    all &= bind(FIsAppThemed, "IsAppThemed");
    all &= bind(FGetThemeAppProperties, "GetThemeAppProperties");
    FAvailable = all;
}

TThemeServices::~TThemeServices() {
    if (FLibrary) FreeLibrary(FLibrary);
}

FARPROC TThemeServices::Function(const char* name) const { return FLibrary ? GetProcAddress(FLibrary, name) : nullptr; }

bool TThemeServices::Active() const {
    return FAvailable && FIsThemeActive() && FIsAppThemed() && (FGetThemeAppProperties() & STAP_ALLOW_CONTROLS);
}

TThemeServices& ThemeServices() {
    // Never freed: theme data may still be closed by objects freed at exit.
    static TThemeServices* services = new TThemeServices;
    return *services;
}

bool ThemesActive() { return ThemeServices().Active(); }

// ---- TThemeData -----------------------------------------------------------------

TThemeData::TThemeData(HWND window, const String& classList, TThemeServices& services) : FServices(services) {
    if (FServices.Active()) FTheme = FServices.FOpenThemeData(window, Widen(classList).c_str());
}

void TThemeData::Close() {
    if (FTheme) FServices.FCloseThemeData(FTheme);
    FTheme = nullptr;
}

bool TThemeData::DrawBackground(HDC dc, int part, int state, const TRect& rect, const TRect* clip) {
    if (!FTheme) return false;
    RECT r = ToRECT(rect), c = clip ? ToRECT(*clip) : RECT{};
    return SUCCEEDED(FServices.FDrawThemeBackground(FTheme, dc, part, state, &r, clip ? &c : nullptr));
}

bool TThemeData::DrawEdge(HDC dc, int part, int state, const TRect& rect, UINT edge, UINT flags, TRect* contentRect) {
    if (!FTheme) return false;
    RECT r = ToRECT(rect), content{};
    if (FAILED(FServices.FDrawThemeEdge(FTheme, dc, part, state, &r, edge, flags, contentRect ? &content : nullptr)))
        return false;
    if (contentRect) *contentRect = {content.left, content.top, content.right, content.bottom};
    return true;
}

bool TThemeData::DrawText(HDC dc, int part, int state, const String& text, DWORD flags, const TRect& rect) {
    if (!FTheme) return false;
    RECT r = ToRECT(rect);
    std::wstring wide = Widen(text);
    return SUCCEEDED(FServices.FDrawThemeText(FTheme, dc, part, state, wide.c_str(), int(wide.size()), flags, 0, &r));
}

bool TThemeData::PartSize(HDC dc, int part, int state, THEMESIZE kind, TSize& size, const TRect* rect) {
    if (!FTheme) return false;
    RECT r = rect ? ToRECT(*rect) : RECT{};
    SIZE s{};
    if (FAILED(FServices.FGetThemePartSize(FTheme, dc, part, state, rect ? &r : nullptr, kind, &s))) return false;
    size = {int(s.cx), int(s.cy)};
    return true;
}

#include "components/foundation/visual_styles_win.h"

#include <cstdint>
#include <type_traits>
#include <vector>

#include "classlib/os/dll_functions.h"
#include "classlib/ui/graphics.h"
#include "components/foundation/system_version.h"

const char* const TVisualStylesBinding::FunctionNames[FunctionCount] = {
#define QM_UXTHEME_NAME(Name) #Name,
    QM_UXTHEME_FUNCTIONS(QM_UXTHEME_NAME)
#undef QM_UXTHEME_NAME
};

TVisualStylesBinding::TVisualStylesBinding(const char* libraryName) : FLibraryName(libraryName) {}

TVisualStylesBinding::~TVisualStylesBinding() { FreeThemeLibrary(); }

void TVisualStylesBinding::BindThemeLibrary(TLookup lookup) {
    if (FUseCount++ != 0 || FLoaded) return;
    HMODULE library = LoadLibraryA(FLibraryName.c_str());
    // Older systems answered failures with small numbers instead of null.
    if (reinterpret_cast<std::uintptr_t>(library) < 32) return;
    FLibrary = library;
    FLoaded = true;
    // A function the library lacks stays empty; the others are still bound.
    auto bind = [&](auto& function, const char* name) {
        using F = std::remove_reference_t<decltype(function)>;
        function = DllFunctionCast<F>(lookup(FLibrary, name));
    };
#define QM_UXTHEME_BIND(Name) bind(Name, #Name);
    QM_UXTHEME_FUNCTIONS(QM_UXTHEME_BIND)
#undef QM_UXTHEME_BIND
}

void TVisualStylesBinding::Release() {
    if (FUseCount == 0) return;
    if (--FUseCount == 0) FreeThemeLibrary();
}

void TVisualStylesBinding::FreeThemeLibrary() {
    if (!FLoaded) return;
    ::FreeLibrary(FLibrary);
    FLibrary = nullptr;
    FLoaded = false;
    Clear();
}

void TVisualStylesBinding::Clear() {
#define QM_UXTHEME_CLEAR(Name) Name = nullptr;
    QM_UXTHEME_FUNCTIONS(QM_UXTHEME_CLEAR)
#undef QM_UXTHEME_CLEAR
}

void* TVisualStylesBinding::Function(int index) const {
    int i = 0;
    void* found = nullptr;
#define QM_UXTHEME_FIND(Name)                                                                                          \
    if (i++ == index) found = reinterpret_cast<void*>(Name);
    QM_UXTHEME_FUNCTIONS(QM_UXTHEME_FIND)
#undef QM_UXTHEME_FIND
    return found;
}

TVisualStylesBinding& VisualStyles() {
    static TVisualStylesBinding binding;
    return binding;
}

bool IsVista() {
    HMODULE kernel = GetModuleHandleA("kernel32");
    return kernel && GetProcAddress(kernel, "GetLocaleInfoEx");
}

bool IsWinXP() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
    return IsWinXPVersion(info.dwMajorVersion, info.dwMinorVersion);
}

int GetDllVersion(const String& fileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return -1;
    std::vector<Byte> data(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, data.data())) return -1;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", &block, &length)) return -1;
    return DllVersionFromRootBlock(block, length);
}

void DrawDottedFocusRect(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Pen()->SetColor(color);
    LOGBRUSH brush{BS_SOLID, ColorToRGB(color), 0};
    HPEN dotted = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    HDC dc = canvas->Handle();
    HGDIOBJ previous = SelectObject(dc, dotted);
    MoveToEx(dc, rect.Left, rect.Top, nullptr);
    LineTo(dc, rect.Right, rect.Top);
    MoveToEx(dc, rect.Right, rect.Top, nullptr);
    LineTo(dc, rect.Right, rect.Bottom);
    MoveToEx(dc, rect.Right, rect.Bottom, nullptr);
    LineTo(dc, rect.Left, rect.Bottom);
    MoveToEx(dc, rect.Left, rect.Top, nullptr);
    LineTo(dc, rect.Left, rect.Bottom);
    SelectObject(dc, previous);
    DeleteObject(dotted);
}

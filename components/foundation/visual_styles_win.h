// What the running Windows offers the controls: the run-time binding of the
// visual-styles library (uxtheme.dll), the version tests IsVista, IsWinXP
// and GetDllVersion, and the dotted focus rectangle of the office check box
// and radio button.
//
// The binding. TVisualStylesBinding loads "UXTHEME.DLL" once and holds the
// address of each of its 46 functions below, or nullptr for one the library
// does not export (then only that one stays empty). Without the library
// (older Windows) every function is empty and Loaded() is false. The
// foundation's unit (foundation_unit_win.h) binds the program's copy,
// VisualStyles(), at start-up and frees it at the end; between the two the
// functions do not change. The controls ask it whether visual styles are
// active:
//
//   const TVisualStylesBinding& styles = VisualStyles();
//   bool themed = styles.IsThemeActive && styles.IsThemeActive();
//
// The class library's own theme drawing (classlib/ui/themes.h) keeps a
// binding of its own for the few functions it draws with; this one is the
// components' and binds them all, with the same types.
//
// Tests: a library name that does not exist is the "uxtheme missing" case;
// BindThemeLibrary takes the function that looks names up, so a test can leave one out.
#pragma once

#include "classlib/os/win.h"
// After win.h, which it needs.
#include <uxtheme.h>

#include "classlib/core/types.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"

class TCanvas;

// The functions of the binding, in the order they are looked up.
#define QM_UXTHEME_FUNCTIONS(X)                                                                                        \
    X(OpenThemeData)                                                                                                   \
    X(CloseThemeData)                                                                                                  \
    X(DrawThemeBackground)                                                                                             \
    X(DrawThemeText)                                                                                                   \
    X(GetThemeBackgroundContentRect)                                                                                   \
    X(GetThemeBackgroundExtent)                                                                                        \
    X(GetThemeTextExtent)                                                                                              \
    X(GetThemeTextMetrics)                                                                                             \
    X(GetThemeBackgroundRegion)                                                                                        \
    X(HitTestThemeBackground)                                                                                          \
    X(DrawThemeEdge)                                                                                                   \
    X(DrawThemeIcon)                                                                                                   \
    X(IsThemePartDefined)                                                                                              \
    X(IsThemeBackgroundPartiallyTransparent)                                                                           \
    X(GetThemeColor)                                                                                                   \
    X(GetThemeMetric)                                                                                                  \
    X(GetThemeString)                                                                                                  \
    X(GetThemeBool)                                                                                                    \
    X(GetThemeInt)                                                                                                     \
    X(GetThemeEnumValue)                                                                                               \
    X(GetThemePosition)                                                                                                \
    X(GetThemeFont)                                                                                                    \
    X(GetThemeRect)                                                                                                    \
    X(GetThemeMargins)                                                                                                 \
    X(GetThemeIntList)                                                                                                 \
    X(SetWindowTheme)                                                                                                  \
    X(GetThemeFilename)                                                                                                \
    X(GetThemeSysColor)                                                                                                \
    X(GetThemeSysColorBrush)                                                                                           \
    X(GetThemeSysBool)                                                                                                 \
    X(GetThemeSysSize)                                                                                                 \
    X(GetThemeSysFont)                                                                                                 \
    X(GetThemeSysString)                                                                                               \
    X(GetThemeSysInt)                                                                                                  \
    X(IsThemeActive)                                                                                                   \
    X(IsAppThemed)                                                                                                     \
    X(GetWindowTheme)                                                                                                  \
    X(EnableThemeDialogTexture)                                                                                        \
    X(IsThemeDialogTextureEnabled)                                                                                     \
    X(GetThemeAppProperties)                                                                                           \
    X(SetThemeAppProperties)                                                                                           \
    X(GetCurrentThemeName)                                                                                             \
    X(GetThemeDocumentationProperty)                                                                                   \
    X(GetThemePartSize)                                                                                                \
    X(DrawThemeParentBackground)                                                                                       \
    X(EnableTheming)

class TVisualStylesBinding {
public:
    static constexpr int FunctionCount = 46;
    // The library's names of the functions, in binding order.
    static const char* const FunctionNames[FunctionCount];

    // Looks a function up by name in a loaded library (GetProcAddress).
    using TLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);

    explicit TVisualStylesBinding(const char* libraryName = "UXTHEME.DLL");
    ~TVisualStylesBinding();
    TVisualStylesBinding(const TVisualStylesBinding&) = delete;
    TVisualStylesBinding& operator=(const TVisualStylesBinding&) = delete;

    // One use more (a unit's initialisation): the first loads the library,
    // when it is not loaded yet, and looks up every function with lookup.
    void BindThemeLibrary(TLookup lookup = &GetProcAddress);
    // One use less (a unit's finalisation): the last frees the library.
    // Without a use it does nothing.
    void Release();
    // Frees the library, when loaded, and empties every function.
    void FreeThemeLibrary();

    bool Loaded() const { return FLoaded; }
    HMODULE Library() const { return FLibrary; }
    int UseCount() const { return FUseCount; }
    // The function at index (binding order) as bound; nullptr when empty.
    void* Function(int index) const;

#define QM_UXTHEME_FIELD(Name) decltype(&::Name) Name = nullptr;
    QM_UXTHEME_FUNCTIONS(QM_UXTHEME_FIELD)
#undef QM_UXTHEME_FIELD

private:
    void Clear();
    String FLibraryName;
    HMODULE FLibrary = nullptr;
    bool FLoaded = false;
    int FUseCount = 0;
};

// The program's binding, bound by the foundation's unit.
TVisualStylesBinding& VisualStyles();

// Windows Vista or later: kernel32 exports GetLocaleInfoEx.
bool IsVista();
// Windows XP or later, from the version Windows reports (IsWinXPVersion).
bool IsWinXP();
// The file version of a module file, upper half (major in the high word,
// minor in the low word); -1 when the file has no version resource, its
// root block cannot be read or is not a fixed file information record.
// fileName: a path, or a module name that the system finds ("COMCTL32.DLL").
int GetDllVersion(const String& fileName);

// A one-pixel dotted rectangle in color along the four edges of rect (the
// right and bottom edges on rect.Right and rect.Bottom): the canvas's pen
// takes the colour, the dots are drawn with a pen of their own, freed
// before it returns.
void DrawDottedFocusRect(TCanvas* canvas, const TRect& rect, TColor color);

// Saving and restoring a form's window placement as settings values:
// "FormVersion" aside, the values "ShowCmd", "Flags", "PixelsPerInch",
// "MinMaxPos" and "NormPos" (the last two also under a name with the
// screen size, such as "NormPos(1280x1024)", so that each screen size keeps
// its own positions).
//
// The routines here know nothing of windows: they talk to the form, its
// application and the screen through TZvPlacementTarget, and to the
// settings through TZvPlacementStore. The form placement component gives
// them the real form and settings store; the tests give them stand-ins.
#pragma once

#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"

enum TPlacementOption { fpState, fpSize, fpLocation, fpActiveControl };
QL_DECLARE_ENUM(TPlacementOption);
using TPlacementOptions = TSet<TPlacementOption>;

// The value names.
namespace ZvPlacementNames {
inline constexpr const char* FormVersion = "FormVersion";
inline constexpr const char* ShowCmd = "ShowCmd";
inline constexpr const char* Flags = "Flags";
inline constexpr const char* PixelsPerInch = "PixelsPerInch";
inline constexpr const char* MinMaxPos = "MinMaxPos";
inline constexpr const char* NormPos = "NormPos";
inline constexpr const char* ActiveControl = "ActiveControl";
}  // namespace ZvPlacementNames

// The show states of a window placement (the platform's numbers).
enum : int {
    zvShowHide = 0,
    zvShowNormal = 1,
    zvShowMinimized = 2,
    zvShowMaximized = 3,
    zvShowNoActivate = 4,
    zvShow = 5,
    zvMinimize = 6,
    zvShowMinNoActive = 7,
    zvShowNA = 8,
    zvRestore = 9
};
// The placement flag added for a minimised MDI child.
inline constexpr unsigned zvPlacementSetMinPosition = 1;

// A form's window state, numbered as the class library's TWindowState.
enum TZvPlacementState { zpsNormal = 0, zpsMinimized = 1, zpsMaximized = 2 };
// The form positions the rules tell apart, numbered as the class
// library's TPosition; every other position is one of the others.
enum TZvPlacementPosition { zppDesigned = 0, zppDefault = 1, zppDefaultPosOnly = 2, zppDefaultSizeOnly = 3 };

// A window's placement: its show state, where it sits minimised and
// maximised, and its normal rectangle.
struct TZvWindowPlacement {
    unsigned Flags = 0;
    int ShowCmd = zvShowNormal;
    int MinX = 0, MinY = 0;
    int MaxX = 0, MaxY = 0;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TZvWindowPlacement&) const = default;
};

// What the placement routines need of a form, its application and the
// screen.
class TZvPlacementTarget {
public:
    virtual ~TZvPlacementTarget() = default;
    // The window's placement (the window is made if it does not exist).
    virtual TZvWindowPlacement GetPlacement() = 0;
    virtual void SetPlacement(const TZvWindowPlacement& placement) = 0;
    virtual bool IsVisible() = 0;
    virtual int Left() = 0;
    virtual int Top() = 0;
    virtual int Width() = 0;
    virtual int Height() = 0;
    // The form's position rule (a TZvPlacementPosition or another TPosition).
    virtual int Position() = 0;
    // Changes the position rule while the form counts as being designed, so
    // that the change itself moves nothing.
    virtual void SetPositionAsDesigned(int position) = 0;
    virtual bool IsDesigning() = 0;
    // The application's main form is this form, or there is none.
    virtual bool IsMainForm() = 0;
    virtual bool HasNoMainForm() = 0;
    virtual bool IsApplicationMinimized() = 0;
    virtual bool IsMDIForm() = 0;
    virtual bool IsMDIChild() = 0;
    // A normal form (neither MDI nor stay-on-top).
    virtual bool IsNormalStyle() = 0;
    virtual void SetWindowState(TZvPlacementState state) = 0;
    // Records the state without showing the window in it (the MDI forms'
    // way): the form takes it when it shows its window.
    virtual void StoreWindowState(TZvPlacementState state) = 0;
    // Posts the system command that minimises the application.
    virtual void MinimizeApplication() = 0;
    virtual void Repaint() = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual int ScreenPixelsPerInch() = 0;
};

// The settings the routines read and write, by path ("frmMain\NormPos").
class TZvPlacementStore {
public:
    virtual ~TZvPlacementStore() = default;
    virtual bool ValueStored(const String& path) = 0;
    virtual String ReadString(const String& path, const String& defaultValue) = 0;
    virtual int ReadInteger(const String& path, int defaultValue) = 0;
    virtual void WriteString(const String& path, const String& value) = 0;
    virtual void WriteInteger(const String& path, int value) = 0;
};

// path joined with a value name: "frmMain\" and "NormPos" give
// "frmMain\NormPos".
String PlacementValuePath(const String& path, const String& name);
// "(1280x1024)".
String PlacementScreenSuffix(int width, int height);
// "%d,%d,%d,%d".
String FormatPlacementPoints(int a, int b, int c, int d);
// Field n (from 1) of a comma-separated text as an integer; defaultValue
// when it is missing or no number.
int PlacementField(const String& text, int n, int defaultValue);
// The window state a stored show state gives: 1, 5 and 9 normal; 2, 6 and
// 7 minimised; 3 maximised; anything else the fallback.
TZvPlacementState PlacementShowCmdToState(int showCmd, TZvPlacementState fallback);
// The position rule that keeps a form from placing or sizing itself
// afresh over what the options restore.
int AdjustPlacementPosition(int position, TPlacementOptions options);

// Writes the placement values of form under path. Nothing when the
// options hold fpActiveControl alone.
void StoreWindowPlacement(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path,
                          TPlacementOptions options);
// Reads them back and applies them to form. Size and position are applied
// only when the stored pixels per inch are the screen's; the show state is
// applied in any case.
void LoadWindowPlacement(TZvPlacementTarget& form, TZvPlacementStore& store, const String& path,
                         TPlacementOptions options);

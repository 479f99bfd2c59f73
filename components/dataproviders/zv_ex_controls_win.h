// The extended control layer's shared parts: the interface that marks the
// extended control family, the message object that carries a record, the
// key flags of a shift state, the hint colour a control shows, and the test
// for messages a form designer takes.
#pragma once

#include "classlib/ui/controls.h"

// Implemented by every control of the extended family. It has only the
// reference-counting operations, which the component base answers (-1: a
// component is not counted); what it says is that the control is one of
// the family.
class IZvExControl : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{8E6579C3-D683-4562-AFAB-D23C8526E386}");

protected:
    ~IZvExControl() = default;
};

// A control class that implements this interface asks not to be
// subclassed: an extended control answers CM_ZVDENYSUBCLASSING with 1 for
// it, else 0.
inline constexpr TGUID kZvDenySubclassingIID = GUID("{76942BC0-2A6E-4DC4-BFC9-8E110DB7F601}");
inline constexpr UINT CM_ZVDENYSUBCLASSING = CM_BASE + 2000;

// One window message whose LParam points to a record (a THintInfo...),
// with result 0. The record lives as long as the message object, which
// lives for the one call it is made for.
class TStructPtrMessage {
public:
    TStructPtrMessage(UINT msg, WPARAM wParam, void* data) {
        Msg.Msg = msg;
        Msg.WParam = wParam;
        Msg.LParam = LPARAM(data);
    }
    TMessage Msg;
};

// The key-data flags of a shift state: Alt 0x20000000, Ctrl 0x10000000,
// Shift 0x08000000.
LPARAM ShiftToKeyFlags(TShiftState shift);

// Sets info's hint colour from color: clNone gives the application's hint
// colour, clDefault the colour control's parent leaves in a copy of info
// when sent CM_HINTSHOW (unchanged without a parent), any other colour
// itself.
void ResolveHintColor(THintInfo& info, TControl* control, TColor color);

// True when a form designer takes message for control, so the control
// must not handle it. Focus, cancel-mode, hit-test, keyboard and mouse
// messages are never the designer's; nor is any message of a control that
// is not being designed. The class library has no form designer, so a
// designed control's other messages are not taken either.
bool IsDesignerMessage(TControl* control, const TMessage& message);

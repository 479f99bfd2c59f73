#include "components/dataproviders/zv_ex_controls_win.h"

#include "classlib/ui/forms.h"

LPARAM ShiftToKeyFlags(TShiftState shift) {
    LPARAM flags = 0;
    if (shift.Contains(ssAlt)) flags |= 0x20000000;
    if (shift.Contains(ssCtrl)) flags |= 0x10000000;
    if (shift.Contains(ssShift)) flags |= 0x08000000;
    return flags;
}

void ResolveHintColor(THintInfo& info, TControl* control, TColor color) {
    if (color == clNone) {
        info.HintColor = Application->HintColor();
    } else if (color != clDefault) {
        info.HintColor = color;
    } else if (control && control->Parent()) {
        THintInfo copy = info;
        TStructPtrMessage message(CM_HINTSHOW, 0, &copy);
        control->Parent()->WindowProc(message.Msg);
        info.HintColor = copy.HintColor;
    }
}

bool IsDesignerMessage(TControl* control, const TMessage& message) {
    UINT msg = message.Msg;
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS || msg == WM_CANCELMODE || msg == WM_NCHITTEST) return false;
    if (msg >= WM_KEYFIRST && msg <= WM_KEYFIRST + 9) return false;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEFIRST + 10) return false;
    if (!control || !control->IsDesigning()) return false;
    // A designed control's form would be asked here; without a designer
    // in the class library there is nobody to take the message.
    return false;
}

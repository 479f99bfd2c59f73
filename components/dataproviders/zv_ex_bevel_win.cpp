#include "components/dataproviders/zv_ex_bevel_win.h"

#include "classlib/core/scopes.h"

TClass TZvExBevel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvExBevel>("TZvExBevel")
            .Implements<IZvExControl>()
            .Prop("HintColor", &TZvExBevel::FHintColor, &TZvExBevel::FHintColor)
            .Default(clDefault)
            .Prop(
                "AboutZVL", +[](const TZvExBevel*) { return String(); }, [](TZvExBevel*, const String&) {})
            .Stored(false)
            .Declare("OnParentColorChange", &TZvExBevel::OnParentColorChange, &TZvExBevel::OnParentColorChange)
            .Build();
    return &info;
}

TZvExBevel::TZvExBevel(TComponent* owner) : TBevel(owner) {}

LRESULT TZvExBevel::InheritedPerform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    InheritedWndProc(m);
    return m.Result;
}

void TZvExBevel::WndProc(TMessage& m) {
    if (IsDesignerMessage(this, m)) return;
    switch (m.Msg) {
    case CM_DIALOGCHAR:
        m.Result = QueryDialogChar(Word(m.WParam), KeyDataToShiftState(m.LParam), std::wstring(1, wchar_t(m.WParam)));
        return;
    case CM_FOCUSCHANGED: return NotifyFocusChange(reinterpret_cast<TWinControl*>(m.LParam));
    case CM_PARENTFONTCHANGED: return NotifyParentFontChange();
    case CM_PARENTCOLORCHANGED: return NotifyParentColorChange();
    case CM_HITTEST: m.Result = QueryHitTest(m.XPos(), m.YPos()); return;
    case CM_VISIBLECHANGED: return NotifyVisibleChange();
    case CM_ENABLEDCHANGED: return NotifyEnabledChange();
    case CM_COLORCHANGED: return NotifyColorChange();
    case CM_FONTCHANGED: return NotifyFontChange();
    case CM_TEXTCHANGED: return NotifyTextChange();
    case CM_MOUSEENTER: return NotifyMouseEnter(reinterpret_cast<TControl*>(m.LParam));
    case CM_MOUSELEAVE: return NotifyMouseLeave(reinterpret_cast<TControl*>(m.LParam));
    case CM_PARENTSHOWHINTCHANGED: return NotifyParentShowHintChange();
    case CM_HINTSHOW: m.Result = m.LParam ? PrepareHintShow(*reinterpret_cast<THintInfo*>(m.LParam)) : 0; return;
    case CM_ZVDENYSUBCLASSING: m.Result = ClassType()->Supports(kZvDenySubclassingIID) ? 1 : 0; return;
    default: return InheritedWndProc(m);
    }
}

bool TZvExBevel::QueryDialogChar(Word key, TShiftState shift, const std::wstring&) {
    return InheritedPerform(CM_DIALOGCHAR, key, ShiftToKeyFlags(shift)) != 0;
}

void TZvExBevel::NotifyFocusChange(TWinControl* control) { InheritedPerform(CM_FOCUSCHANGED, 0, LPARAM(control)); }

void TZvExBevel::NotifyParentFontChange() { InheritedPerform(CM_PARENTFONTCHANGED); }

void TZvExBevel::NotifyParentColorChange() {
    InheritedPerform(CM_PARENTCOLORCHANGED);
    OnParentColorChange(this);
}

bool TZvExBevel::QueryHitTest(int x, int y) {
    return InheritedPerform(CM_HITTEST, 0, MAKELPARAM(WORD(short(x)), WORD(short(y)))) != 0;
}

void TZvExBevel::NotifyVisibleChange() { InheritedPerform(CM_VISIBLECHANGED); }
void TZvExBevel::NotifyEnabledChange() { InheritedPerform(CM_ENABLEDCHANGED); }
void TZvExBevel::NotifyColorChange() { InheritedPerform(CM_COLORCHANGED); }
void TZvExBevel::NotifyFontChange() { InheritedPerform(CM_FONTCHANGED); }
void TZvExBevel::NotifyTextChange() { InheritedPerform(CM_TEXTCHANGED); }
void TZvExBevel::NotifyParentShowHintChange() { InheritedPerform(CM_PARENTSHOWHINTCHANGED); }

void TZvExBevel::PassOnWithoutMouseEvents(UINT msg, TControl* control) {
    TTempChange<TNotifyEvent> enter(OnMouseEnter, TNotifyEvent());
    TTempChange<TNotifyEvent> leave(OnMouseLeave, TNotifyEvent());
    InheritedPerform(msg, 0, LPARAM(control));
}

void TZvExBevel::NotifyMouseEnter(TControl* control) {
    FMouseOver = true;
    if (!control || control == this) OnMouseEnter(this);
    PassOnWithoutMouseEvents(CM_MOUSEENTER, control);
}

void TZvExBevel::NotifyMouseLeave(TControl* control) {
    FMouseOver = false;
    PassOnWithoutMouseEvents(CM_MOUSELEAVE, control);
    if (!control || control == this) OnMouseLeave(this);
}

bool TZvExBevel::PrepareHintShow(THintInfo& info) {
    ResolveHintColor(info, this, FHintColor);
    if (FHintWindowClass) info.HintWindowClass = FHintWindowClass;
    TStructPtrMessage message(CM_HINTSHOW, 0, &info);
    InheritedWndProc(message.Msg);
    return message.Msg.Result != 0;
}

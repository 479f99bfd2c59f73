// TZvExBevel: the class library's bevel with the extended message layer.
// Every control notification of the class library reaches an overridable
// operation; the control knows whether the mouse is over it, has a hint
// colour of its own and tells when its parent's colour changes.
#pragma once

#include <string>

#include "classlib/ui/extctrls.h"
#include "components/dataproviders/zv_ex_controls_win.h"

class TZvExBevel : public TBevel, public IZvExControl {
    QL_CLASS(TZvExBevel, TBevel)
public:
    explicit TZvExBevel(TComponent* owner);

    void WndProc(TMessage& message) override;

    // The hint's background: clDefault takes the parent's, clNone the
    // application's.
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor color) { FHintColor = color; }
    // The class of hint window this control's hints show in (a
    // THintWindow descendant); nullptr: the application's.
    TClass HintWindowClass() const { return FHintWindowClass; }
    void SetHintWindowClass(TClass cls) { FHintWindowClass = cls; }
    bool MouseOver() const { return FMouseOver; }
    void SetMouseOver(bool mouseOver) { FMouseOver = mouseOver; }

    // After the parent's colour changed (and the control followed it).
    TNotifyEvent OnParentColorChange;

protected:
    // What each message becomes. Each passes its message on to the
    // inherited window procedure unless it says otherwise.
    // CM_DIALOGCHAR: whether the control wants the character (the result).
    virtual bool QueryDialogChar(Word key, TShiftState shift, const std::wstring& character);
    virtual void NotifyFocusChange(TWinControl* control);
    virtual void NotifyParentFontChange();
    // Passes on, then fires OnParentColorChange.
    virtual void NotifyParentColorChange();
    // CM_HITTEST at the point in client coordinates: whether the point is
    // the control's.
    virtual bool QueryHitTest(int x, int y);
    virtual void NotifyVisibleChange();
    virtual void NotifyEnabledChange();
    virtual void NotifyColorChange();
    virtual void NotifyFontChange();
    virtual void NotifyTextChange();
    // MouseOver becomes true and OnMouseEnter fires before the message
    // goes on.
    virtual void NotifyMouseEnter(TControl* control);
    // MouseOver becomes false; the message goes on, then OnMouseLeave fires.
    virtual void NotifyMouseLeave(TControl* control);
    virtual void NotifyParentShowHintChange();
    // CM_HINTSHOW: sets the hint colour and window class in info, passes
    // the message on with info; true cancels the hint.
    virtual bool PrepareHintShow(THintInfo& info);

    // Sends a message to the inherited window procedure; its result.
    LRESULT InheritedPerform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    void InheritedWndProc(TMessage& message) { TBevel::WndProc(message); }

    TColor FHintColor = clDefault;
    TClass FHintWindowClass = nullptr;
    bool FMouseOver = false;

private:
    // The mouse enter and leave messages go on without TControl firing
    // the events a second time.
    void PassOnWithoutMouseEvents(UINT msg, TControl* control);
};

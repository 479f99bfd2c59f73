// The pager stylers. TCustomLumOfficePagerStyler owns the three looks a
// pager draws with (the tab appearance with the tab row's background, the
// page appearance, the appearance of the pager's own glow buttons), keeps
// the pagers attached to it and tells them of every change by a code:
//
//   1  TabAppearance changed          4  GlowButtonAppearance changed
//   2  PageAppearance changed, and    5  the tab font changed
//      once at the end of every
//      style change
//   3  CurvedCorners was set (changed or not)
//
// TLumOfficePagerOfficeStyler writes a whole colour preset into the three
// when its Style is set (by number through IStylePreset too), and with
// AutoThemeAdapt follows the Windows XP colour scheme through a hidden
// window that hears WM_THEMECHANGED:
//
//   styler->SetStyle(psOffice2007Luna);       // pagers hear 1, 2, 3, 4...
//   pager->SetLumOfficePagerStyler(styler);   // the pager attaches itself
//
// A pager takes part by implementing ILumOfficePagerStylerClient and
// attaching itself (AttachPager) while it uses the styler; it detaches when
// it is freed (an owner that frees its components tells none of the others).
#pragma once

#include "classlib/ui/controls.h"
#include "components/controls/glow_button_appearance.h"
#include "components/foundation/style_preset.h"
#include "components/pager/dbg_list.h"
#include "components/pager/pager_backgrounds.h"
#include "components/pager/tab_appearance_win.h"

class TCustomLumOfficePagerStyler;

// What a styler asks of the pagers attached to it.
class ILumOfficePagerStylerClient {
public:
    // The styler changed (kind: the codes above). The pager rebuilds its
    // buttons, re-lays out its tabs for some kinds and repaints.
    virtual void StylerChanged(int kind) = 0;
    // The styler is being destroyed while the pager is attached: the pager
    // drops every reference to it and, when it is the pager's
    // LumOfficePagerStyler, falls back to its internal styler (quietly when
    // the pager is itself being destroyed). Called once per attachment.
    virtual void StylerDestroying(TCustomLumOfficePagerStyler* styler) = 0;

protected:
    ~ILumOfficePagerStylerClient() = default;
};

class TCustomLumOfficePagerStyler : public TComponent {
    QL_CLASS(TCustomLumOfficePagerStyler, TComponent)
public:
    explicit TCustomLumOfficePagerStyler(TComponent* owner);
    // Tells every attached pager that the styler goes (StylerDestroying),
    // before the list and the appearances are freed. Detaching while that
    // runs does nothing, so the list stays as it was.
    ~TCustomLumOfficePagerStyler() override;

    // From another pager styler: the tab and page appearances (Assign),
    // then SetCurvedCorners with the source's value. The glow-button
    // appearance, BlendPercent and AutoThemeAdapt are not copied. Anything
    // else raises EConvertError.
    void Assign(TPersistent* source) override;

    // Appends pager (a component implementing ILumOfficePagerStylerClient)
    // to Pagers, listed twice when attached twice.
    void AttachPager(TComponent* pager);
    // Removes every entry of pager; nothing when it is not listed or while
    // the styler tells its pagers that it is being destroyed.
    void DetachPager(TComponent* pager);
    // Calls StylerChanged(kind) of every attached pager, once per entry.
    // Nothing while the styler is being destroyed.
    void NotifyPagers(int kind);

    const TDbgList<TComponent>& Pagers() const { return FPagers; }
    TTabAppearance* TabAppearance() const { return FTabAppearance; }
    void SetTabAppearance(TTabAppearance* value) { FTabAppearance->Assign(value); }
    TVistaBackground* PageAppearance() const { return FPageAppearance; }
    void SetPageAppearance(TVistaBackground* value) { FPageAppearance->Assign(value); }
    TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance; }
    void SetGlowButtonAppearance(TGlowButtonAppearance* value) { FGlowButtonAppearance->Assign(value); }
    // Pages draw curved corners and inset their border lines one more
    // pixel. Setting it always notifies (kind 3).
    bool CurvedCorners() const { return FCurvedCorners; }
    void SetCurvedCorners(bool value);
    // The share of white, in percent, in the colour of a page's inner
    // highlight lines (white blended with the page's border colour).
    int BlendPercent() const { return FBlendPercent; }
    void SetBlendPercent(int value) { FBlendPercent = value; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value) { FAutoThemeAdapt = value; }

protected:
    // A listed pager that leaves the form leaves the list.
    void Notification(TComponent* component, TOperation operation) override;

private:
    void TabChanged(TObject*) { NotifyPagers(1); }
    void PageChanged(TObject*) { NotifyPagers(2); }
    void GlowButtonChanged(TObject*) { NotifyPagers(4); }
    void TabFontChanged(TObject*) { NotifyPagers(5); }

    TDbgList<TComponent> FPagers;
    TTabAppearance* FTabAppearance;
    TVistaBackground* FPageAppearance;
    bool FCurvedCorners = true;
    bool FAutoThemeAdapt = false;
    TGlowButtonAppearance* FGlowButtonAppearance;
    int FBlendPercent = 50;
    // Set while the destructor tells the pagers.
    bool FReleasingPagers = false;
};

// A hidden window that reports the visual style changing: WM_THEMECHANGED
// calls OnThemeChange; every message, that one too, then goes on to the
// inherited window procedure.
class TNotifierWindow : public TWinControl {
    QL_CLASS(TNotifierWindow, TWinControl)
public:
    explicit TNotifierWindow(TComponent* owner);
    void WndProc(TMessage& message) override;
    TNotifyEvent OnThemeChange;
};

class TLumOfficePagerOfficeStyler : public TCustomLumOfficePagerStyler, public IStylePreset {
    QL_CLASS(TLumOfficePagerOfficeStyler, TCustomLumOfficePagerStyler)
public:
    // Makes the notifier window (parented to the first windowed control up
    // the owner chain, so that it hears theme changes) and writes the
    // psOffice2003Blue preset.
    explicit TLumOfficePagerOfficeStyler(TComponent* owner);

    // Then, unless designing, AdaptToTheme.
    void Loaded() override;

    TOfficePagerStyle Style() const { return FStyle; }
    // Nothing for the current style. Else stores it, sets BlendPercent to
    // 50, writes the style's preset through the properties' writers (each
    // value that changes notifies its kind) and last notifies kind 2, also
    // for psCustom and numbers without a preset, which write nothing.
    void SetStyle(TOfficePagerStyle value);
    // IStylePreset: SetStyle with the number.
    void ApplyStylePreset(int style) override { SetStyle(TOfficePagerStyle(style)); }

    // With AutoThemeAdapt: the style of the Windows XP colour scheme in use
    // (blue, olive, silver; psWindowsXP for any other or no visual style).
    // Also the notifier window's OnThemeChange.
    void AdaptToTheme(TObject* sender = nullptr);

    TNotifierWindow* NotifierWindow() const { return FNotifierWindow; }

private:
    TNotifierWindow* FNotifierWindow;
    TOfficePagerStyle FStyle = psOffice2003Blue;
};

// The Windows XP colour scheme in use: 1 "NormalColor", 2 "HomeStead",
// 3 "Metallic", 0 for anything else, no active visual style, no
// uxtheme.dll or a Windows before XP.
int GetXPThemeScheme();

// One page of the office pager (TLumOfficePager, lum_office_pager_win.h):
// a container for the page's controls that carries what the pager draws on
// its tab (caption, picture, check box, close glyph, tab appearance) and
// paints the page's own background and border.
#pragma once

#include "classlib/ui/controls.h"
#include "components/controls/glow_button_win.h"
#include "components/foundation/gdip_picture_win.h"
#include "components/foundation/lum_hint_info_win.h"
#include "components/foundation/paint_cache_win.h"
#include "components/pager/pager_backgrounds.h"
#include "components/pager/pager_page_core.h"
#include "components/pager/pager_tab_glow.h"
#include "components/pager/tab_appearance_win.h"

class TLumOfficePager;

// One page of an office pager: a container for the page's controls that
// carries what the pager draws on its tab.
class TLumOfficePage : public TCustomControl, public IPagerPageState, public ITabGlowHost {
    QL_CLASS(TLumOfficePage, TCustomControl)
public:
    explicit TLumOfficePage(TComponent* owner);
    ~TLumOfficePage() override;

    TLumOfficePager* Pager() const { return FPager; }
    void SetPager(TLumOfficePager* pager);

    // ---- Properties ----
    const String& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const String& value);
    // Caption, or WideCaption when Caption is empty.
    String TabCaption() const;
    TGDIPPicture* Picture() const { return FPicture; }
    void SetPicture(TGDIPPicture* value);
    TGDIPPicture* DisabledPicture() const { return FDisabledPicture; }
    void SetDisabledPicture(TGDIPPicture* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TVistaBackground* PageAppearance() const { return FPageAppearance; }
    void SetPageAppearance(TVistaBackground* value) { FPageAppearance->Assign(value); }
    bool UsePageAppearance() const { return FUsePageAppearance; }
    void SetUsePageAppearance(bool value);
    TTabAppearance* TabAppearance() const { return FTabAppearance; }
    void SetTabAppearance(TTabAppearance* value) { FTabAppearance->Assign(value); }
    bool UseTabAppearance() const { return FUseTabAppearance; }
    void SetUseTabAppearance(bool value);
    const String& TabHint() const { return FTabHint; }
    void SetTabHint(const String& value) { FTabHint = value; }
    bool TabVisible() const override { return FTabVisible; }
    void SetTabVisible(bool value);
    bool TabEnabled() const override { return FTabEnabled; }
    void SetTabEnabled(bool value);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool value);
    TLumHintInfo* OfficeHint() const { return FOfficeHint; }
    void SetOfficeHint(TLumHintInfo* value) { FOfficeHint->Assign(value); }
    int PageIndex() const;
    void SetPageIndex(int value);
    const String& ShortCutHint() const { return FShortCutHint; }
    void SetShortCutHint(const String& value) { FShortCutHint = value; }
    TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
    void SetShortCutHintPos(TShortCutHintPos value) { FShortCutHintPos = value; }
    bool ShowCheckBox() const { return FShowCheckBox; }
    void SetShowCheckBox(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TNotifyEvent OnHide;
    TNotifyEvent OnShow;

    // ---- Run-time state the pager keeps here ----
    TLumGlowButton* CloseButton() const { return FCloseButton; }
    void SetCloseButton(TLumGlowButton* button) { FCloseButton = button; }
    TTabGlow& Glow() { return FGlow; }
    const TTabGlow& Glow() const { return FGlow; }
    TShortCutHintWindow* KeyTipWindow() const { return FKeyTipWindow; }
    void ShowKeyTip();
    void HideKeyTip();
    // Focuses the page's first control in tab order.
    void SelectFirst();

    void SetParent(TWinControl* parent) override;
    void ReadState(TReader* reader) override;
    void AdjustClientRect(TRect& rect) override;
    void WndProc(TMessage& message) override;

    // ITabGlowHost: the hover glow's steps.
    void RepaintTabs() override;
    bool CursorOnTab() override;
    void ClearHotTab() override;
    bool HasPager() override { return FPager != nullptr; }

    // How often the page's two-part gradient background was rendered: it is
    // kept in a picture and rendered again only when the page's size or
    // appearance changes, not for each see-through child that paints the
    // page behind itself.
    int BackgroundRenders() const { return FBackground.Paints(); }

protected:
    void Paint() override;

private:
    friend class TLumOfficePager;
    // The background (the erase colour and the two-part gradient with its
    // border) from the picture, rendered again when its key changed.
    void PaintBackground(TVistaBackground* appearance, bool curved);
    void PictureChanged(TObject* sender);
    void TabAppearanceChanged(TObject* sender);
    void TabAppearanceFontChanged(TObject* sender);
    void PageAppearanceChanged(TObject* sender) { Invalidate(); }
    // The pager rebuilds its buttons when it shows close glyphs on tabs and
    // this is its active page.
    void RebuildIfActiveWithCloseOnTab();
    void InvalidatePager();

    TLumOfficePager* FPager = nullptr;
    String FWideCaption;
    TGDIPPicture* FPicture;
    TGDIPPicture* FDisabledPicture;
    int FImageIndex = -1;
    TVistaBackground* FPageAppearance;
    bool FUsePageAppearance = false;
    TTabAppearance* FTabAppearance;
    bool FUseTabAppearance = false;
    String FTabHint;
    bool FTabVisible = true;
    bool FTabEnabled = true;
    bool FShowClose = true;
    TLumHintInfo* FOfficeHint;
    String FShortCutHint;
    TShortCutHintPos FShortCutHintPos = shpTop;
    bool FShowCheckBox = false;
    bool FChecked = false;
    TLumGlowButton* FCloseButton = nullptr;
    TShortCutHintWindow* FKeyTipWindow = nullptr;
    TTabGlow FGlow{*this};
    bool FMovingPager = false;  // guards SetPager against re-entry from SetParent
    TPaintCache FBackground;
};

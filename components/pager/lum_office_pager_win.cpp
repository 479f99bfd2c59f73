#include "components/pager/lum_office_pager_win.h"

#include <shlwapi.h>

#include <algorithm>

#include "classlib/core/exceptions.h"
#include "classlib/core/filer.h"
#include "classlib/os/dll_functions.h"
#include "classlib/ui/forms.h"
#include "components/foundation/version_text.h"
#include "components/pager/pager_settings_unit_win.h"

namespace {

// The version of the component: 1.8.2.12.
constexpr LongWord kPagerVersion = (1u << 24) | (8u << 16) | (2u << 8) | 12u;

// The major version of the common controls the process has loaded (6 where
// a manifest asks for the themed ones), 0 when it cannot be told.
int CommonControlsMajorVersion() {
    HMODULE module = GetModuleHandleA("comctl32.dll");
    if (!module) module = LoadLibraryA("comctl32.dll");
    if (!module) return 0;
    using TGetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    auto get = GetDllFunction<TGetVersion>(module, "DllGetVersion");
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!get || FAILED(get(&info))) return 0;
    return int(info.dwMajorVersion);
}

}  // namespace

UINT TLumOfficePager::DestroyCloseButtonMessage() { return ::DestroyCloseButtonMessage(); }

TClass TLumOfficePager::StaticClass() {
    using C = TLumOfficePager;
    static const TClassInfo info =
        TClassBuilder<C>("TLumOfficePager")
            .Publish({"Align",      "Anchors",     "DockSite",    "ShowHint",  "TabOrder", "Visible",   "OnDragDrop",
                      "OnDragOver", "OnEndDrag",   "OnStartDrag", "OnEnter",   "OnExit",   "OnKeyDown", "OnKeyUp",
                      "OnKeyPress", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "PopupMenu", "OnDockDrop",
                      "OnDockOver", "OnEndDock",   "OnStartDock", "OnUnDock"})
            .Prop("TabStop", &C::FTabStop, &C::SetTabStop)
            .Default(false)
            .Prop("LumOfficePagerStyler", &C::LumOfficePagerStyler, &C::SetLumOfficePagerStyler)
            .Prop("ActivePage", &C::ActivePage, &C::SetActivePage)
            .Prop("AntiAlias", &C::AntiAlias, &C::SetAntiAlias)
            .Default(aaClearType)
            .Prop("ButtonSettings", &C::ButtonSettings, &C::SetButtonSettings)
            .Prop("CloseOnTab", &C::CloseOnTab, &C::SetCloseOnTab)
            .Default(false)
            .Prop("CloseOnTabPosition", &C::CloseOnTabPosition, &C::SetCloseOnTabPosition)
            .Default(LumPager::cpRight)
            .Prop("DisabledImages", &C::DisabledImages, &C::SetDisabledImages)
            .Prop("FreeOnClose", &C::FreeOnClose, &C::SetFreeOnClose)
            .Default(false)
            .Prop("Glow", &C::Glow, &C::SetGlow)
            .Default(true)
            .Prop("Images", &C::Images, &C::SetImages)
            .Prop("OfficeHint", &C::OfficeHint, &C::SetOfficeHint)
            .Prop("PageMargin", &C::PageMargin, &C::SetPageMargin)
            .Default(1)
            .Prop("PageListMenu", &C::PageListMenu, &C::SetPageListMenu)
            .Prop("RotateTabLeftRight", &C::RotateTabLeftRight, &C::SetRotateTabLeftRight)
            .Default(true)
            .Prop("ShowCloseOnNonSelectedTabs", &C::ShowCloseOnNonSelectedTabs, &C::SetShowCloseOnNonSelectedTabs)
            .Default(false)
            .Prop("ShowNonSelectedTabs", &C::ShowNonSelectedTabs, &C::SetShowNonSelectedTabs)
            .Default(false)
            .Prop("ShowTabHint", &C::ShowTabHint, &C::SetShowTabHint)
            .Default(false)
            .Prop("ShowShortCutHints", &C::ShowShortCutHints, &C::SetShowShortCutHints)
            .Prop("TabPosition", &C::TabPosition, &C::SetTabPosition)
            .Default(tpTop)
            .Prop("TabReorder", &C::TabReorder, &C::SetTabReorder)
            .Prop("TabSettings", &C::TabSettings, &C::SetTabSettings)
            .Prop("Transparent", &C::Transparent, &C::SetTransparent)
            .Default(false)
            .Prop("Version", &C::Version, [](C*, const String&) {})
            .Stored(false)
            .Prop("OnChanging", &C::OnChanging, &C::OnChanging)
            .Prop("OnChange", &C::OnChange, &C::OnChange)
            .Prop("OnClosePage", &C::OnClosePage, &C::OnClosePage)
            .Prop("OnClosedPage", &C::OnClosedPage, &C::OnClosedPage)
            .Prop("OnTabMoved", &C::OnTabMoved, &C::OnTabMoved)
            .Prop("OnTabClick", &C::OnTabClick, &C::OnTabClick)
            .Prop("OnTabRightClick", &C::OnTabRightClick, &C::OnTabRightClick)
            .Prop("OnTabDblClick", &C::OnTabDblClick, &C::OnTabDblClick)
            .Prop("OnTabCheckBoxClick", &C::OnTabCheckBoxClick, &C::OnTabCheckBoxClick)
            .Prop("OnDrawTab", &C::OnDrawTab, &C::OnDrawTab)
            .Prop("OnPageListClick", &C::OnPageListClick, &C::OnPageListClick)
            .Prop("OnPrevClick", &C::OnPrevClick, &C::OnPrevClick)
            .Prop("OnNextClick", &C::OnNextClick, &C::OnNextClick)
            .Prop("OnFirstClick", &C::OnFirstClick, &C::OnFirstClick)
            .Prop("OnLastClick", &C::OnLastClick, &C::OnLastClick)
            .Build();
    return &info;
}

TLumOfficePager::TLumOfficePager(TComponent* owner) : TCustomControl(owner) {
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Exclude(csOpaque);
    FInternalStyler = new TCustomLumOfficePagerStyler(this);
    FInternalStyler->SetName("InternalStyler");
    FCurrentStyler = FInternalStyler;
    FInternalStyler->AttachPager(this);
    FTabScroller = new TPagerTabScroller;
    FTabSettings = new TPagerTabSettings;
    FTabSettings->OnChange = TNotifyEvent::Bind<&TLumOfficePager::TabSettingsChanged>(this);
    FButtonSettings = new TPageButtonSettings;
    FButtonSettings->OnChange = TNotifyEvent::Bind<&TLumOfficePager::ButtonSettingsChanged>(this);
    FComCtl6 = CommonControlsMajorVersion() >= 6;
    SetDoubleBuffered(true);
    FHeight = 200;
    FWidth = 400;
    FHintInfo = new TLumHintInfo;
    FButtonAreaBitmap = new TBitmap;
    FMeasurer = MakeTabCaptionMeasurer(*this);
    FLayout = std::make_unique<TPagerTabLayout>(FLayoutIn, *FMeasurer);
    {
        TLumOfficePagerOfficeStyler preset(nullptr);
        preset.SetStyle(psOffice2007Luna);
        FInternalStyler->Assign(&preset);
    }
    FGlow = true;
}

TLumOfficePager::~TLumOfficePager() {
    FCore.SetDestroying(true);
    UnhookForm();
    if (FLumOfficePagerStyler && FLumOfficePagerStyler != FInternalStyler) FLumOfficePagerStyler->DetachPager(this);
    FInternalStyler->DetachPager(this);
    delete FInternalStyler;
    FInternalStyler = FCurrentStyler = nullptr;
    for (int i = 0; i < FCore.PageCount(); ++i) {
        TLumOfficePage* page = AsPage(FCore.Page(i));
        page->FPager = nullptr;
        page->FGlow.Stop();
    }
    FCore.Clear();
    delete FTabSettings;
    delete FTabScroller;
    delete FHintInfo;
    delete FButtonSettings;
    delete FPageListButton;
    delete FFirstButton;
    delete FPrevButton;
    delete FNextButton;
    delete FLastButton;
    delete FSharedCloseButton;
    // Close buttons handed to the window and not yet freed by it.
    for (TLumGlowButton* button : FPendingCloseButtons.TakeAll()) delete button;
    for (TShortCutHintWindow* window : FShortCutHintWindows) delete window;
    FShortCutHintWindows.clear();
    delete FButtonAreaBitmap;
}

String TLumOfficePager::Version() const { return PackedVersionText(kPagerVersion); }

TLumOfficePage* TLumOfficePager::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EListError("Index out of bounds in list read access");
    return AsPage(FCore.Page(index));
}

TLumOfficePage* TLumOfficePager::ActivePage() const { return AsPage(FCore.ActivePage()); }

int TLumOfficePager::AddPage(TLumOfficePage* page) { return FCore.AddPage(page); }

// ---- The layout -------------------------------------------------------------------

TTabAppearance* TLumOfficePager::TabAppearanceOf(int index) const {
    TLumOfficePage* page = index >= 0 && index < PageCount() ? AsPage(FCore.Page(index)) : nullptr;
    if (page && page->UseTabAppearance()) return page->TabAppearance();
    return FCurrentStyler ? FCurrentStyler->TabAppearance() : nullptr;
}

TTabPicture TLumOfficePager::TabPictureOf(int index) const {
    TTabPicture chosen;
    if (index < 0 || index >= PageCount()) return chosen;
    TLumOfficePage* page = AsPage(FCore.Page(index));
    TGDIPPicture* picture = page->Picture();
    if (!page->Enabled() && !page->DisabledPicture()->Empty()) picture = page->DisabledPicture();
    if (!picture->Empty()) {
        chosen.Picture = picture;
        chosen.Size = {picture->Width(), picture->Height()};
    } else if (page->ImageIndex() >= 0 && (FImages || FDisabledImages)) {
        chosen.List = page->Enabled() || !FDisabledImages ? FImages : FDisabledImages;
        if (chosen.List) chosen.Size = {chosen.List->Width(), chosen.List->Height()};
    }
    return chosen;
}

TPagerTabLayout& TLumOfficePager::Layout() {
    TPagerLayoutInput& in = FLayoutIn;
    in.Client = ClientRect();
    in.TabPosition = FTabPosition;
    in.LeftMargin = FTabSettings->LeftMargin();
    in.RightMargin = FTabSettings->RightMargin();
    in.StartMargin = FTabSettings->StartMargin();
    in.Height = FTabSettings->Height();
    in.Spacing = FTabSettings->Spacing();
    in.Width = FTabSettings->Width();
    in.EndMargin = FTabSettings->EndMargin();
    in.WordWrap = FTabSettings->WordWrap();
    in.ImagePosition = LumPager::TPicturePlace(int(FTabSettings->ImagePosition()));
    in.Shape = LumPager::TTabShape(int(FTabSettings->Shape()));
    in.Rounding = FTabSettings->Rounding();
    in.Alignment = LumPager::TTabAlignment(int(FTabSettings->Alignment()));
    in.PageMargin = FPageMargin;
    in.RotateTabLeftRight = FRotateTabLeftRight;
    in.CloseOnTab = FCloseOnTab;
    in.CloseOnTabPosition = FCloseOnTabPosition;
    in.ShowCloseOnNonSelectedTabs = FShowCloseOnNonSelectedTabs;
    in.AntiAlias = FAntiAlias;
    in.ActivePageIndex = ActivePageIndex();
    in.CloseButton = FButtonSettings->CloseButton();
    in.PageListButton = FButtonSettings->PageListButton();
    in.FirstButton = FButtonSettings->FirstButton();
    in.LastButton = FButtonSettings->LastButton();
    in.ScrollButtonsAlways = FButtonSettings->ScrollButtonsAlways();
    in.Scroller.Min = FTabScroller->Min();
    in.Scroller.Max = FTabScroller->Max();
    in.Scroller.Position = FTabScroller->Position();
    in.Scroller.Visible = FTabScroller->Visible();
    in.Pages.resize(size_t(PageCount()));
    for (int i = 0; i < PageCount(); ++i) {
        TLumOfficePage* page = AsPage(FCore.Page(i));
        TPagerLayoutPage& p = in.Pages[size_t(i)];
        p.Caption = page->TabCaption();
        TTabAppearance* appearance = TabAppearanceOf(i);
        p.Font = appearance ? MeasureFontOf(appearance->Font()) : MeasureFontOf(Font());
        p.TabVisible = page->TabVisible();
        p.TabEnabled = page->TabEnabled();
        p.Enabled = page->Enabled();
        p.ShowClose = page->ShowClose();
        p.ShowCheckBox = page->ShowCheckBox();
        p.Picture = TabPictureOf(i).Size;
    }
    return *FLayout;
}

const TPagerLayoutInput& TLumOfficePager::LayoutInput() {
    Layout();
    return FLayoutIn;
}

void TLumOfficePager::StoreScroller() {
    FTabScroller->SetMin(FLayoutIn.Scroller.Min);
    FTabScroller->SetMax(FLayoutIn.Scroller.Max);
    FTabScroller->SetMin(FLayoutIn.Scroller.Min);
    FTabScroller->SetPosition(FLayoutIn.Scroller.Position);
    FTabScroller->SetVisible(FLayoutIn.Scroller.Visible);
}

TRect TLumOfficePager::GetTabRect(int index) { return Layout().TabRect(index); }
int TLumOfficePager::TabAtPoint(int x, int y) { return Layout().TabAtPoint({x, y}); }
TRect TLumOfficePager::GetTabAreaRect() { return Layout().TabAreaRect(); }
TRect TLumOfficePager::GetTabsRect() { return Layout().TabsRect(); }
TRect TLumOfficePager::GetPageRect() { return Layout().PageRect(); }
TRect TLumOfficePager::GetButtonAreaRect() { return Layout().ButtonAreaRect(); }
TRect TLumOfficePager::GetCheckBoxRect(int index) { return Layout().CheckBoxRect(index); }

void TLumOfficePager::InvalidateTab(int index) {
    if (!HandleAllocated()) return;
    const TRect r = index >= 0 && index < PageCount() ? GetTabRect(index) : GetTabAreaRect();
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    if (index >= 0 && index < PageCount() && r == NoTabRect) return;
    InvalidateRect(FHandle, &rc, FALSE);
}

void TLumOfficePager::UpdateScroller() {
    TPagerTabLayout& layout = Layout();
    layout.UpdateScroller();
    StoreScroller();
    UpdateButtons();
}

void TLumOfficePager::AlignAllPages() {
    const TRect r = GetPageRect();
    for (int i = 0; i < PageCount(); ++i) AsPage(FCore.Page(i))->SetBoundsRect(r);
}

void TLumOfficePager::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    AlignAllPages();
}

void TLumOfficePager::RepaintPagerAndActivePage() {
    Invalidate();
    if (TLumOfficePage* page = ActivePage()) page->Invalidate();
}

void TLumOfficePager::BringTabIntoView(int index) {
    if (GetTabRect(index).Left != -1) return;
    int before = 0;
    for (int i = 0; i < index; ++i)
        if (IsTabVisible(i)) ++before;
    FTabScroller->SetPosition(std::min(FTabScroller->Max(), before));
}

// ---- Page-list host ---------------------------------------------------------------

void TLumOfficePager::Changing(int fromPage, int toPage, bool& allowChange) {
    OnChanging(this, fromPage, toPage, allowChange);
}

void TLumOfficePager::LeavePage(IPagerPageState* state) {
    TLumOfficePage* page = AsPage(state);
    page->SetVisible(false);
    page->OnHide(page);
}

void TLumOfficePager::EnterPage(IPagerPageState* oldState, IPagerPageState* newState, bool fireShow) {
    TLumOfficePage* oldPage = AsPage(oldState);
    TLumOfficePage* page = AsPage(newState);
    TCustomForm* form = GetParentForm(this);
    // The focus moves with the pages when it was on the old one.
    const bool moveFocus = form && oldPage && form->ActiveControl() &&
                           (form->ActiveControl() == oldPage || oldPage->ContainsControl(form->ActiveControl()));
    if (!page || !(Visible() || IsDesigning())) return;
    FSelectingPage = true;
    if (page->ControlCount() == 0) {
        page->SetVisible(true);
        page->BringToFront();
    }
    // The focus leaves the hidden page even when the new one has no control
    // that takes it.
    if (form && moveFocus) form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
    page->SetVisible(true);
    page->BringToFront();
    FSelectingPage = false;
    if (!IsDesigning() && form && moveFocus) page->SelectFirst();
    if (fireShow) page->OnShow(page);
}

void TLumOfficePager::Changed() { OnChange(this); }

void TLumOfficePager::HideKeyTips() {
    if (FShortCutHintsShowing) HideShortCutHintWindows();
}

void TLumOfficePager::PageAdded(IPagerPageState* state) {
    TLumOfficePage* page = AsPage(state);
    if (page->Parent() != this) {
        page->FMovingPager = true;
        page->TCustomControl::SetParent(this);
        page->FMovingPager = false;
    }
    page->FPager = this;
    page->SetBoundsRect(GetPageRect());
    if (page != ActivePage()) page->SetVisible(false);
    if (TLumOfficePage* active = ActivePage()) {
        active->BringToFront();
        active->Invalidate();
    }
}

void TLumOfficePager::PageRemoved(IPagerPageState* state) {
    TLumOfficePage* page = AsPage(state);
    page->FPager = nullptr;
    if (page == FUndockPage) FUndockPage = nullptr;
    // The page may leave from its own close button's click.
    PostFreeCloseButton(page);
    if (!FCore.Destroying()) {
        Invalidate();
        if (TLumOfficePage* active = ActivePage()) active->Invalidate();
    }
}

void TLumOfficePager::TabMoved(int fromPos, int toPos) { OnTabMoved(this, fromPos, toPos); }

void TLumOfficePager::ClosePage(int pageIndex, bool& allow) { OnClosePage(this, pageIndex, allow); }

void TLumOfficePager::StopHover(IPagerPageState* page) { AsPage(page)->FGlow.Stop(); }

void TLumOfficePager::FreePage(IPagerPageState* state) {
    TLumOfficePage* page = AsPage(state);
    PostFreeCloseButton(page);
    delete page;
}

void TLumOfficePager::HideClosedPage(IPagerPageState* state) {
    TLumOfficePage* page = AsPage(state);
    page->SetTabVisible(false);
    page->SetVisible(false);
    if (FCloseOnTab && page->FCloseButton) page->FCloseButton->SetVisible(false);
}

void TLumOfficePager::ClosedPage(int pageIndex) {
    if (TLumOfficePage* active = ActivePage())
        active->Invalidate();
    else
        Invalidate();
    OnClosedPage(this, pageIndex);
}

void TLumOfficePager::CloseButtonClick(TObject* sender) {
    auto* button = dynamic_cast<TLumGlowButton*>(sender);
    const int index = FCloseOnTab && button ? int(button->Tag()) : ActivePageIndex();
    FCore.ClosePage(index);
}

void TLumOfficePager::PostFreeCloseButton(TLumOfficePage* page) {
    if (!page->FCloseButton) return;
    TLumGlowButton* button = page->FCloseButton;
    page->FCloseButton = nullptr;
    button->SetVisible(false);
    FPendingCloseButtons.Add(button);
    if (HandleAllocated()) PostMessageA(FHandle, DestroyCloseButtonMessage(), WPARAM(button), 0);
}

// ---- Loading, parent, styler ------------------------------------------------------

void TLumOfficePager::ReadState(TReader* reader) {
    // Pages read from the layout show no page and fire no OnShow or
    // OnChange until the pager has loaded.
    FCore.SetLoading(true);
    TCustomControl::ReadState(reader);
}

void TLumOfficePager::Loaded() {
    TCustomControl::Loaded();
    FCore.SetLoading(false);
    FPagerLoaded = true;
    FCore.SetLoaded(true);
    UpdateButtons();
    UpdateScroller();
}

void TLumOfficePager::SetParent(TWinControl* parent) {
    if (dynamic_cast<TLumOfficePager*>(parent)) throw Exception("Invalid Parent");
    TCustomControl::SetParent(parent);
    if (!FPagerLoaded && !IsDesigning() && !IsLoading() && parent) {
        FPagerLoaded = true;
        FCore.SetLoaded(true);
        UpdateButtons();
    }
}

void TLumOfficePager::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && !IsDestroying()) {
        if (component == FLumOfficePagerStyler) SetLumOfficePagerStyler(nullptr);
        if (component == FPopupMenu) SetPopupMenu(nullptr);
        if (component == FImages) SetImages(nullptr);
        if (component == FDisabledImages) SetDisabledImages(nullptr);
        if (component == FPageListMenu) SetPageListMenu(nullptr);
    }
    TCustomControl::Notification(component, operation);
}

void TLumOfficePager::SetLumOfficePagerStyler(TCustomLumOfficePagerStyler* value) {
    if (value == FLumOfficePagerStyler && value) return;
    if (FLumOfficePagerStyler && FLumOfficePagerStyler != FInternalStyler) {
        FLumOfficePagerStyler->DetachPager(this);
        FLumOfficePagerStyler->RemoveFreeNotification(this);
    }
    FLumOfficePagerStyler = value;
    if (value) {
        FCurrentStyler = value;
        value->AttachPager(this);
        value->FreeNotification(this);
    } else {
        FCurrentStyler = FInternalStyler;
    }
    if (!IsDestroying() && !IsLoading())
        for (int i = 0; i < PageCount(); ++i) AsPage(FCore.Page(i))->Invalidate();
    StylerChanged(0);
    SetPopupMenu(PopupMenu());
    Invalidate();
}

void TLumOfficePager::StylerDestroying(TCustomLumOfficePagerStyler* styler) {
    if (styler != FLumOfficePagerStyler) return;
    FLumOfficePagerStyler = nullptr;
    FCurrentStyler = FInternalStyler;
    if (IsDestroying()) return;
    for (int i = 0; i < PageCount(); ++i) AsPage(FCore.Page(i))->Invalidate();
    StylerChanged(0);
}

void TLumOfficePager::StylerChanged(int kind) {
    if (IsDesigning() && FCurrentStyler)
        for (int i = 0; i < PageCount(); ++i) {
            TLumOfficePage* page = AsPage(FCore.Page(i));
            if (!page->UsePageAppearance()) page->PageAppearance()->Assign(FCurrentStyler->PageAppearance());
            if (!page->UseTabAppearance()) page->TabAppearance()->Assign(FCurrentStyler->TabAppearance());
        }
    RepaintPagerAndActivePage();
    if (kind == 2 || kind == 4) UpdateButtons();
    if (kind == 5) TabSettingsChanged();
}

void TLumOfficePager::TabSettingsChanged(TObject*) {
    AlignAllPages();
    UpdateButtons();
    UpdateScroller();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::ButtonSettingsChanged(TObject*) {
    UpdateScroller();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::DefineProperties(TFiler* filer) {
    TCustomControl::DefineProperties(filer);
    filer->DefineProperty(
        "NextPictureChanged", [this](TReader* r) { ReadNextPictureChanged(r); },
        [this](TWriter* w) { WriteNextPictureChanged(w); }, true);
    filer->DefineProperty(
        "PrevPictureChanged", [this](TReader* r) { ReadPrevPictureChanged(r); },
        [this](TWriter* w) { WritePrevPictureChanged(w); }, true);
}

void TLumOfficePager::ReadNextPictureChanged(TReader* reader) {
    FButtonSettings->SetNextPictureChanged(reader->ReadBoolean());
}
void TLumOfficePager::WriteNextPictureChanged(TWriter* writer) {
    writer->WriteBoolean(FButtonSettings->NextPictureChanged());
}
void TLumOfficePager::ReadPrevPictureChanged(TReader* reader) {
    FButtonSettings->SetPrevPictureChanged(reader->ReadBoolean());
}
void TLumOfficePager::WritePrevPictureChanged(TWriter* writer) {
    writer->WriteBoolean(FButtonSettings->PrevPictureChanged());
}

void TLumOfficePager::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (int i = 0; i < PageCount(); ++i) proc(AsPage(FCore.Page(i)));
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (control->Owner() == root && IndexOfPage(dynamic_cast<TLumOfficePage*>(control)) < 0) proc(control);
    }
}

void TLumOfficePager::SetChildOrder(TComponent* child, int order) {
    if (auto* page = dynamic_cast<TLumOfficePage*>(child)) page->SetPageIndex(order);
}

void TLumOfficePager::CreateWnd() { TCustomControl::CreateWnd(); }

// ---- Property writers -------------------------------------------------------------

void TLumOfficePager::SetAntiAlias(TAntiAlias value) {
    FAntiAlias = value;
    Invalidate();
}

void TLumOfficePager::SetButtonSettings(TPageButtonSettings* value) {
    FButtonSettings->Assign(value);
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetCloseOnTab(bool value) {
    if (value == FCloseOnTab) return;
    FCloseOnTab = value;
    UpdateScroller();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetCloseOnTabPosition(LumPager::TCloseOnTabPos value) {
    if (value == FCloseOnTabPosition) return;
    FCloseOnTabPosition = value;
    UpdateButtons();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetImages(TCustomImageList* value) {
    ReplaceReference(FImages, value);
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetDisabledImages(TCustomImageList* value) {
    ReplaceReference(FDisabledImages, value);
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetPageMargin(int value) {
    if (value == FPageMargin) return;
    FPageMargin = value;
    UpdateScroller();
    Invalidate();
}

void TLumOfficePager::SetPageListMenu(TPopupMenu* value) { ReplaceReference(FPageListMenu, value); }

void TLumOfficePager::SetRotateTabLeftRight(bool value) {
    if (value == FRotateTabLeftRight) return;
    FRotateTabLeftRight = value;
    UpdateScroller();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetShowCloseOnNonSelectedTabs(bool value) {
    if (value == FShowCloseOnNonSelectedTabs) return;
    FShowCloseOnNonSelectedTabs = value;
    UpdateScroller();
    InvalidateTab(-1);
}

void TLumOfficePager::SetShowNonSelectedTabs(bool value) {
    FShowNonSelectedTabs = value;
    InvalidateTab(-1);
}

void TLumOfficePager::SetTabPosition(TTabPosition value) {
    if (value == FTabPosition) return;
    FTabPosition = value;
    AlignAllPages();
    UpdateScroller();
    RepaintPagerAndActivePage();
}

void TLumOfficePager::SetTransparent(bool value) {
    if (value == FTransparent) return;
    FTransparent = value;
    Invalidate();
}

// ---- Mouse ------------------------------------------------------------------------

void TLumOfficePager::StartFade(int index, int step, TTabGlow::TGlowState state) {
    if (index < 0 || index >= PageCount()) return;
    AsPage(FCore.Page(index))->FGlow.Start(step, state, FGlow);
}

void TLumOfficePager::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    FDownTabIndex = -1;
    if (!GetTabAreaRect().Contains({x, y})) return;
    int tab = TabAtPoint(x, y);
    if (tab < 0) return;
    // The user's handler may free or move pages: the clicked page is looked
    // up again (compared, never read, until it is found listed).
    TLumOfficePage* clicked = Pages(tab);
    if (button == mbLeft) OnTabClick(this, tab);
    if (button == mbRight) OnTabRightClick(this, tab);
    tab = IndexOfPage(clicked);
    if (tab < 0) return;
    TLumOfficePage* page = clicked;
    if (button != mbMiddle) {
        if (tab != ActivePageIndex() && page->TabEnabled()) {
            SelectPage(tab);
            if (!IsDesigning()) StartFade(tab, +20, TTabGlow::gsClick);
            Invalidate();
        } else {
            FDownTabIndex = tab;
            InvalidateTab(-1);
        }
    }
    if (button == mbLeft && page->TabEnabled() && FTabReorder) BeginDrag(false, 4);
}

void TLumOfficePager::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (FDownTabIndex >= 0) {
        FDownTabIndex = -1;
        InvalidateTab(-1);
    }
    const int tab = TabAtPoint(x, y);
    if (tab >= 0 && Layout().PointOnTabCheckBox(tab, {x, y})) {
        TLumOfficePage* page = Pages(tab);
        page->SetChecked(!page->Checked());
        OnTabCheckBoxClick(this, tab);
        InvalidateTab(tab);
    }
}

void TLumOfficePager::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (IsDesigning() || !GetTabAreaRect().Contains({x, y})) {
        if (FHotTabIndex >= 0 && !GetTabAreaRect().Contains({x, y})) {
            StartFade(FHotTabIndex, -20, TTabGlow::gsHover);
            FHotTabIndex = -1;
            InvalidateTab(-1);
        }
        return;
    }
    const int tab = TabAtPoint(x, y);
    if (tab >= 0 && tab != FHintTabIndex) {
        FHintTabIndex = tab;
        Application->CancelHint();
    }
    if (tab >= 0 && tab != FHotTabIndex) {
        if (FDownTabIndex >= 0) {
            FDownTabIndex = -1;
            InvalidateTab(-1);
        }
        if (FHotTabIndex >= 0) StartFade(FHotTabIndex, -20, TTabGlow::gsHover);
        FHotTabIndex = -1;
        if (Pages(tab)->TabEnabled()) {
            FHotTabIndex = tab;
            StartFade(tab, +20, TTabGlow::gsHover);
            InvalidateTab(-1);
        }
    } else if (tab < 0) {
        if (FHotTabIndex >= 0) {
            StartFade(FHotTabIndex, -20, TTabGlow::gsHover);
            FHotTabIndex = -1;
            InvalidateTab(-1);
        }
        if (FHintTabIndex >= 0) {
            FHintTabIndex = -1;
            Application->CancelHint();
        }
    }
}

void TLumOfficePager::CMMouseLeave(TMessage& m) {
    TCustomControl::WndProc(m);
    FHintTabIndex = -1;
    if (IsDesigning()) return;
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint p = ScreenToClient({screen.x, screen.y});
    TRect inner = GetTabsRect();
    switch (FTabPosition) {
    case tpTop: inner.Bottom -= 4; break;
    case tpBottom: inner.Top += 4; break;
    case tpLeft: inner.Right -= 4; break;
    case tpRight: inner.Left += 4; break;
    }
    if (inner.Contains(p) && WindowFromPoint(screen) == FHandle) return;
    if (FHotTabIndex >= 0 && FHotTabIndex == ActivePageIndex()) {
        FHotTabIndex = -1;
        Invalidate();
        return;
    }
    if (FHotTabIndex >= 0) StartFade(FHotTabIndex, -20, TTabGlow::gsHover);
    FHotTabIndex = -1;
    InvalidateTab(-1);
}

void TLumOfficePager::WMLButtonDblClk(TMessage& m) {
    TCustomControl::WndProc(m);
    const int x = short(LOWORD(m.LParam)), y = short(HIWORD(m.LParam));
    const int tab = GetTabAreaRect().Contains({x, y}) ? TabAtPoint(x, y) : -1;
    TLumOfficePage* page = tab >= 0 ? Pages(tab) : nullptr;
    // A docked client floats; its page goes with it, and so does the tab.
    if (TControl* client = DockClientAtTab(x, y)) client->ManualDock(nullptr);
    if (page && IndexOfPage(page) == tab) OnTabDblClick(this, tab);
}

void TLumOfficePager::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    TCustomControl::DragOver(source, x, y, state, accept);
    if (FTabReorder && source == this) accept = TabAtPoint(x, y) >= 0;
}

void TLumOfficePager::DragDrop(TObject* source, int x, int y) {
    TCustomControl::DragDrop(source, x, y);
    const int active = ActivePageIndex();
    const int target = TabAtPoint(x, y);
    if (active >= 0 && target >= 0 && target != active) {
        MovePage(active, target);
        RepaintPagerAndActivePage();
    }
}

void TLumOfficePager::CMHintShow(TMessage& m) {
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    if (!FShowTabHint)
        info->HintStr.clear();
    else if (FHintTabIndex >= 0 && FHintTabIndex < PageCount())
        info->HintStr = Pages(FHintTabIndex)->TabHint();
}

void TLumOfficePager::CMVisibleChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    if (TLumOfficePage* page = ActivePage()) page->SetVisible(Visible());
}

void TLumOfficePager::WMSize(TMessage& m) {
    TCustomControl::WndProc(m);
    AlignAllPages();
    UpdateScroller();
}

void TLumOfficePager::WMDestroy(TMessage& m) {
    if (!IsDesigning()) UnhookForm();
    TCustomControl::WndProc(m);
}

void TLumOfficePager::WndProc(TMessage& m) {
    if (const UINT destroyMessage = DestroyCloseButtonMessage(); destroyMessage && m.Msg == destroyMessage) {
        // Only a button this pager handed over is freed: any process can
        // post a registered message.
        auto* button = reinterpret_cast<TLumGlowButton*>(m.WParam);
        if (button && FPendingCloseButtons.Take(button)) delete button;
        return;
    }
    switch (m.Msg) {
    case WM_GETDLGCODE: return WMGetDlgCode(m);
    case WM_KEYDOWN: return WMKeyDown(m);
    case CM_DIALOGKEY: return CMDialogKey(m);
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_FOCUSCHANGED: return CMFocusChanged(m);
    case WM_KILLFOCUS: return WMKillFocus(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_HINTSHOW: return CMHintShow(m);
    case CM_VISIBLECHANGED: return CMVisibleChanged(m);
    case WM_SIZE: return WMSize(m);
    case WM_DESTROY: return WMDestroy(m);
    case WM_LBUTTONDBLCLK: return WMLButtonDblClk(m);
    case WM_LBUTTONDOWN: return WMLButtonDown(m);
    case CM_DOCKCLIENT: return CMDockClient(m);
    case CM_DOCKNOTIFICATION: return CMDockNotification(m);
    case CM_UNDOCKCLIENT: return CMUnDockClient(m);
    default: break;
    }
    TCustomControl::WndProc(m);
}

// ---- Registration -----------------------------------------------------------------

void RegisterOfficePagerClasses() { RegisterClasses({TLumOfficePager::StaticClass(), TLumOfficePage::StaticClass()}); }

// The office pager: a windowed page control that shows one of its pages
// (TLumOfficePage, lum_office_page_win.h) under a row of tabs along any of its four edges, painted
// in the colours of a pager styler, with tabs that glow while the mouse is
// on them, its own glow buttons (scroll, page list, close), keyboard
// navigation and key tips.
//
//   TLumOfficePager* pager = NewObject<TLumOfficePager>(form);
//   pager->SetParent(form);
//   TLumOfficePage* page = NewObject<TLumOfficePage>(form);
//   page->SetCaption("Editor Settings");
//   page->SetPager(pager);                 // joins the page list
//   pager->SetActivePageIndex(0);
//
// Page management is the portable TPagerPageCore (pager_page_core.h), the
// tab geometry TPagerTabLayout (pager_tab_layout.h), a tab's hover glow
// TTabGlow (pager_tab_glow.h); this file is the window around them.
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/canvas_measurer.h"
#include "classlib/ui/controls.h"
#include "classlib/ui/imagelist.h"
#include "classlib/ui/menus.h"
#include "components/controls/glow_button_win.h"
#include "components/foundation/gdip_picture_win.h"
#include "components/foundation/lum_hint_info_win.h"
#include "components/foundation/paint_cache_win.h"
#include "components/pager/lum_office_page_win.h"
#include "components/pager/page_button_settings_win.h"
#include "components/pager/pager_backgrounds.h"
#include "components/pager/pager_button_plan.h"
#include "components/pager/pager_close_queue.h"
#include "components/pager/pager_page_core.h"
#include "components/pager/pager_styler_win.h"
#include "components/pager/pager_tab_glow.h"
#include "components/pager/pager_tab_layout.h"
#include "components/pager/pager_tab_settings.h"
#include "components/pager/tab_appearance_win.h"

class TLumOfficePager;

using TTabChangingEvent2 = TEvent<TObject* /*Sender*/, int /*FromPage*/, int /*ToPage*/, bool& /*AllowChange*/>;
using TPagerClosePageEvent = TEvent<TObject* /*Sender*/, int /*PageIndex*/, bool& /*Allow*/>;
using TPagerPageIndexEvent = TEvent<TObject* /*Sender*/, int /*PageIndex*/>;
using TPagerTabMovedEvent = TEvent<TObject* /*Sender*/, int /*FromPos*/, int /*ToPos*/>;
using TPagerDrawTabEvent = TEvent<TObject* /*Sender*/, int /*TabIndex*/, TRect /*TabRect*/>;
using TPagerListClickEvent = TEvent<TObject* /*Sender*/, int /*X*/, int /*Y*/>;

// The picture a tab shows: the page's picture (its disabled picture while
// the page is disabled, when it has one), else its image from the image
// list (DisabledImages for a disabled page when there is one), else none.
struct TTabPicture {
    TGDIPPicture* Picture = nullptr;
    TCustomImageList* List = nullptr;
    TSize Size{};
};

// ---- Pager ----------------------------------------------------------------------

class TLumOfficePager : public TCustomControl, public IPagerPageHost, public ILumOfficePagerStylerClient {
    QL_CLASS(TLumOfficePager, TCustomControl)
public:
    explicit TLumOfficePager(TComponent* owner);
    ~TLumOfficePager() override;

    // ---- Pages ----
    int PageCount() const { return FCore.PageCount(); }
    // Raises for a bad index.
    TLumOfficePage* Pages(int index) const;
    int IndexOfPage(const TLumOfficePage* page) const { return FCore.IndexOfPage(page); }
    int VisibleTabCount() const { return FCore.VisibleTabCount(); }
    bool IsTabVisible(int index) const { return FCore.IsTabVisible(index); }
    int ActivePageIndex() const { return FCore.ActivePageIndex(); }
    void SetActivePageIndex(int index) { FCore.SetActivePageIndex(index); }
    TLumOfficePage* ActivePage() const;
    void SetActivePage(TLumOfficePage* page) { FCore.SetActivePage(page); }
    void SelectPage(int index) { FCore.SelectPage(index); }
    void SelectNextPage(bool goForward) { FCore.SelectNextPage(goForward); }
    int AddPage(TLumOfficePage* page);
    void RemovePage(TLumOfficePage* page) { FCore.RemovePage(page); }
    void MovePage(int fromIndex, int toIndex) { FCore.MovePage(fromIndex, toIndex); }
    // The close request of the shared close button or a tab's (sender).
    void CloseButtonClick(TObject* sender);

    // ---- Geometry (in client coordinates) ----
    TRect GetTabRect(int index);
    TRect GetTabRectOfPage(TLumOfficePage* page) { return GetTabRect(IndexOfPage(page)); }
    int TabAtPoint(int x, int y);
    TRect GetTabAreaRect();
    TRect GetTabsRect();
    TRect GetPageRect();
    TRect GetButtonAreaRect();
    TRect GetCheckBoxRect(int index);
    // Invalidates the tab, or the whole tab row for an index out of range.
    void InvalidateTab(int index);
    void UpdateScroller() override;
    void UpdateButtons() override;
    const TPagerLayoutInput& LayoutInput();
    bool UseFullRow() const { return FLayoutIn.UseFullRow; }

    // ---- Styler client ----
    void StylerChanged(int kind) override;
    void StylerDestroying(TCustomLumOfficePagerStyler* styler) override;
    void TabSettingsChanged(TObject* sender = nullptr);
    TCustomLumOfficePagerStyler* CurrentStyler() const { return FCurrentStyler; }
    TCustomLumOfficePagerStyler* InternalStyler() const { return FInternalStyler; }

    // ---- Properties ----
    TCustomLumOfficePagerStyler* LumOfficePagerStyler() const { return FLumOfficePagerStyler; }
    void SetLumOfficePagerStyler(TCustomLumOfficePagerStyler* value);
    TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias value);
    TPageButtonSettings* ButtonSettings() const { return FButtonSettings; }
    void SetButtonSettings(TPageButtonSettings* value);
    bool CloseOnTab() const { return FCloseOnTab; }
    void SetCloseOnTab(bool value);
    LumPager::TCloseOnTabPos CloseOnTabPosition() const { return FCloseOnTabPosition; }
    void SetCloseOnTabPosition(LumPager::TCloseOnTabPos value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value);
    bool FreeOnClose() const { return FCore.FreeOnClose(); }
    void SetFreeOnClose(bool value) { FCore.SetFreeOnClose(value); }
    bool Glow() const { return FGlow; }
    void SetGlow(bool value) { FGlow = value; }
    TLumHintInfo* OfficeHint() const { return FHintInfo; }
    void SetOfficeHint(TLumHintInfo* value) { FHintInfo->Assign(value); }
    int PageMargin() const { return FPageMargin; }
    void SetPageMargin(int value);
    TPopupMenu* PageListMenu() const { return FPageListMenu; }
    void SetPageListMenu(TPopupMenu* value);
    bool RotateTabLeftRight() const { return FRotateTabLeftRight; }
    void SetRotateTabLeftRight(bool value);
    bool ShowCloseOnNonSelectedTabs() const { return FShowCloseOnNonSelectedTabs; }
    void SetShowCloseOnNonSelectedTabs(bool value);
    bool ShowNonSelectedTabs() const { return FShowNonSelectedTabs; }
    void SetShowNonSelectedTabs(bool value);
    bool ShowTabHint() const { return FShowTabHint; }
    void SetShowTabHint(bool value) { FShowTabHint = value; }
    bool ShowShortCutHints() const { return FShowShortCutHints; }
    void SetShowShortCutHints(bool value) { FShowShortCutHints = value; }
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    bool TabReorder() const { return FTabReorder; }
    void SetTabReorder(bool value) { FTabReorder = value; }
    TPagerTabSettings* TabSettings() const { return FTabSettings; }
    void SetTabSettings(TPagerTabSettings* value) { FTabSettings->Assign(value); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    String Version() const;
    TPagerTabScroller* TabScroller() const { return FTabScroller; }

    // ---- Events ----
    TTabChangingEvent2 OnChanging;
    TNotifyEvent OnChange;
    TPagerClosePageEvent OnClosePage;
    TPagerPageIndexEvent OnClosedPage;
    TPagerTabMovedEvent OnTabMoved;
    TPagerPageIndexEvent OnTabClick;
    TPagerPageIndexEvent OnTabRightClick;
    TPagerPageIndexEvent OnTabDblClick;
    TPagerPageIndexEvent OnTabCheckBoxClick;
    TPagerDrawTabEvent OnDrawTab;
    TPagerListClickEvent OnPageListClick;
    TNotifyEvent OnPrevClick;
    TNotifyEvent OnNextClick;
    TNotifyEvent OnFirstClick;
    TNotifyEvent OnLastClick;

    // ---- Buttons, page list, key tips ----
    TLumGlowButton* SharedCloseButton() const { return FSharedCloseButton; }
    TLumGlowButton* PageListButton() const { return FPageListButton; }
    TLumGlowButton* FirstButton() const { return FFirstButton; }
    TLumGlowButton* PrevButton() const { return FPrevButton; }
    TLumGlowButton* NextButton() const { return FNextButton; }
    TLumGlowButton* LastButton() const { return FLastButton; }
    void PageListButtonClick(TObject* sender);
    void PageListItemClick(TObject* sender);
    // The screen point the page list opens at.
    TPoint PageListPopupPoint();
    void ScrollFirst();
    void ScrollPrev();
    void ScrollNext();
    void ScrollLast();
    void ShowShortCutHintWindows();
    void HideShortCutHintWindows();
    bool ShortCutHintsShowing() const { return FShortCutHintsShowing; }
    TShortCutHintWindow* CreateShortCutHintWindow();
    void FreeShortCutHintWindow(TShortCutHintWindow* window);
    // A typed key-tip letter.
    void ShortCutHintKey(char key);
    // A message of the form the key tips are shown on (hides them when the
    // form moves, sizes or is clicked).
    void FormWndProcHook(TMessage& message);
    // Hands a tab close button to the window to be freed after its click.
    void PostFreeCloseButton(TLumOfficePage* page);
    // True where the loaded common controls are version 6 or later (the
    // tab check boxes then take the visual style's look).
    bool ComCtl6() const { return FComCtl6; }
    // The close buttons handed to the window to be freed.
    int PendingCloseButtons() const { return FPendingCloseButtons.Count(); }

    // ---- Hover state ----
    int HotTabIndex() const { return FHotTabIndex; }
    int DownTabIndex() const { return FDownTabIndex; }
    void SetHotTabIndex(int index) { FHotTabIndex = index; }

    // ---- Class library ----
    void Loaded() override;
    void ReadState(TReader* reader) override;
    void SetParent(TWinControl* parent) override;
    void WndProc(TMessage& message) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void DragDrop(TObject* source, int x, int y) override;
    // Paints the pager into canvas as a paint would (tests, benchmarks).
    void PaintTabsTo(TCanvas* canvas);

    // The registered message that frees a listed tab close button.
    static UINT DestroyCloseButtonMessage();

protected:
    void DefineProperties(TFiler* filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    // Docking (lum_office_pager_dock_win.cpp): each docked client gets a
    // page of its own.
    void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) override;
    void DoAddDockClient(TControl* client, const TRect& rect) override;
    void DoRemoveDockClient(TControl* client) override;

    // IPagerPageHost.
    void Changing(int fromPage, int toPage, bool& allowChange) override;
    void LeavePage(IPagerPageState* page) override;
    void EnterPage(IPagerPageState* oldPage, IPagerPageState* newPage, bool fireShow) override;
    void Changed() override;
    void HideKeyTips() override;
    void InvalidateTabs() override { InvalidateTab(-1); }
    void BringTabIntoView(int index) override;
    void PageAdded(IPagerPageState* page) override;
    void PageRemoved(IPagerPageState* page) override;
    void TabMoved(int fromPos, int toPos) override;
    void ClosePage(int pageIndex, bool& allow) override;
    void StopHover(IPagerPageState* page) override;
    void FreePage(IPagerPageState* page) override;
    void HideClosedPage(IPagerPageState* page) override;
    void ClosedPage(int pageIndex) override;

private:
    friend class TLumOfficePage;
    friend class TOfficePagerPainter;
    static TLumOfficePage* AsPage(IPagerPageState* page) { return static_cast<TLumOfficePage*>(page); }
    // Fills the layout's input from the properties, pages and scroller.
    TPagerTabLayout& Layout();
    void StoreScroller();
    void AlignAllPages();
    void ButtonSettingsChanged(TObject* sender);
    void RepaintPagerAndActivePage();
    void StartFade(int index, int step, TTabGlow::TGlowState state);
    // What the layout measures and the painter draws of a tab's picture.
    TTabPicture TabPictureOf(int index) const;
    // The tab appearance a page's tab is drawn (and measured) with.
    TTabAppearance* TabAppearanceOf(int index) const;
    TLumGlowButton* MakeButton(TNotifyEvent click);
    void PlaceButton(TLumGlowButton* button, const TPagerButtonSlot& slot, const String& hint);
    TGDIPPicture* ButtonPicture(int picture) const;
    void FirstButtonClick(TObject* sender);
    void PrevButtonClick(TObject* sender);
    void NextButtonClick(TObject* sender);
    void LastButtonClick(TObject* sender);
    void HookForm();
    void UnhookForm();
    void ReadNextPictureChanged(TReader* reader);
    void WriteNextPictureChanged(TWriter* writer);
    void ReadPrevPictureChanged(TReader* reader);
    void WritePrevPictureChanged(TWriter* writer);

    // ---- Message handlers ----
    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMFocusChanged(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMHintShow(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void WMSize(TMessage& message);
    void WMDestroy(TMessage& message);
    void WMLButtonDblClk(TMessage& message);
    void WMLButtonDown(TMessage& message);
    void CMDockClient(TMessage& message);
    void CMDockNotification(TMessage& message);
    void CMUnDockClient(TMessage& message);
    // The page client sits on, or nullptr.
    TLumOfficePage* PageOfClient(const TControl* client) const;
    // The client docked here that sits first on the page of the tab at
    // (x, y), or nullptr.
    TControl* DockClientAtTab(int x, int y);

    TPagerPageCore FCore{*this};
    TLumOfficePage* FNewDockPage = nullptr;  // the page made for the client docking now
    TLumOfficePage* FUndockPage = nullptr;   // the page of the client leaving now
    TLumGlowButton* FSharedCloseButton = nullptr;
    bool FComCtl6 = false;
    TCustomLumOfficePagerStyler* FInternalStyler = nullptr;
    TCustomLumOfficePagerStyler* FCurrentStyler = nullptr;
    TCustomLumOfficePagerStyler* FLumOfficePagerStyler = nullptr;
    bool FPagerLoaded = false;
    TPagerTabScroller* FTabScroller;
    int FHotTabIndex = -1;
    int FDownTabIndex = -1;
    int FHintTabIndex = -1;
    TLumHintInfo* FHintInfo;
    TPageButtonSettings* FButtonSettings;
    TPagerTabSettings* FTabSettings;
    TLumGlowButton* FFirstButton = nullptr;
    TLumGlowButton* FPrevButton = nullptr;
    TLumGlowButton* FNextButton = nullptr;
    TLumGlowButton* FLastButton = nullptr;
    TLumGlowButton* FPageListButton = nullptr;
    const int FTabOffset = 4;
    std::vector<TShortCutHintWindow*> FShortCutHintWindows;
    bool FShortCutHintsShowing = false;
    String FShortCutHintText;
    TCustomForm* FHookedForm = nullptr;
    TBitmap* FButtonAreaBitmap;
    TPendingFreeList<TLumGlowButton> FPendingCloseButtons;

    TAntiAlias FAntiAlias = aaClearType;
    bool FCloseOnTab = false;
    LumPager::TCloseOnTabPos FCloseOnTabPosition = LumPager::cpRight;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    bool FGlow = true;
    int FPageMargin = 1;
    TPopupMenu* FPageListMenu = nullptr;
    bool FRotateTabLeftRight = true;
    bool FShowCloseOnNonSelectedTabs = false;
    bool FShowNonSelectedTabs = false;
    bool FShowTabHint = false;
    bool FShowShortCutHints = false;
    TTabPosition FTabPosition = tpTop;
    bool FTabReorder = false;
    bool FTransparent = false;
    bool FSelectingPage = false;  // a page comes into sight through the selection

    TPagerLayoutInput FLayoutIn;
    std::unique_ptr<ITextMeasurer> FMeasurer;
    std::unique_ptr<TPagerTabLayout> FLayout;
};

// The measurer the tab layout measures captions with (the caption
// primitive's measure, as the tabs are drawn).
std::unique_ptr<ITextMeasurer> MakeTabCaptionMeasurer(TLumOfficePager& pager);

// Registers the pager classes for stored layouts.
void RegisterOfficePagerClasses();

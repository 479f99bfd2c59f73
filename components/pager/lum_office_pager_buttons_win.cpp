// The office pager's own glow buttons (scroll, page list, close), its page
// list menu, its keys and its key tips.
#include <algorithm>
#include <cctype>
#include <vector>

#include "classlib/ui/forms.h"
#include "components/pager/lum_office_pager_win.h"
#include "components/pager/pager_form_hook.h"
#include "components/pager/pager_key_tips.h"

// ---- Buttons ----------------------------------------------------------------------

TLumGlowButton* TLumOfficePager::MakeButton(TNotifyEvent click) {
    auto* button = new TLumGlowButton(this);
    button->SetParent(this);
    button->OnClick = click;
    button->SetShowCaption(false);
    return button;
}

TGDIPPicture* TLumOfficePager::ButtonPicture(int picture) const {
    TPageButtonSettings* s = FButtonSettings;
    switch (picture) {
    case bpicClose: return s->CloseButtonPicture();
    case bpicPageList: return s->PageListButtonPicture();
    case bpicFirst: return s->ScrollButtonFirstPicture();
    case bpicLast: return s->ScrollButtonLastPicture();
    case bpicPrev: return s->ScrollButtonPrevPicture();
    case bpicNext: return s->ScrollButtonNextPicture();
    case bpicUpFirst: return s->ScrollButtonUpFirstPicture();
    case bpicDownLast: return s->ScrollButtonDownLastPicture();
    case bpicUp: return s->ScrollButtonUpPicture();
    case bpicDown: return s->ScrollButtonDownPicture();
    default: return nullptr;
    }
}

void TLumOfficePager::PlaceButton(TLumGlowButton* button, const TPagerButtonSlot& slot, const String& hint) {
    button->SetBoundsRect(slot.Place);
    if (FCurrentStyler) button->Appearance()->Assign(FCurrentStyler->GlowButtonAppearance());
    if (TGDIPPicture* picture = ButtonPicture(slot.Picture)) button->SetPicture(picture);
    button->SetHint(hint);
    button->SetShowHint(true);
    button->SetEnabled(slot.Enabled);
    button->SetVisible(slot.Visible);
    if (!slot.Visible) button->SetWidth(0);
}

void TLumOfficePager::UpdateButtons() {
    if (!FPagerLoaded && !IsDesigning()) return;
    TPagerTabLayout& layout = Layout();
    TPageButtonSettings* s = FButtonSettings;
    const TPagerButtonPlan plan = PlanPagerButtons(
        layout, FLayoutIn,
        {s->FirstPictureChanged(), s->LastPictureChanged(), s->PrevPictureChanged(), s->NextPictureChanged()});

    // Close buttons: freed with the setting off (the tab buttons through the
    // window, as one may be in its own click), else kept and placed.
    if (!s->CloseButton()) {
        for (int i = 0; i < PageCount(); ++i) PostFreeCloseButton(Pages(i));
        delete FSharedCloseButton;
        FSharedCloseButton = nullptr;
    } else {
        for (int i = 0; i < PageCount(); ++i) {
            TLumOfficePage* page = Pages(i);
            const TPagerButtonSlot& slot = plan.TabClose[size_t(i)];
            if (!FCloseOnTab) {
                if (page->FCloseButton) page->FCloseButton->SetWidth(0);
                continue;
            }
            if (!slot.Exists) {
                if (page->FCloseButton) page->FCloseButton->SetVisible(false);
                continue;
            }
            if (!page->FCloseButton)
                page->FCloseButton = MakeButton(TNotifyEvent::Bind<&TLumOfficePager::CloseButtonClick>(this));
            page->FCloseButton->SetTag(i);
            PlaceButton(page->FCloseButton, slot, s->CloseButtonHint());
        }
        if (FCloseOnTab) {
            if (FSharedCloseButton) FSharedCloseButton->SetWidth(0);
        } else {
            if (!FSharedCloseButton)
                FSharedCloseButton = MakeButton(TNotifyEvent::Bind<&TLumOfficePager::CloseButtonClick>(this));
            PlaceButton(FSharedCloseButton, plan.SharedClose, s->CloseButtonHint());
        }
    }

    if (plan.PageList.Exists) {
        if (!FPageListButton)
            FPageListButton = MakeButton(TNotifyEvent::Bind<&TLumOfficePager::PageListButtonClick>(this));
        PlaceButton(FPageListButton, plan.PageList, s->PageListButtonHint());
    } else {
        delete FPageListButton;
        FPageListButton = nullptr;
    }

    if (!plan.Prev.Exists) {
        delete FFirstButton;
        delete FLastButton;
        delete FPrevButton;
        delete FNextButton;
        FFirstButton = FLastButton = FPrevButton = FNextButton = nullptr;
        return;
    }
    struct TScroll {
        TLumGlowButton*& Button;
        TNotifyEvent Click;
        const TPagerButtonSlot& Slot;
        const String& Hint;
    };
    TScroll buttons[] = {
        {FFirstButton, TNotifyEvent::Bind<&TLumOfficePager::FirstButtonClick>(this), plan.First,
         s->ScrollButtonFirstHint()},
        {FLastButton, TNotifyEvent::Bind<&TLumOfficePager::LastButtonClick>(this), plan.Last,
         s->ScrollButtonLastHint()},
        {FPrevButton, TNotifyEvent::Bind<&TLumOfficePager::PrevButtonClick>(this), plan.Prev,
         s->ScrollButtonPrevHint()},
        {FNextButton, TNotifyEvent::Bind<&TLumOfficePager::NextButtonClick>(this), plan.Next,
         s->ScrollButtonNextHint()},
    };
    for (TScroll& b : buttons) {
        if (!b.Button) b.Button = MakeButton(b.Click);
        PlaceButton(b.Button, b.Slot, b.Hint);
        b.Button->SetRepeatClick(true);
    }
}

// ---- Scrolling --------------------------------------------------------------------

void TLumOfficePager::ScrollFirst() {
    if (!FTabScroller->Visible() || !FTabScroller->CanGoBack()) return;
    FTabScroller->SetPosition(FTabScroller->Min());
    InvalidateTab(-1);
    if (TLumOfficePage* page = ActivePage()) page->Invalidate();
}

void TLumOfficePager::ScrollPrev() {
    if (!FTabScroller->Visible() || !FTabScroller->CanGoBack()) return;
    FTabScroller->SetPosition(FTabScroller->Position() - 1);
    InvalidateTab(-1);
    if (TLumOfficePage* page = ActivePage()) page->Invalidate();
}

void TLumOfficePager::ScrollNext() {
    if (!FTabScroller->Visible() || !FTabScroller->CanGoForward()) return;
    FTabScroller->SetPosition(FTabScroller->Position() + 1);
    InvalidateTab(-1);
    if (TLumOfficePage* page = ActivePage()) page->Invalidate();
}

void TLumOfficePager::ScrollLast() {
    if (!FTabScroller->Visible() || !FTabScroller->CanGoForward()) return;
    FTabScroller->SetPosition(FTabScroller->Max());
    InvalidateTab(-1);
    if (TLumOfficePage* page = ActivePage()) page->Invalidate();
}

void TLumOfficePager::PrevButtonClick(TObject* sender) {
    ScrollPrev();
    UpdateButtons();
    OnPrevClick(sender);
}

void TLumOfficePager::NextButtonClick(TObject* sender) {
    ScrollNext();
    UpdateButtons();
    OnNextClick(sender);
}

void TLumOfficePager::FirstButtonClick(TObject* sender) {
    OnFirstClick(sender);
    ScrollFirst();
    UpdateButtons();
}

void TLumOfficePager::LastButtonClick(TObject* sender) {
    OnLastClick(sender);
    ScrollLast();
    UpdateButtons();
}

// ---- Page list --------------------------------------------------------------------

TPoint TLumOfficePager::PageListPopupPoint() {
    int items = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible()) ++items;
    const TPoint origin = ClientToScreen({0, 0});
    POINT at{origin.X, origin.Y};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info);
    return ::PageListPopupPoint(FTabPosition, Layout().PageListButtonRect(), origin, GetSystemMetrics(SM_CYMENU), items,
                                FPageListButton ? FPageListButton->Height() : 0, info.rcMonitor.bottom);
}

void TLumOfficePager::PageListButtonClick(TObject*) {
    if (!FPageListMenu || !FButtonSettings->PageListButton()) return;
    FPageListMenu->Items()->Clear();
    for (int i = 0; i < PageCount(); ++i) {
        TLumOfficePage* page = Pages(i);
        if (!page->TabVisible()) continue;
        auto* item = new TMenuItem(this);
        item->SetCaption(page->TabCaption());
        item->SetRadioItem(true);
        item->SetChecked(i == ActivePageIndex());
        item->SetTag(i);
        item->OnClick = TNotifyEvent::Bind<&TLumOfficePager::PageListItemClick>(this);
        FPageListMenu->Items()->Add(item);
    }
    if (!FPageListButton) return;
    const TPoint p = PageListPopupPoint();
    if (OnPageListClick)
        OnPageListClick(this, p.X, p.Y);
    else
        FPageListMenu->Popup(p.X, p.Y);
}

void TLumOfficePager::PageListItemClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    const int index = int(item->Tag());
    if (index >= 0 && index < PageCount()) SetActivePageIndex(index);
}

// ---- Keys -------------------------------------------------------------------------

void TLumOfficePager::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TLumOfficePager::WMKeyDown(TMessage& m) {
    switch (m.WParam) {
    case VK_TAB:
        if (Parent()) {
            if (TWinControl* next = Parent()->FindNextControl(this, true, true, false); next && next->CanFocus())
                next->SetFocus();
        }
        break;
    case VK_ESCAPE: HideShortCutHintWindows(); break;
    case VK_LEFT:
    case VK_UP:
        HideShortCutHintWindows();
        SelectNextPage(false);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        HideShortCutHintWindows();
        SelectNextPage(true);
        break;
    default:
        if (FShortCutHintsShowing) {
            const UINT ch = MapVirtualKeyA(UINT(m.WParam), MAPVK_VK_TO_CHAR);
            if (ch) ShortCutHintKey(char(ch));
        }
        break;
    }
    TCustomControl::WndProc(m);
}

void TLumOfficePager::CMDialogKey(TMessage& m) {
    const bool inside = HandleAllocated() && (GetFocus() == FHandle || IsChild(FHandle, GetFocus()));
    if (inside && m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

namespace {

// The accelerator of a caption: the character after a single "&".
char AcceleratorOf(const String& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

}  // namespace

void TLumOfficePager::CMDialogChar(TMessage& m) {
    const char typed = char(std::toupper(int(m.WParam & 0xFF)));
    if (CanFocus()) {
        for (int i = 0; i < PageCount(); ++i) {
            TLumOfficePage* page = Pages(i);
            const char accel = AcceleratorOf(page->TabCaption());
            if (accel && char(std::toupper(static_cast<unsigned char>(accel))) == typed && page->TabVisible()) {
                SetActivePageIndex(i);
                m.Result = 1;
                return;
            }
        }
    }
    TCustomControl::WndProc(m);
}

void TLumOfficePager::CMFocusChanged(TMessage& m) {
    TCustomControl::WndProc(m);
    if (IsLoading() || IsDesigning()) return;
    if (reinterpret_cast<TWinControl*>(m.LParam) == this)
        ShowShortCutHintWindows();
    else if (FShortCutHintsShowing)
        HideShortCutHintWindows();
    InvalidateTab(-1);
}

void TLumOfficePager::WMKillFocus(TMessage& m) {
    TCustomControl::WndProc(m);
    HideShortCutHintWindows();
}

// ---- Key tips ---------------------------------------------------------------------

TShortCutHintWindow* TLumOfficePager::CreateShortCutHintWindow() {
    auto* window = new TShortCutHintWindow(this);
    window->SetParent(this);
    FShortCutHintWindows.push_back(window);
    return window;
}

void TLumOfficePager::FreeShortCutHintWindow(TShortCutHintWindow* window) {
    auto it = std::find(FShortCutHintWindows.begin(), FShortCutHintWindows.end(), window);
    if (it == FShortCutHintWindows.end()) return;
    FShortCutHintWindows.erase(it);
    delete window;
}

void TLumOfficePager::ShowShortCutHintWindows() {
    if (!FShowShortCutHints) return;
    for (int i = 0; i < PageCount(); ++i) Pages(i)->ShowKeyTip();
    FShortCutHintsShowing = true;
    FShortCutHintText.clear();
    if (!IsDesigning()) HookForm();
}

void TLumOfficePager::HideShortCutHintWindows() {
    for (int i = 0; i < PageCount(); ++i) Pages(i)->HideKeyTip();
    FShortCutHintsShowing = false;
    if (!IsDesigning()) UnhookForm();
}

namespace {

// Every pager on a form that shows key tips is a client of one hook of the
// form's window procedure. The hooks live as long as the program.
TSharedFormHooks<TMessage>& FormKeyTipHooks() {
    static auto* hooks = new TSharedFormHooks<TMessage>;
    return *hooks;
}

}  // namespace

void TLumOfficePager::HookForm() {
    if (FHookedForm) return;
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    FHookedForm = form;
    FormKeyTipHooks().Join(form, form->WindowProc, TWndMethod::Bind<&TLumOfficePager::FormWndProcHook>(this));
}

void TLumOfficePager::UnhookForm() {
    if (!FHookedForm) return;
    FormKeyTipHooks().Leave(FHookedForm, TWndMethod::Bind<&TLumOfficePager::FormWndProcHook>(this));
    FHookedForm = nullptr;
}

void TLumOfficePager::FormWndProcHook(TMessage& m) {
    const bool hide =
        m.Msg == WM_SIZE || m.Msg == WM_LBUTTONDOWN || m.Msg == WM_MOVING ||
        (m.Msg == WM_SYSCOMMAND && ((m.WParam & 0xFFF0) == SC_MINIMIZE || (m.WParam & 0xFFF0) == SC_MAXIMIZE));
    if (hide && FShortCutHintsShowing) HideShortCutHintWindows();
}

void TLumOfficePager::ShortCutHintKey(char key) {
    std::vector<String> hints;
    std::vector<bool> shown;
    for (int i = 0; i < PageCount(); ++i) {
        TLumOfficePage* page = Pages(i);
        hints.push_back(page->ShortCutHint());
        shown.push_back(page->KeyTipWindow() && IsWindowVisible(page->KeyTipWindow()->Handle()));
    }
    const String typed = FShortCutHintText + key;
    const TKeyTipMatch match = MatchKeyTips(typed, hints, shown);
    if (match.FullMatch >= 0) {
        HideShortCutHintWindows();
        SetActivePageIndex(match.FullMatch);
        return;
    }
    if (!match.Partial) {
        // Nothing starts so: the letter is dropped and the tips stay.
        MessageBeep(0);
        return;
    }
    FShortCutHintText = typed;
    int stillShown = 0;
    for (int i = 0; i < PageCount(); ++i) {
        if (!shown[size_t(i)]) Pages(i)->HideKeyTip();
        if (Pages(i)->KeyTipWindow()) ++stillShown;
    }
    if (stillShown == 0) FShortCutHintsShowing = false;
}

#include "classlib/ui/menus.h"

#include <algorithm>

#include "classlib/ui/forms.h"

QL_DEFINE_ENUM(TPopupAlignment, "paLeft", "paRight", "paCenter")

TClass TMenuItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem")
                                       .Prop("Caption", &TMenuItem::FCaption, &TMenuItem::SetCaption)
                                       .Prop("Checked", &TMenuItem::FChecked, &TMenuItem::SetChecked)
                                       .Default(false)
                                       .Prop("Enabled", &TMenuItem::FEnabled, &TMenuItem::SetEnabled)
                                       .Default(true)
                                       .Prop("GroupIndex", &TMenuItem::FGroupIndex, &TMenuItem::SetGroupIndex)
                                       .Default(0)
                                       .Prop("ImageIndex", &TMenuItem::FImageIndex, &TMenuItem::SetImageIndex)
                                       .Default(-1)
                                       .Prop("RadioItem", &TMenuItem::FRadioItem, &TMenuItem::SetRadioItem)
                                       .Default(false)
                                       .Prop("Visible", &TMenuItem::FVisible, &TMenuItem::SetVisible)
                                       .Default(true)
                                       .Prop("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick)
                                       .Build();
    return &info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (FParent) FParent->Remove(this);
    while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FItems[size_t(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->FParent) throw EInvalidOperation("Menu inserted twice");
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) throw EInvalidOperation("Sub-menu is not in menu");
    FItems.erase(it);
    item->FParent = nullptr;
}

void TMenuItem::Clear() {
    while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Click() {
    if (FRadioItem && FParent) {
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->FChecked = false;
        FChecked = true;
    }
    OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->Owner() && dynamic_cast<TMenu*>(FParent->Owner()) &&
        static_cast<TMenu*>(FParent->Owner())->Items() == FParent)
        return FParent->Owner();
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (FParent) FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TMenuItem* item : FItems) proc(item);
}

TClass TMenu::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMenu>("TMenu").Build();
    return &info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner) { FItems = new TMenuItem(nullptr); }

TMenu::~TMenu() { delete FItems; }

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { FItems->GetChildren(proc, root); }

TClass TPopupMenu::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu")
                                       .Prop("Alignment", &TPopupMenu::FAlignment, &TPopupMenu::SetAlignment)
                                       .Default(paLeft)
                                       .Prop("AutoPopup", &TPopupMenu::FAutoPopup, &TPopupMenu::SetAutoPopup)
                                       .Default(true)
                                       .Prop("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup)
                                       .Build();
    return &info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

namespace {

void BuildMenu(HMENU menu, TMenuItem* parent, std::vector<TMenuItem*>& ids) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->Enabled() ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (item->Count() > 0) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, item, ids);
            AppendMenuA(menu, flags | MF_POPUP, UINT_PTR(sub), item->Caption().c_str());
        } else {
            ids.push_back(item);
            AppendMenuA(menu, flags, UINT_PTR(ids.size()), item->Caption().c_str());
        }
    }
}

}  // namespace

void TPopupMenu::Popup(int x, int y) {
    OnPopup(this);
    FLastChosen = nullptr;
    HMENU menu = CreatePopupMenu();
    std::vector<TMenuItem*> ids;
    BuildMenu(menu, FItems, ids);
    UINT align = FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    HWND owner = Application ? Application->Handle() : nullptr;
    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        owner = Application->MainForm()->Handle();
    UINT chosen = UINT(TrackPopupMenu(menu, align | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (chosen > 0 && chosen <= ids.size()) {
        FLastChosen = ids[chosen - 1];
        FLastChosen->Click();
    }
}

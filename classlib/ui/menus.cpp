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

namespace {

// The command ids of the items alive. A new item takes the next free id
// after the one given last, so that an id freed is not given again at
// once (a command posted for a freed item finds no other).
class TCommandIds {
public:
    Word Take() {
        for (size_t tried = 0; tried + 1 < FUsed.size(); ++tried) {
            FLast = FLast + 1 < FUsed.size() ? FLast + 1 : 1;
            if (!FUsed[FLast]) {
                FUsed[FLast] = true;
                return Word(FLast);
            }
        }
        throw EInvalidOperation("Too many menu items");
    }
    void Give(Word id) { FUsed[id] = false; }

private:
    std::vector<bool> FUsed = std::vector<bool>(0x10000);  // 0 is no command
    size_t FLast = 0;
};

TCommandIds& CommandIds() {
    static TCommandIds ids;
    return ids;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { FCommand = CommandIds().Take(); }

TMenuItem::~TMenuItem() {
    if (FParent) FParent->Remove(this);
    while (!FItems.empty()) delete FItems.back();
    CommandIds().Give(FCommand);
}

void TMenuItem::SetCaption(const String& caption) {
    if (FCaption == caption) return;
    FCaption = caption;
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
    if (FChecked == checked) return;
    FChecked = checked;
    Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (FEnabled == enabled) return;
    FEnabled = enabled;
    Changed();
}

void TMenuItem::SetVisible(bool visible) {
    if (FVisible == visible) return;
    FVisible = visible;
    Changed();
}

TMenu* TMenuItem::Menu() const {
    const TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    return root->FMenu;
}

void TMenuItem::Changed() {
    if (TMenu* menu = Menu()) menu->MenuChanged(this);
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
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) throw EInvalidOperation("Sub-menu is not in menu");
    FItems.erase(it);
    item->FParent = nullptr;
    Changed();
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
        Changed();
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

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    FItems = new TMenuItem(nullptr);
    FItems->FMenu = this;
}

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

// Appends parent's visible items to menu: "-" as separators, items with
// sub-items as popups on the menu subMenu(item) gives (and fills), the
// others with the command id command(item) gives.
template <class SubMenu, class Command>
void AppendItems(HMENU menu, TMenuItem* parent, SubMenu subMenu, Command command) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item->Enabled() ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (item->Count() > 0)
            AppendMenuA(menu, flags | MF_POPUP, UINT_PTR(subMenu(item)), item->Caption().c_str());
        else
            AppendMenuA(menu, flags, command(item), item->Caption().c_str());
    }
}

void BuildMenu(HMENU menu, TMenuItem* parent, std::vector<TMenuItem*>& ids) {
    AppendItems(
        menu, parent,
        [&](TMenuItem* item) {
            HMENU sub = CreatePopupMenu();
            BuildMenu(sub, item, ids);
            return sub;
        },
        [&](TMenuItem* item) {
            ids.push_back(item);
            return UINT_PTR(ids.size());
        });
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

// ============================================================================
// TMainMenu
// ============================================================================

TClass TMainMenu::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu").Build();
    return &info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

namespace {

// Takes every entry off a native menu without destroying the sub-menus
// they open: those are the main menu's own to keep or destroy.
void EmptyMenu(HMENU menu) {
    for (int count = GetMenuItemCount(menu); count > 0; --count)
        if (!RemoveMenu(menu, 0, MF_BYPOSITION)) break;
}

}  // namespace

TMainMenu::~TMainMenu() {
    SetWindowHandle(nullptr);
    // Each native menu is emptied before any is destroyed, so that none
    // takes another along: every handle is destroyed exactly once.
    for (auto& [item, menu] : FSubMenus) EmptyMenu(menu);
    if (FHandle) EmptyMenu(FHandle);
    for (auto& [item, menu] : FSubMenus) DestroyMenu(menu);
    FSubMenus.clear();
    if (FHandle) DestroyMenu(FHandle);
    FHandle = nullptr;
}

HMENU TMainMenu::Handle() {
    if (!FHandle) {
        FHandle = CreateMenu();
        if (!FHandle) throw EOSError("Cannot create the menu bar", GetLastError());
        Rebuild();
    }
    return FHandle;
}

void TMainMenu::Loaded() {
    TMenu::Loaded();
    Rebuild();
}

void TMainMenu::MenuChanged(TMenuItem*) {
    // A menu going (or its form) tells of every item it frees: nothing
    // shows any more.
    if (!IsDestroying()) Rebuild();
}

void TMainMenu::Rebuild() {
    if (!FHandle) return;
    for (auto& [item, menu] : FSubMenus) EmptyMenu(menu);
    EmptyMenu(FHandle);
    std::vector<std::pair<TMenuItem*, HMENU>> shown;
    {
        // A sub-menu made here that the list does not hold yet must not be
        // lost when making the next one fails.
        TOnFailure keep([&] {
            for (auto& entry : shown)
                if (SubMenuOf(entry.first) != entry.second) FSubMenus.push_back(entry);
        });
        Fill(FHandle, FItems, shown);
    }
    // The sub-menus of items no longer shown (removed, hidden, or without
    // sub-items now) are empty, and go.
    for (auto& [item, menu] : FSubMenus) {
        bool kept = false;
        for (auto& entry : shown) kept = kept || entry.second == menu;
        if (!kept) DestroyMenu(menu);
    }
    FSubMenus.swap(shown);
    if (FWindowHandle && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == FHandle) DrawMenuBar(FWindowHandle);
}

void TMainMenu::Fill(HMENU menu, TMenuItem* parent, std::vector<std::pair<TMenuItem*, HMENU>>& shown) {
    AppendItems(
        menu, parent,
        [&](TMenuItem* item) {
            HMENU sub = SubMenuOf(item);
            if (!sub) {
                sub = CreatePopupMenu();
                if (!sub) throw EOSError("Cannot create a sub-menu", GetLastError());
            }
            shown.emplace_back(item, sub);
            Fill(sub, item, shown);
            return sub;
        },
        [](TMenuItem* item) { return UINT_PTR(item->Command()); });
}

HMENU TMainMenu::SubMenuOf(const TMenuItem* item) const {
    for (auto& [owner, menu] : FSubMenus)
        if (owner == item) return menu;
    return nullptr;
}

void TMainMenu::SetWindowHandle(HWND window) {
    if (FWindowHandle == window) return;
    if (FWindowHandle && FHandle && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == FHandle)
        ::SetMenu(FWindowHandle, nullptr);
    FWindowHandle = window;
    if (window && !::SetMenu(window, Handle())) {
        FWindowHandle = nullptr;
        throw EOSError("Cannot attach the menu bar to its window", GetLastError());
    }
}

bool TMainMenu::DispatchPopup(HMENU menu) {
    if (!menu) return false;
    TMenuItem* item = nullptr;
    for (auto& [owner, sub] : FSubMenus)
        if (sub == menu) item = owner;
    // The handler may change the items, and with them the list.
    if (item) item->Click();
    return item != nullptr;
}

namespace {

TMenuItem* FindCommand(TMenuItem* parent, Word command) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (item->Count() > 0) {
            if (TMenuItem* found = FindCommand(item, command)) return found;
        } else if (item->Command() == command && !item->IsLine()) {
            return item;
        }
    }
    return nullptr;
}

}  // namespace

bool TMainMenu::DispatchCommand(Word command) {
    TMenuItem* item = command ? FindCommand(FItems, command) : nullptr;
    if (item) item->Click();
    return item != nullptr;
}

void RegisterMenuClasses() {
    RegisterClasses({TMenuItem::StaticClass(), TPopupMenu::StaticClass(), TMainMenu::StaticClass()});
}

// Menus: TMenuItem trees, the popup menu that shows them and the main menu
// that is a form's menu bar.
#pragma once

#include <vector>

#include "classlib/ui/controls.h"

class TMenu;

class TMenuItem : public TComponent {
    QL_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // Each change is reported to the menu that holds the item (TMenu's
    // MenuChanged), as are sub-items added and removed.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& caption);
    bool Checked() const { return FChecked; }
    void SetChecked(bool checked);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v) { FRadioItem = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    bool IsLine() const { return FCaption == "-"; }
    // The command id of the item's entry in a native menu (the id of its
    // WM_COMMAND): the item keeps it for its whole life, and no other item
    // alive has it.
    Word Command() const { return FCommand; }
    // The menu whose item tree holds this item (nullptr: none).
    TMenu* Menu() const;

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;

    TNotifyEvent OnClick;
    virtual void Click();

    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

private:
    friend class TMenu;
    // Tells the menu holding the item that it changed.
    void Changed();

    TMenu* FMenu = nullptr;  // set on a menu's own root item only
    Word FCommand = 0;
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
    QL_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

protected:
    friend class TMenuItem;
    // An item of the menu's tree changed: its caption or state, or the
    // items below it. The menu's own shape is made afresh each time it
    // shows by default.
    virtual void MenuChanged(TMenuItem* item) {}

    TMenuItem* FItems;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
QL_DECLARE_ENUM(TPopupAlignment);

class TPopupMenu : public TMenu {
    QL_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment a) { FAlignment = a; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
    // Shows the menu at a screen position and returns once it is closed,
    // after the chosen item's OnClick ran.
    virtual void Popup(int x, int y);
    // The item Popup chose last time (nullptr: none).
    TMenuItem* LastChosen() const { return FLastChosen; }

    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TComponent* FPopupComponent = nullptr;
    TMenuItem* FLastChosen = nullptr;
};

// A form's menu bar (TCustomForm's Menu). Its native menus are made when
// Handle is first asked: a menu bar with one entry for each visible item,
// a popup sub-menu for each item that has items of its own, separators for
// "-" items, and the items' captions, checks and greyed states. A change
// of an item rebuilds them. The bar and each item's sub-menu keep their
// handles across rebuilds, so that an item's OnClick may change the
// sub-items while their sub-menu is about to open (DispatchPopup).
class TMainMenu : public TMenu {
    QL_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    // The native menu bar, made (with its sub-menus) on first use.
    HMENU Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Makes the native menus' entries afresh from the items (nothing while
    // there is no handle): sub-menus of items no longer shown are
    // destroyed, and the window showing the bar redraws it.
    void Rebuild();
    // The native sub-menu of an item of this menu (nullptr: none shown).
    HMENU SubMenuOf(const TMenuItem* item) const;

    // The window that shows the bar: setting one attaches the bar to it
    // (and takes it off the window before); nullptr only takes it off.
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND window);

    // A sub-menu is about to open (WM_INITMENUPOPUP): the item whose
    // native sub-menu it is runs Click, so that its OnClick can set up the
    // sub-items before they show. False when the menu is none of this
    // bar's sub-menus.
    virtual bool DispatchPopup(HMENU menu);
    // A command chosen from the bar (WM_COMMAND): the item with that
    // command id runs Click. False when no item of this menu has it.
    bool DispatchCommand(Word command);

    void Loaded() override;

protected:
    void MenuChanged(TMenuItem* item) override;

private:
    void Fill(HMENU menu, TMenuItem* parent, std::vector<std::pair<TMenuItem*, HMENU>>& shown);

    HMENU FHandle = nullptr;
    HWND FWindowHandle = nullptr;
    // The sub-menus shown, each with its item.
    std::vector<std::pair<TMenuItem*, HMENU>> FSubMenus;
};

// Registers the menu classes for the stored layout.
void RegisterMenuClasses();

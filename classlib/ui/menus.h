// Menus: TMenuItem trees and the popup menu that shows them.
#pragma once

#include <vector>

#include "classlib/ui/controls.h"

class TMenuItem : public TComponent {
    QL_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& caption) { FCaption = caption; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool checked) { FChecked = checked; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled) { FEnabled = enabled; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible) { FVisible = visible; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v) { FRadioItem = v; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v) { FImageIndex = v; }
    bool IsLine() const { return FCaption == "-"; }

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

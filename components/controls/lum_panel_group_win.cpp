#include "components/controls/lum_panel_group_win.h"

#include <algorithm>

#include "components/foundation/visual_styles_win.h"

TClass TLumPanelGroup::StaticClass() {
    using C = TLumPanelGroup;
    static const TClassInfo info = TClassBuilder<C>("TLumPanelGroup")
                                       .Prop("Columns", &C::Columns, &C::SetColumns)
                                       .Default(1)
                                       .Prop("DefaultPanel", &C::DefaultPanel, &C::SetDefaultPanel)
                                       .Prop("GroupStyle", &C::GroupStyle, &C::SetGroupStyle)
                                       .Default(gsVertical)
                                       .Prop("HorzPadding", &C::HorzPadding, &C::SetHorzPadding)
                                       .Default(8)
                                       .Prop("VertPadding", &C::VertPadding, &C::SetVertPadding)
                                       .Default(8)
                                       .Prop("ScrollSmooth", &C::ScrollSmooth, &C::SetScrollSmooth)
                                       .Default(false)
                                       .Publish("DoubleBuffered")
                                       .Default(!IsVista())
                                       .Build();
    return &info;
}

TLumPanelGroup::TLumPanelGroup(TComponent* owner) : TLumPanel(owner), FDefaultPanel(new TLumPanelSettings) {
    FControlStyle.Include(csAcceptsControls);
    // Double buffering only where the system does not compose windows itself.
    FDoubleBuffered = !IsVista();
    FScrollBar = NewObject<TScrollBar>(this);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetVisible(false);
    FScrollBar->SetAlign(alRight);
    FScrollBar->SetParent(this);
    FScrollBar->SetPosition(0);
    FScrollBar->SetLargeChange(20);
    FScrollBar->SetSmallChange(2);
    FScrollBar->SetTabStop(false);
    FScrollBar->OnScroll = TScrollEvent::Bind<&TLumPanelGroup::Scrolled>(this);
}

TLumPanelGroup::~TLumPanelGroup() {
    // The panels are freed by whoever holds them (the child controls go with
    // their parent); the group frees only what it owns.
    for (TCustomLumPanel* p : FPanels) p->RemoveFreeNotification(this);
    FPanels.clear();
    delete FDefaultPanel;
    FDefaultPanel = nullptr;
}

void TLumPanelGroup::Track(TCustomLumPanel* panel) {
    if (std::find(FPanels.begin(), FPanels.end(), panel) != FPanels.end()) return;
    FPanels.push_back(panel);
    panel->FreeNotification(this);
}

void TLumPanelGroup::Notification(TComponent* component, TOperation operation) {
    TLumPanel::Notification(component, operation);
    // Compared as components: a panel being freed is no panel any more.
    if (operation == opRemove)
        std::erase_if(FPanels, [&](TCustomLumPanel* p) { return static_cast<TComponent*>(p) == component; });
    if (component == FScrollBar && operation == opRemove) FScrollBar = nullptr;
}

void TLumPanelGroup::Loaded() {
    TLumPanel::Loaded();
    SetWidth(FWidth + 1);
    SetWidth(FWidth - 1);
    UpdateScrollBar();
    Arrange();
    for (TCustomLumPanel* p : FPanels) p->RemoveFreeNotification(this);
    FPanels.clear();
    for (TCustomLumPanel* p : ChildPanels()) Track(p);
}

void TLumPanelGroup::SetColumns(int value) {
    if (value <= 0) return;
    FColumns = value;
    UpdateScrollBar();
    Arrange();
    UpdateScrollBar();
}

void TLumPanelGroup::SetGroupStyle(TGroupStyle value) {
    if (FGroupStyle == value) return;
    FGroupStyle = value;
    UpdateScrollBar();
    Arrange();
}

void TLumPanelGroup::SetHorzPadding(int value) {
    if (FHorzPadding == value) return;
    FHorzPadding = value;
    Arrange();
}

void TLumPanelGroup::SetVertPadding(int value) {
    if (FVertPadding == value) return;
    FVertPadding = value;
    Arrange();
}

void TLumPanelGroup::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
}

void TLumPanelGroup::ChildPanelChanged(TCustomLumPanel* child) {
    if (child && child->Parent() == this) Track(child);
    UpdateScrollBar();
    Arrange();
}

void TLumPanelGroup::PanelStateChanged() {
    Arrange();
    UpdateScrollBar();
}

std::vector<TCustomLumPanel*> TLumPanelGroup::ChildPanels() const {
    std::vector<TCustomLumPanel*> panels;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = dynamic_cast<TCustomLumPanel*>(Controls(i))) panels.push_back(p);
    return panels;
}

std::vector<TGroupItem> TLumPanelGroup::Items(const std::vector<TCustomLumPanel*>& panels) const {
    std::vector<TGroupItem> items;
    for (TCustomLumPanel* p : panels) items.push_back({p->Left(), p->Top(), p->Width(), p->Height(), p->Visible()});
    return items;
}

TGroupGeometry TLumPanelGroup::Geometry() const {
    TGroupGeometry g;
    g.Width = FWidth;
    g.Height = FHeight;
    g.HorzPadding = FHorzPadding;
    g.VertPadding = FVertPadding;
    g.Columns = FColumns;
    g.ScrollVisible = FScrollBar && FScrollBar->Visible();
    g.ScrollPosition = FScrollBar ? FScrollBar->Position() : 0;
    g.ScrollSize = FScrollBar ? (FGroupStyle == gsVertical ? FScrollBar->Width() : FScrollBar->Height()) : 0;
    g.CaptionHeight = Caption()->Visible() ? Caption()->Height() : 0;
    return g;
}

void TLumPanelGroup::Arrange() {
    if (IsLoading() || FArranging || FUpdateCount > 0) return;
    FArranging = true;
    TScopeExit done([this] { FArranging = false; });
    if (FGroupStyle == gsVertical)
        ArrangeVertically();
    else
        ArrangeHorizontally();
}

void TLumPanelGroup::ArrangeVertically() {
    if (FUpdateCount >= 1) return;
    ++FUpdateCount;
    TScopeExit done([this] { --FUpdateCount; });
    std::vector<TCustomLumPanel*> panels = ChildPanels();
    std::vector<TGroupItem> items = Items(panels);
    std::vector<int> order = GroupOrder(items, gsVertical);
    std::vector<TCustomLumPanel*> sorted;
    std::vector<TGroupItem> ordered;
    for (int i : order) {
        sorted.push_back(panels[std::size_t(i)]);
        ordered.push_back(items[std::size_t(i)]);
    }
    if (FScrollSmooth)
        for (TCustomLumPanel* p : sorted)
            if (p->Visible()) p->Perform(WM_SETREDRAW, FALSE, 0);
    const std::vector<TRect> bounds = ArrangeVertical(ordered, Geometry());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i]->SetBounds(bounds[i].Left, bounds[i].Top, bounds[i].Width(), sorted[i]->Height());
    RelayoutPanels(sorted);
    Invalidate();
}

void TLumPanelGroup::ArrangeHorizontally() {
    std::vector<TCustomLumPanel*> panels = ChildPanels();
    std::vector<TGroupItem> items = Items(panels);
    std::vector<TCustomLumPanel*> sorted;
    std::vector<TGroupItem> ordered;
    for (int i : GroupOrder(items, gsHorizontal)) {
        sorted.push_back(panels[std::size_t(i)]);
        ordered.push_back(items[std::size_t(i)]);
    }
    const std::vector<TRect> bounds = ArrangeHorizontal(ordered, Geometry());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i]->SetBounds(bounds[i].Left, bounds[i].Top, sorted[i]->Width(), bounds[i].Height());
}

void TLumPanelGroup::RelayoutPanels(const std::vector<TCustomLumPanel*>& panels) {
    for (TCustomLumPanel* p : panels) {
        if (FScrollSmooth && p->Visible()) {
            p->Perform(WM_SETREDRAW, TRUE, 0);
            p->Invalidate();
        }
        p->Invalidate();
        for (int i = 0; i < p->ControlCount(); ++i) {
            TControl* child = p->Controls(i);
            auto* win = dynamic_cast<TWinControl*>(child);
            if (win && win->Visible() && win->ControlCount() == 0 && win->HandleAllocated()) {
                win->Perform(WM_SETREDRAW, FALSE, 0);
                win->Perform(WM_SETREDRAW, TRUE, 0);
            }
            // Forces the child to lay itself out again.
            child->SetWidth(child->Width() + 1);
            child->SetWidth(child->Width() - 1);
        }
    }
}

void TLumPanelGroup::UpdateScrollBar() {
    if (FUpdateCount > 0 || !FScrollBar || FUpdatingScrollBar) return;
    // Showing or sizing the bar aligns the children again, which asks here.
    FUpdatingScrollBar = true;
    TScopeExit done([this] { FUpdatingScrollBar = false; });
    std::vector<TCustomLumPanel*> panels = ChildPanels();
    std::vector<TGroupItem> items = Items(panels);
    std::vector<TGroupItem> ordered;
    for (int i : GroupOrder(items, FGroupStyle)) ordered.push_back(items[std::size_t(i)]);
    const int extent = GroupExtent(ordered, Geometry(), FGroupStyle);
    const bool horizontal = FGroupStyle == gsHorizontal;
    if (horizontal) {
        if (FScrollBar->Kind() == sbVertical) FScrollBar->SetKind(sbHorizontal);
        if (FScrollBar->Align() == alRight) FScrollBar->SetAlign(alBottom);
        FScrollBar->SetHeight(16);
    } else {
        if (FScrollBar->Kind() == sbHorizontal) FScrollBar->SetKind(sbVertical);
        FScrollBar->SetWidth(16);
    }
    const int room = horizontal ? FWidth : FHeight;
    const bool needed = extent > 0 && room < extent;
    if (needed) {
        FScrollBar->SetParams(std::min(FScrollBar->Position(), extent), 0, extent);
        FScrollBar->SetPageSize(room);
        FScrollBar->SetLargeChange(room / 3);
    }
    FScrollBar->SetVisible(needed);
    Invalidate();
}

void TLumPanelGroup::Scrolled(TObject*, TScrollCode code, int& position) {
    if (code != scEndScroll) return;
    const int last = FScrollBar->Max() - FScrollBar->PageSize();
    if (position > last) position = last;
    FScrollBar->SetPosition(position);
    Arrange();
}

void TLumPanelGroup::WheelBy(int delta) {
    FScrollBar->SetPosition(std::clamp(FScrollBar->Position() + delta, 0, FScrollBar->MaxPosition()));
    Arrange();
}

bool TLumPanelGroup::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    if (!FScrollBar || !FScrollBar->Visible()) return TLumPanel::DoMouseWheelDown(shift, mousePos);
    WheelBy(2 * FScrollBar->SmallChange());
    return true;
}

bool TLumPanelGroup::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    if (!FScrollBar || !FScrollBar->Visible()) return TLumPanel::DoMouseWheelUp(shift, mousePos);
    WheelBy(-2 * FScrollBar->SmallChange());
    return true;
}

void TLumPanelGroup::SetBounds(int left, int top, int width, int height) {
    TLumPanel::SetBounds(left, top, width, height);
    if (width != FLastWidth || height != FLastHeight) {
        FLastWidth = width;
        FLastHeight = height;
        Arrange();
    }
}

void TLumPanelGroup::AlignControls(TControl* control, TRect& rect) {
    TLumPanel::AlignControls(control, rect);
    UpdateScrollBar();
}

void TLumPanelGroup::WndProc(TMessage& m) {
    TLumPanel::WndProc(m);
    if (m.Msg == WM_SIZE) UpdateScrollBar();
}

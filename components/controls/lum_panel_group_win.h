// The panel group: a panel that arranges the panels inside it in rows of
// Columns panels from the top (gsVertical) or side by side from the left
// (gsHorizontal), with paddings, and scrolls them with a scroll bar of its
// own (and the mouse wheel) when they do not fit. Every child panel that
// collapses, expands, closes, sizes itself or is moved or sized by the user
// asks its group to arrange again. The arithmetic is portable, in
// panel_layout.h.
#pragma once

#include <vector>

#include "classlib/ui/stdctrls.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/lum_panel_win.h"

class TLumPanelGroup : public TLumPanel {
    QL_CLASS(TLumPanelGroup, TLumPanel)
public:
    explicit TLumPanelGroup(TComponent* owner);
    ~TLumPanelGroup() override;

    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void WndProc(TMessage& message) override;
    void PanelStateChanged() override;
    void ChildPanelChanged(TCustomLumPanel* child) override;

    int Columns() const { return FColumns; }
    // Values of 0 and below are ignored.
    void SetColumns(int value);
    // Settings kept for new panels; the group does not apply them itself.
    TLumPanelSettings* DefaultPanel() const { return FDefaultPanel; }
    void SetDefaultPanel(TLumPanelSettings* value) { FDefaultPanel->Assign(value); }
    TGroupStyle GroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(TGroupStyle value);
    int HorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(int value);
    int VertPadding() const { return FVertPadding; }
    void SetVertPadding(int value);
    bool ScrollSmooth() const { return FScrollSmooth; }
    void SetScrollSmooth(bool value) { FScrollSmooth = value; }

    TScrollBar* ScrollBar() const { return FScrollBar; }
    // The child panels, as the group knows them: a panel freed anywhere
    // leaves the list at once.
    const std::vector<TCustomLumPanel*>& Panels() const { return FPanels; }

    // Arranges the panels (not while loading, arranging or updating).
    void Arrange();
    // Shows, hides and sizes the scroll bar for the extent the panels need.
    void UpdateScrollBar();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

private:
    // The child panels in child order, with their place and visibility.
    std::vector<TCustomLumPanel*> ChildPanels() const;
    std::vector<TGroupItem> Items(const std::vector<TCustomLumPanel*>& panels) const;
    TGroupGeometry Geometry() const;
    void ArrangeVertically();
    void ArrangeHorizontally();
    void RelayoutPanels(const std::vector<TCustomLumPanel*>& panels);
    void Scrolled(TObject* sender, TScrollCode code, int& position);
    void WheelBy(int delta);
    void Track(TCustomLumPanel* panel);

    int FColumns = 1;
    TLumPanelSettings* FDefaultPanel;
    TGroupStyle FGroupStyle = gsVertical;
    int FHorzPadding = 8;
    int FVertPadding = 8;
    bool FScrollSmooth = false;
    TScrollBar* FScrollBar;
    std::vector<TCustomLumPanel*> FPanels;
    int FUpdateCount = 0;
    bool FArranging = false;
    bool FUpdatingScrollBar = false;
    int FLastWidth = -1, FLastHeight = -1;
};

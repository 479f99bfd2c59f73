// The pager's tab geometry and the scroll state of its tab row. Portable:
// the pager's layout code reads them on the host too.
//
//   settings->SetHeight(30);       // fires OnChange (a different value)
//   settings->SetHeight(30);       // nothing
#pragma once

#include "classlib/core/classes.h"
#include "classlib/ui/graphics_types.h"

// Where a tab's picture sits relative to its caption.
enum TImagePosition { ipLeft, ipTop, ipRight, ipBottom };
QL_DECLARE_ENUM(TImagePosition);

// The outline of a tab: straight sides, or a ramp on the left, the right or
// both.
enum TLumTabShape { tsRectangle, tsLeftRamp, tsRightRamp, tsLeftRightRamp };
QL_DECLARE_ENUM(TLumTabShape);

// The corner rounding of a tab, 0 to 8.
using TTabRounding = Byte;
inline constexpr TTabRounding MaxTabRounding = 8;
const TTypeInfo* TypeInfoTabRounding();

class TPagerTabSettings : public TPersistent {
    QL_CLASS(TPagerTabSettings, TPersistent)
public:
    TPagerTabSettings() = default;

    // From other tab settings: every value but Spacing, through the
    // writers. Anything else goes to the inherited Assign.
    void Assign(TPersistent* source) override;

    // Fired by every writer that changed its value.
    TNotifyEvent OnChange;

// A property whose writer stores and notifies only a different value.
#define QM_TAB_SETTING(Type, Name)                                                                                     \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type value) { Change(F##Name, value); }

    QM_TAB_SETTING(TAlignment, Alignment)
    QM_TAB_SETTING(int, LeftMargin)
    QM_TAB_SETTING(int, RightMargin)
    QM_TAB_SETTING(int, StartMargin)
    // Subtracted at the far end of the tab row; not stored.
    QM_TAB_SETTING(int, EndMargin)
    QM_TAB_SETTING(int, Height)
    QM_TAB_SETTING(int, Spacing)
    // A fixed tab width when above 0.
    QM_TAB_SETTING(int, Width)
    QM_TAB_SETTING(bool, WordWrap)
    QM_TAB_SETTING(TImagePosition, ImagePosition)
    QM_TAB_SETTING(TLumTabShape, Shape)
#undef QM_TAB_SETTING
    TTabRounding Rounding() const { return FRounding; }
    // Values above 8 are held at 8.
    void SetRounding(TTabRounding value) { Change(FRounding, value > MaxTabRounding ? MaxTabRounding : value); }

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }

    TAlignment FAlignment = taLeftJustify;
    int FLeftMargin = 4;
    int FRightMargin = 4;
    int FStartMargin = 4;
    int FEndMargin = 0;
    int FHeight = 26;
    int FSpacing = 4;
    int FWidth = 0;
    bool FWordWrap = false;
    TImagePosition FImagePosition = ipLeft;
    TLumTabShape FShape = tsRectangle;
    TTabRounding FRounding = 1;
};

// How far the tab row is scrolled: Position between Min and Max.
class TPagerTabScroller : public TPersistent {
    QL_CLASS(TPagerTabScroller, TPersistent)
public:
    TPagerTabScroller() = default;

    int Min() const { return FMin; }
    // Stores value only when Max is not below it.
    void SetMin(int value) {
        if (FMax >= value) FMin = value;
    }
    int Max() const { return FMax; }
    // Stores value only when it is not below Min.
    void SetMax(int value) {
        if (value >= FMin) FMax = value;
    }
    int Position() const { return FPosition; }
    void SetPosition(int value) { FPosition = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    bool CanGoBack() const { return FMin < FPosition; }
    bool CanGoForward() const { return FPosition < FMax; }

private:
    int FMin = 0;
    int FMax = 0;
    int FPosition = 0;
    bool FVisible = false;
};

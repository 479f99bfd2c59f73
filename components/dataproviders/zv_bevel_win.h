// TZvBevel: a windowless bevel that draws the class library's box, frame,
// line and spacer shapes, or edges of its own: any of the four sides with
// an inner and an outer cut, bold edges in the dark shadow, and ruled
// horizontal and vertical lines (TZvBevelLines). Stored layouts written for
// older forms of the control ("BevelInner", "BevelSides"...) still read.
#pragma once

#include "components/dataproviders/zv_bevel_geometry.h"
#include "components/dataproviders/zv_ex_bevel_win.h"

// The first seven shapes and the first two styles are the class library's
// (TBevelShape, TBevelStyle), in the same order; the custom ones say that
// Edges, Inner and Outer were set one by one. Scoped: the names are the
// class library's too.
enum class TZvBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer, bsCustomShape };
QL_DECLARE_ENUM(TZvBevelShape);
enum class TZvBevelStyle { bsLowered, bsRaised, bsCustomStyle };
QL_DECLARE_ENUM(TZvBevelStyle);

// The settings of one set of ruled lines, owned by a bevel.
class TZvBevelLines : public TPersistent {
    QL_CLASS(TZvBevelLines, TPersistent)
public:
    TZvBevelLines() = default;

    unsigned Count() const { return FCount; }
    void SetCount(unsigned value);
    TBevelCut Style() const { return FStyle; }
    void SetStyle(TBevelCut value);
    bool Bold() const { return FBold; }
    void SetBold(bool value);
    Byte Thickness() const { return FThickness; }
    void SetThickness(Byte value);
    bool IgnoreBorder() const { return FIgnoreBorder; }
    void SetIgnoreBorder(bool value);

    // Copies all five values from another line set and tells the owner
    // once; any other source goes to the inherited Assign.
    void Assign(TPersistent* source) override;
    // Reads and drops "Step" and "Origin" of older layouts.
    void DefineProperties(TFiler* filer) override;

    // Called after every change; the owning bevel sets it.
    TNotifyEvent OnChange;

    TZvBevelLineSet Geometry() const;

protected:
    void Changed() { OnChange(this); }

private:
    unsigned FCount = 0;
    TBevelCut FStyle = bvLowered;
    bool FBold = false;
    Byte FThickness = 1;
    bool FIgnoreBorder = false;
};

class TZvBevel : public TZvExBevel {
    QL_CLASS(TZvBevel, TZvExBevel)
public:
    explicit TZvBevel(TComponent* owner);
    ~TZvBevel() override;

    bool Bold() const { return FBold; }
    void SetBold(bool value);
    // Setting the edges makes the shape custom.
    TZvBevelEdges Edges() const { return FEdges; }
    void SetEdges(TZvBevelEdges value);
    // Setting a cut makes the style custom.
    TBevelCut Inner() const { return FInner; }
    void SetInner(TBevelCut value);
    TBevelCut Outer() const { return FOuter; }
    void SetOuter(TBevelCut value);
    TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(TPenStyle value);
    int PenWidth() const { return FPenWidth; }
    void SetPenWidth(int value);
    TZvBevelShape Shape() const { return FZvShape; }
    void SetShape(TZvBevelShape value);
    TZvBevelStyle Style() const { return FZvStyle; }
    void SetStyle(TZvBevelStyle value);
    TZvBevelLines* HorizontalLines() const { return FHorizontalLines; }
    void SetHorizontalLines(TZvBevelLines* value) { FHorizontalLines->Assign(value); }
    TZvBevelLines* VerticalLines() const { return FVerticalLines; }
    void SetVerticalLines(TZvBevelLines* value) { FVerticalLines->Assign(value); }

    // What the custom painting draws (also when the class library's
    // painting draws the control).
    TZvBevelGeometry Geometry() const;

    void DefineProperties(TFiler* filer) override;

    // Not fired: the class library has no docking.
    TEndDragEvent OnEndDock;
    TStartDockEvent OnStartDock;

protected:
    void Paint() override;

private:
    void LinesChanged(TObject* sender);
    // Inner and Outer as a non-custom style gives them.
    void FollowStyle();
    void ReadBevelSides(TReader* reader);

    bool FBold = false;
    TZvBevelEdges FEdges = kAllBevelEdges;
    TBevelCut FInner = bvNone;
    TBevelCut FOuter = bvLowered;
    TPenStyle FPenStyle = psSolid;
    int FPenWidth = 1;
    TZvBevelShape FZvShape = TZvBevelShape::bsBox;
    TZvBevelStyle FZvStyle = TZvBevelStyle::bsLowered;
    TZvBevelLines* FHorizontalLines = nullptr;
    TZvBevelLines* FVerticalLines = nullptr;
};

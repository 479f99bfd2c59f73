#include "components/dataproviders/zv_bevel_win.h"

#include "classlib/core/filer.h"

QL_DEFINE_ENUM(TZvBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer",
               "bsCustomShape")
QL_DEFINE_ENUM(TZvBevelStyle, "bsLowered", "bsRaised", "bsCustomStyle")

namespace {

// An enumeration value stored as its identifier; an identifier that is
// not one of the type's is the read error "Invalid property value".
template <class E>
E ReadEnumIdent(TReader* reader) {
    Int64 value = GetEnumValue(TypeInfoFor<E>(), reader->ReadIdent());
    if (value < 0) reader->ReadError("Invalid property value");
    return E(value);
}

TColor RoleColor(TZvBevelColorRole role) {
    switch (role) {
    case crShadowRole: return clBtnShadow;
    case crHighlightRole: return clBtnHighlight;
    case crDarkShadowRole: return cl3DDkShadow;
    }
    return clBtnShadow;
}

}  // namespace

// ============================================================================
// TZvBevelLines
// ============================================================================

TClass TZvBevelLines::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvBevelLines>("TZvBevelLines")
            .Prop("Count", &TZvBevelLines::FCount, &TZvBevelLines::SetCount)
            .Default(0)
            .Prop("Style", &TZvBevelLines::FStyle, &TZvBevelLines::SetStyle)
            .Default(bvLowered)
            .Prop("Bold", &TZvBevelLines::FBold, &TZvBevelLines::SetBold)
            .Default(false)
            .Prop("Thickness", &TZvBevelLines::FThickness, &TZvBevelLines::SetThickness)
            .Default(1)
            .Prop("IgnoreBorder", &TZvBevelLines::FIgnoreBorder, &TZvBevelLines::SetIgnoreBorder)
            .Default(false)
            .Build();
    return &info;
}

void TZvBevelLines::SetCount(unsigned value) {
    if (FCount == value) return;
    FCount = value;
    Changed();
}

void TZvBevelLines::SetStyle(TBevelCut value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TZvBevelLines::SetBold(bool value) {
    if (FBold == value) return;
    FBold = value;
    Changed();
}

void TZvBevelLines::SetThickness(Byte value) {
    if (FThickness == value) return;
    FThickness = value;
    Changed();
}

void TZvBevelLines::SetIgnoreBorder(bool value) {
    if (FIgnoreBorder == value) return;
    FIgnoreBorder = value;
    Changed();
}

void TZvBevelLines::Assign(TPersistent* source) {
    if (auto* lines = dynamic_cast<TZvBevelLines*>(source)) {
        FCount = lines->FCount;
        FStyle = lines->FStyle;
        FBold = lines->FBold;
        FThickness = lines->FThickness;
        FIgnoreBorder = lines->FIgnoreBorder;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TZvBevelLines::DefineProperties(TFiler* filer) {
    auto skip = [](TReader* reader) { reader->SkipValue(); };
    filer->DefineProperty("Step", skip, nullptr, false);
    filer->DefineProperty("Origin", skip, nullptr, false);
    TPersistent::DefineProperties(filer);
}

TZvBevelLineSet TZvBevelLines::Geometry() const {
    TZvBevelLineSet set;
    set.Count = FCount;
    set.Style = TZvEdgeCut(FStyle);
    set.Bold = FBold;
    set.Thickness = FThickness;
    set.IgnoreBorder = FIgnoreBorder;
    return set;
}

// ============================================================================
// TZvBevel
// ============================================================================

TClass TZvBevel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvBevel>("TZvBevel")
            .Prop("Bold", &TZvBevel::FBold, &TZvBevel::SetBold)
            .Default(false)
            .Prop("Edges", &TZvBevel::FEdges, &TZvBevel::SetEdges)
            .Default(kAllBevelEdges)
            .Prop("Inner", &TZvBevel::FInner, &TZvBevel::SetInner)
            .Default(bvNone)
            .Prop("Outer", &TZvBevel::FOuter, &TZvBevel::SetOuter)
            .Default(bvLowered)
            .Prop("PenStyle", &TZvBevel::FPenStyle, &TZvBevel::SetPenStyle)
            .Default(psSolid)
            .Prop("PenWidth", &TZvBevel::FPenWidth, &TZvBevel::SetPenWidth)
            .Default(1)
            .Publish("HintColor")
            .Prop("HorizontalLines", &TZvBevel::HorizontalLines, &TZvBevel::SetHorizontalLines)
            .Prop("Shape", &TZvBevel::FZvShape, &TZvBevel::SetShape)
            .Default(TZvBevelShape::bsBox)
            .Prop("Style", &TZvBevel::FZvStyle, &TZvBevel::SetStyle)
            .Default(TZvBevelStyle::bsLowered)
            .Prop("VerticalLines", &TZvBevel::VerticalLines, &TZvBevel::SetVerticalLines)
            .Publish("OnParentColorChange")
            .Prop("OnEndDock", &TZvBevel::OnEndDock, &TZvBevel::OnEndDock)
            .Prop("OnStartDock", &TZvBevel::OnStartDock, &TZvBevel::OnStartDock)
            .Build();
    return &info;
}

TZvBevel::TZvBevel(TComponent* owner) : TZvExBevel(owner) {
    FHintColor = clDefault;
    // Themed parents show through around the lines.
    FControlStyle.Include(csParentBackground);
    FHorizontalLines = new TZvBevelLines();
    FVerticalLines = new TZvBevelLines();
    FHorizontalLines->OnChange = TNotifyEvent::Bind<&TZvBevel::LinesChanged>(this);
    FVerticalLines->OnChange = TNotifyEvent::Bind<&TZvBevel::LinesChanged>(this);
}

TZvBevel::~TZvBevel() {
    delete FVerticalLines;
    delete FHorizontalLines;
}

void TZvBevel::LinesChanged(TObject*) {
    Invalidate();
    SetStyle(TZvBevelStyle::bsCustomStyle);
}

void TZvBevel::SetBold(bool value) {
    if (FBold == value) return;
    FBold = value;
    Invalidate();
}

void TZvBevel::SetEdges(TZvBevelEdges value) {
    if (FEdges == value) return;
    FEdges = value;
    SetShape(TZvBevelShape::bsCustomShape);
    Invalidate();
}

void TZvBevel::SetInner(TBevelCut value) {
    if (FInner == value) return;
    FInner = value;
    SetStyle(TZvBevelStyle::bsCustomStyle);
    Invalidate();
}

void TZvBevel::SetOuter(TBevelCut value) {
    if (FOuter == value) return;
    FOuter = value;
    SetStyle(TZvBevelStyle::bsCustomStyle);
    Invalidate();
}

void TZvBevel::SetPenStyle(TPenStyle value) {
    if (FPenStyle == value) return;
    FPenStyle = value;
    Invalidate();
}

void TZvBevel::SetPenWidth(int value) {
    if (FPenWidth == value) return;
    FPenWidth = value;
    Invalidate();
}

void TZvBevel::FollowStyle() {
    if (FZvStyle == TZvBevelStyle::bsLowered) {
        FInner = bvRaised;
        FOuter = bvLowered;
    } else if (FZvStyle == TZvBevelStyle::bsRaised) {
        FInner = bvLowered;
        FOuter = bvRaised;
    }
}

void TZvBevel::SetShape(TZvBevelShape value) {
    if (FZvShape == value) return;
    FZvShape = value;
    if (value != TZvBevelShape::bsCustomShape) {
        TBevel::SetShape(TBevelShape(value));
        FEdges = kAllBevelEdges;
        FollowStyle();
        switch (value) {
        case TZvBevelShape::bsBox:
            FInner = bvNone;
            if (FZvStyle == TZvBevelStyle::bsLowered) FOuter = bvLowered;
            if (FZvStyle == TZvBevelStyle::bsRaised) FOuter = bvRaised;
            break;
        case TZvBevelShape::bsTopLine: FEdges = TZvBevelEdges{beTop}; break;
        case TZvBevelShape::bsBottomLine: FEdges = TZvBevelEdges{beBottom}; break;
        case TZvBevelShape::bsLeftLine: FEdges = TZvBevelEdges{beLeft}; break;
        case TZvBevelShape::bsRightLine: FEdges = TZvBevelEdges{beRight}; break;
        case TZvBevelShape::bsSpacer:
            FInner = bvSpace;
            FOuter = bvSpace;
            FEdges = TZvBevelEdges();
            break;
        default: break;
        }
    }
    Invalidate();
}

void TZvBevel::SetStyle(TZvBevelStyle value) {
    if (FZvStyle == value) return;
    FZvStyle = value;
    if (value != TZvBevelStyle::bsCustomStyle) {
        TBevel::SetStyle(TBevelStyle(value));
        FollowStyle();
        if (FZvShape == TZvBevelShape::bsBox) {
            FInner = bvNone;
            FOuter = value == TZvBevelStyle::bsLowered ? bvLowered : bvRaised;
        } else if (FZvShape == TZvBevelShape::bsSpacer) {
            FInner = bvSpace;
            FOuter = bvSpace;
        }
    }
    Invalidate();
}

TZvBevelGeometry TZvBevel::Geometry() const {
    TZvBevelGeometry g;
    g.Width = FWidth;
    g.Height = FHeight;
    g.Bold = FBold;
    g.Inner = TZvEdgeCut(FInner);
    g.Outer = TZvEdgeCut(FOuter);
    g.Edges = FEdges;
    g.HorizontalLines = FHorizontalLines->Geometry();
    g.VerticalLines = FVerticalLines->Geometry();
    return g;
}

void TZvBevel::Paint() {
    if (FZvStyle != TZvBevelStyle::bsCustomStyle && FZvShape != TZvBevelShape::bsCustomShape) {
        TBevel::Paint();
        return;
    }
    TCanvas* c = FCanvas;
    c->Pen()->SetStyle(FPenStyle);
    c->Pen()->SetWidth(FPenWidth);
    for (const TZvBevelSegment& s : CustomBevelSegments(Geometry())) {
        c->Pen()->SetColor(RoleColor(s.Color));
        c->MoveTo(s.From.X, s.From.Y);
        c->LineTo(s.To.X, s.To.Y);
    }
}

void TZvBevel::ReadBevelSides(TReader* reader) {
    if (reader->NextValue() != vaSet) reader->ReadError("Invalid property value");
    reader->ReadValue();
    SetEdges(TZvBevelEdges());
    for (String name = reader->ReadStr(); !name.empty(); name = reader->ReadStr()) {
        TZvBevelEdge edge;
        if (!BevelEdgeFromLegacyName(name, edge)) {
            reader->SkipValue();  // the rest of the set
            reader->ReadError("Invalid property value");
        }
        FEdges.Include(edge);
    }
}

void TZvBevel::DefineProperties(TFiler* filer) {
    filer->DefineProperty(
        "BevelInner", [this](TReader* r) { SetInner(ReadEnumIdent<TBevelCut>(r)); }, nullptr, false);
    filer->DefineProperty(
        "BevelOuter", [this](TReader* r) { SetOuter(ReadEnumIdent<TBevelCut>(r)); }, nullptr, false);
    filer->DefineProperty(
        "BevelSides", [this](TReader* r) { ReadBevelSides(r); }, nullptr, false);
    filer->DefineProperty(
        "BevelBold", [this](TReader* r) { SetBold(r->ReadBoolean()); }, nullptr, false);
    filer->DefineProperty(
        "BevelPenStyle", [this](TReader* r) { SetPenStyle(ReadEnumIdent<TPenStyle>(r)); }, nullptr, false);
    filer->DefineProperty(
        "BevelPenWidth", [this](TReader* r) { SetPenWidth(int(r->ReadInteger())); }, nullptr, false);
    filer->DefineProperty(
        "InteriorOffset", [](TReader* r) { r->SkipValue(); }, nullptr, false);
    TZvExBevel::DefineProperties(filer);
}

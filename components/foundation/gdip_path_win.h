// A GDI+ path (lines, arcs, ellipses, Bézier and cardinal curves) and the
// region a path encloses.
#pragma once

#include "components/foundation/gdiplus_base_win.h"

class TGPGraphicsPath : public TGdiplusBase {
    QL_CLASS(TGPGraphicsPath, TGdiplusBase)
public:
    explicit TGPGraphicsPath(TFillMode fillMode = FillModeAlternate);
    ~TGPGraphicsPath() override;

    GpPath* Native() const { return FNative; }

    TStatus CloseFigure();
    TStatus AddLine(float x1, float y1, float x2, float y2);
    TStatus AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    TStatus AddEllipse(float x, float y, float width, float height);
    TStatus AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    TStatus AddBezier(const TGPPoint& p1, const TGPPoint& p2, const TGPPoint& p3, const TGPPoint& p4);
    // A cardinal spline through count points.
    TStatus AddCurve(const TGPPoint* points, int count, float tension);

private:
    GpPath* FNative = nullptr;
};

class TGPRegion : public TGdiplusBase {
    QL_CLASS(TGPRegion, TGdiplusBase)
public:
    // The region inside path (a missing path makes no region).
    explicit TGPRegion(TGPGraphicsPath* path);
    ~TGPRegion() override;

    GpRegion* Native() const { return FNative; }

private:
    GpRegion* FNative = nullptr;
};

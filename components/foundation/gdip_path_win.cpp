#include "components/foundation/gdip_path_win.h"

#include "classlib/core/typinfo.h"

TClass TGPGraphicsPath::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPGraphicsPath>("TGPGraphicsPath").Build();
    return &info;
}

TGPGraphicsPath::TGPGraphicsPath(TFillMode fillMode) { SetCreateStatus(Api().GdipCreatePath(fillMode, &FNative)); }

TGPGraphicsPath::~TGPGraphicsPath() {
    if (FNative) Api().GdipDeletePath(FNative);
}

TStatus TGPGraphicsPath::CloseFigure() { return SetStatus(Api().GdipClosePathFigure(FNative)); }

TStatus TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
    return SetStatus(Api().GdipAddPathLine(FNative, x1, y1, x2, y2));
}

TStatus TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
    return SetStatus(Api().GdipAddPathArc(FNative, x, y, width, height, startAngle, sweepAngle));
}

TStatus TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
    return SetStatus(Api().GdipAddPathEllipse(FNative, x, y, width, height));
}

TStatus TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
    return SetStatus(Api().GdipAddPathBezier(FNative, x1, y1, x2, y2, x3, y3, x4, y4));
}

TStatus TGPGraphicsPath::AddBezier(const TGPPoint& p1, const TGPPoint& p2, const TGPPoint& p3, const TGPPoint& p4) {
    return AddBezier(float(p1.X), float(p1.Y), float(p2.X), float(p2.Y), float(p3.X), float(p3.Y), float(p4.X),
                     float(p4.Y));
}

TStatus TGPGraphicsPath::AddCurve(const TGPPoint* points, int count, float tension) {
    return SetStatus(Api().GdipAddPathCurve2I(FNative, points, count, tension));
}

TClass TGPRegion::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPRegion>("TGPRegion").Build();
    return &info;
}

TGPRegion::TGPRegion(TGPGraphicsPath* path) {
    SetCreateStatus(Api().GdipCreateRegionPath(path ? path->Native() : nullptr, &FNative));
}

TGPRegion::~TGPRegion() {
    if (FNative) Api().GdipDeleteRegion(FNative);
}

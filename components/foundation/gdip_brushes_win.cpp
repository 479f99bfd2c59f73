#include "components/foundation/gdip_brushes_win.h"

#include "classlib/core/typinfo.h"
#include "components/foundation/gdip_path_win.h"

TClass TGPBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPBrush>("TGPBrush").Build();
    return &info;
}

TGPBrush::~TGPBrush() {
    if (FNative) Api().GdipDeleteBrush(FNative);
}

TClass TGPSolidBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPSolidBrush>("TGPSolidBrush").Build();
    return &info;
}

TGPSolidBrush::TGPSolidBrush(ARGB color) { SetCreateStatus(Api().GdipCreateSolidFill(color, &FNative)); }

TClass TGPLinearGradientBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPLinearGradientBrush>("TGPLinearGradientBrush").Build();
    return &info;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               TLinearGradientMode mode) {
    SetCreateStatus(Api().GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, &FNative));
}

TClass TGPPathGradientBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPPathGradientBrush>("TGPPathGradientBrush").Build();
    return &info;
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) {
    SetCreateStatus(Api().GdipCreatePathGradientFromPath(path ? path->Native() : nullptr, &FNative));
}

TStatus TGPPathGradientBrush::SetCenterColor(ARGB color) {
    SetStatus(Api().GdipSetPathGradientCenterColor(FNative, color));
    return GetLastStatus();
}

int TGPPathGradientBrush::GetPointCount() {
    INT count = 0;
    SetStatus(Api().GdipGetPathGradientPointCount(FNative, &count));
    return count;
}

TStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count) {
    int points = GetPointCount();
    if (!SurroundColorsAccepted(colors, points, count)) return SetStatus(TStatus::InvalidParameter);
    INT taken = count;
    TStatus status = SetStatus(Api().GdipSetPathGradientSurroundColorsWithCount(FNative, colors, &taken));
    if (GetLastStatus() == TStatus::Ok) count = taken;
    return status;
}

TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
    return SetStatus(Api().GdipSetPathGradientCenterPointI(FNative, &point));
}

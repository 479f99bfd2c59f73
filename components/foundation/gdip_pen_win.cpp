#include "components/foundation/gdip_pen_win.h"

#include "classlib/core/typinfo.h"

TClass TGPPen::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPPen>("TGPPen").Build();
    return &info;
}

TGPPen::TGPPen(ARGB color, float width) { SetCreateStatus(Api().GdipCreatePen1(color, width, UnitWorld, &FNative)); }

TGPPen::~TGPPen() {
    if (FNative) Api().GdipDeletePen(FNative);
}

TStatus TGPPen::SetDashStyle(TDashStyle style) { return SetStatus(Api().GdipSetPenDashStyle(FNative, style)); }

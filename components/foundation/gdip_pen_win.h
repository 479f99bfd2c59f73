// A GDI+ pen of one colour and width.
#pragma once

#include "components/foundation/gdiplus_base_win.h"

class TGPPen : public TGdiplusBase {
    QL_CLASS(TGPPen, TGdiplusBase)
public:
    // width in world units.
    explicit TGPPen(ARGB color, float width = 1.0f);
    ~TGPPen() override;

    GpPen* Native() const { return FNative; }
    TStatus SetDashStyle(TDashStyle style);

private:
    GpPen* FNative = nullptr;
};

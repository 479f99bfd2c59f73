// GDI+ brushes: one colour, a linear gradient over a rectangle, and a
// gradient from a path's centre to its outline.
#pragma once

#include "components/foundation/gdiplus_base_win.h"

class TGPGraphicsPath;

// The native brush of every kind, freed by this class's destructor.
class TGPBrush : public TGdiplusBase {
    QL_CLASS(TGPBrush, TGdiplusBase)
public:
    ~TGPBrush() override;
    GpBrush* Native() const { return FNative; }

protected:
    TGPBrush() = default;
    GpBrush* FNative = nullptr;
};

class TGPSolidBrush : public TGPBrush {
    QL_CLASS(TGPSolidBrush, TGPBrush)
public:
    explicit TGPSolidBrush(ARGB color);
};

class TGPLinearGradientBrush : public TGPBrush {
    QL_CLASS(TGPLinearGradientBrush, TGPBrush)
public:
    // From color1 to color2 across rect in the mode's direction, repeated
    // (tiled) beyond it.
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, TLinearGradientMode mode);
};

class TGPPathGradientBrush : public TGPBrush {
    QL_CLASS(TGPPathGradientBrush, TGPBrush)
public:
    explicit TGPPathGradientBrush(TGPGraphicsPath* path);

    // Answers the brush's last status (not only this call's).
    TStatus SetCenterColor(ARGB color);
    // The points of the brush's outline (0 when GDI+ cannot tell).
    int GetPointCount();
    // The colours along the outline, one per point from the first. Refused
    // with InvalidParameter, and count left as it is, without colours, for
    // a brush without points or when count exceeds the points; otherwise
    // count becomes what GDI+ took, when the last status is then Ok.
    TStatus SetSurroundColors(const ARGB* colors, int& count);
    TStatus SetCenterPoint(const TGPPoint& point);
};

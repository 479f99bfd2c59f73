#include "components/foundation/gdiplus_types.h"

ARGB ColorToARGBWith(TColor color, LongWord (*systemColor)(int index)) {
    LongWord rgb = IsSystemColor(color) ? systemColor(int(unsigned(color) & 0xFF)) : LongWord(unsigned(color));
    return RGBToARGB(rgb & 0x00FFFFFF);
}

TGPImageFormat ImageFormatFromGUID(const TGUID& format) {
    static constexpr struct {
        const TGUID* Guid;
        TGPImageFormat Format;
    } formats[] = {
        {&ImageFormatMemoryBMP, ifMemoryBMP},
        {&ImageFormatBMP, ifBMP},
        {&ImageFormatEMF, ifEMF},
        {&ImageFormatWMF, ifWMF},
        {&ImageFormatJPEG, ifJPEG},
        {&ImageFormatPNG, ifPNG},
        {&ImageFormatGIF, ifGIF},
        {&ImageFormatTIFF, ifTIFF},
        {&ImageFormatEXIF, ifEXIF},
        {&ImageFormatIcon, ifIcon},
    };
    for (const auto& f : formats)
        if (*f.Guid == format) return f.Format;
    return ifUndefined;
}

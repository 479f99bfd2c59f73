// Drawing a glow button: RenderGlowButton draws face, border, focus
// border, picture, caption, notes and drop-down arrow through the GDI+
// wrappers into a DC; MeasureGlowButton gives the content size that
// AutoSize works from. Both take everything from a TGlowRenderInput, which
// the button fills for its state (TLumCustomGlowButton::RenderInput), so a
// paint makes its GDI+ objects for that one paint and frees them at its end.
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/graphics.h"
#include "classlib/ui/imagelist.h"
#include "components/controls/glow_button_logic.h"
#include "components/foundation/gdip_picture_win.h"
#include "components/foundation/gdiplus_types.h"

// The stored layout names these by their values' names.
QL_DECLARE_ENUM(TAntiAlias);
QL_DECLARE_ENUM(StringTrimming);

class TGPBitmap;
struct TGlowDecodedImage;

// The pictures a glow button shows, decoded for GDI+ once and kept for its
// later paints (a paint would otherwise turn the image list's image into
// PNG bytes, or take the picture's bytes, and decode them anew): a picture
// is decoded again when its bytes differ from those kept, an image list's
// image when its list or index differ or after Clear, which the button
// calls when its lists change. A few are kept (normal, hot, disabled).
class TGlowImageCache {
public:
    TGlowImageCache();
    ~TGlowImageCache();
    TGlowImageCache(const TGlowImageCache&) = delete;
    TGlowImageCache& operator=(const TGlowImageCache&) = delete;

    void Clear();
    // How often an image was decoded.
    int Decodes() const { return FDecodes; }

    // The decoded image of a picture's bytes, or of image index of list
    // (made and kept when missing); null when it cannot be decoded.
    const TGlowDecodedImage* ForPicture(TGDIPPicture* picture);
    const TGlowDecodedImage* ForList(TCustomImageList* list, int index);

private:
    struct TEntry;
    const TGlowDecodedImage* Keep(std::unique_ptr<TEntry> entry);
    std::vector<std::unique_ptr<TEntry>> FEntries;  // the newest last
    int FDecodes = 0;
};

struct TGlowRenderInput {
    int State = gsNormal;
    TGlowColorSet Colors;
    TRect ClientRect;
    String Caption;
    String Notes;
    TButtonLayout Layout = blGlyphLeft;
    TButtonPosition Position = bpStandalone;
    bool Rounded = true;
    bool Border = true;        // HasBorder
    bool FocusBorder = false;  // HasFocusBorder
    bool Enabled = true;
    bool Hot = false;
    bool DrawFace = true;  // not drawn transparent
    bool DropDown = false;
    bool DropDownSplit = true;
    TDropDownPosition DropDownPosition = dpRight;
    TDropDownDirection DropDownDirection = ddDown;
    int DropDownHotPart = 0;  // 0 none, 1 the button is hot or held, 2 the drop-down part is hot
    bool DownColors = false;  // drawn in its down (pressed or checked) colours
    int Spacing = 2;
    bool WordWrap = true;
    StringTrimming Trimming = StringTrimmingNone;
    TAntiAlias AntiAlias = aaClearType;
    TFont* Font = nullptr;
    TFont* NotesFont = nullptr;
    TGDIPPicture* Picture = nullptr;     // the picture to show (not empty), else
    TCustomImageList* Images = nullptr;  // with ImageIndex the image to show
    int ImageIndex = -1;
    bool FixedImageSize = false;  // the small size states: a 16 x 16 picture
    // Where decoded pictures are kept (none: decoded for this paint); an
    // image list's image only when the list tells the button of its changes.
    TGlowImageCache* ImageCache = nullptr;
    bool ListImageCached = false;
};

void RenderGlowButton(HDC dc, const TGlowRenderInput& input);
TSize MeasureGlowButton(HDC dc, const TGlowRenderInput& input);

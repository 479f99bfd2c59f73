// Drawing a glow button: RenderGlowButton draws face, border, focus
// border, picture, caption, notes and drop-down arrow through the GDI+
// wrappers into a DC; MeasureGlowButton gives the content size that
// AutoSize works from. Both take everything from a TGlowRenderInput, which
// the button fills for its state (TLumCustomGlowButton::RenderInput), so a
// paint makes its GDI+ objects for that one paint and frees them at its end.
#pragma once

#include <cstdint>
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
    // The number of the kept decoding of the same (made when missing): a
    // new decoding gets a new number, so an equal number is the same image.
    int PictureSerial(TGDIPPicture* picture);
    int ListSerial(TCustomImageList* list, int index);

private:
    struct TEntry;
    TEntry* PictureEntry(TGDIPPicture* picture);
    TEntry* ListEntry(TCustomImageList* list, int index);
    TEntry* Keep(std::unique_ptr<TEntry> entry);
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

    bool operator==(const TGlowRenderInput&) const = default;
};

void RenderGlowButton(HDC dc, const TGlowRenderInput& input);
TSize MeasureGlowButton(HDC dc, const TGlowRenderInput& input);

// What of a class-library font a paint draws with: fonts that agree in all
// of it draw alike.
struct TGlowFontLook {
    String Name;
    int Height = 0;
    std::uint64_t Style = 0;
    TColor Color = clNone;
    int Charset = 0;
    int Pitch = 0;
    int PixelsPerInch = 0;
    bool operator==(const TGlowFontLook&) const = default;
};

// A glow button's drawing kept from one paint to the next: RenderGlowButton
// draws a look (size, state, colours, caption, notes, fonts, picture, focus
// and the rest of the input) once into a bitmap made like the DC painted
// into, and later paints of the same look copy it. A look that shows what
// lies under the button (its face not drawn, or a face colour missing), or
// an image whose changes the button is not told of, is drawn straight into
// the DC on every paint. The measuring for AutoSize is kept the same way.
class TGlowKeptDrawing {
public:
    TGlowKeptDrawing() = default;
    ~TGlowKeptDrawing();
    TGlowKeptDrawing(const TGlowKeptDrawing&) = delete;
    TGlowKeptDrawing& operator=(const TGlowKeptDrawing&) = delete;

    // Draws input into dc as RenderGlowButton does.
    void Draw(HDC dc, const TGlowRenderInput& input);
    // MeasureGlowButton of input.
    TSize Measure(HDC dc, const TGlowRenderInput& input);
    // How often a look was drawn or measured anew (not taken from what was kept).
    int Renders() const { return FRenders; }
    int Measures() const { return FMeasures; }

private:
    struct TLook {
        TGlowRenderInput Input;  // its pointers cleared: the rest says what they gave
        TGlowFontLook Font, NotesFont;
        int Image = 0;   // the image cache's number of the picture drawn (0: none)
        TSize Picture;   // the picture's size
        int Target = 0;  // the kind of DC drawn into
        bool operator==(const TLook&) const = default;
    };
    static TLook LookOf(const TGlowRenderInput& input);
    void FreeBitmap();

    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    TLook FLook;
    bool FKept = false;
    TLook FMeasuredLook;
    TSize FMeasured;
    bool FMeasuredKept = false;
    int FRenders = 0;
    int FMeasures = 0;
};

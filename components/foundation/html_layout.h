// The HTML-subset renderer's layout: tags, entities, styles, pieces, line
// breaking, alignment, anchors, lists, pictures and the hit-test, for every
// caption of the program. Portable: it measures through an ITextMeasurer,
// draws through an IHtmlDrawTarget and finds pictures through an
// IHtmlPictures, so a test lays a caption out on a TFixedPitchMeasurer and
// records what would be drawn:
//
//   TFixedPitchMeasurer measurer;              // 7 px a character, 16 high
//   THtmlParams params;
//   params.Text = "<B>Hello</B> <A href=\"x\">world</A>";
//   params.Bounds = Rect(0, 0, 200, 100);
//   params.MeasureOnly = true;
//   THtmlResult result;
//   LayoutHtml(measurer, nullptr, nullptr, params, result);  // MeasuredWidth, LinkCount...
//
// Every line is laid out twice: the measuring pass decides where it ends,
// and the second pass (painting, or hit-testing) lays out exactly the
// source the first one consumed. The Windows entry DrawHtmlText
// (html_text_win.h) runs it on a canvas.
#pragma once

#include <vector>

#include "classlib/core/textmeasure.h"
#include "classlib/core/types.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"

// The platform's text-drawing flags the renderer uses.
namespace html_draw_flags {
inline constexpr unsigned kBottom = 0x8;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kExpandTabs = 0x40;
inline constexpr unsigned kExternalLeading = 0x200;
inline constexpr unsigned kNoPrefix = 0x800;
inline constexpr unsigned kEndEllipsis = 0x8000;
// Single line, bottom-aligned, tabs expanded, external leading.
inline constexpr unsigned kBase = kSingleLine | kBottom | kExpandTabs | kExternalLeading;
}  // namespace html_draw_flags

// A font as the renderer changes it: the face it measures in and the colour
// it draws in.
struct THtmlFont {
    TMeasureFont Face;
    TColor Color = TColor(0);

    bool operator==(const THtmlFont&) const = default;
};

// Where the drawing of a pass goes. Colours are the class library's (system
// colours and all); clNone as a background draws the text transparent. The
// text is drawn in the font last set on the measurer.
class IHtmlDrawTarget {
public:
    virtual ~IHtmlDrawTarget() = default;
    // Text in rect with the platform's text-drawing flags.
    virtual void DrawText(const String& text, const TRect& rect, unsigned flags, TColor color, TColor background) = 0;
    // rect filled (and outlined) in color.
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // A one-pixel line from (x1, y) to (x2, y), x2 not drawn.
    virtual void HorizontalLine(int x1, int x2, int y, TColor color) = 0;
    virtual void Polyline(const std::vector<TPoint>& points, TColor color) = 0;
    // A square (or circle) bullet filling rect, outlined in the same colour.
    virtual void Bullet(const TRect& rect, bool circle, TColor color) = 0;
    virtual void FocusRect(const TRect& rect) = 0;
    // rect filled with bands from one colour to the other.
    virtual void Gradient(TColor from, TColor to, bool horizontal, const TRect& rect, int bands) = 0;
    // The font measured and drawn in from now on is the current one turned
    // by degrees (anticlockwise), until UnrotateFont; never called twice
    // without an UnrotateFont between.
    virtual void RotateFont(int degrees) = 0;
    virtual void UnrotateFont() = 0;
};

// Which corner a background picture of <BODY> goes to.
enum class THtmlBackground { Tile, TopLeft, TopRight };

// Where the pictures of a caption come from: an image list ("IDX:n"), the
// system's shell icons ("SSYS:path", "LSYS:path"), pictures by name (a
// picture container) and by URL (a picture cache). Sizes are the pictures'
// own, before scaling to the device.
class IHtmlPictures {
public:
    virtual ~IHtmlPictures() = default;
    // The image list's count, or -1 when there is no image list.
    virtual int ImageCount() = 0;
    virtual TSize ImageSize() = 0;
    virtual void DrawImage(int index, int x, int y) = 0;
    // The size of the small or large system icon of path (a number: the
    // icon's index), drawn at x, y when draw.
    virtual TSize ShellIcon(const String& path, bool large, bool draw, int x, int y) = 0;
    // A named picture (url false) or one by URL: its size (its current
    // frame's); false when there is none or it is empty.
    virtual bool FindPicture(const String& source, bool url, TSize& size) = 0;
    // Draws it at x, y at its own size (width, height 0), or stretched to
    // width by height.
    virtual void DrawPicture(const String& source, bool url, int x, int y, int width, int height) = 0;
    // Draws it as a background of bounds, clipped to it.
    virtual void DrawBackground(const String& source, bool url, THtmlBackground where, const TRect& bounds) = 0;
};

struct THtmlParams {
    String Text;
    TRect Bounds;
    int MouseX = 0;
    int MouseY = 0;
    // Zero-based number of the anchor that gets a focus rectangle; -1 none.
    int FocusLink = -1;
    // One-based number of the anchor under the mouse; -1 none.
    int HoverLink = -1;
    int ShadowOffset = 0;
    bool HitTestOnly = false;
    bool MeasureOnly = false;
    bool Selected = false;
    bool BlinkVisible = true;
    bool HoverOnlyLinks = false;
    bool WordWrap = true;
    TColor URLColor = TColor(0xFF0000);
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = TColor(0x808080);
    int LineSpacing = 0;
    // The canvas font and brush colour when the call begins.
    THtmlFont StartFont;
    TColor StartBrushColor = clNone;
    // The device's logical pixels per inch (pictures scale by them over 96),
    // and the font's (<FONT SIZE> gives points at it).
    int PixelsPerInchX = 96;
    int PixelsPerInchY = 96;
    int FontPixelsPerInch = 96;
};

struct THtmlResult {
    // A hit-test found the point on an anchor.
    bool Hit = false;
    // Set only when Hit; left as it was otherwise.
    String AnchorUnderMouse;
    String PlainText;
    String FocusedAnchor;
    int MeasuredWidth = 0;
    int MeasuredHeight = 0;
    int LinkCount = 0;
    int MouseLink = -1;
    TRect MouseLinkRect;
};

// Lays params.Text out (and draws it on target unless MeasureOnly or
// HitTestOnly); returns result.Hit. target and pictures may be null: then
// nothing is drawn, respectively no picture is found.
bool LayoutHtml(ITextMeasurer& measurer, IHtmlDrawTarget* target, IHtmlPictures* pictures, const THtmlParams& params,
                THtmlResult& result);

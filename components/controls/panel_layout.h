// The panel's geometry without a window: where the caption band and its
// buttons are, how far a collapse or expand step moves, what size the
// auto-size step gives, where the caption text goes, how a panel group
// arranges its panels and how far it scrolls, and the caption text with its
// tags removed for a turned caption. Portable; the panel (lum_panel_win.h)
// feeds it its properties.
#pragma once

#include <optional>
#include <vector>

#include "classlib/core/typinfo.h"
#include "classlib/ui/geometry.h"

// The enumerations of the panel's unit. TCaptionPosition is scoped: other
// components name a caption position of their own.
namespace LumPanel {
enum TCaptionPosition { cpTop, cpLeft };
QL_DECLARE_ENUM(TCaptionPosition);
}  // namespace LumPanel

enum TCaptionButtonPosition { cbpRight, cbpLeft };
QL_DECLARE_ENUM(TCaptionButtonPosition);
enum TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };
QL_DECLARE_ENUM(TBackGroundPosition);
enum TTextVAlignment { tvaTop, tvaCenter, tvaBottom };
QL_DECLARE_ENUM(TTextVAlignment);
enum TPanelPositionLocation { clRegistry, clInifile };
QL_DECLARE_ENUM(TPanelPositionLocation);
enum TGroupStyle { gsVertical, gsHorizontal };
QL_DECLARE_ENUM(TGroupStyle);

// ---- Caption band and buttons ------------------------------------------------------

// The size of a caption button: 12, the close glyphs' width when both are
// set, then the collapse glyphs' width when both are set, then 16 for the
// visual style's buttons.
struct TCaptionButtonSizeInput {
    int CloseGlyphWidth = 0;   // of CloseMinGlyph when both close glyphs are set, else 0
    int MinMaxGlyphWidth = 0;  // of MaxGlyph when both collapse glyphs are set, else 0
    bool ThemedXPCaption = false;
};
int CaptionButtonSize(const TCaptionButtonSizeInput& input);

// The band along the top, (L, T) - (R - 2, T + h), or the left, (L, T) -
// (L + h, B).
TRect CaptionBandRect(const TRect& client, LumPanel::TCaptionPosition position, int captionHeight);

// The hit rectangles of the two caption buttons in client: the close button
// on the whole client area, the collapse button on what the close button
// leaves when it is shown. A button that is not shown has none.
struct TCaptionButtonRects {
    std::optional<TRect> Close;
    std::optional<TRect> MinMax;
};
TRect CaptionButtonRect(const TRect& area, int size, TCaptionButtonPosition buttons,
                        LumPanel::TCaptionPosition position);
// The area a button leaves for the next one.
TRect AfterCaptionButton(const TRect& area, int size, TCaptionButtonPosition buttons,
                         LumPanel::TCaptionPosition position);
// Where a caption button drawn by the visual style (a 14 x 14 square) sits
// in area: (R - 16, T + 4) at the right of a top caption, (L + 2, T + 4) at
// its left, (L + 4, T + 2) at the top of a left caption, (L + 4, B - 16) at
// its bottom.
TPoint ThemedCaptionButtonOrigin(const TRect& area, TCaptionButtonPosition buttons,
                                 LumPanel::TCaptionPosition position);
TCaptionButtonRects CaptionButtonRects(const TRect& client, int size, TCaptionButtonPosition buttons,
                                       LumPanel::TCaptionPosition position, bool closeButton, bool minMaxButton);

// The part of the caption band the caption can be dragged by: the band
// less one button size at the button end for each shown button.
TRect CaptionDragRect(const TRect& client, LumPanel::TCaptionPosition position, int captionHeight, int buttonSize,
                      TCaptionButtonPosition buttons, int shownButtons);

// ---- Collapse and expand -------------------------------------------------------------------

struct TCollapseGeometry {
    LumPanel::TCaptionPosition Position = LumPanel::cpTop;
    int CaptionHeight = 20;
    // The status bar's height when it is shown, else 0.
    int StatusHeight = 0;
    int BorderWidth = 0;
    bool BorderShadow = false;
};
// The extra size a shadowed border keeps: BorderWidth + 4 with a border and
// its shadow, else 0.
int CollapseExtra(const TCollapseGeometry& g);
// The height (top caption) or width (left caption) of the collapsed panel.
int CollapsedExtent(const TCollapseGeometry& g);
// How far each of steps animation steps moves (0 for no steps).
int CollapseStep(const TCollapseGeometry& g, int currentExtent, int steps);
int ExpandStep(const TCollapseGeometry& g, int fullExtent, int steps);

// ---- Auto size ---------------------------------------------------------------------------------

struct TAutoSizeInput {
    LumPanel::TCaptionPosition Position = LumPanel::cpTop;
    bool CaptionVisible = false;
    int CaptionHeight = 20;
    bool StatusVisible = false;
    int StatusHeight = 18;
    int BevelWidth = 1;
    int BorderWidth = 0;
    bool BorderShadow = false;
    int Indent = 0;
    int TopIndent = 0;
    int Width = 0;
    int Height = 0;
};
// The rectangle the body text is measured in: 65535 wide (high) when the
// width (height) follows the text, else the panel's less the bevels.
TRect AutoSizeMeasureRect(const TAutoSizeInput& in, bool sizeWidth, bool sizeHeight);
// The new width and height for the measured text extent (the panel's own
// where a dimension does not follow the text).
TSize AutoSizeExtent(const TAutoSizeInput& in, bool sizeWidth, bool sizeHeight, TSize text);

// ---- Caption text -----------------------------------------------------------------------

// The rectangle of a top caption's text, from the working rectangle the
// buttons left: 20 pixels off the button end for each shown button, the
// bottom at T + caption height, the indents added.
TRect TopCaptionTextRect(const TRect& area, TCaptionButtonPosition buttons, int shownButtons, int captionHeight,
                         int indent, int topIndent);
// The same for a left caption, whose text is turned.
TRect LeftCaptionTextRect(const TRect& area, TCaptionButtonPosition buttons, int shownButtons, int captionHeight,
                          int indent, int topIndent);

// The caption text for a turned caption: "<BR>" and "<HR>" (any case) become
// line breaks, "<z>".."</z>" and then "<Z>".."</Z>" are dropped, every other
// tag is removed.
String StripCaptionTags(const String& text);

// ---- Panel group --------------------------------------------------------------------------

// What the arrangement needs of a child panel.
struct TGroupItem {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
};

struct TGroupGeometry {
    int Width = 0;
    int Height = 0;
    int HorzPadding = 8;
    int VertPadding = 8;
    int Columns = 1;
    bool ScrollVisible = false;
    int ScrollPosition = 0;
    // The scroll bar's width (vertical) or height (horizontal).
    int ScrollSize = 16;
    // The group's own caption height when its caption is shown, else 0.
    int CaptionHeight = 0;
};

// The order panels are arranged in: by Top (vertical) or Left (horizontal),
// ascending; panels on the same line keep their order.
std::vector<int> GroupOrder(const std::vector<TGroupItem>& items, TGroupStyle style);
// The bounds of each item after arranging, given in the order of GroupOrder.
std::vector<TRect> ArrangeVertical(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g);
std::vector<TRect> ArrangeHorizontal(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g);
// The extent the panels need: the padding plus every visible panel's width
// and padding (horizontal), or every row's tallest visible panel and padding
// (vertical, the last partial row included).
int GroupExtent(const std::vector<TGroupItem>& ordered, const TGroupGeometry& g, TGroupStyle style);

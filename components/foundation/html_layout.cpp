#include "components/foundation/html_layout.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "classlib/core/sysutils.h"
#include "components/foundation/html_colors.h"

namespace {

using namespace html_draw_flags;

constexpr size_t npos = String::npos;
constexpr TColor kHighlight = TColor(int(0xFF00000Du));
constexpr TColor kHighlightText = TColor(int(0xFF00000Eu));
constexpr TColor kErrorRed = TColor(0x0000FF);
constexpr TColor kBlack = TColor(0);

// Numbers from tags (offsets, indents, sizes, angles) are kept to a range in
// which every sum the layout makes of them stays an int.
constexpr int kTagNumberLimit = 1 << 20;
int TagNumber(int value) { return std::clamp(value, -kTagNumberLimit, kTagNumberLimit); }

// Saturating sums: positions grow by widths that come from the text.
int Add(int a, Int64 b) { return int(std::clamp<Int64>(Int64(a) + b, INT_MIN, INT_MAX)); }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    return true;
}

// The remaining text of a call or of a line's source: a view that gives up
// characters from its front. Finding the next "<" or blank remembers where
// it was, so laying out a long text stays linear.
class TCursor {
public:
    explicit TCursor(const String& text) : FText(text), FEnd(text.size()) {}

    bool Empty() const { return FPos >= FEnd; }
    size_t Size() const { return FEnd - FPos; }
    char At(size_t i) const { return i < Size() ? FText[FPos + i] : '\0'; }
    std::string_view View(size_t n = npos) const { return {FText.data() + FPos, std::min(n, Size())}; }
    size_t Position() const { return FPos; }

    // Offset of the first c from the front, npos when there is none.
    size_t Find(char c) {
        size_t& cached = c == '<' ? FNextTag : c == ' ' ? FNextBlank : FScratch;
        if (&cached == &FScratch || cached == kUnknown || (cached != npos && cached < FPos)) {
            cached = FText.find(c, FPos);
        }
        if (cached == npos || cached >= FEnd) return npos;
        return cached - FPos;
    }
    void Drop(size_t n) { FPos += std::min(n, Size()); }
    void Clear() { FPos = FEnd; }
    // Blanks and control characters off both ends.
    void Trim() {
        while (FPos < FEnd && IsBlankOrControl(FText[FPos])) ++FPos;
        while (FEnd > FPos && IsBlankOrControl(FText[FEnd - 1])) --FEnd;
    }

private:
    static constexpr size_t kUnknown = npos - 1;
    const String& FText;
    size_t FPos = 0;
    size_t FEnd;
    size_t FNextTag = kUnknown;
    size_t FNextBlank = kUnknown;
    size_t FScratch = kUnknown;
};

// "&nbsp;", "&lt;" and "&gt;" in a piece (any case). A replacement makes no
// new entity, so one pass replaces them all.
String PieceText(std::string_view piece) {
    if (piece.find('&') == npos) return String(piece);
    String result;
    result.reserve(piece.size());
    for (size_t i = 0; i < piece.size(); ++i) {
        if (piece[i] == '&') {
            std::string_view rest = piece.substr(i);
            if (StartsNoCase(rest, "&nbsp;")) {
                result += ' ';
                i += 5;
                continue;
            }
            if (StartsNoCase(rest, "&lt;")) {
                result += '<';
                i += 3;
                continue;
            }
            if (StartsNoCase(rest, "&gt;")) {
                result += '>';
                i += 3;
                continue;
            }
        }
        result += piece[i];
    }
    return result;
}

// The text as text drawing shows it with prefix processing: "&&" is one
// "&", and a single "&" marks the next character (underlined, not shown).
String WithoutPrefixes(const String& text) {
    if (text.find('&') == npos) return text;
    String result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                result += '&';
                ++i;
            }
            continue;
        }
        result += text[i];
    }
    return result;
}

// The nine entities replaced over the whole text. Their definition is in
// rounds: each round replaces the first occurrence (any case) of each, in
// this order, until a round replaces nothing. No two occurrences can
// overlap (each is "&", letters, ";"), so the order of the replacements
// does not change the end result, and one pass from left to right gives
// it: only the second "&" of "&&" (for "&amp;") can start another entity,
// with the text after it.
void EntityPass(String& text) {
    static const struct {
        std::string_view Entity;
        std::string_view Replacement;
    } kEntities[] = {
        {"&amp;", "&&"},    {"&quot;", "\""},   {"&sect;", "\xA7"},  {"&permil;", "\x89"}, {"&reg;", "\xAE"},
        {"&copy;", "\xA9"}, {"&para;", "\xB6"}, {"&trade;", "\x99"}, {"&euro;", "\x80"},
    };
    String in = text;
    String out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        bool replaced = false;
        if (in[i] == '&') {
            const std::string_view rest = std::string_view(in).substr(i);
            for (const auto& entity : kEntities) {
                if (!StartsNoCase(rest, entity.Entity)) continue;
                if (entity.Replacement == "&&") {
                    // The second "&" takes the place of the ";" and is read again.
                    out += '&';
                    i += entity.Entity.size() - 1;
                    in[i] = '&';
                } else {
                    out += entity.Replacement;
                    i += entity.Entity.size();
                }
                replaced = true;
                break;
            }
        }
        if (!replaced) out += in[i++];
    }
    text = std::move(out);
}

// The tag being handled: its text up to and including the first ">" (the
// whole rest when there is none) and an upper-cased copy.
struct TTag {
    String Text;
    String Upper;

    char At(size_t i) const { return i < Upper.size() ? Upper[i] : '\0'; }
    bool Has(std::string_view name) const { return Upper.find(name) != npos; }
    // The text between the first two double quotes after name (as written
    // when keepCase, else upper-cased); false when name is absent. A value
    // without its closing quote is empty.
    bool Attribute(std::string_view name, String& value, bool keepCase = false, size_t from = 0) const {
        const size_t at = Upper.find(name, from);
        value.clear();
        if (at == npos) return false;
        const size_t open = Upper.find('"', at + name.size());
        if (open == npos) return true;
        const size_t close = Upper.find('"', open + 1);
        if (close == npos) return true;
        value = (keepCase ? Text : Upper).substr(open + 1, close - open - 1);
        return true;
    }
    // The BGCOLOR attribute, not the BGCOLORTO one.
    bool BackgroundColor(String& value) const {
        size_t at = Upper.find("BGCOLOR");
        while (at != npos && Upper.compare(at, 9, "BGCOLORTO") == 0) at = Upper.find("BGCOLOR", at + 1);
        if (at == npos) {
            value.clear();
            return false;
        }
        return Attribute("BGCOLOR", value, false, at);
    }
    // The text between the first two double quotes of the tag, as written.
    String FirstQuoted() const {
        const size_t open = Text.find('"');
        if (open == npos) return {};
        const size_t close = Text.find('"', open + 1);
        if (close == npos) return {};
        return Text.substr(open + 1, close - open - 1);
    }
};

// A colour attribute's value (upper-cased): "#RRGGBB" or a name; none when
// empty.
TColor ColorValue(const String& value) {
    if (value.empty()) return clNone;
    if (value[0] == '#') return HtmlHexToColor(value);
    return ColorFromName(LowerCase(value));
}

// The per-line measures both passes of a line share.
struct TLineMetrics {
    int Height = 0;
    int SupRaise = 0;
    int SubDrop = 0;
    int PictureOffset = 0;
};

// The style flags a line's two passes each start from.
struct TFlags {
    bool Sup = false;
    bool Sub = false;
    bool Shadow = false;
    bool Hidden = false;
    bool Error = false;
    bool Rotated = false;
    int Angle = 0;
};

// The anchor state put back after a measuring pass.
struct TAnchorState {
    bool Open = false;
    String Target;
    int StartX = 0;
    int Line = 0;
};

// What a hit-testing pass found under the point: taken as the call's
// result only when the line's result says the point is on it.
struct THitCandidate {
    bool Found = false;
    bool Closed = false;
    String Target;
    int Link = -1;
    TRect Rect;
};

enum class TPass { Measure, Paint, HitTest };

// What a call without a drawing target draws on.
class TNullTarget : public IHtmlDrawTarget {
public:
    void DrawText(const String&, const TRect&, unsigned, TColor, TColor) override {}
    void FillRect(const TRect&, TColor) override {}
    void HorizontalLine(int, int, int, TColor) override {}
    void Polyline(const std::vector<TPoint>&, TColor) override {}
    void Bullet(const TRect&, bool, TColor) override {}
    void FocusRect(const TRect&) override {}
    void Gradient(TColor, TColor, bool, const TRect&, int) override {}
    void RotateFont(int) override {}
    void UnrotateFont() override {}
};

// <FONT SIZE> in points as a font height at pixelsPerInch (the platform's
// MulDiv rounding: halves away from zero).
int FontHeightOfPoints(int points, int pixelsPerInch) {
    const Int64 product = Int64(points) * pixelsPerInch;
    const Int64 rounded = (2 * product + (product >= 0 ? 72 : -72)) / 144;
    return -int(rounded);
}

class THtmlRenderer {
public:
    THtmlRenderer(ITextMeasurer& measurer, IHtmlDrawTarget* target, IHtmlPictures* pictures, const THtmlParams& params,
                  THtmlResult& result)
        : FMeasurer(measurer), FTarget(target ? target : &FNullTarget), FPictures(pictures), P(params), R(result) {}
    ~THtmlRenderer() {
        // An unclosed <R> is turned back, also when an error passes.
        if (FFlags.Rotated) FTarget->UnrotateFont();
    }

    bool Run();

private:
    // Fonts and measures.
    void Apply() {
        if (!(FFont.Face == FPushed)) {
            FMeasurer.SetFont(FFont.Face);
            FPushed = FFont.Face;
        }
    }
    TTextExtent Extent(const String& text) {
        Apply();
        return FMeasurer.TextExtent(text);
    }
    // The extent of a piece as the text drawing shows it.
    TTextExtent PieceExtent(const String& text) {
        const String shown = (FDrawFlags & kNoPrefix) ? text : WithoutPrefixes(text);
        if (shown.find('\t') == npos) return Extent(shown);
        // The piece is drawn with its tabs expanded: each moves on to the next
        // stop of eight average characters from the piece's start.
        TTextExtent extent = Extent(shown);
        const int stop = std::max(8 * FMeasurer.FontMeasures().AveCharWidth, 1);
        Int64 x = 0;
        size_t from = 0;
        for (size_t tab = shown.find('\t'); tab != npos; from = tab + 1, tab = shown.find('\t', from)) {
            x += Extent(shown.substr(from, tab - from)).Width;
            x = (x / stop + 1) * stop;
        }
        x += Extent(shown.substr(from)).Width;
        extent.Width = int(std::min<Int64>(x, INT_MAX));
        return extent;
    }
    // A piece's extent on a line's second pass: the one its measuring pass
    // took for the same text in the same font and turn (the pieces come
    // again in the same order), measured only when there is none.
    TTextExtent LinePieceExtent(TPass pass, const String& piece) {
        if (pass != TPass::Measure) {
            for (size_t i = FReplayed; i < FLinePieceCount; ++i) {
                const TMeasuredPiece& m = FLinePieces[i];
                if (m.Text == piece && m.Rotated == FFlags.Rotated && m.Angle == FFlags.Angle && m.Face == FFont.Face) {
                    FReplayed = i + 1;
                    return m.Extent;
                }
            }
            return PieceExtent(piece);
        }
        const TTextExtent extent = PieceExtent(piece);
        if (FLinePieceCount == FLinePieces.size()) FLinePieces.emplace_back();
        TMeasuredPiece& m = FLinePieces[FLinePieceCount++];
        m.Face = FFont.Face;
        m.Rotated = FFlags.Rotated;
        m.Angle = FFlags.Angle;
        m.Text = piece;  // reuses the entry's buffer
        m.Extent = extent;
        return extent;
    }
    // The measures every line and piece asks again, once for each font of
    // the call.
    struct TFontMeasuresOfCall {
        TMeasureFont Face;
        int Gh = -1, Blank = -1, W = -1;
    };
    // A font is set on the measurer only when a measure of it is not known
    // yet: the text and the drawing set their own.
    TFontMeasuresOfCall& Measures() {
        const TMeasureFont& face = FFont.Face;
        if (FMeasures && FMeasures->Face == face) return *FMeasures;
        for (TFontMeasuresOfCall& m : FKnownFonts)
            if (m.Face == face) return *(FMeasures = &m);
        if (FKnownFonts.size() >= 16) FKnownFonts.erase(FKnownFonts.begin());  // moves the others
        FKnownFonts.push_back({face});
        return *(FMeasures = &FKnownFonts.back());
    }
    int TextHeightGh() {
        TFontMeasuresOfCall& m = Measures();
        if (m.Gh < 0) {
            Apply();
            m.Gh = FMeasurer.TextExtent("gh").Height;
        }
        return m.Gh;
    }
    int BlankWidth() {
        TFontMeasuresOfCall& m = Measures();
        if (m.Blank < 0) {
            Apply();
            m.Blank = FMeasurer.TextExtent(" ").Width;
        }
        return m.Blank;
    }
    int WidthOfW() {
        TFontMeasuresOfCall& m = Measures();
        if (m.W < 0) {
            Apply();
            m.W = FMeasurer.TextExtent("w").Width;
        }
        return m.W;
    }
    void Rotate(bool on, int angle);

    int RenderHtmlLine(TPass pass, const TRect& rect, TCursor& text, String* source, TLineMetrics& line);
    void HandleTag(TPass pass, const TTag& tag, int& x, bool& lineBreak, bool& stop, TLineMetrics& line);
    void DrawPiece(const String& piece, int width, const TLineMetrics& line);
    void OpenAnchor(TPass pass, const TTag& tag);
    void CloseAnchor(TPass pass, const TLineMetrics& line);
    void Candidate();
    void Picture(TPass pass, const TTag& tag, int& x, bool& stop, TLineMetrics& line);
    void ListItem(TPass pass, const TTag& tag, int& x, bool& stop);
    void Body(const TTag& tag);
    void Paragraph(TPass pass, const TTag& tag);
    void Font(TPass pass, const TTag& tag);
    void BodyPicture(const String& value, THtmlBackground where);
    // The layout size of a picture source, drawn at x, y when draw.
    TSize PictureSize(const String& value, bool draw, int x, int y, int width, int height);

    void SetBrush(TColor color) { FBrush = color; }

    TNullTarget FNullTarget;
    ITextMeasurer& FMeasurer;
    IHtmlDrawTarget* FTarget;
    IHtmlPictures* FPictures;
    const THtmlParams& P;
    THtmlResult& R;

    unsigned FDrawFlags = kBase;
    THtmlFont FStart;
    THtmlFont FFont;
    TMeasureFont FPushed;
    std::vector<TFontMeasuresOfCall> FKnownFonts;
    // The pieces the measuring pass of the current line measured, in order
    // (the first FLinePieceCount; the entries are kept for the next lines),
    // and how many of them the second pass has gone past.
    struct TMeasuredPiece {
        TMeasureFont Face;
        bool Rotated = false;
        int Angle = 0;
        String Text;
        TTextExtent Extent;
    };
    std::vector<TMeasuredPiece> FLinePieces;
    size_t FLinePieceCount = 0;
    size_t FReplayed = 0;
    // The source the measuring pass of a line accepted, and the tag being
    // handled (their buffers serve every line and tag of the call).
    String FSource;
    TTag FTag;
    TFontMeasuresOfCall* FMeasures = nullptr;
    TColor FBrush = clNone;
    TFlags FFlags;

    // The line being laid out (canvas coordinates).
    int FLineLeft = 0, FLineTop = 0, FLineRight = 0, FLineBottom = 0;
    TRect FWork;
    int FLineIndex = 0;
    bool FListItemOnLine = false;
    bool FTextHit = false, FPictureHit = false;
    THitCandidate FCandidate;

    // Across lines.
    TAnchorState FAnchor;
    int FAnchorCounter = 0;
    int FListLevel = 0;
    int FAlignment = 0;  // 0 left, 1 right, 2 centre
    int FIndent = 0;
    int FOffset = 0;  // the <OF> offset carried to the following lines
    int FPictureCounter = 0;
    int FPictureUnderMouse = -1;
    String FListType;
    TColor FListColor = clNone;
    bool FParagraphBackground = false;
    // Saved colours, one slot per tag kind; they start as the call's own
    // so that a closing tag without its opening one restores those.
    TColor FAnchorBrush = clNone, FAnchorFontColor = TColor(0);
    TColor FFontBrush = clNone, FParagraphBrush = clNone;
    TColor FHighlightBrush = clNone, FHighlightFontColor = TColor(0);

    // The focus rectangle of the anchor FocusLink.
    TRect FFocus;
    bool FFocusContinues = false;
};

void THtmlRenderer::Rotate(bool on, int angle) {
    if (FFlags.Rotated) {
        FFlags.Rotated = false;
        FTarget->UnrotateFont();
    }
    if (on) {
        FTarget->RotateFont(angle);
        FFlags.Rotated = true;
        FFlags.Angle = angle;
    }
}

bool THtmlRenderer::Run() {
    R.MeasuredWidth = 0;
    R.MeasuredHeight = 0;
    R.LinkCount = 0;
    R.FocusedAnchor.clear();
    R.PlainText.clear();
    R.MouseLink = -1;
    R.Hit = false;

    FStart = P.StartFont;
    FFont = FStart;
    FPushed = FStart.Face;
    FBrush = clNone;
    FAnchorFontColor = FHighlightFontColor = FStart.Color;
    if (P.Text.find(" & ") != npos) FDrawFlags |= kNoPrefix;
    if (!P.WordWrap) FDrawFlags |= kEndEllipsis;

    String text = P.Text;
    if (text.find('&') != npos) EntityPass(text);
    const size_t hash = text.find("<#");
    if (hash != npos) {
        text.erase(hash, 1);
        const size_t close = text.find('>', hash);
        if (close != npos) text.erase(close, 1);
    }
    if (text.find_first_of("\r\n") != npos) text = LineBreaksToBR(text, true);
    R.PlainText.reserve(text.size());
    FKnownFonts.reserve(16);
    FLinePieces.reserve(32);

    THtmlFont measureFont = FStart, paintFont = FStart;
    int top = P.Bounds.Top;
    int paintCounter = 0, paintLevel = 0;
    TCursor rest(text);
    while (!rest.Empty()) {
        FFont = measureFont;
        TLineMetrics line;
        FFlags.Sup = FFlags.Sub = false;
        const int h0 = TextHeightGh();
        line.Height = h0;
        const int pictureCounter = FPictureCounter;
        const TAnchorState anchor = FAnchor;
        const TFlags flags = FFlags;
        rest.Trim();
        if (rest.Empty()) break;

        const TRect running{P.Bounds.Left, top, P.Bounds.Right, P.Bounds.Bottom};
        String& source = FSource;
        source.clear();
        const int offset = FOffset;
        const size_t before = rest.Position();
        const int width = RenderHtmlLine(TPass::Measure, running, rest, &source, line);
        if (rest.Position() == before) rest.Drop(1);  // never the same line twice
        if (!P.MeasureOnly) FOffset = offset;         // the second pass carries the offset on
        FAnchor = anchor;
        measureFont = FFont;
        line.Height = Add(line.Height, P.LineSpacing);

        TRect lineRect = running;
        if (FAlignment == 1) {
            if (lineRect.Left < Add(lineRect.Right, -Int64(width))) lineRect.Left = Add(lineRect.Right, -Int64(width));
        } else if (FAlignment == 2) {
            const Int64 room = Int64(lineRect.Right) - (Int64(lineRect.Left) + width);
            if (room > 0) lineRect.Left = Add(lineRect.Left, room / 2);
        }
        lineRect.Left = Add(lineRect.Left, FIndent);
        const Int64 advance = Int64(line.Height) + line.SubDrop + line.SupRaise;
        lineRect.Bottom = Add(top, advance);

        if (!P.MeasureOnly) {
            FFont = paintFont;
            FAnchorCounter = paintCounter;
            FListLevel = paintLevel;
            FPictureCounter = pictureCounter;
            // The style flags as the line began; the rotation too.
            const bool rotated = FFlags.Rotated;
            const int angle = FFlags.Angle;
            FFlags = flags;
            FFlags.Rotated = rotated;
            FFlags.Angle = angle;
            if (rotated != flags.Rotated || (rotated && angle != flags.Angle)) Rotate(flags.Rotated, flags.Angle);
            TLineMetrics second = line;
            TCursor lineText(source);
            FCandidate = {};
            RenderHtmlLine(P.HitTestOnly ? TPass::HitTest : TPass::Paint, lineRect, lineText, nullptr, second);
            paintCounter = FAnchorCounter;
            paintLevel = FListLevel;
            paintFont = FFont;
            if (P.HitTestOnly) {
                const int gh = TextHeightGh();
                const Int64 bottom = Int64(lineRect.Bottom) - second.PictureOffset;
                const bool onText = FTextHit && P.MouseY > bottom - gh && P.MouseY < bottom;
                if ((onText || FPictureHit) && FCandidate.Found) {
                    R.Hit = true;
                    R.AnchorUnderMouse = FCandidate.Target;
                    R.MouseLink = FCandidate.Link;
                    R.MouseLinkRect = FCandidate.Rect;
                }
            }
        }
        top = Add(top, advance);
        R.MeasuredHeight = Add(R.MeasuredHeight, advance);
        ++FLineIndex;
        if (!P.MeasureOnly && P.Bounds.Bottom < Int64(top) + h0) break;
    }
    R.LinkCount = FAnchorCounter;
    if (R.MeasuredHeight == 0) {
        FFont = FStart;
        R.MeasuredHeight = TextHeightGh();
    }
    Rotate(false, 0);
    FFont = FStart;
    Apply();
    return R.Hit;
}

int THtmlRenderer::RenderHtmlLine(TPass pass, const TRect& rect, TCursor& text, String* source, TLineMetrics& line) {
    const bool paint = pass == TPass::Paint;
    const bool second = pass != TPass::Measure;
    FTextHit = FPictureHit = false;
    FListItemOnLine = false;
    if (second)
        FReplayed = 0;
    else
        FLinePieceCount = 0;
    int x = 0, trailing = 0;
    bool lineBreak = false, stop = false;
    FLineLeft = rect.Left;
    FLineTop = rect.Top;
    FLineRight = rect.Right;
    FLineBottom = Add(rect.Bottom, -Int64(line.SubDrop));
    FWork = {FLineLeft, FLineTop, FLineRight, FLineBottom};
    // The second pass draws (and hit-tests) where the carried offset puts
    // the line.
    if (second) FWork.Left = Add(FWork.Left, FOffset);
    const int carriedOffset = FOffset;
    if (paint) {
        if (FParagraphBackground && FBrush != clNone)
            FTarget->FillRect({P.Bounds.Left, FLineTop, P.Bounds.Right, Add(FLineTop, line.Height)}, FBrush);
        if (FFocusContinues) {
            FFocus.Left = Add(FLineLeft, 1);
            FFocus.Top = FLineTop;
            FFocusContinues = false;
        }
    }

    while (!text.Empty() && !lineBreak && !stop) {
        const size_t lt = text.Find('<');
        const size_t blank = P.WordWrap ? text.Find(' ') : npos;
        size_t n;
        if (lt == npos || (blank != npos && lt > blank))
            n = blank == npos ? text.Size() : blank + 1;
        else
            n = lt;
        if (n > 0) {
            const std::string_view raw = text.View(n);
            const String piece = PieceText(raw);
            const TTextExtent extent = LinePieceExtent(pass, piece);
            const int ph = extent.Height;
            if (FFlags.Sub && line.SubDrop < ph / 4) line.SubDrop = ph / 4;
            if (FFlags.Sup && line.SupRaise < ph / 4) line.SupRaise = ph / 4;
            if (line.Height < ph) line.Height = ph;
            if (FFlags.Hidden) {
                if (!second) R.PlainText += piece;
                text.Drop(n);
            } else {
                const int w = extent.Width;
                const int left = FWork.Left;
                if (paint) DrawPiece(piece, w, line);
                x = Add(x, w);
                if (pass == TPass::HitTest && FAnchor.Open && P.MouseX >= left && Int64(P.MouseX) <= Int64(left) + w) {
                    FTextHit = true;
                    if (FLineTop < P.MouseY) Candidate();
                }
                FWork.Left = Add(left, w);
                // The second pass lays out what the measuring pass accepted,
                // whatever the width its line was moved to.
                // An offset set on this line is in x already: only the one
                // carried in from earlier lines narrows the line.
                const Int64 available = Int64(FLineRight) - FLineLeft - carriedOffset;
                if (second || x < available || w >= available || !P.WordWrap) {
                    if (!second) R.PlainText += piece;
                    if (source) source->append(raw);
                    trailing = raw.back() == ' ' ? BlankWidth() : 0;
                    text.Drop(n);
                } else {
                    lineBreak = true;
                    x = Add(x, -Int64(w));
                }
            }
        }
        if (text.At(0) == '<' && text.Size() <= 2) {
            text.Clear();
            continue;
        }
        if (lineBreak || text.At(0) != '<' || text.Size() < 3) continue;

        const size_t close = text.Find('>');
        // One tag at a time: its buffers are kept for the next.
        TTag& tag = FTag;
        tag.Text.assign(text.View(close == npos ? npos : close + 1));
        tag.Upper.assign(tag.Text);
        for (char& c : tag.Upper) c = Upper(c);
        HandleTag(pass, tag, x, lineBreak, stop, line);
        if (stop) continue;  // the tag starts the next line
        // A tag without ">" ends the text; the second pass sees it too.
        if (source) source->append(text.View(close == npos ? npos : close + 1));
        text.Drop(close == npos ? text.Size() : close + 1);
    }

    x = Add(x, -Int64(trailing));
    if (R.MeasuredWidth < Int64(x) + 2) R.MeasuredWidth = Add(x, 2);
    if (paint && FAnchor.Open && P.FocusLink >= 0 && FAnchorCounter == Int64(P.FocusLink) + 1) {
        FFocus.Right = FWork.Left;
        FFocus.Bottom = FWork.Bottom;
        FTarget->FocusRect({Add(FFocus.Left, -1), FFocus.Top, Add(FFocus.Right, 1), FFocus.Bottom});
        FFocusContinues = true;
    }
    // An anchor under the point that goes on past the line ends with it.
    if (FCandidate.Found && !FCandidate.Closed) {
        FCandidate.Rect.Right = FWork.Left;
        FCandidate.Closed = true;
    }
    return x;
}

void THtmlRenderer::DrawPiece(const String& piece, int width, const TLineMetrics& line) {
    TRect r = FWork;
    if (FFlags.Sup) r.Bottom = Add(r.Bottom, -Int64(line.SupRaise));
    if (FFlags.Sub) r.Bottom = Add(r.Bottom, line.SubDrop);
    r.Bottom = Add(r.Bottom, -Int64(line.PictureOffset));
    const unsigned flags = FDrawFlags & ~kExternalLeading;
    Apply();
    if (FFlags.Shadow) {
        const TRect shadow{Add(r.Left, P.ShadowOffset), Add(r.Top, P.ShadowOffset), Add(r.Right, P.ShadowOffset),
                           Add(r.Bottom, P.ShadowOffset)};
        FTarget->DrawText(piece, shadow, flags, P.ShadowColor, FBrush);
    }
    if (P.WordWrap || Int64(r.Left) < Int64(FLineRight) - WidthOfW())
        FTarget->DrawText(piece, r, flags, FFont.Color, FBrush);
    if (FAnchor.Open && P.FocusLink >= 0 && FAnchorCounter == Int64(P.FocusLink) + 1) R.FocusedAnchor = FAnchor.Target;
    if (FFlags.Error) FTarget->Polyline(ErrorZigZag(r.Left, Add(r.Left, width), r.Bottom), kErrorRed);
}

void THtmlRenderer::Candidate() {
    FCandidate.Found = true;
    FCandidate.Closed = false;
    FCandidate.Target = FAnchor.Target;
    FCandidate.Link = FAnchorCounter;
    FCandidate.Rect = {FAnchor.Line == FLineIndex ? FAnchor.StartX : FLineLeft, FLineTop, FWork.Left, FLineBottom};
}

void THtmlRenderer::HandleTag(TPass pass, const TTag& tag, int& x, bool& lineBreak, bool& stop, TLineMetrics& line) {
    const bool paint = pass == TPass::Paint;
    if (tag.At(1) == '/' && tag.Text.size() > 3) {
        const char c2 = tag.At(3);
        switch (tag.At(2)) {
        case 'A': CloseAnchor(pass, line); break;
        case 'B':
            if (c2 == '>')
                FFont.Face.Bold = false;
            else
                FFont.Color = FStart.Color;
            break;
        case 'E':
            if (paint) FFlags.Error = false;
            break;
        case 'F':
            FFont.Face.Name = FStart.Face.Name;
            FFont.Face.Height = FStart.Face.Height;
            if (paint && !P.Selected) {
                FFont.Color = FStart.Color;
                SetBrush(FFontBrush);
            }
            break;
        case 'H':
            if (paint) {
                SetBrush(FHighlightBrush);
                FFont.Color = FHighlightFontColor;
            }
            break;
        case 'I': FFont.Face.Italic = false; break;
        case 'L': lineBreak = true; break;
        case 'O': FOffset = 0; break;
        case 'P':
            lineBreak = true;
            if (paint) {
                SetBrush(FParagraphBrush);
                FParagraphBackground = false;
            }
            break;
        case 'R':
            if (FFlags.Rotated) Rotate(false, 0);
            break;
        case 'S':
            if (c2 == 'U')
                FFlags.Sub = FFlags.Sup = false;
            else if (c2 == 'H')
                FFlags.Shadow = false;
            else
                FFont.Face.StrikeOut = false;
            break;
        case 'U':
            if (c2 == '>') {
                FFont.Face.Underline = false;
            } else if (c2 == 'L') {
                if (FListLevel >= 1)
                    --FListLevel;
                else
                    FFont.Face.Underline = false;
            }
            break;
        case 'Z': FFlags.Hidden = false; break;
        default: break;
        }
        return;
    }

    const char c2 = tag.At(2);
    switch (tag.At(1)) {
    case 'A': OpenAnchor(pass, tag); break;
    case 'B':
        if (c2 == '>') {
            FFont.Face.Bold = true;
        } else if (c2 == 'L') {
            if (!P.BlinkVisible) FFont.Color = P.StartBrushColor;
        } else if (c2 == 'O') {
            if (paint && !P.Selected) Body(tag);
        } else if (c2 == 'R') {
            lineBreak = true;
            if (pass == TPass::Measure) R.PlainText += '\r';
        }
        break;
    case 'E':
        if (paint) FFlags.Error = true;
        break;
    case 'F': Font(pass, tag); break;
    case 'H':
        if (c2 == 'I') {
            if (paint) {
                FHighlightBrush = FBrush;
                FHighlightFontColor = FFont.Color;
                SetBrush(kHighlight);
                FFont.Color = kHighlightText;
            }
        } else if (c2 == 'R') {
            lineBreak = true;
            if (paint) FTarget->HorizontalLine(FLineLeft, FLineRight, Add(FLineBottom, 1), kBlack);
        }
        break;
    case 'I':
        if (c2 == 'M') {
            Picture(pass, tag, x, stop, line);
        } else if (c2 == 'N') {
            String value;
            int n = 0;
            if (tag.Attribute("X", value) && TryStrToIntVal(value, n)) {
                n = TagNumber(n);
                if (n > x) {
                    x = n;
                    FWork.Left = Add(P.Bounds.Left, n);
                }
            }
        } else {
            FFont.Face.Italic = true;
        }
        break;
    case 'L':
        if (c2 == 'I') ListItem(pass, tag, x, stop);
        break;
    case 'O':
        if (c2 == 'F') {
            const int n = TagNumber(StrToIntVal(tag.FirstQuoted()));
            x = n;
            FWork.Left = Add(FLineLeft, n);
            FOffset = n;
        }
        break;
    case 'P': Paragraph(pass, tag); break;
    case 'R': Rotate(true, TagNumber(StrToIntVal(tag.FirstQuoted()))); break;
    case 'S':
        if (StartsNoCase(tag.Text, "<SUB>"))
            FFlags.Sub = true;
        else if (StartsNoCase(tag.Text, "<SUP>"))
            FFlags.Sup = true;
        else if (c2 == 'H')
            FFlags.Shadow = true;
        else if (c2 != 'U')
            FFont.Face.StrikeOut = true;
        break;
    case 'U':
        if (c2 == '>') {
            FFont.Face.Underline = true;
        } else {
            if (FListLevel < kTagNumberLimit) ++FListLevel;
            lineBreak = true;
        }
        break;
    case 'Z': FFlags.Hidden = true; break;
    default: break;
    }
}

void THtmlRenderer::OpenAnchor(TPass pass, const TTag& tag) {
    const bool paint = pass == TPass::Paint;
    if (paint && P.FocusLink >= 0 && P.FocusLink == FAnchorCounter) {
        FFocus.Left = FWork.Left;
        FFocus.Top = FWork.Top;
    }
    if (FAnchorCounter < INT_MAX) ++FAnchorCounter;
    if (paint && (!P.HoverOnlyLinks || P.HoverLink == FAnchorCounter)) {
        FFont.Face.Underline = true;
        if (P.HoverColor != clNone) {
            FAnchorBrush = FBrush;
            SetBrush(P.HoverColor);
        }
        if (P.HoverFontColor != clNone) {
            FAnchorFontColor = FFont.Color;
            FFont.Color = P.HoverFontColor;
        }
    }
    if (!P.Selected && (P.HoverFontColor == clNone || P.HoverLink != FAnchorCounter || !P.HoverOnlyLinks))
        FFont.Color = P.URLColor;
    FAnchor.Target = tag.FirstQuoted();
    FAnchor.Open = true;
    FAnchor.StartX = FWork.Left;
    FAnchor.Line = FLineIndex;
}

void THtmlRenderer::CloseAnchor(TPass pass, const TLineMetrics& line) {
    const bool paint = pass == TPass::Paint;
    if (paint && (!P.HoverOnlyLinks || P.HoverLink == FAnchorCounter)) {
        FFont.Face.Underline = false;
        if (P.HoverColor != clNone) SetBrush(FAnchorBrush);
        if (P.HoverFontColor != clNone) FFont.Color = FAnchorFontColor;
    }
    if (!P.Selected) FFont.Color = FStart.Color;
    const bool open = FAnchor.Open;
    FAnchor.Open = false;
    // A closing tag without its anchor ends nothing: no rectangle, no focus.
    if (!open) return;
    if (FCandidate.Found && !FCandidate.Closed && FCandidate.Link == FAnchorCounter) {
        FCandidate.Rect.Right = FWork.Left;
        FCandidate.Closed = true;
    }
    if (paint && P.FocusLink >= 0 && FAnchorCounter == Int64(P.FocusLink) + 1) {
        FFocus.Right = FWork.Left;
        FFocus.Bottom = Add(FWork.Bottom, -Int64(line.PictureOffset));
        FFocus.Top = Add(FFocus.Bottom, -Int64(TextHeightGh()));
        FTarget->FocusRect({Add(FFocus.Left, -1), FFocus.Top, Add(FFocus.Right, 1), FFocus.Bottom});
    }
}

TSize THtmlRenderer::PictureSize(const String& value, bool draw, int x, int y, int width, int height) {
    if (!FPictures) return {};
    TSize size;
    if (StartsNoCase(value, "IDX:")) {
        const int index = StrToIntVal(value.substr(4));
        if (index < 0 || index >= FPictures->ImageCount()) return {};
        size = FPictures->ImageSize();
        if (draw) FPictures->DrawImage(index, x, y);
    } else if (StartsNoCase(value, "SSYS:") || StartsNoCase(value, "LSYS:")) {
        size = FPictures->ShellIcon(value.substr(5), Upper(value[0]) == 'L', draw, x, y);
    } else {
        bool url = false;
        if (value.find("://") != npos)
            url = true;
        else if (value.find(':') != npos)
            return {};
        if (!FPictures->FindPicture(value, url, size) || size.cx <= 0 || size.cy <= 0) return {};
        const bool stretched = width >= 1 && height >= 1;
        if (draw) FPictures->DrawPicture(value, url, x, y, stretched ? width : 0, stretched ? height : 0);
        if (stretched) size = {width, height};
    }
    return {ScaleByPixelsPerInch(size.cx, P.PixelsPerInchX), ScaleByPixelsPerInch(size.cy, P.PixelsPerInchY)};
}

void THtmlRenderer::Picture(TPass pass, const TTag& tag, int& x, bool& stop, TLineMetrics& line) {
    if (FPictureCounter < INT_MAX) ++FPictureCounter;
    String source, alt, value;
    tag.Attribute("SRC", source, true);
    if (tag.Attribute("ALT", alt) && FPictureCounter == FPictureUnderMouse) source = alt;
    tag.Attribute("WIDTH", value);
    const int width = TagNumber(StrToIntVal(value));
    tag.Attribute("HEIGHT", value);
    const int height = TagNumber(StrToIntVal(value));
    const bool paint = pass == TPass::Paint;
    const TSize size = PictureSize(source, paint, FWork.Left, FWork.Top, width, height);

    // A picture too wide for the rest of the line, that an empty line would
    // hold, starts the next line (and is counted there).
    const Int64 lineWidth = Int64(FLineRight) - FLineLeft;
    if (pass == TPass::Measure && Int64(x) + size.cx > lineWidth && size.cx < lineWidth) {
        stop = true;
        --FPictureCounter;
        return;
    }
    if (FAnchor.Open && FWork.Left < P.MouseX && Int64(P.MouseX) < Int64(FWork.Left) + size.cx &&
        FWork.Top < P.MouseY && Int64(P.MouseY) < Int64(FWork.Top) + size.cy) {
        FPictureUnderMouse = FPictureCounter;
        if (pass == TPass::HitTest) {
            FPictureHit = true;
            Candidate();
        }
    }
    x = Add(x, size.cx);
    FWork.Left = Add(FWork.Left, size.cx);
    if (line.Height < size.cy) line.Height = size.cy;
    if (tag.Upper.find("\"TOP") != npos)
        line.PictureOffset = line.Height - TextHeightGh();
    else if (tag.Upper.find("\"MIDDLE") != npos)
        line.PictureOffset = (line.Height - TextHeightGh()) / 2;
    if (tag.Has("WRAP")) {
        line.Height = TextHeightGh();
        line.PictureOffset = 0;
    }
}

void THtmlRenderer::ListItem(TPass pass, const TTag& tag, int& x, bool& stop) {
    FListType.clear();
    FListColor = clNone;
    String value;
    if (tag.Attribute("TYPE", value)) FListType = value;
    if (tag.Attribute("COLOR", value)) FListColor = ColorValue(value);
    // A second item on the line starts the next line, before it indents.
    if (FListItemOnLine && pass == TPass::Measure) {
        stop = true;
        return;
    }
    FListItemOnLine = true;
    const Int64 indent = Int64(12) * FListLevel;
    x = Add(x, indent);
    FWork.Left = Add(FWork.Left, indent - 12);
    if (pass == TPass::Paint && !FFlags.Hidden) {
        const bool square = FListType == "SQUARE", circle = FListType == "CIRCLE";
        if (square || circle) {
            const TColor color = FListColor != clNone ? FListColor : FFont.Color;
            const int top = Add(FWork.Top, 2);
            FTarget->Bullet({FWork.Left, top, Add(FWork.Left, 8), Add(top, 8)}, circle, color);
            SetBrush(clNone);
        } else if (FListType.empty()) {
            const THtmlFont saved = FFont;
            if (FListColor != clNone) FFont.Color = FListColor;
            FFont.Face.Name = "Symbol";
            Apply();
            FTarget->DrawText(FListLevel % 2 == 1 ? "\xB7" : "o", FWork, FDrawFlags, FFont.Color, FBrush);
            FFont.Face.Name = saved.Face.Name;
            FFont.Color = saved.Color;
        }
    }
    FWork.Left = Add(FWork.Left, 12);
}

void THtmlRenderer::BodyPicture(const String& value, THtmlBackground where) {
    if (!FPictures || value.empty()) return;
    const bool shell = StartsNoCase(value, "SSYS:") || StartsNoCase(value, "LSYS:");
    if (StartsNoCase(value, "IDX:") || shell) {
        int x = FWork.Left;
        if (where == THtmlBackground::TopRight) {
            // At the right edge less the image list's width; a shell icon
            // without an image list by its own.
            int width = 0;
            if (FPictures->ImageCount() >= 0)
                width = FPictures->ImageSize().cx;
            else if (shell)
                width = FPictures->ShellIcon(value.substr(5), value[0] == 'L', false, 0, 0).cx;
            x = Add(FWork.Right, -Int64(width));
        }
        if (shell) {
            FPictures->ShellIcon(value.substr(5), value[0] == 'L', true, x, FWork.Top);
        } else {
            const int index = StrToIntVal(value.substr(4));
            if (index >= 0 && index < FPictures->ImageCount()) FPictures->DrawImage(index, x, FWork.Top);
        }
        return;
    }
    bool url = false;
    if (value.find("://") != npos)
        url = true;
    else if (value.find(':') != npos)
        return;
    TSize size;
    if (FPictures->FindPicture(value, url, size) && size.cx > 0 && size.cy > 0)
        FPictures->DrawBackground(value, url, where, P.Bounds);
}

void THtmlRenderer::Body(const TTag& tag) {
    String value;
    if (tag.Attribute("BACKGROUND", value)) BodyPicture(value, THtmlBackground::Tile);
    if (tag.Attribute("BGTOPLEFT", value)) BodyPicture(value, THtmlBackground::TopLeft);
    if (tag.Attribute("BGTOPRIGHT", value)) BodyPicture(value, THtmlBackground::TopRight);
    String from, to;
    const bool hasFrom = tag.BackgroundColor(from);
    const bool hasTo = tag.Attribute("BGCOLORTO", to);
    if (hasFrom && !hasTo) {
        FFontBrush = FBrush;
        const TColor color = ColorValue(from);
        SetBrush(color);
        if (color != clNone)
            FTarget->FillRect({Add(P.Bounds.Left, -2), P.Bounds.Top, P.Bounds.Right, P.Bounds.Bottom}, color);
    } else if (hasFrom) {
        String direction;
        const bool horizontal = !tag.Attribute("DIR", direction) || direction.empty() || direction == "H";
        FTarget->Gradient(ColorValue(from), ColorValue(to), horizontal, P.Bounds, 64);
        SetBrush(clNone);
    }
}

void THtmlRenderer::Paragraph(TPass pass, const TTag& tag) {
    String value;
    if (tag.Attribute("ALIGN", value)) {
        if (value.find("RIGHT") != npos) FAlignment = 1;
        if (value.find("LEFT") != npos) FAlignment = 0;
        if (value.find("CENTER") != npos) FAlignment = 2;
    }
    if (tag.Attribute("INDENT", value)) FIndent = TagNumber(StrToIntVal(value));
    if (pass != TPass::Paint || P.Selected) return;
    String from, to;
    const bool hasFrom = tag.BackgroundColor(from);
    const bool hasTo = tag.Attribute("BGCOLORTO", to);
    if (hasFrom && !hasTo) {
        FParagraphBackground = true;
        FParagraphBrush = FBrush;
        const TColor color = ColorValue(from);
        SetBrush(color);
        if (color != clNone) FTarget->FillRect({P.Bounds.Left, FLineTop, P.Bounds.Right, FLineBottom}, color);
    } else if (hasFrom) {
        FParagraphBackground = true;
        FTarget->Gradient(ColorValue(from), ColorValue(to), true,
                          {P.Bounds.Left, FLineTop, P.Bounds.Right, Add(FLineBottom, 2)}, 64);
        SetBrush(clNone);
    }
}

void THtmlRenderer::Font(TPass pass, const TTag& tag) {
    String value;
    if (tag.Attribute("FACE", value) && !value.empty()) FFont.Face.Name = value;
    if (tag.Attribute(" COLOR", value) && !value.empty() && !P.Selected) FFont.Color = ColorValue(value);
    if (tag.BackgroundColor(value) && !value.empty() && pass == TPass::Paint && !P.Selected) {
        FFontBrush = FBrush;
        SetBrush(ColorValue(value));
    }
    if (tag.Attribute("SIZE", value)) {
        int points = StrToIntVal(value);
        if (points >= 1 && points <= 5) points = 8 + 2 * (points - 1);
        // Sizes that no font has are left alone (a size of 0 is no size).
        if (points >= 1) FFont.Face.Height = FontHeightOfPoints(std::min(points, 1638), P.FontPixelsPerInch);
    }
}

}  // namespace

bool LayoutHtml(ITextMeasurer& measurer, IHtmlDrawTarget* target, IHtmlPictures* pictures, const THtmlParams& params,
                THtmlResult& result) {
    THtmlRenderer renderer(measurer, target, pictures, params, result);
    return renderer.Run();
}

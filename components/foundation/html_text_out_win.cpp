#include "components/foundation/html_text_out_win.h"

namespace {

// The flags a plain piece may carry: one line at the bottom of its
// rectangle, left-aligned, clipped.
constexpr unsigned kPlainFlags = DT_SINGLELINE | DT_BOTTOM | DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr int kLongestPlain = 256;

bool IsPlain(const String& text, unsigned flags) {
    if (text.empty() || text.size() > std::size_t(kLongestPlain)) return false;
    if ((flags & ~kPlainFlags) != 0 || !(flags & DT_SINGLELINE) || !(flags & DT_BOTTOM)) return false;
    const bool prefixes = !(flags & DT_NOPREFIX);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || (prefixes && c == '&')) return false;
    }
    return true;
}

}  // namespace

void DrawHtmlPieceText(HDC dc, const String& text, const RECT& rect, unsigned flags, int fontHeight, int charset) {
    // Fonts of other character sets (a symbol font, say) go to DrawText,
    // which draws them its own way.
    if (IsPlain(text, flags) && !(GetTextAlign(dc) & TA_UPDATECP) &&
        (charset == -1 ? GetTextCharset(dc) : charset) == ANSI_CHARSET) {
        // DrawTextA's own conversion, measure and ExtTextOut.
        WCHAR wide[kLongestPlain];
        const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide, kLongestPlain);
        SIZE size{0, fontHeight};
        const bool measured = fontHeight != 0 && !(flags & DT_END_ELLIPSIS);
        if (n > 0 && (measured || GetTextExtentPoint32W(dc, wide, n, &size)) &&
            !((flags & DT_END_ELLIPSIS) && size.cx > rect.right - rect.left)) {
            ExtTextOutW(dc, rect.left, rect.bottom - size.cy, ETO_CLIPPED, &rect, wide, UINT(n), nullptr);
            return;
        }
    }
    RECT r = rect;
    ::DrawTextA(dc, text.data(), int(text.size()), &r, flags);
}

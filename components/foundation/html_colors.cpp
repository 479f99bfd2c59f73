#include "components/foundation/html_colors.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

struct TNamedColor {
    const char* Name;
    unsigned Value;
};

constexpr TNamedColor kColorNames[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", 0xFF000001},
    {"clactivecaption", 0xFF000002},
    {"clinactivecaption", 0xFF000003},
    {"clmenu", 0xFF000004},
    {"clwindow", 0xFF000005},
    {"clwindowframe", 0xFF000006},
    {"clmenutext", 0xFF000007},
    {"clwindowtext", 0xFF000008},
    {"clcaptiontext", 0xFF000009},
    {"clactiveborder", 0xFF00000A},
    {"clinactiveborder", 0xFF00000B},
    {"clappworkspace", 0xFF00000C},
    {"clhighlight", 0xFF00000D},
    {"clhighlighttext", 0xFF00000E},
    {"clbtnface", 0xFF00000F},
    {"clbtnshadow", 0xFF000010},
    {"clgraytext", 0xFF000011},
    {"clbtntext", 0xFF000012},
    {"clinactivecaptiontext", 0xFF000013},
    {"clbtnhighlight", 0xFF000014},
    {"cl3ddkshadow", 0xFF000015},
    {"cl3dlight", 0xFF000016},
    {"clinfotext", 0xFF000017},
    {"clinfobk", 0xFF000018},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Upper(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

TColor ColorFromName(const String& name) {
    for (const TNamedColor& entry : kColorNames)
        if (name == entry.Name) return TColor(int(entry.Value));
    return TColor(0);
}

int HexPairValue(const String& text) {
    if (text.size() < 2) return 0;
    const int high = HexDigit(text[0]);
    const int low = HexDigit(text[1]);
    return (high < 0 ? 0 : high) * 16 + (low < 0 ? 0 : low);
}

TColor HtmlHexToColor(const String& value) {
    auto pair = [&](size_t at) { return at < value.size() ? HexPairValue(value.substr(at, 2)) : 0; };
    return TColor(pair(1) + pair(3) * 256 + pair(5) * 65536);
}

int PosNoCaseFrom(const String& sub, const String& text, int from) {
    if (sub.empty() || from < 1) return 0;
    const size_t n = sub.size();
    if (text.size() < n) return 0;
    for (size_t i = size_t(from - 1); i + n <= text.size(); ++i) {
        size_t k = 0;
        while (k < n && Upper(text[i + k]) == Upper(sub[k])) ++k;
        if (k == n) return int(i + 1);
    }
    return 0;
}

int PosNoCase(const String& sub, const String& text) { return PosNoCaseFrom(sub, text, 1); }

int PosAndStore(const String& sub, const String& text, int& pos) {
    const size_t at = sub.empty() ? String::npos : text.find(sub);
    pos = at == String::npos ? 0 : int(at + 1);
    return pos;
}

bool ReplaceFirstNoCase(String& text, const String& pattern, const String& replacement) {
    const int at = PosNoCase(pattern, text);
    if (at == 0) return false;
    text.replace(size_t(at - 1), pattern.size(), replacement);
    return true;
}

namespace {

// Reads a number from text at i; stops at the first character that is no
// digit. complete: the text ended right after the digits.
int ReadNumber(const String& text, bool& complete) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || Upper(text[i]) == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && Upper(text[i + 1]) == 'X') {
        base = 16;
        i += 2;
    }
    Int64 magnitude = 0;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const int d = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) break;
        digits = true;
        magnitude = magnitude * base + d;
        if (magnitude > Int64(INT_MAX) + 1) magnitude = Int64(INT_MAX) + 1;  // saturates
    }
    complete = digits && i == text.size();
    if (!complete) return magnitude > INT_MAX ? INT_MAX : int(magnitude);
    if (negative) return int(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : int(magnitude);
}

}  // namespace

int StrToIntVal(const String& text) {
    bool complete = false;
    return ReadNumber(text, complete);
}

bool TryStrToIntVal(const String& text, int& value) {
    bool complete = false;
    const int read = ReadNumber(text, complete);
    if (complete) value = read;
    return complete;
}

String LineBreaksToBR(const String& text, bool toBR) {
    size_t at = text.find_first_of("\r\n");
    if (at == String::npos) return text;
    String result;
    result.reserve(text.size() + 8);
    size_t from = 0;
    while (at != String::npos) {
        result.append(text, from, at - from);
        if (text[at] == '\r' && toBR) result += "<BR>";
        from = at + 1;
        at = text.find_first_of("\r\n", from);
    }
    result.append(text, from, String::npos);
    return result;
}

int ScaleByPixelsPerInch(int value, int pixelsPerInch) {
    const Int64 product = Int64(value) * pixelsPerInch;
    Int64 quotient = product / 96;
    const Int64 remainder = product % 96;
    // Round the exact quotient: beyond a half away from zero, a half to even.
    const Int64 twice = 2 * (remainder < 0 ? -remainder : remainder);
    const int sign = product < 0 ? -1 : 1;
    if (twice > 96 || (twice == 96 && (quotient % 2) != 0)) quotient += sign;
    if (quotient > INT_MAX) return INT_MAX;
    if (quotient < INT_MIN) return INT_MIN;
    return int(quotient);
}

std::vector<TGradientBand> GradientBands(TColor fromRGB, TColor toRGB, bool horizontal, const TRect& rect, int count) {
    if (count <= 0) count = 1;
    const unsigned from = unsigned(fromRGB), to = unsigned(toRGB);
    const int start = horizontal ? rect.Left : rect.Top;
    const int end = horizontal ? rect.Right : rect.Bottom;
    const double bandWidth = (double(end) - double(start)) / count;
    std::vector<TGradientBand> bands;
    bands.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        unsigned color = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int a = int((from >> shift) & 0xFF), b = int((to >> shift) & 0xFF);
            const int c = a + RoundHalfEven(double(i) * (b - a) / count);
            color |= unsigned(c & 0xFF) << shift;
        }
        const Int64 bandStart = Int64(start) + RoundHalfEven(i * bandWidth);
        Int64 bandEnd = bandStart + Int64(std::trunc(bandWidth)) + 1;
        if (bandEnd > end) bandEnd = end;
        TRect band = rect;
        if (horizontal) {
            band.Left = int(bandStart);
            band.Right = int(bandEnd);
        } else {
            band.Top = int(bandStart);
            band.Bottom = int(bandEnd);
        }
        bands.push_back({band, TColor(int(color))});
    }
    return bands;
}

std::vector<TPoint> ErrorZigZag(int left, int right, int bottom) {
    std::vector<TPoint> points;
    Int64 x = left >= 0 ? left - left % 2 : left - (left % 2 != 0 ? 2 + left % 2 : 0);
    if (right < x) return points;
    // A piece is never wider than the screen: a longer run is cut rather
    // than made into millions of points.
    const Int64 last = std::min<Int64>(right, x + 65536);
    bool high = x % 4 == 0;  // at bottom + 1
    for (; x <= last; x += 2) {
        const Int64 y = Int64(bottom) + (high ? 1 : -1);
        points.push_back({int(x), int(std::clamp<Int64>(y, INT_MIN, INT_MAX))});
        high = !high;
    }
    return points;
}

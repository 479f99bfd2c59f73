// Integer and floating-point conversions to and from text.
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "classlib/core/sysutils.h"

// ---- Integers -------------------------------------------------------------------

String IntToStr(Int64 value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return String(buf, r.ptr);
}

String IntToHex(std::uint64_t value, int digits) {
    char buf[17];
    int n = 0;
    do {
        buf[16 - n] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
        ++n;
    } while (value != 0);
    String r(buf + 17 - n, size_t(n));
    if (digits > n) r.insert(0, size_t(digits - n), '0');
    return r;
}

namespace {

// Reads an integer the way the class library's Val does: blanks first, an
// optional sign, then decimal digits or hexadecimal ones after "$", "0x" or
// "x". hexLimit is the largest hexadecimal value (taken as its two's
// complement); decimal values must lie in [minValue, maxValue].
bool ParseInteger(const String& s, Int64 minValue, Int64 maxValue, std::uint64_t hexLimit, Int64& out) {
    size_t i = 0, n = s.size();
    while (i < n && s[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    } else if (i < n && (s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    }
    if (i >= n) return false;
    std::uint64_t v = 0;
    if (hex) {
        for (; i < n; ++i) {
            char c = s[i];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            if (v > (hexLimit >> 4)) return false;
            v = (v << 4) | std::uint64_t(d);
            if (v > hexLimit) return false;
        }
        // The bit pattern of the type: $FFFFFFFF is -1 for a 32-bit value.
        Int64 signedValue;
        if (hexLimit == 0xFFFFFFFFull)
            signedValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        else
            signedValue = static_cast<Int64>(v);
        out = negative ? Int64(0 - std::uint64_t(signedValue)) : signedValue;
        return true;
    }
    const std::uint64_t limit = negative ? std::uint64_t(0) - std::uint64_t(minValue) : std::uint64_t(maxValue);
    for (; i < n; ++i) {
        char c = s[i];
        if (c < '0' || c > '9') return false;
        std::uint64_t d = std::uint64_t(c - '0');
        if (v > (limit - d) / 10) return false;
        v = v * 10 + d;
    }
    out = negative ? Int64(0 - v) : Int64(v);
    return true;
}

[[noreturn]] void RaiseInvalidInteger(const String& s) {
    throw EConvertError("'" + s + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const String& s, int& value) {
    Int64 v;
    if (!ParseInteger(s, INT32_MIN, INT32_MAX, 0xFFFFFFFFull, v)) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const String& s) {
    int v;
    if (!TryStrToInt(s, v)) RaiseInvalidInteger(s);
    return v;
}

int StrToIntDef(const String& s, int defaultValue) {
    int v;
    return TryStrToInt(s, v) ? v : defaultValue;
}

bool TryStrToInt64(const String& s, Int64& value) {
    return ParseInteger(s, INT64_MIN, INT64_MAX, ~std::uint64_t(0), value);
}

Int64 StrToInt64(const String& s) {
    Int64 v;
    if (!TryStrToInt64(s, v)) RaiseInvalidInteger(s);
    return v;
}

Int64 StrToInt64Def(const String& s, Int64 defaultValue) {
    Int64 v;
    return TryStrToInt64(s, v) ? v : defaultValue;
}

// ---- Floating point to text ---------------------------------------------------------

namespace {

// A number as significant decimal digits: value = 0.Digits * 10^Exponent.
// Digits has no trailing zeros; zero has no digits.
struct TFloatRec {
    bool Negative = false;
    bool NotFinite = false;  // INF or NAN: Text holds it
    String Text;
    int Exponent = 0;
    String Digits;
};

// The value's 18 significant digits, then rounded half away from zero to
// at most precision significant digits and at most decimals digits after
// the decimal point. Rounding the decimal digits (and not the binary
// value) is what makes 0.125 give 0.13 and 2.5 give 3.
TFloatRec FloatToDecimal(double value, int precision, int decimals) {
    TFloatRec r;
    if (std::isnan(value)) {
        r.NotFinite = true;
        r.Text = "NAN";
        return r;
    }
    r.Negative = std::signbit(value);
    if (std::isinf(value)) {
        r.NotFinite = true;
        r.Text = r.Negative ? "-INF" : "INF";
        return r;
    }
    if (value == 0) {
        r.Negative = false;
        return r;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    // "d.ddddddddddddddddde+XX"
    String digits;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
    r.Exponent = exp10 + 1;

    if (precision > 18) precision = 18;
    int keep = std::min(precision, r.Exponent + decimals);
    if (keep < 0) {
        r.Exponent = 0;
        r.Negative = false;
        return r;
    }
    if (keep < int(digits.size())) {
        bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9') --i;
            if (i >= 0) {
                ++digits[size_t(i)];
                digits.resize(size_t(i) + 1);
            } else {
                // 0.999.. rounds up to 1.0: one digit more before the point.
                digits.assign(1, '1');
                ++r.Exponent;
            }
        }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) {
        r.Exponent = 0;
        r.Negative = false;
    }
    r.Digits = digits;
    return r;
}

char DigitAt(const TFloatRec& r, int i) { return (i >= 0 && size_t(i) < r.Digits.size()) ? r.Digits[size_t(i)] : '0'; }

// The integer part, with thousand separators when thousands != 0.
String IntegerPart(const TFloatRec& r, char thousands) {
    String s;
    if (r.Exponent <= 0) return "0";
    for (int i = 0; i < r.Exponent; ++i) {
        if (thousands && i > 0 && (r.Exponent - i) % 3 == 0) s += thousands;
        s += DigitAt(r, i);
    }
    return s;
}

String FixedText(const TFloatRec& r, int decimals, char thousands, const TFormatSettings& fs) {
    String s = IntegerPart(r, thousands);
    if (decimals > 0) {
        s += fs.DecimalSeparator;
        for (int i = 0; i < decimals; ++i) s += DigitAt(r, r.Exponent + i);
    }
    return s;
}

String ExponentText(int exponent, int minDigits, bool plusSign) {
    String s = "E";
    if (exponent < 0)
        s += '-';
    else if (plusSign)
        s += '+';
    String d = std::to_string(exponent < 0 ? -exponent : exponent);
    if (int(d.size()) < minDigits) d.insert(0, size_t(minDigits) - d.size(), '0');
    return s + d;
}

String CurrencyText(const String& amount, bool negative, const TFormatSettings& fs) {
    const String& c = fs.CurrencyString;
    if (!negative) {
        switch (fs.CurrencyFormat) {
        case 1: return amount + c;
        case 2: return c + " " + amount;
        case 3: return amount + " " + c;
        default: return c + amount;
        }
    }
    switch (fs.NegCurrFormat) {
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 9: return "-" + c + " " + amount;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "(" + c + amount + ")";
    }
}

}  // namespace

String FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    if (digits < 0) digits = 0;
    switch (format) {
    case ffExponent: {
        TFloatRec r = FloatToDecimal(value, precision, 9999);
        if (r.NotFinite) return r.Text;
        if (digits > 4) digits = 4;
        String s = r.Negative ? "-" : "";
        s += DigitAt(r, 0);
        if (precision > 1) {
            s += fs.DecimalSeparator;
            for (int i = 1; i < precision; ++i) s += DigitAt(r, i);
        }
        return s + ExponentText(r.Digits.empty() ? 0 : r.Exponent - 1, digits, true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        if (digits > 18) digits = 18;
        TFloatRec r = FloatToDecimal(value, 18, digits);
        if (r.NotFinite) return r.Text;
        String amount = FixedText(r, digits, format == ffFixed ? 0 : fs.ThousandSeparator, fs);
        if (format == ffCurrency) return CurrencyText(amount, r.Negative, fs);
        return r.Negative ? "-" + amount : amount;
    }
    case ffGeneral:
    default: {
        TFloatRec r = FloatToDecimal(value, precision, 9999);
        if (r.NotFinite) return r.Text;
        if (digits > 4) digits = 4;
        String s = r.Negative ? "-" : "";
        if (r.Digits.empty()) return "0";
        if (r.Exponent > precision || r.Exponent < -3) {
            s += r.Digits[0];
            if (r.Digits.size() > 1) s += fs.DecimalSeparator + r.Digits.substr(1);
            return s + ExponentText(r.Exponent - 1, digits, false);
        }
        s += IntegerPart(r, 0);
        int fraction = int(r.Digits.size()) - r.Exponent;
        if (fraction > 0) {
            s += fs.DecimalSeparator;
            for (int i = 0; i < fraction; ++i) s += DigitAt(r, r.Exponent + i);
        }
        return s;
    }
    }
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(double value, const TFormatSettings& settings) {
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

String FloatToStr(double value) { return FloatToStr(value, FormatSettings); }

// ---- Text to floating point -----------------------------------------------------------

bool TryStrToFloat(const String& s, double& value, const TFormatSettings& fs) {
    size_t i = 0, n = s.size();
    while (i < n && Byte(s[i]) <= ' ') ++i;
    while (n > i && Byte(s[n - 1]) <= ' ') --n;
    if (i >= n) return false;
    String t = UpperCase(s.substr(i, n - i));
    if (t == "NAN") {
        value = std::nan("");
        return true;
    }
    if (t == "INF" || t == "+INF" || t == "-INF") {
        value = t[0] == '-' ? -HUGE_VAL : HUGE_VAL;
        return true;
    }
    // Rebuild the number with '.' and check its shape: sign, digits,
    // separator, digits (at least one digit in all), exponent.
    String c;
    size_t k = 0;
    bool negative = false;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
        negative = t[k] == '-';
        ++k;
    }
    // magnitude: the power of ten of the first significant digit, plus 1.
    int mantissaDigits = 0;
    long magnitude = 0;
    bool seenPoint = false, seenSignificant = false;
    for (; k < t.size(); ++k) {
        char ch = t[k];
        if (ch >= '0' && ch <= '9') {
            c += ch;
            ++mantissaDigits;
            if (ch != '0') seenSignificant = true;
            if (!seenPoint && seenSignificant) ++magnitude;
            if (seenPoint && !seenSignificant) --magnitude;
        } else if (ch == fs.DecimalSeparator && !seenPoint) {
            c += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (k < t.size() && t[k] == 'E') {
        c += 'e';
        ++k;
        bool expNegative = false;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) {
            expNegative = t[k] == '-';
            c += t[k++];
        }
        size_t expStart = k;
        for (; k < t.size() && t[k] >= '0' && t[k] <= '9'; ++k) c += t[k];
        if (k == expStart) return false;
        long expValue = 0;
        if (std::from_chars(t.data() + expStart, t.data() + k, expValue).ec != std::errc()) expValue = 1L << 30;
        if (expValue > (1L << 30)) expValue = 1L << 30;
        magnitude += expNegative ? -expValue : expValue;
    }
    if (k != t.size()) return false;
    double v = 0;
    auto res = std::from_chars(c.data(), c.data() + c.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is not a value we take.
        if (seenSignificant && magnitude > 0) return false;
        v = 0;
    } else if (res.ec != std::errc() || res.ptr != c.data() + c.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

bool TryStrToFloat(const String& s, double& value) { return TryStrToFloat(s, value, FormatSettings); }

double StrToFloat(const String& s, const TFormatSettings& settings) {
    double v;
    if (!TryStrToFloat(s, v, settings)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

double StrToFloat(const String& s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(const String& s, double defaultValue, const TFormatSettings& settings) {
    double v;
    return TryStrToFloat(s, v, settings) ? v : defaultValue;
}

double StrToFloatDef(const String& s, double defaultValue) { return StrToFloatDef(s, defaultValue, FormatSettings); }

// ---- Rounding -------------------------------------------------------------------------

int RoundHalfEven(double value) {
    double rounded = std::nearbyint(value);  // the default rounding mode rounds halves to even
    if (!(rounded >= double(INT_MIN))) return INT_MIN;
    if (rounded > double(INT_MAX)) return INT_MAX;
    return int(rounded);
}

// Format: "%[index:][-][width][.precision]type" directives over a list of
// TVarRec arguments.
#include <cstdio>

#include "classlib/core/sysutils.h"

namespace {

class TFormatter {
public:
    TFormatter(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& fs)
        : FFmt(fmt), FArgs(args), FSettings(fs) {}

    String Run() {
        String out;
        size_t i = 0;
        const size_t n = FFmt.size();
        while (i < n) {
            char c = FFmt[i];
            if (c != '%') {
                size_t next = FFmt.find('%', i);
                if (next == String::npos) next = n;
                out.append(FFmt, i, next - i);
                i = next;
                continue;
            }
            ++i;
            if (i >= n) Fail();
            if (FFmt[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Directive(i);
        }
        return out;
    }

private:
    [[noreturn]] void Fail() const {
        throw EConvertError("Format '" + FFmt + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (FArgIndex < 0 || size_t(FArgIndex) >= FArgs.size()) Fail();
        return FArgs[size_t(FArgIndex++)];
    }

    // A number in the directive, or "*" for the next argument (an integer).
    // -1 when there is none.
    int Number(size_t& i) {
        const size_t n = FFmt.size();
        if (i < n && FFmt[i] == '*') {
            ++i;
            const TVarRec& a = NextArg();
            if (a.Kind != TVarRec::vtInteger) Fail();
            return a.VInteger;
        }
        if (i >= n || FFmt[i] < '0' || FFmt[i] > '9') return -1;
        long v = 0;
        while (i < n && FFmt[i] >= '0' && FFmt[i] <= '9') {
            v = v * 10 + (FFmt[i] - '0');
            if (v > 0x7FFFFFF) Fail();
            ++i;
        }
        return int(v);
    }

    String Directive(size_t& i) {
        const size_t n = FFmt.size();
        bool leftJustify = false;
        int width = -1, precision = -1;

        // index ":" (or the width when no ":" follows)
        int first = -2;
        if (i < n && FFmt[i] != '-') {
            first = Number(i);
            if (i < n && FFmt[i] == ':') {
                if (first < 0) Fail();
                FArgIndex = first;
                ++i;
                first = -2;
            }
        }
        if (first == -2) {
            if (i < n && FFmt[i] == '-') {
                leftJustify = true;
                ++i;
            }
            width = Number(i);
        } else {
            width = first;
        }
        if (width < -1) {
            // A negative "*" width justifies on the left.
            leftJustify = true;
            width = -width;
        }
        if (i < n && FFmt[i] == '.') {
            ++i;
            precision = Number(i);
            if (precision < 0) precision = 0;
        }
        if (i >= n) Fail();
        char type = FFmt[i++];
        if (type >= 'A' && type <= 'Z') type = char(type + 32);

        String text = Convert(type, precision);
        if (width > 0 && int(text.size()) < width) {
            if (leftJustify)
                text.append(size_t(width) - text.size(), ' ');
            else
                text.insert(0, size_t(width) - text.size(), ' ');
        }
        return text;
    }

    static String WithMinDigits(String digits, int precision) {
        bool negative = !digits.empty() && digits[0] == '-';
        if (negative) digits.erase(0, 1);
        if (precision > int(digits.size())) digits.insert(0, size_t(precision) - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    String Convert(char type, int precision) {
        switch (type) {
        case 'd': {
            const TVarRec& a = NextArg();
            if (a.Kind == TVarRec::vtInteger) return WithMinDigits(IntToStr(a.VInteger), precision);
            if (a.Kind == TVarRec::vtInt64) return WithMinDigits(IntToStr(a.VInt64), precision);
            Fail();
        }
        case 'u': {
            const TVarRec& a = NextArg();
            if (a.Kind == TVarRec::vtInteger)
                return WithMinDigits(std::to_string(static_cast<std::uint32_t>(a.VInteger)), precision);
            if (a.Kind == TVarRec::vtInt64)
                return WithMinDigits(std::to_string(static_cast<std::uint64_t>(a.VInt64)), precision);
            Fail();
        }
        case 'x': {
            const TVarRec& a = NextArg();
            if (a.Kind == TVarRec::vtInteger) return IntToHex(a.VInteger, precision);
            if (a.Kind == TVarRec::vtInt64) return IntToHex(static_cast<std::uint64_t>(a.VInt64), precision);
            Fail();
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            const TVarRec& a = NextArg();
            if (a.Kind != TVarRec::vtExtended) Fail();
            return FloatText(type, a.VExtended, precision);
        }
        case 'p': {
            const TVarRec& a = NextArg();
            const void* p;
            if (a.Kind == TVarRec::vtPointer)
                p = a.VPointer;
            else if (a.Kind == TVarRec::vtPChar)
                p = a.VPChar;
            else
                Fail();
            return IntToHex(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)), int(sizeof(void*) * 2));
        }
        case 's': {
            const TVarRec& a = NextArg();
            String s;
            if (a.Kind == TVarRec::vtString)
                s = *a.VString;
            else if (a.Kind == TVarRec::vtPChar)
                s = a.VPChar ? a.VPChar : "";
            else if (a.Kind == TVarRec::vtChar)
                s = String(1, a.VChar);
            else
                Fail();
            if (precision >= 0 && size_t(precision) < s.size()) s.resize(size_t(precision));
            return s;
        }
        default: Fail();
        }
    }

    String FloatText(char type, double v, int precision) const {
        switch (type) {
        case 'e': return FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
        case 'f': return FloatToStrF(v, ffFixed, 18, precision < 0 ? 2 : precision, FSettings);
        case 'g': return FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
        case 'n': return FloatToStrF(v, ffNumber, 18, precision < 0 ? 2 : precision, FSettings);
        default:
            return FloatToStrF(v, ffCurrency, 18, precision < 0 ? FSettings.CurrencyDecimals : precision, FSettings);
        }
    }

    const String& FFmt;
    std::span<const TVarRec> FArgs;
    const TFormatSettings& FSettings;
    int FArgIndex = 0;
};

}  // namespace

String Format(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& settings) {
    return TFormatter(fmt, args, settings).Run();
}

String Format(const String& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& settings) {
    return Format(fmt, std::span<const TVarRec>(args.begin(), args.size()), settings);
}

String Format(const String& fmt, std::initializer_list<TVarRec> args) { return Format(fmt, args, FormatSettings); }

// Text, number, date and path routines of the class library: the
// conversions (IntToStr, StrToInt, FloatToStr, StrToFloat), Format, string
// helpers with 1-based indexes, file-name helpers that take "\" (and "/")
// as the delimiter, date-time encoding and formatting, and the 8-bit <->
// UTF-8 helpers.
//
// Number and date texts follow the process-wide FormatSettings; each
// routine that reads them also has an overload that takes its own
// settings.
#pragma once

#include <concepts>
#include <initializer_list>
#include <span>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/types.h"

// ---- Format settings --------------------------------------------------------

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    // Money ("%m"): CurrencyFormat 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $";
    // NegCurrFormat 0..15 the usual sixteen negative patterns.
    String CurrencyString = "$";
    Byte CurrencyFormat = 0;
    Byte NegCurrFormat = 0;
    Byte CurrencyDecimals = 2;
    String ShortDateFormat = "M/d/yyyy";
    String LongDateFormat = "dddd, MMMM d, yyyy";
    String ShortTimeFormat = "h:nn AMPM";
    String LongTimeFormat = "h:nn:ss AMPM";
    String TimeAMString = "AM";
    String TimePMString = "PM";
    String ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    String LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
    // Sunday first.
    String ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    String LongDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    // Two-digit years read by StrToDate fall within this many years before
    // the current year and the rest of the century after it (0: the
    // current century).
    int TwoDigitYearCenturyWindow = 50;
};

// The settings every routine without an explicit settings argument uses.
extern TFormatSettings FormatSettings;

// ---- Integers ----------------------------------------------------------------

String IntToStr(Int64 value);
template <std::integral T>
String IntToStr(T value) {
    return IntToStr(static_cast<Int64>(value));
}
// Upper-case hexadecimal with at least digits digits. Values of 32 bits or
// less print as 32-bit two's complement (-1 gives FFFFFFFF), 64-bit values
// as 64-bit.
String IntToHex(std::uint64_t value, int digits);
template <std::integral T>
String IntToHex(T value, int digits) {
    if constexpr (sizeof(T) <= 4)
        return IntToHex(static_cast<std::uint64_t>(static_cast<LongWord>(static_cast<std::int32_t>(value))), digits);
    else
        return IntToHex(static_cast<std::uint64_t>(value), digits);
}

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "x";
// leading blanks are skipped, nothing may follow. 32-bit range (hexadecimal
// up to $FFFFFFFF, which wraps). Raises EConvertError "'%s' is not a valid
// integer value".
int StrToInt(const String& s);
int StrToIntDef(const String& s, int defaultValue);
bool TryStrToInt(const String& s, int& value);
Int64 StrToInt64(const String& s);
Int64 StrToInt64Def(const String& s, Int64 defaultValue);
bool TryStrToInt64(const String& s, Int64& value);

// ---- Floating point ----------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral: the shortest of fixed and scientific with at most precision
// significant digits (digits: least exponent digits); ffExponent:
// "d.dddE+ddd" with precision digits in all and at least digits exponent
// digits; ffFixed: digits decimals; ffNumber: like ffFixed with thousand
// separators; ffCurrency: money with digits decimals. Infinite and NaN
// values give "INF", "-INF" and "NAN".
String FloatToStrF(double value, TFloatFormat format, int precision, int digits);
String FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& settings);
// General format with 15 significant digits ("0.3", "1E20", "1.5E-7").
String FloatToStr(double value);
String FloatToStr(double value, const TFormatSettings& settings);

// Blanks around the number are allowed; the decimal separator is the
// settings' one; an exponent is "E" or "e", a sign and digits. "INF",
// "-INF" and "NAN" are read too. Raises EConvertError "'%s' is not a valid
// floating point value".
double StrToFloat(const String& s);
double StrToFloat(const String& s, const TFormatSettings& settings);
double StrToFloatDef(const String& s, double defaultValue);
double StrToFloatDef(const String& s, double defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(const String& s, double& value);
bool TryStrToFloat(const String& s, double& value, const TFormatSettings& settings);

// The nearest integer, halves to the even one (2.5 gives 2, 3.5 gives 4);
// held to the range of int (NaN gives INT_MIN).
int RoundHalfEven(double value);

// ---- Format --------------------------------------------------------------------

// One argument of Format: an integer, a 64-bit integer, a floating-point
// number, a character, a text (C string or String), a pointer or a Boolean.
// Texts are referred to, not copied: a TVarRec lives only as long as the
// call it is passed to.
struct TVarRec {
    enum TKind { vtInteger, vtInt64, vtExtended, vtChar, vtPChar, vtString, vtPointer, vtBoolean };

    TVarRec(int v) : Kind(vtInteger), VInteger(v) {}
    TVarRec(unsigned v) : Kind(vtInt64), VInt64(v) {}
    TVarRec(long v) {
        if constexpr (sizeof(long) == 4) {
            Kind = vtInteger;
            VInteger = static_cast<int>(v);
        } else {
            Kind = vtInt64;
            VInt64 = v;
        }
    }
    TVarRec(unsigned long v) : Kind(vtInt64), VInt64(static_cast<Int64>(v)) {}
    TVarRec(long long v) : Kind(vtInt64), VInt64(v) {}
    TVarRec(unsigned long long v) : Kind(vtInt64), VInt64(static_cast<Int64>(v)) {}
    TVarRec(double v) : Kind(vtExtended), VExtended(v) {}
    TVarRec(long double v) : Kind(vtExtended), VExtended(static_cast<double>(v)) {}
    TVarRec(char v) : Kind(vtChar), VChar(v) {}
    TVarRec(const char* v) : Kind(vtPChar), VPChar(v) {}
    TVarRec(const String& v) : Kind(vtString), VString(&v) {}
    TVarRec(const void* v) : Kind(vtPointer), VPointer(v) {}
    TVarRec(std::nullptr_t) : Kind(vtPointer), VPointer(nullptr) {}
    TVarRec(bool v) : Kind(vtBoolean), VBoolean(v) {}

    TKind Kind;
    union {
        int VInteger;
        Int64 VInt64;
        double VExtended;
        char VChar;
        const char* VPChar;
        const String* VString;
        const void* VPointer;
        bool VBoolean;
    };
};

// Formats args by fmt: plain text is copied, "%%" gives "%", and each
// directive "%" [index ":"] ["-"] [width] ["." precision] type takes the
// next argument (or the one at index; later directives go on from there).
// Index, width and precision may be "*", taking an integer argument.
// Types (either case): d decimal, u unsigned, x hexadecimal (upper case),
// e scientific, f fixed, g general, n number with thousand separators,
// m money, p pointer, s text. For d, u and x the precision is the least
// number of digits; for s the most characters; for e and g the
// significant digits (15 by default); for f, n and m the decimals (2, or
// CurrencyDecimals). A width pads with blanks on the left, or on the right
// after "-". An argument of the wrong kind, a missing argument or a bad
// directive raises EConvertError "Format '%s' invalid or incompatible with
// argument".
String Format(const String& fmt, std::initializer_list<TVarRec> args);
String Format(const String& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& settings);
String Format(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& settings);

// ---- Texts (1-based indexes) ------------------------------------------------------

// ASCII letters only.
String UpperCase(const String& s);
String LowerCase(const String& s);
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);
// Drop leading and/or trailing characters up to and including ' '.
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
// Comparisons return < 0, 0 or > 0. The case-ignoring ones fold ASCII
// letters to upper case.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);
bool SameStr(const String& a, const String& b);
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
bool AnsiSameStr(const String& a, const String& b);
bool StartsText(const String& subText, const String& text);
bool StartsStr(const String& subText, const String& text);
bool EndsText(const String& subText, const String& text);
bool EndsStr(const String& subText, const String& text);
// The 1-based position of the first sub in s, 0 when absent (or sub empty).
int Pos(const String& sub, const String& s, int offset = 1);
int AnsiPos(const String& sub, const String& s);
// count characters from the 1-based index; both are clamped to the text.
String Copy(const String& s, int index, int count);
String Copy(const String& s, int index);
// Removes count characters from the 1-based index (clamped).
void Delete(String& s, int index, int count);
// Inserts sub before the 1-based index (clamped).
void Insert(const String& sub, String& s, int index);
// The 1-based position of the last character of s that is in delimiters,
// 0 when none.
int LastDelimiter(const String& delimiters, const String& s);
bool IsDelimiter(const String& delimiters, const String& s, int index);
String StringOfChar(char c, int count);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
// Replaces the first (or, with rfReplaceAll, every) occurrence of
// oldPattern; replaced text is not searched again. An empty pattern
// changes nothing.
String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags = 0);

// 'text' with inner quotes doubled.
String QuotedStr(const String& s);
String AnsiQuotedStr(const String& s, char quote);
// The text between the leading quote and the closing one, with doubled
// quotes made single; anything after the closing quote is dropped. A text
// that does not start with the quote comes back unchanged.
String AnsiDequotedStr(const String& s, char quote);
// Reads a quoted text at p, moving p past it (or to the end); empty when
// p does not start with the quote.
String AnsiExtractQuotedStr(const char*& p, const char* end, char quote);

// ---- File names ("\" and "/" both delimit, ":" ends a drive) -------------------------------

constexpr char PathDelim = '\\';
constexpr char DriveDelim = ':';
bool IsPathDelimiter(const String& s, int index);
String IncludeTrailingPathDelimiter(const String& s);
String ExcludeTrailingPathDelimiter(const String& s);
// "C:\dir\name.ext": ExtractFilePath "C:\dir\", ExtractFileDir "C:\dir"
// (a root keeps its delimiter: "C:\"), ExtractFileName "name.ext",
// ExtractFileExt ".ext", ExtractFileDrive "C:".
String ExtractFilePath(const String& fileName);
String ExtractFileDir(const String& fileName);
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);
String ExtractFileDrive(const String& fileName);
String ChangeFileExt(const String& fileName, const String& extension);
// An absolute name: a relative one is taken from the current folder, and
// "." and ".." segments and doubled delimiters are resolved. Delimiters
// become the root's kind ("/" for a name rooted at "/", else "\").
String ExpandFileName(const String& fileName);

// ---- Date and time ------------------------------------------------------------------------

constexpr double MSecsPerDay = 86400000.0;
constexpr Int64 DateDelta = 693594;  // days from 0001-01-01 to 1899-12-30

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);
// The local date and time from the system clock, to the millisecond.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Formats by the tokens (either case): d dd (day), ddd dddd (day name),
// ddddd dddddd (short and long date format), m mm (month; minutes right
// after an hour), mmm mmmm (month name), yy yyyy, h hh, n nn, s ss, z zzz,
// t tt (short and long time format), c (short date and long time),
// am/pm a/p ampm (12-hour clock), "/" and ":" (the settings' separators),
// text in '...' or "..." as it is; every other character as it is. An
// empty format is "c".
String FormatDateTime(const String& format, TDateTime dateTime);
String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& settings);
String DateTimeToStr(TDateTime dateTime);
String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings);
String DateToStr(TDateTime date);
String DateToStr(TDateTime date, const TFormatSettings& settings);
String TimeToStr(TDateTime time);
String TimeToStr(TDateTime time, const TFormatSettings& settings);

// Read a date in the order of ShortDateFormat with DateSeparator (a
// missing year is the current one), a time "h:n[:s[.z]]" with an optional
// AM/PM, or both, separated by blanks. Raise EConvertError "'%s' is not a
// valid date", "... valid time" or "... valid date and time".
TDateTime StrToDate(const String& s);
TDateTime StrToDate(const String& s, const TFormatSettings& settings);
TDateTime StrToTime(const String& s);
TDateTime StrToTime(const String& s, const TFormatSettings& settings);
TDateTime StrToDateTime(const String& s);
TDateTime StrToDateTime(const String& s, const TFormatSettings& settings);
bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& settings = FormatSettings);
bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& settings = FormatSettings);
bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& settings = FormatSettings);

// ---- 8-bit text and UTF-8 -------------------------------------------------------------------

// The 8-bit text is in Windows-1252. Encoding never fails; decoding turns
// characters that have no 8-bit form, and malformed bytes, into '?'.
String Utf8Encode(const String& ansi);
String Utf8Decode(const String& utf8);
String AnsiToUtf8(const String& ansi);
String Utf8ToAnsi(const String& utf8);

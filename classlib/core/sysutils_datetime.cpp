// Date and time: encoding, the clock, formatting and reading.
#include <chrono>
#include <cmath>
#include <ctime>

#include "classlib/core/sysutils.h"

namespace {

const int kDaysBefore[2][13] = {{0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};

// Days since 0001-01-01 (day 1) and milliseconds of the day. A negative
// date-time has its date before 1899-12-30 and its time as the positive
// fraction.
struct TTimeStamp {
    Int64 Date;
    Int64 Time;
};

TTimeStamp ToTimeStamp(TDateTime dt) {
    double whole = std::trunc(dt);
    Int64 ms = std::llround(std::fabs(dt - whole) * MSecsPerDay);
    TTimeStamp ts{DateDelta + Int64(whole), ms};
    // A time that rounds to midnight belongs to the next day.
    if (ts.Time >= Int64(MSecsPerDay)) {
        ts.Time -= Int64(MSecsPerDay);
        ts.Date += dt < 0 ? -1 : 1;
    }
    return ts;
}

bool DecodeDays(Int64 days, Word& year, Word& month, Word& day) {
    // days counts from 1 = 0001-01-01.
    if (days <= 0 || days > 3652059) {
        year = month = day = 0;
        return false;
    }
    Int64 t = days - 1;
    const Int64 d400 = 146097, d100 = 36524, d4 = 1461;
    Int64 y = 1;
    y += (t / d400) * 400;
    t %= d400;
    Int64 c = t / d100;
    if (c == 4) c = 3;
    y += c * 100;
    t -= c * d100;
    y += (t / d4) * 4;
    t %= d4;
    Int64 a = t / 365;
    if (a == 4) a = 3;
    y += a;
    t -= a * 365;
    bool leap = IsLeapYear(int(y));
    int m = 1;
    while (m < 12 && t >= kDaysBefore[leap][m + 1]) ++m;
    year = Word(y);
    month = Word(m);
    day = Word(t - kDaysBefore[leap][m] + 1);
    return true;
}

void DecodeMs(Int64 ms, Word& hour, Word& min, Word& sec, Word& msec) {
    hour = Word(ms / 3600000);
    ms %= 3600000;
    min = Word(ms / 60000);
    ms %= 60000;
    sec = Word(ms / 1000);
    msec = Word(ms % 1000);
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static const int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    Int64 y = year - 1;
    Int64 days = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[IsLeapYear(year)][month] + day;
    date = double(days - DateDelta);
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
    return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
    if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
    time = (double(hour) * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
    TDateTime t;
    if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
    return t;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    DecodeDays(ToTimeStamp(date).Date, year, month, day);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
    DecodeMs(ToTimeStamp(time).Time, hour, min, sec, msec);
}

int DayOfWeek(TDateTime date) {
    Int64 d = ToTimeStamp(date).Date;
    Int64 r = d % 7;
    if (r < 0) r += 7;
    return int(r) + 1;
}

TDateTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    if (ms < 0) ms += 1000;
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    TDateTime d = EncodeDate(Word(tm.tm_year + 1900), Word(tm.tm_mon + 1), Word(tm.tm_mday));
    // A leap second reads as the last second of its minute.
    TDateTime tod = EncodeTime(Word(tm.tm_hour), Word(tm.tm_min), Word(tm.tm_sec > 59 ? 59 : tm.tm_sec), Word(ms));
    return d + tod;
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
    TDateTime n = Now();
    return n - std::trunc(n);
}

// ---- FormatDateTime --------------------------------------------------------------

namespace {

class TDateFormatter {
public:
    TDateFormatter(TDateTime dt, const TFormatSettings& fs) : FSettings(fs) {
        TTimeStamp ts = ToTimeStamp(dt);
        DecodeDays(ts.Date, FYear, FMonth, FDay);
        DecodeMs(ts.Time, FHour, FMin, FSec, FMSec);
        Int64 r = ts.Date % 7;
        FDayOfWeek = int(r < 0 ? r + 7 : r);  // 0 = Sunday
    }

    String Run(const String& format) {
        Append(format.empty() ? String("C") : format);
        return FOut;
    }

private:
    static bool MatchAt(const String& f, size_t i, const char* what) {
        for (size_t k = 0; what[k]; ++k) {
            if (i + k >= f.size()) return false;
            char c = f[i + k];
            if (c >= 'a' && c <= 'z') c = char(c - 32);
            if (c != what[k]) return false;
        }
        return true;
    }

    void Number(int value, int digits) {
        String s = std::to_string(value);
        if (int(s.size()) < digits) s.insert(0, size_t(digits) - s.size(), '0');
        FOut += s;
    }

    // Whether an am/pm marker follows in f after position i, before the
    // next hour (the hours before it are then on the 12-hour clock).
    static bool TwelveHourAhead(const String& f, size_t i) {
        bool quoted = false;
        char quote = 0;
        for (; i < f.size(); ++i) {
            char c = f[i];
            if (quoted) {
                if (c == quote) quoted = false;
                continue;
            }
            if (c == '\'' || c == '"') {
                quoted = true;
                quote = c;
            } else if (c == 'a' || c == 'A') {
                return MatchAt(f, i, "AM/PM") || MatchAt(f, i, "A/P") || MatchAt(f, i, "AMPM");
            } else if (c == 'h' || c == 'H') {
                return false;
            }
        }
        return false;
    }

    void Append(const String& f) {
        // Nested formats (c, t, ddddd...) go two levels deep at most.
        if (FLevel >= 2) return;
        ++FLevel;
        char lastToken = ' ';
        size_t i = 0;
        const size_t n = f.size();
        while (i < n) {
            const char starter = f[i++];
            char token = starter;
            if (token >= 'a' && token <= 'z') token = char(token - 32);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastToken == 'H') token = 'N';
                lastToken = token;
            }
            auto count = [&]() {
                int c = 1;
                while (i < n && f[i] == starter) {
                    ++i;
                    ++c;
                }
                return c;
            };
            switch (token) {
            case 'Y': {
                int c = count();
                if (c <= 2)
                    Number(FYear % 100, 2);
                else
                    Number(FYear, 4);
                break;
            }
            case 'M': {
                int c = count();
                if (FMonth < 1) break;
                if (c <= 2)
                    Number(FMonth, c);
                else if (c == 3)
                    FOut += FSettings.ShortMonthNames[FMonth - 1];
                else
                    FOut += FSettings.LongMonthNames[FMonth - 1];
                break;
            }
            case 'D': {
                int c = count();
                if (c <= 2)
                    Number(FDay, c);
                else if (c == 3)
                    FOut += FSettings.ShortDayNames[FDayOfWeek];
                else if (c == 4)
                    FOut += FSettings.LongDayNames[FDayOfWeek];
                else if (c == 5)
                    Append(FSettings.ShortDateFormat);
                else
                    Append(FSettings.LongDateFormat);
                break;
            }
            case 'H': {
                int c = count();
                int h = FHour;
                if (TwelveHourAhead(f, i)) {
                    if (h == 0)
                        h = 12;
                    else if (h > 12)
                        h -= 12;
                }
                Number(h, c > 2 ? 2 : c);
                break;
            }
            case 'N': {
                int c = count();
                Number(FMin, c > 2 ? 2 : c);
                break;
            }
            case 'S': {
                int c = count();
                Number(FSec, c > 2 ? 2 : c);
                break;
            }
            case 'Z': {
                int c = count();
                Number(FMSec, c > 3 ? 3 : c);
                break;
            }
            case 'T': {
                int c = count();
                Append(c == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat);
                break;
            }
            case 'C': {
                count();
                Append(FSettings.ShortDateFormat);
                if (FHour != 0 || FMin != 0 || FSec != 0) {
                    FOut += ' ';
                    Append(FSettings.LongTimeFormat);
                }
                break;
            }
            case 'A': {
                size_t at = i - 1;
                bool pm = FHour >= 12;
                if (MatchAt(f, at, "AM/PM")) {
                    FOut.append(f, pm ? at + 3 : at, 2);
                    i = at + 5;
                } else if (MatchAt(f, at, "A/P")) {
                    FOut.append(f, pm ? at + 2 : at, 1);
                    i = at + 3;
                } else if (MatchAt(f, at, "AMPM")) {
                    FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;
                    i = at + 4;
                } else if (MatchAt(f, at, "AAAA")) {
                    FOut += FSettings.LongDayNames[FDayOfWeek];
                    i = at + 4;
                } else if (MatchAt(f, at, "AAA")) {
                    FOut += FSettings.ShortDayNames[FDayOfWeek];
                    i = at + 3;
                } else {
                    FOut += starter;
                }
                break;
            }
            case '/':
                if (FSettings.DateSeparator) FOut += FSettings.DateSeparator;
                break;
            case ':':
                if (FSettings.TimeSeparator) FOut += FSettings.TimeSeparator;
                break;
            case '\'':
            case '"': {
                size_t end = f.find(starter, i);
                if (end == String::npos) end = n;
                FOut.append(f, i, end - i);
                i = end < n ? end + 1 : n;
                break;
            }
            default: FOut += starter; break;
            }
        }
        --FLevel;
    }

    const TFormatSettings& FSettings;
    Word FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
    int FDayOfWeek = 0;
    int FLevel = 0;
    String FOut;
};

}  // namespace

String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& settings) {
    return TDateFormatter(dateTime, settings).Run(format);
}

String FormatDateTime(const String& format, TDateTime dateTime) {
    return FormatDateTime(format, dateTime, FormatSettings);
}

String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings) {
    return FormatDateTime("c", dateTime, settings);
}
String DateTimeToStr(TDateTime dateTime) { return DateTimeToStr(dateTime, FormatSettings); }
String DateToStr(TDateTime date, const TFormatSettings& settings) { return FormatDateTime("ddddd", date, settings); }
String DateToStr(TDateTime date) { return DateToStr(date, FormatSettings); }
String TimeToStr(TDateTime time, const TFormatSettings& settings) { return FormatDateTime("tt", time, settings); }
String TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings); }

// ---- Reading dates and times ---------------------------------------------------------

namespace {

class TDateScanner {
public:
    TDateScanner(const String& s, const TFormatSettings& fs) : FText(s), FSettings(fs) {}

    bool AtEnd() {
        SkipBlanks();
        return FPos >= FText.size();
    }
    size_t Position() const { return FPos; }
    void SetPosition(size_t p) { FPos = p; }

    bool ScanDate(TDateTime& date) {
        enum { mdy, dmy, ymd } order = mdy;
        for (char c : FSettings.ShortDateFormat) {
            char u = c >= 'a' && c <= 'z' ? char(c - 32) : c;
            if (u == 'D') {
                order = dmy;
                break;
            }
            if (u == 'Y') {
                order = ymd;
                break;
            }
            if (u == 'M') {
                order = mdy;
                break;
            }
        }
        int n1, n2, n3 = -1, l1, l2, l3 = 0;
        if (!ScanNumber(n1, l1) || !ScanChar(FSettings.DateSeparator) || !ScanNumber(n2, l2)) return false;
        if (ScanChar(FSettings.DateSeparator)) {
            if (!ScanNumber(n3, l3)) return false;
        }
        int y, m, d, yearDigits;
        Word cy, cm, cd;
        DecodeDate(Now(), cy, cm, cd);
        if (n3 < 0) {
            // Two numbers: month and day in the format's order; this year.
            y = cy;
            yearDigits = 4;
            if (order == dmy) {
                d = n1;
                m = n2;
            } else {
                m = n1;
                d = n2;
            }
        } else {
            switch (order) {
            case dmy:
                d = n1;
                m = n2;
                y = n3;
                yearDigits = l3;
                break;
            case ymd:
                y = n1;
                m = n2;
                d = n3;
                yearDigits = l1;
                break;
            default:
                m = n1;
                d = n2;
                y = n3;
                yearDigits = l3;
                break;
            }
        }
        if (yearDigits <= 2 && y < 100) {
            int window = FSettings.TwoDigitYearCenturyWindow;
            int pivot = cy - window;
            y += (pivot / 100) * 100;
            if (window > 0 && y < pivot) y += 100;
            if (window <= 0) y = (cy / 100) * 100 + (y % 100);
        }
        if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
        return TryEncodeDate(Word(y), Word(m), Word(d), date);
    }

    bool ScanTime(TDateTime& time) {
        int h, mi = 0, se = 0, ms = 0, len;
        if (!ScanNumber(h, len)) return false;
        bool haveMinutes = false;
        if (ScanChar(FSettings.TimeSeparator)) {
            if (!ScanNumber(mi, len)) return false;
            haveMinutes = true;
            if (ScanChar(FSettings.TimeSeparator)) {
                if (!ScanNumber(se, len)) return false;
                size_t save = FPos;
                if (ScanChar('.') || ScanChar(FSettings.DecimalSeparator)) {
                    int digits;
                    if (ScanNumber(ms, digits)) {
                        // Fractions of a second: ".5" is 500 ms.
                        while (digits < 3) {
                            ms *= 10;
                            ++digits;
                        }
                        while (digits > 3) {
                            ms /= 10;
                            --digits;
                        }
                    } else {
                        FPos = save;
                    }
                }
            }
        }
        int ampm = ScanAmPm();
        if (!haveMinutes && ampm < 0) return false;
        if (ampm >= 0) {
            if (h == 0 || h > 12) return false;
            if (ampm == 0 && h == 12) h = 0;
            if (ampm == 1 && h < 12) h += 12;
        }
        auto word = [](int v) { return Word(v < 0 || v > 9999 ? 9999 : v); };
        return TryEncodeTime(word(h), word(mi), word(se), word(ms), time);
    }

private:
    void SkipBlanks() {
        while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
    }

    bool ScanNumber(int& value, int& digits) {
        SkipBlanks();
        size_t start = FPos;
        long v = 0;
        while (FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            if (v < 100000) v = v * 10 + (FText[FPos] - '0');
            ++FPos;
        }
        digits = int(FPos - start);
        value = int(v);
        return digits > 0;
    }

    bool ScanChar(char c) {
        SkipBlanks();
        if (c && FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool ScanWord(const String& w) {
        if (w.empty() || FPos + w.size() > FText.size()) return false;
        if (!SameText(FText.substr(FPos, w.size()), w)) return false;
        FPos += w.size();
        return true;
    }

    // 0 for AM, 1 for PM, -1 when neither follows.
    int ScanAmPm() {
        SkipBlanks();
        if (ScanWord(FSettings.TimeAMString) || ScanWord("AM")) return 0;
        if (ScanWord(FSettings.TimePMString) || ScanWord("PM")) return 1;
        return -1;
    }

    const String& FText;
    const TFormatSettings& FSettings;
    size_t FPos = 0;
};

}  // namespace

bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& settings) {
    TDateScanner sc(s, settings);
    TDateTime d;
    if (!sc.ScanDate(d) || !sc.AtEnd()) return false;
    value = d;
    return true;
}

bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& settings) {
    TDateScanner sc(s, settings);
    TDateTime t;
    if (!sc.ScanTime(t) || !sc.AtEnd()) return false;
    value = t;
    return true;
}

bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& settings) {
    TDateScanner sc(s, settings);
    TDateTime d, t = 0;
    if (sc.ScanDate(d) && (sc.AtEnd() || (sc.ScanTime(t) && sc.AtEnd()))) {
        // A time belongs to its day: before 1899-12-30 the fraction counts
        // away from zero.
        value = d < 0 ? d - t : d + t;
        return true;
    }
    return TryStrToTime(s, value, settings);
}

TDateTime StrToDate(const String& s, const TFormatSettings& settings) {
    TDateTime v;
    if (!TryStrToDate(s, v, settings)) throw EConvertError("'" + s + "' is not a valid date");
    return v;
}
TDateTime StrToDate(const String& s) { return StrToDate(s, FormatSettings); }

TDateTime StrToTime(const String& s, const TFormatSettings& settings) {
    TDateTime v;
    if (!TryStrToTime(s, v, settings)) throw EConvertError("'" + s + "' is not a valid time");
    return v;
}
TDateTime StrToTime(const String& s) { return StrToTime(s, FormatSettings); }

TDateTime StrToDateTime(const String& s, const TFormatSettings& settings) {
    TDateTime v;
    if (!TryStrToDateTime(s, v, settings)) throw EConvertError("'" + s + "' is not a valid date and time");
    return v;
}
TDateTime StrToDateTime(const String& s) { return StrToDateTime(s, FormatSettings); }

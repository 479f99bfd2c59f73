// Date-time encoding, FormatDateTime and reading dates back.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0, Word ms = 0) {
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

TEST(DateTime, EncodeDecode) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);

    const struct {
        Word y, m, d;
    } dates[] = {{2024, 2, 29}, {2023, 12, 31}, {1, 1, 1}, {9999, 12, 31}, {1900, 3, 1}, {2000, 2, 29}, {1600, 1, 1}};
    for (const auto& c : dates) {
        Word y, m, d;
        DecodeDate(EncodeDate(c.y, c.m, c.d), y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
    }
    Word h, mi, s, ms;
    DecodeTime(At(2024, 5, 6, 23, 59, 58, 999), h, mi, s, ms);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(mi, 59);
    EXPECT_EQ(s, 58);
    EXPECT_EQ(ms, 999);
    // Before 1899-12-30 the fraction is still the time of day.
    Word y, m, d;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
    // A time a hair before midnight rounds into the next day, not to 24:00.
    DecodeDate(EncodeDate(2024, 1, 1) + 0.99999999999, y, m, d);
    DecodeTime(EncodeDate(2024, 1, 1) + 0.99999999999, h, mi, s, ms);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(h, 0);
}

TEST(DateTime, EncodeErrors) {
    EXPECT_THROW_MSG(EncodeDate(2023, 2, 29), EConvertError, "Invalid argument to date encode");
    EXPECT_THROW_MSG(EncodeDate(2023, 13, 1), EConvertError, "Invalid argument to date encode");
    EXPECT_THROW_MSG(EncodeDate(0, 1, 1), EConvertError, "Invalid argument to date encode");
    EXPECT_THROW_MSG(EncodeTime(24, 0, 0, 0), EConvertError, "Invalid argument to time encode");
    EXPECT_THROW_MSG(EncodeTime(1, 60, 0, 0), EConvertError, "Invalid argument to time encode");
    EXPECT_THROW_MSG(EncodeTime(1, 0, 0, 1000), EConvertError, "Invalid argument to time encode");
}

TEST(DateTime, DayOfWeek) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 10)), 1);   // a Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 25)), 2);  // a Monday
}

TEST(DateTime, FormatDateTimeTable) {
    // Tuesday, 5 March 2024, 14:07:09.045
    const TDateTime t = At(2024, 3, 5, 14, 7, 9, 45);
    const TDateTime morning = At(2024, 11, 25, 0, 5, 0, 0);
    struct Case {
        const char* fmt;
        TDateTime value;
        const char* expected;
    };
    const Case cases[] = {
        {"d", t, "5"},
        {"dd", t, "05"},
        {"ddd", t, "Tue"},
        {"dddd", t, "Tuesday"},
        {"ddddd", t, "3/5/2024"},
        {"dddddd", t, "Tuesday, March 5, 2024"},
        {"m", t, "3"},
        {"mm", t, "03"},
        {"mmm", t, "Mar"},
        {"mmmm", t, "March"},
        {"yy", t, "24"},
        {"yyyy", t, "2024"},
        {"h", t, "14"},
        {"hh", morning, "00"},
        {"n", t, "7"},
        {"nn", t, "07"},
        {"s", t, "9"},
        {"ss", t, "09"},
        {"z", t, "45"},
        {"zzz", t, "045"},
        {"hh:nn:ss", t, "14:07:09"},
        {"hh:mm", t, "14:07"},  // m right after an hour is the minute
        {"h:mm am/pm", t, "2:07 pm"},
        {"h:mm AM/PM", morning, "12:05 AM"},
        {"h:nn a/p", t, "2:07 p"},
        {"h ampm", t, "2 PM"},
        {"t", t, "2:07 PM"},
        {"tt", t, "2:07:09 PM"},
        {"c", t, "3/5/2024 2:07:09 PM"},
        {"", t, "3/5/2024 2:07:09 PM"},
        {"c", EncodeDate(2024, 3, 5), "3/5/2024"},
        {"dd_mm_yyyy", t, "05_03_2024"},
        {"dd_mm_yyyy hh_nn_ss", t, "05_03_2024 14_07_09"},
        {"hh_nn_ss", t, "14_07_09"},
        {"yyyy-mm-dd", t, "2024-03-05"},
        {"dd/mm/yyyy", t, "05/03/2024"},
        {"'day' d \"of\" mmmm", t, "day 5 of March"},
        {"'unclosed d", t, "unclosed d"},
        {"[d] #x", t, "[5] #x"},
        {"Q", t, "Q"},
        {"aaa aaaa", t, "Tue Tuesday"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, c.value), c.expected) << c.fmt;
}

TEST(DateTime, FormatSeparatorsFromSettings) {
    TFormatSettings fs;
    fs.DateSeparator = '.';
    fs.TimeSeparator = '-';
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.LongTimeFormat = "hh:nn:ss";
    const TDateTime t = At(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t, fs), "05.03.2024 14-07");
    EXPECT_EQ(DateTimeToStr(t, fs), "05.03.2024 14-07-09");
    EXPECT_EQ(DateToStr(t, fs), "05.03.2024");
    EXPECT_EQ(TimeToStr(t, fs), "14-07-09");
    // Nested formats stop after two levels instead of looping.
    fs.ShortDateFormat = "ddddd";
    EXPECT_EQ(FormatDateTime("ddddd", t, fs), "");
}

TEST(DateTime, ReadBack) {
    const TDateTime t = At(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(t)), t);
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate(" 12 / 31 / 1999 "), EncodeDate(1999, 12, 31));
    EXPECT_EQ(StrToDate("1/2/05"), EncodeDate(2005, 1, 2));
    EXPECT_DOUBLE_EQ(StrToTime("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("2:07:09 PM"), EncodeTime(14, 7, 9, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 AM"), 0.0);
    EXPECT_DOUBLE_EQ(StrToTime("12 pm"), 0.5);
    EXPECT_DOUBLE_EQ(StrToTime("10:00:00.5"), EncodeTime(10, 0, 0, 500));
    EXPECT_DOUBLE_EQ(StrToDateTime("10:30"), EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(StrToDateTime("1/1/1899 6:00"), EncodeDate(1899, 1, 1) - 0.25);

    TFormatSettings fs;
    fs.ShortDateFormat = "dd.mm.yyyy";
    fs.DateSeparator = '.';
    EXPECT_EQ(StrToDate("05.03.2024", fs), EncodeDate(2024, 3, 5));
    fs.ShortDateFormat = "yyyy-mm-dd";
    fs.DateSeparator = '-';
    EXPECT_EQ(StrToDate("2024-03-05", fs), EncodeDate(2024, 3, 5));

    EXPECT_THROW_MSG(StrToDate("2/30/2024"), EConvertError, "'2/30/2024' is not a valid date");
    EXPECT_THROW_MSG(StrToDate("abc"), EConvertError, "'abc' is not a valid date");
    EXPECT_THROW_MSG(StrToTime("25:00"), EConvertError, "'25:00' is not a valid time");
    EXPECT_THROW_MSG(StrToTime("13:00 PM"), EConvertError, "'13:00 PM' is not a valid time");
    EXPECT_THROW_MSG(StrToTime("65546:00"), EConvertError, "'65546:00' is not a valid time");
    EXPECT_THROW_MSG(StrToDateTime("3/5/2024 x"), EConvertError, "'3/5/2024 x' is not a valid date and time");
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToDateTime("", v));
    EXPECT_EQ(v, 7);
}

TEST(DateTime, NowIsPlausible) {
    TDateTime n = Now();
    Word y, m, d;
    DecodeDate(n, y, m, d);
    EXPECT_GE(y, 2020);
    EXPECT_LE(y, 2200);
    TDateTime today = Date();
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_LE(today, n + 1);
    TDateTime tod = Time();
    EXPECT_GE(tod, 0.0);
    EXPECT_LT(tod, 1.0);
}

}  // namespace

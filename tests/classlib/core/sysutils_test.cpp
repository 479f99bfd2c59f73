// Text routines, file names, integer and float conversions, UTF-8.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

// ---- Texts ------------------------------------------------------------------

TEST(SysUtilsText, CaseTrimAndCompare) {
    EXPECT_EQ(UpperCase("abc-XYZ_\xe9"), "ABC-XYZ_\xe9");
    EXPECT_EQ(LowerCase("ABC-xyz"), "abc-xyz");
    EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \n"), "  a");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_TRUE(SameText("Settings.INI", "settings.ini"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    // Letters fold to upper case: '_' (0x5F) sorts after every letter.
    EXPECT_GT(CompareText("a_", "aZ"), 0);
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_GT(CompareStr("\xe9", "z"), 0);  // bytes compare unsigned
    EXPECT_TRUE(AnsiSameText("\xc4X", "\xc4x"));
    EXPECT_TRUE(StartsText("%form", "%FORM_NAME%"));
    EXPECT_TRUE(EndsStr(".ini", "a.ini"));
}

TEST(SysUtilsText, PosCopyDeleteInsert) {
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("b", "abcb", 3), 4);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");  // index below 1 counts as 1
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
    EXPECT_EQ(Copy("abcdef", 3), "cdef");
    String s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 10, 2);
    EXPECT_EQ(s, "adef");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYdef");
    Insert("!", s, 100);
    EXPECT_EQ(s, "aXYdef!");
    EXPECT_EQ(LastDelimiter("\\:", "C:\\a\\b"), 5);
    EXPECT_EQ(StringOfChar('-', 3), "---");
}

TEST(SysUtilsText, StringReplace) {
    struct Case {
        const char* s;
        const char* from;
        const char* to;
        TReplaceFlags flags;
        const char* expected;
    };
    const Case cases[] = {
        {"aaaa", "aa", "a", rfReplaceAll, "aa"},  // replaced text is not searched again
        {"aaaa", "aa", "a", 0, "aaa"},
        {"%form_name%\\", "%FORM_NAME%", "frmMain", rfIgnoreCase, "frmMain\\"},
        {"%form_name%\\", "%FORM_NAME%", "frmMain", 0, "%form_name%\\"},
        {"a.b.c", ".", "\\", rfReplaceAll, "a\\b\\c"},
        {"AbAB", "ab", "x", rfReplaceAll | rfIgnoreCase, "xx"},
        {"abc", "", "x", rfReplaceAll, "abc"},
        {"", "a", "x", rfReplaceAll, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s << " / " << c.from;
}

TEST(SysUtilsText, Quoting) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
    EXPECT_EQ(AnsiDequotedStr("\"a\"\"b\"", '"'), "a\"b");
    EXPECT_EQ(AnsiDequotedStr("\"ab\"tail", '"'), "ab");
    EXPECT_EQ(AnsiDequotedStr("\"open", '"'), "open");
    EXPECT_EQ(AnsiDequotedStr("plain", '"'), "plain");
    EXPECT_EQ(AnsiDequotedStr("''", '\''), "");
}

// ---- File names -------------------------------------------------------------------

TEST(SysUtilsPaths, ExtractParts) {
    struct Case {
        const char* name;
        const char* path;
        const char* dir;
        const char* file;
        const char* ext;
    };
    const Case cases[] = {
        {"C:\\Program Files\\mikroC\\settings.ini", "C:\\Program Files\\mikroC\\", "C:\\Program Files\\mikroC",
         "settings.ini", ".ini"},
        {"C:\\settings.ini", "C:\\", "C:\\", "settings.ini", ".ini"},
        {"C:name.txt", "C:", "C:", "name.txt", ".txt"},
        {"dir/sub/file.tar.gz", "dir/sub/", "dir/sub", "file.tar.gz", ".gz"},
        {"\\top", "\\", "\\", "top", ""},
        {"a.dir\\noext", "a.dir\\", "a.dir", "noext", ""},
        {"my.layout.dat", "", "", "my.layout.dat", ".dat"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
    EXPECT_EQ(ExtractFileDrive("C:\\x"), "C:");
    EXPECT_EQ(ExtractFileDrive("\\\\server\\share\\x"), "\\\\server\\share");
    EXPECT_EQ(ExtractFileDrive("x\\y"), "");
}

TEST(SysUtilsPaths, ChangeExtAndDelimiters) {
    EXPECT_EQ(ChangeFileExt("Settings", ".ini"), "Settings.ini");
    EXPECT_EQ(ChangeFileExt("a\\Settings.txt", ".ini"), "a\\Settings.ini");
    EXPECT_EQ(ChangeFileExt("a.b\\c", ".ini"), "a.b\\c.ini");
    EXPECT_EQ(ChangeFileExt("x.dat", ""), "x");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a\\"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\a"), "C:\\a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
}

TEST(SysUtilsPaths, ExpandFileName) {
    EXPECT_EQ(ExpandFileName("C:\\a\\b\\..\\c\\.\\d.txt"), "C:\\a\\c\\d.txt");
    EXPECT_EQ(ExpandFileName("C:\\a\\\\b\\"), "C:\\a\\b\\");
    EXPECT_EQ(ExpandFileName("C:\\..\\x"), "C:\\x");
    EXPECT_EQ(ExpandFileName("\\\\srv\\share\\a\\..\\b"), "\\\\srv\\share\\b");
    EXPECT_EQ(ExpandFileName("/tmp/a/../b"), "/tmp/b");
    // A relative name starts from the current folder.
    String rel = ExpandFileName("sub\\..\\file.ini");
    EXPECT_TRUE(EndsStr("file.ini", rel)) << rel;
    EXPECT_NE(rel, "file.ini");
    EXPECT_TRUE(ExtractFileName(rel) == "file.ini") << rel;
}

// ---- Integers ---------------------------------------------------------------------

TEST(SysUtilsIntegers, IntToStrAndHex) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(Int64(-9223372036854775807LL - 1)), "-9223372036854775808");
    EXPECT_EQ(IntToStr(Byte(200)), "200");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0xABCDu, 8), "0000ABCD");
}

TEST(SysUtilsIntegers, StrToIntTable) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"123", true, 123},
        {"-123", true, -123},
        {"+7", true, 7},
        {"  42", true, 42},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$FF", true, 255},
        {"$ff", true, 255},
        {"0x1A", true, 26},
        {"0X1a", true, 26},
        {"x10", true, 16},
        {"$FFFFFFFF", true, -1},
        {"$100000000", false, 0},
        {"-$10", true, -16},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"12 ", false, 0},
        {"1 2", false, 0},
        {"12a", false, 0},
        {"1.0", false, 0},
        {"$G", false, 0},
        {"\t5", false, 0},
    };
    for (const Case& c : cases) {
        int v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            EXPECT_EQ(StrToIntDef(c.text, -77), -77) << c.text;
            EXPECT_THROW_MSG(StrToInt(c.text), EConvertError, "'" + String(c.text) + "' is not a valid integer value");
        }
    }
}

TEST(SysUtilsIntegers, StrToInt64) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 5), 5);
    EXPECT_THROW_MSG(StrToInt64("abc"), EConvertError, "'abc' is not a valid integer value");
}

// ---- Floats ---------------------------------------------------------------------------

TEST(SysUtilsFloats, FloatToStrTable) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.5, "-1.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123.456, "123.456"},
        {100.0, "100"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {-2.5e-10, "-2.5E-10"},
        {999999999999999.9, "1E15"},
        {0.5, "0.5"},
        {3.14159265358979, "3.14159265358979"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {5e-324, "4.94065645841247E-324"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.expected) << c.value;
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
}

TEST(SysUtilsFloats, DecimalSeparatorFromSettings) {
    TFormatSettings fs;
    fs.DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(2.5, fs), "2,5");
    EXPECT_EQ(StrToFloat("2,5", fs), 2.5);
    double v;
    EXPECT_FALSE(TryStrToFloat("2.5", v, fs));
    // The global settings decide for the plain forms.
    TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(0.25), "0,25");
    FormatSettings = saved;
    EXPECT_EQ(FloatToStr(0.25), "0.25");
}

TEST(SysUtilsFloats, FloatToStrF) {
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 18, 2), "1234.57");
    EXPECT_EQ(FloatToStrF(0.125, ffFixed, 18, 2), "0.13");  // decimal halves round up
    EXPECT_EQ(FloatToStrF(2.5, ffFixed, 18, 0), "3");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 18, 2), "0.00");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 18, 2), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(-999.5, ffNumber, 18, 0), "-1,000");
    EXPECT_EQ(FloatToStrF(1.5, ffExponent, 4, 2), "1.500E+00");
    EXPECT_EQ(FloatToStrF(-12345.0, ffExponent, 3, 3), "-1.23E+004");
    EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 1), "0.00E+0");
    EXPECT_EQ(FloatToStrF(9.99, ffExponent, 2, 1), "1.0E+1");
    EXPECT_EQ(FloatToStrF(12.5, ffCurrency, 18, 2), "$12.50");
    EXPECT_EQ(FloatToStrF(-12.5, ffCurrency, 18, 2), "($12.50)");
    EXPECT_EQ(FloatToStrF(123.456, ffGeneral, 4, 0), "123.5");
    EXPECT_EQ(FloatToStrF(123456.0, ffGeneral, 4, 0), "1.235E5");
}

TEST(SysUtilsFloats, StrToFloatTable) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"0", true, 0.0},          {"1.5", true, 1.5},    {"-1.5", true, -1.5},  {"+2", true, 2.0},
        {"  3.25  ", true, 3.25},  {".5", true, 0.5},     {"5.", true, 5.0},     {"1e3", true, 1000.0},
        {"1.5E-2", true, 0.015},   {"2E+2", true, 200.0}, {"1e-400", true, 0.0}, {"INF", true, HUGE_VAL},
        {"-inf", true, -HUGE_VAL}, {"", false, 0},        {" ", false, 0},       {".", false, 0},
        {"-", false, 0},           {"1e", false, 0},      {"1e+", false, 0},     {"1,5", false, 0},
        {"1.5.2", false, 0},       {"abc", false, 0},     {"1e400", false, 0},   {"0x10", false, 0},
        {"1 2", false, 0},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        } else {
            EXPECT_EQ(StrToFloatDef(c.text, 7.5), 7.5);
            EXPECT_THROW_MSG(StrToFloat(c.text), EConvertError,
                             "'" + String(c.text) + "' is not a valid floating point value");
        }
    }
    double v;
    ASSERT_TRUE(TryStrToFloat("nan", v));
    EXPECT_TRUE(std::isnan(v));
}

TEST(SysUtilsFloats, RoundTrip) {
    const double values[] = {0.1, 1.0 / 7.0, 12345.678, -3.5e-12, 6.02214076e23, 1e-300};
    for (double d : values) {
        double back = StrToFloat(FloatToStr(d));
        EXPECT_NEAR(back, d, std::fabs(d) * 1e-14) << d;
    }
}

// ---- UTF-8 ------------------------------------------------------------------------------

TEST(SysUtilsFloats, RoundHalfEvenTakesTheEvenNeighbourOfAHalf) {
    const struct {
        double Value;
        int Rounded;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {3.5, 4},
                 {2.51, 3},
                 {-0.5, 0},
                 {-1.5, -2},
                 {-2.5, -2},
                 {-2.6, -3},
                 {7.0, 7},
                 {1e30, INT_MAX},
                 {-1e30, INT_MIN},
                 {2147483647.4, INT_MAX},
                 {-2147483648.4, INT_MIN},
                 {NAN, INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.Value), c.Rounded) << c.Value;
}

TEST(SysUtilsUtf8, EncodeDecode) {
    EXPECT_EQ(Utf8Encode("abc"), "abc");
    EXPECT_EQ(Utf8Encode("\xe9"), "\xc3\xa9");      // e acute
    EXPECT_EQ(Utf8Encode("\x80"), "\xe2\x82\xac");  // euro sign
    EXPECT_EQ(Utf8Encode("\x81"), "\xc2\x81");      // unassigned: the control of that number
    EXPECT_EQ(Utf8Decode("\xc3\xa9t\xc3\xa9"), "\xe9t\xe9");
    EXPECT_EQ(Utf8Decode("\xe2\x82\xac"), "\x80");
    EXPECT_EQ(Utf8Decode("\xe2\x80\x9c"
                         "q"
                         "\xe2\x80\x9d"),
              "\x93q\x94");
    EXPECT_EQ(Utf8Decode("\xe4\xb8\xad"), "?");  // no 8-bit form
    EXPECT_EQ(Utf8Decode("\xf0\x9f\x98\x80"), "?");
    EXPECT_EQ(Utf8Decode("a\xc3"), "a?");  // cut short
    EXPECT_EQ(Utf8Decode("\xff"
                         "b"),
              "?b");
    EXPECT_EQ(Utf8Decode("\xc0\xaf"), "??");       // overlong
    EXPECT_EQ(Utf8Decode("\xed\xa0\x80"), "???");  // surrogate
    String all;
    for (int i = 1; i < 256; ++i) all += char(i);
    EXPECT_EQ(Utf8Decode(Utf8Encode(all)), all);
}

}  // namespace

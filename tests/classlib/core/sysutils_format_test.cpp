// Format: directives, argument kinds, and the errors.
#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

struct TFormatCase {
    const char* fmt;
    std::vector<TVarRec> args;
    const char* expected;
};

String FormatCase(const TFormatCase& c) { return Format(c.fmt, std::span<const TVarRec>(c.args), FormatSettings); }

TEST(Format, Table) {
    const String name = "frmMain";
    const TFormatCase cases[] = {
        {"plain", {}, "plain"},
        {"", {}, ""},
        {"100%%", {}, "100%"},
        {"%d", {42}, "42"},
        {"%d", {-42}, "-42"},
        {"%D", {7}, "7"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {42}, "0042"},
        {"%.4d", {-42}, "-0042"},
        {"%6.4d", {-42}, " -0042"},
        {"%1d", {12345}, "12345"},
        {"%d", {Int64(9876543210LL)}, "9876543210"},
        {"%u", {-1}, "4294967295"},
        {"%u", {Int64(-1)}, "18446744073709551615"},
        {"%x", {255}, "FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {Int64(0x123456789ALL)}, "123456789A"},
        {"%s", {"text"}, "text"},
        {"%s", {name}, "frmMain"},
        {"%s", {'c'}, "c"},
        {"%.3s", {"abcdef"}, "abc"},
        {"%8s|", {"abc"}, "     abc|"},
        {"%-8s|", {"abc"}, "abc     |"},
        {"[%s]", {""}, "[]"},
        {"%f", {1.0}, "1.00"},
        {"%.3f", {3.14159}, "3.142"},
        {"%.0f", {2.5}, "3"},
        {"%.1f", {-0.05}, "-0.1"},
        {"%8.2f|", {3.14159}, "    3.14|"},
        {"%e", {1.5}, "1.50000000000000E+000"},
        {"%.3e", {12345.0}, "1.23E+004"},
        {"%.3e", {-0.000123}, "-1.23E-004"},
        {"%g", {0.5}, "0.5"},
        {"%g", {1e20}, "1E020"},
        {"%.3g", {3.14159}, "3.14"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {-1234.0}, "-1,234"},
        {"%m", {12.5}, "$12.50"},
        {"%m", {-12.5}, "($12.50)"},
        {"%.0m", {3.0}, "$3"},
        // Index directives: later plain directives go on after the index.
        {"%0:s-%0:s", {"a"}, "a-a"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"%1:s %s", {"a", "b", "c"}, "b c"},
        {"The Default Root Value \"%0:s\" has been replaced with \"%1:s\".",
         {"APPL_NAME", "MyZVLApplication"},
         "The Default Root Value \"APPL_NAME\" has been replaced with \"MyZVLApplication\"."},
        {"%d,%d,%d,%d", {-1, -1, -3, -3}, "-1,-1,-3,-3"},
        {"(%dx%d)", {1280, 1024}, "(1280x1024)"},
        // "*" takes width and precision from the arguments.
        {"%*d|", {5, 42}, "   42|"},
        {"%-*d|", {5, 42}, "42   |"},
        {"%.*d", {3, 7}, "007"},
        {"%*.*f|", {8, 1, 2.25}, "     2.3|"},
        {"$%.*x", {4, 0x1A}, "$001A"},
    };
    for (const TFormatCase& c : cases) EXPECT_EQ(FormatCase(c), c.expected) << c.fmt;
}

TEST(Format, Pointer) {
    int x = 0;
    String p = Format("%p", {static_cast<const void*>(&x)});
    EXPECT_EQ(p.size(), sizeof(void*) * 2);
    EXPECT_EQ(p, IntToHex(std::uint64_t(reinterpret_cast<std::uintptr_t>(&x)), int(sizeof(void*) * 2)));
    EXPECT_EQ(Format("%p", {nullptr}), String(sizeof(void*) * 2, '0'));
}

TEST(Format, SettingsDecideSeparators) {
    TFormatSettings fs;
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    fs.CurrencyString = "EUR";
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    EXPECT_EQ(Format("%.2f", {1.5}, fs), "1,50");
    EXPECT_EQ(Format("%n", {1234.5}, fs), "1.234,50");
    EXPECT_EQ(Format("%m", {1234.5}, fs), "1.234,50 EUR");
    EXPECT_EQ(Format("%m", {-2.0}, fs), "-2,00 EUR");
}

TEST(Format, Errors) {
    const TFormatCase bad[] = {
        {"%d", {}, ""},      // missing argument
        {"%d %d", {1}, ""},  // second one missing
        {"%d", {1.5}, ""},   // wrong kind
        {"%d", {"x"}, ""},        {"%d", {'c'}, ""}, {"%d", {true}, ""}, {"%s", {5}, ""}, {"%s", {true}, ""},
        {"%f", {1}, ""},          {"%x", {2.0}, ""}, {"%p", {5}, ""},    {"%", {}, ""},  // cut short
        {"abc%5", {1}, ""},       {"%q", {1}, ""},                                       // unknown type
        {"%2:s", {"a", "b"}, ""},                                                        // index past the end
        {"%*d", {"w", 1}, ""},                                                           // "*" needs an integer
    };
    for (const TFormatCase& c : bad)
        EXPECT_THROW_MSG(FormatCase(c), EConvertError,
                         "Format '" + String(c.fmt) + "' invalid or incompatible with argument");
}

TEST(Format, LongTexts) {
    String big(5000, 'x');
    EXPECT_EQ(Format("<%s>", {big}), "<" + big + ">");
    EXPECT_EQ(Format("%300d", {1}).size(), 300u);
}

}  // namespace

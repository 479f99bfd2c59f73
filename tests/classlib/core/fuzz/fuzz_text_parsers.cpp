// Feeds arbitrary bytes to the text readers of the class library core:
// Format and FormatDateTime formats, number and date texts, string-list
// text and comma text, INI lines and UTF-8. Each must raise its conversion
// error or succeed, and the round trips must give back what they read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "classlib/core/inifiles.h"
#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::vector<String> Lines(const TStrings& list) {
    std::vector<String> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const String text(reinterpret_cast<const char*>(data), size);

    // Format strings with one argument of every kind.
    const String s = "str";
    int dummy = 0;
    try {
        (void)Format(text, {7, Int64(-5), 2.5, 'c', "pchar", s, static_cast<const void*>(&dummy), 3, 4});
    } catch (const EConvertError&) {}
    (void)FormatDateTime(text, 45000.75);
    (void)FormatDateTime(text, -700000.5);

    // Numbers: what reads as a number writes back as a text that reads.
    int i;
    if (TryStrToInt(text, i)) Check(StrToInt(IntToStr(i)) == i);
    Int64 i64;
    if (TryStrToInt64(text, i64)) Check(StrToInt64(IntToStr(i64)) == i64);
    double d;
    if (TryStrToFloat(text, d) && std::isfinite(d)) {
        double back;
        Check(TryStrToFloat(FloatToStr(d), back));
        (void)Format("%e %f %g %n %m", {d, d, d, d, d});
    }
    TDateTime dt;
    if (TryStrToDateTime(text, dt)) (void)DateTimeToStr(dt);

    // String lists: lines read from text write back to the same lines.
    TStringList list;
    list.SetText(text);
    TStringList again;
    again.SetText(list.Text());
    Check(Lines(list) == Lines(again));
    list.SetCommaText(text);
    again.SetCommaText(list.CommaText());
    Check(Lines(list) == Lines(again));
    (void)list.Values(Copy(text, 1, 8));

    // INI lines: reading what was written gives the same INI.
    TMemIniFile ini("");
    TStringList source, written, rewritten;
    source.SetText(text);
    ini.SetStrings(&source);
    ini.GetStrings(&written);
    ini.SetStrings(&written);
    ini.GetStrings(&rewritten);
    Check(Lines(written) == Lines(rewritten));
    (void)ini.ReadInteger(Copy(text, 1, 4), Copy(text, 5, 4), 0);

    // UTF-8 and file names.
    (void)Utf8Decode(text);
    Check(Utf8Decode(Utf8Encode(text)) == text);
    (void)ExtractFileDir(text);
    (void)ChangeFileExt(text, ".ini");
    (void)StringReplace(text, Copy(text, 1, 2), "xy", rfReplaceAll | rfIgnoreCase);
    return 0;
}

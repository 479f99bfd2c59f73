// Text and file-name routines, and the 8-bit <-> UTF-8 conversions.
#include "classlib/core/sysutils.h"

#include <algorithm>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

TFormatSettings FormatSettings;

namespace {

char UpChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
char LowChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool IsPathChar(char c) { return c == '\\' || c == '/'; }

}  // namespace

// ---- Case and trimming --------------------------------------------------------

String UpperCase(const String& s) {
    String r = s;
    for (char& c : r) c = UpChar(c);
    return r;
}

String LowerCase(const String& s) {
    String r = s;
    for (char& c : r) c = LowChar(c);
    return r;
}

String AnsiUpperCase(const String& s) { return UpperCase(s); }
String AnsiLowerCase(const String& s) { return LowerCase(s); }

String Trim(const String& s) {
    size_t b = 0, e = s.size();
    while (b < e && Byte(s[b]) <= ' ') ++b;
    while (e > b && Byte(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

String TrimLeft(const String& s) {
    size_t b = 0;
    while (b < s.size() && Byte(s[b]) <= ' ') ++b;
    return s.substr(b);
}

String TrimRight(const String& s) {
    size_t e = s.size();
    while (e > 0 && Byte(s[e - 1]) <= ' ') --e;
    return s.substr(0, e);
}

// ---- Comparison ----------------------------------------------------------------

int CompareStr(const String& a, const String& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return int(Byte(a[i])) - int(Byte(b[i]));
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareText(const String& a, const String& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        Byte x = Byte(UpChar(a[i])), y = Byte(UpChar(b[i]));
        if (x != y) return int(x) - int(y);
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareText(a, b) == 0; }
bool SameStr(const String& a, const String& b) { return a == b; }
int AnsiCompareStr(const String& a, const String& b) { return CompareStr(a, b); }
int AnsiCompareText(const String& a, const String& b) { return CompareText(a, b); }
bool AnsiSameText(const String& a, const String& b) { return SameText(a, b); }
bool AnsiSameStr(const String& a, const String& b) { return a == b; }

bool StartsText(const String& subText, const String& text) {
    return text.size() >= subText.size() && SameText(text.substr(0, subText.size()), subText);
}
bool StartsStr(const String& subText, const String& text) { return text.compare(0, subText.size(), subText) == 0; }
bool EndsText(const String& subText, const String& text) {
    return text.size() >= subText.size() && SameText(text.substr(text.size() - subText.size()), subText);
}
bool EndsStr(const String& subText, const String& text) {
    return text.size() >= subText.size() && text.compare(text.size() - subText.size(), subText.size(), subText) == 0;
}

// ---- Positions and pieces --------------------------------------------------------

int Pos(const String& sub, const String& s, int offset) {
    if (sub.empty() || offset < 1 || size_t(offset) > s.size()) return 0;
    size_t p = s.find(sub, size_t(offset - 1));
    return p == String::npos ? 0 : int(p) + 1;
}

int AnsiPos(const String& sub, const String& s) { return Pos(sub, s); }

String Copy(const String& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || size_t(index) > s.size()) return String();
    return s.substr(size_t(index - 1), size_t(count));
}

String Copy(const String& s, int index) {
    if (index < 1) index = 1;
    if (size_t(index) > s.size()) return String();
    return s.substr(size_t(index - 1));
}

void Delete(String& s, int index, int count) {
    if (index < 1 || count <= 0 || size_t(index) > s.size()) return;
    s.erase(size_t(index - 1), size_t(count));
}

void Insert(const String& sub, String& s, int index) {
    if (index < 1) index = 1;
    size_t at = std::min(size_t(index - 1), s.size());
    s.insert(at, sub);
}

int LastDelimiter(const String& delimiters, const String& s) {
    size_t p = s.find_last_of(delimiters);
    return p == String::npos ? 0 : int(p) + 1;
}

bool IsDelimiter(const String& delimiters, const String& s, int index) {
    if (index < 1 || size_t(index) > s.size()) return false;
    return delimiters.find(s[size_t(index - 1)]) != String::npos;
}

String StringOfChar(char c, int count) { return count > 0 ? String(size_t(count), c) : String(); }

String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags) {
    if (oldPattern.empty()) return s;
    const bool all = (flags & rfReplaceAll) != 0;
    const String hay = (flags & rfIgnoreCase) ? UpperCase(s) : s;
    const String needle = (flags & rfIgnoreCase) ? UpperCase(oldPattern) : oldPattern;
    String result;
    size_t from = 0;
    while (true) {
        size_t p = hay.find(needle, from);
        if (p == String::npos) break;
        result.append(s, from, p - from);
        result += newPattern;
        from = p + needle.size();
        if (!all) break;
    }
    result.append(s, from, String::npos);
    return result;
}

// ---- Quoting ------------------------------------------------------------------------

String AnsiQuotedStr(const String& s, char quote) {
    String r;
    r.reserve(s.size() + 2);
    r += quote;
    for (char c : s) {
        r += c;
        if (c == quote) r += quote;
    }
    r += quote;
    return r;
}

String QuotedStr(const String& s) { return AnsiQuotedStr(s, '\''); }

String AnsiExtractQuotedStr(const char*& p, const char* end, char quote) {
    String r;
    if (p == end || *p != quote) return r;
    ++p;
    while (p != end) {
        if (*p == quote) {
            ++p;
            if (p != end && *p == quote) {
                r += quote;
                ++p;
            } else {
                return r;
            }
        } else {
            r += *p++;
        }
    }
    return r;
}

String AnsiDequotedStr(const String& s, char quote) {
    if (s.empty() || s[0] != quote) return s;
    const char* p = s.data();
    return AnsiExtractQuotedStr(p, s.data() + s.size(), quote);
}

// ---- File names ------------------------------------------------------------------------

namespace {
const String kPathDelims = "\\/";
const String kPathDriveDelims = "\\/:";
const String kExtDelims = ".\\/:";
}  // namespace

bool IsPathDelimiter(const String& s, int index) { return IsDelimiter(kPathDelims, s, index); }

String IncludeTrailingPathDelimiter(const String& s) {
    if (!s.empty() && IsPathChar(s.back())) return s;
    return s + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& s) {
    if (!s.empty() && IsPathChar(s.back())) return s.substr(0, s.size() - 1);
    return s;
}

String ExtractFilePath(const String& fileName) {
    return fileName.substr(0, size_t(LastDelimiter(kPathDriveDelims, fileName)));
}

String ExtractFileDir(const String& fileName) {
    int i = LastDelimiter(kPathDriveDelims, fileName);
    if (i > 1 && IsPathChar(fileName[size_t(i - 1)]) && !IsDelimiter(kPathDriveDelims, fileName, i - 1)) --i;
    return fileName.substr(0, size_t(i));
}

String ExtractFileName(const String& fileName) {
    return fileName.substr(size_t(LastDelimiter(kPathDriveDelims, fileName)));
}

String ExtractFileExt(const String& fileName) {
    int i = LastDelimiter(kExtDelims, fileName);
    if (i > 0 && fileName[size_t(i - 1)] == '.') return fileName.substr(size_t(i - 1));
    return String();
}

String ExtractFileDrive(const String& fileName) {
    if (fileName.size() >= 2 && fileName[1] == DriveDelim) return fileName.substr(0, 2);
    // "\\server\share"
    if (fileName.size() >= 2 && IsPathChar(fileName[0]) && IsPathChar(fileName[1])) {
        size_t p = fileName.find_first_of(kPathDelims, 2);
        if (p == String::npos) return fileName;
        size_t q = fileName.find_first_of(kPathDelims, p + 1);
        return fileName.substr(0, q == String::npos ? fileName.size() : q);
    }
    return String();
}

String ChangeFileExt(const String& fileName, const String& extension) {
    int i = LastDelimiter(kExtDelims, fileName);
    if (i == 0 || fileName[size_t(i - 1)] != '.') return fileName + extension;
    return fileName.substr(0, size_t(i - 1)) + extension;
}

namespace {

// The root of an absolute name ("C:\", "\\server\share", "\" or "/") and
// where the rest starts; false when the name is relative ("C:name" too).
bool SplitRoot(const String& n, String& root, size_t& rest) {
    root.clear();
    rest = 0;
    if (n.size() >= 2 && n[1] == DriveDelim) {
        root = n.substr(0, 2);
        rest = 2;
        if (n.size() > 2 && IsPathChar(n[2])) {
            root += n[2];
            rest = 3;
            return true;
        }
        return false;
    }
    if (n.size() >= 2 && IsPathChar(n[0]) && IsPathChar(n[1])) {
        root = ExtractFileDrive(n);
        rest = root.size();
        return true;
    }
    if (!n.empty() && IsPathChar(n[0])) {
        root = n.substr(0, 1);
        rest = 1;
        return true;
    }
    return false;
}

}  // namespace

namespace {

// The current folder, empty when unknown (the C library's call: on Windows
// std::filesystem would bring the standard library's locale machinery into
// every program, and give the name in UTF-8 rather than the code page).
String CurrentFolder() {
    char buffer[4096];
#ifdef _WIN32
    return ::_getcwd(buffer, sizeof buffer) ? String(buffer) : String();
#else
    return ::getcwd(buffer, sizeof buffer) ? String(buffer) : String();
#endif
}

}  // namespace

String ExpandFileName(const String& fileName) {
    String name = fileName;
    String root;
    size_t rest;
    if (!SplitRoot(name, root, rest)) {
        String cwd = CurrentFolder();
        if (cwd.empty()) return fileName;
        String relative = name.substr(rest);
        if (!root.empty() && !SameText(ExtractFileDrive(cwd), root)) {
            // "D:name" while the current folder is on another drive.
            name = root + PathDelim + relative;
        } else {
            name = IncludeTrailingPathDelimiter(cwd) + relative;
        }
        SplitRoot(name, root, rest);
    }
    // One kind of delimiter in the result: the root's.
    char delim = PathDelim;
    for (char c : root)
        if (c == '/') delim = '/';
    std::vector<String> parts;
    String seg;
    bool endsWithDelim = false;
    auto take = [&]() {
        if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
    };
    for (size_t i = rest; i < name.size(); ++i) {
        if (IsPathChar(name[i])) {
            take();
            seg.clear();
            endsWithDelim = true;
        } else {
            seg += name[i];
            endsWithDelim = false;
        }
    }
    const bool endsWithDots = seg == "." || seg == "..";
    take();
    String result = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!result.empty() && !IsPathChar(result.back())) result += delim;
        result += parts[i];
    }
    if ((endsWithDelim || endsWithDots) && !parts.empty()) result += delim;
    return result;
}

// ---- 8-bit text and UTF-8 ---------------------------------------------------------------------

namespace {

// Windows-1252 0x80..0x9F; the five unassigned codes map to the C1
// controls of the same number, as the system's own conversion does.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t AnsiToCodePoint(Byte b) {
    if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80];
    return b;
}

int CodePointToAnsi(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == cp) return 0x80 + i;
    return -1;
}

void AppendUtf8(String& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

String Utf8Encode(const String& ansi) {
    String out;
    out.reserve(ansi.size());
    for (char c : ansi) AppendUtf8(out, AnsiToCodePoint(Byte(c)));
    return out;
}

String Utf8Decode(const String& utf8) {
    String out;
    out.reserve(utf8.size());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        Byte b = Byte(utf8[i]);
        if (b < 0x80) {
            out += char(b);
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0, min = 0;
        if ((b & 0xE0) == 0xC0) {
            len = 2;
            cp = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            cp = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            cp = b & 0x07;
            min = 0x10000;
        }
        bool ok = len > 0 && i + size_t(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            Byte t = Byte(utf8[i + size_t(k)]);
            if ((t & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            // One malformed byte becomes one '?'; decoding resumes after it.
            out += '?';
            ++i;
            continue;
        }
        int a = CodePointToAnsi(cp);
        out += a < 0 ? '?' : char(a);
        i += size_t(len);
    }
    return out;
}

String AnsiToUtf8(const String& ansi) { return Utf8Encode(ansi); }
String Utf8ToAnsi(const String& utf8) { return Utf8Decode(utf8); }

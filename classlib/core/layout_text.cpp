#include "classlib/core/layout_text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr int MaxDepth = 200;

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool SameWord(const String& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x + 32);
        if (y >= 'A' && y <= 'Z') y = char(y + 32);
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

class Parser {
public:
    explicit Parser(const String& text) : s(text) {}

    TLayoutObject ParseRoot() {
        SkipBlanks();
        TLayoutObject root = ParseObject(0);
        SkipBlanks();
        if (p < s.size()) Error("Text after the end of the root object");
        return root;
    }

private:
    const String& s;
    size_t p = 0;
    int line = 1;

    [[noreturn]] void Error(const String& what) const { throw EParserError(what + " on line " + std::to_string(line)); }

    void SkipBlanks() {
        while (p < s.size()) {
            char c = s[p];
            if (c == '\n') {
                ++line;
                ++p;
            } else if (static_cast<unsigned char>(c) <= ' ') {
                ++p;
            } else if (c == '/' && p + 1 < s.size() && s[p + 1] == '/') {
                while (p < s.size() && s[p] != '\n') ++p;
            } else {
                break;
            }
        }
    }

    bool AtEnd() {
        SkipBlanks();
        return p >= s.size();
    }

    char Peek() {
        SkipBlanks();
        return p < s.size() ? s[p] : '\0';
    }

    void Expect(char c) {
        if (Peek() != c) Error(String("'") + c + "' expected");
        ++p;
    }

    // An identifier; with dotted, a path such as Font.Name or Form1.Button1.
    String Ident(bool dotted) {
        SkipBlanks();
        if (p >= s.size() || !IsIdentStart(s[p])) Error("Identifier expected");
        size_t start = p;
        while (p < s.size() &&
               (IsIdentChar(s[p]) || (dotted && s[p] == '.' && p + 1 < s.size() && IsIdentStart(s[p + 1]))))
            ++p;
        return s.substr(start, p - start);
    }

    bool PeekWord(const char* word) {
        SkipBlanks();
        size_t q = p;
        while (q < s.size() && IsIdentChar(s[q])) ++q;
        return q > p && SameWord(s.substr(p, q - p), word);
    }

    TLayoutObject ParseObject(int depth) {
        if (depth > MaxDepth) Error("Objects nested too deeply");
        TLayoutObject obj;
        obj.Line = line;
        String kind = Ident(false);
        if (SameWord(kind, "object"))
            obj.Kind = okObject;
        else if (SameWord(kind, "inherited"))
            obj.Kind = okInherited;
        else if (SameWord(kind, "inline"))
            obj.Kind = okInline;
        else
            Error("'object' expected");
        String first = Ident(false);
        if (Peek() == ':') {
            ++p;
            obj.Name = first;
            obj.ClassName = Ident(false);
        } else {
            obj.ClassName = first;
        }
        if (Peek() == '[') {  // the position among the container's children
            ++p;
            Int64 pos = ParseInteger();
            if (pos < 0 || pos > 0x7FFFFFFF) Error("Invalid child position");
            obj.ChildPos = int(pos);
            Expect(']');
        }
        while (true) {
            if (AtEnd()) Error("'end' expected for object " + (obj.Name.empty() ? obj.ClassName : obj.Name));
            if (PeekWord("end")) {
                Ident(false);
                break;
            }
            if (PeekWord("object") || PeekWord("inherited") || PeekWord("inline")) {
                obj.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            obj.Properties.push_back(ParseProperty(depth));
        }
        return obj;
    }

    TLayoutProperty ParseProperty(int depth) {
        TLayoutProperty prop;
        prop.Line = line;
        prop.Name = Ident(true);
        Expect('=');
        ParseValue(prop.Value, depth + 1);
        return prop;
    }

    Int64 ParseInteger() {
        SkipBlanks();
        bool negative = false;
        if (p < s.size() && (s[p] == '-' || s[p] == '+')) {
            negative = s[p] == '-';
            ++p;
        }
        if (p < s.size() && s[p] == '$') {
            ++p;
            size_t start = p;
            std::uint64_t v = 0;
            while (p < s.size() && HexValue(s[p]) >= 0) {
                if (p - start >= 16) Error("Integer too large");
                v = v * 16 + std::uint64_t(HexValue(s[p]));
                ++p;
            }
            if (p == start) Error("Hexadecimal digits expected");
            Int64 r = Int64(v);
            return negative ? -r : r;
        }
        size_t start = p;
        while (p < s.size() && IsDigit(s[p])) ++p;
        if (p == start) Error("Number expected");
        String digits = s.substr(start, p - start);
        errno = 0;
        long long v = std::strtoll(digits.c_str(), nullptr, 10);
        if (errno == ERANGE) Error("Integer too large");
        return negative ? -v : v;
    }

    void ParseNumber(std::vector<TLayoutToken>& out) {
        SkipBlanks();
        size_t start = p;
        int tokenLine = line;
        if (s[p] == '-' || s[p] == '+') ++p;
        if (p < s.size() && s[p] == '$') {
            p = start;
            TLayoutToken t;
            t.Line = tokenLine;
            t.Int = ParseInteger();
            t.Type = (t.Int >= INT32_MIN && t.Int <= INT32_MAX) ? vaInt32 : vaInt64;
            out.push_back(t);
            return;
        }
        while (p < s.size() && IsDigit(s[p])) ++p;
        bool isFloat = false;
        if (p < s.size() && s[p] == '.' && p + 1 < s.size() && IsDigit(s[p + 1])) {
            isFloat = true;
            ++p;
            while (p < s.size() && IsDigit(s[p])) ++p;
        }
        if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
            size_t q = p + 1;
            if (q < s.size() && (s[q] == '-' || s[q] == '+')) ++q;
            if (q < s.size() && IsDigit(s[q])) {
                isFloat = true;
                p = q;
                while (p < s.size() && IsDigit(s[p])) ++p;
            }
        }
        String text = s.substr(start, p - start);
        if (text == "-" || text == "+" || text.empty()) Error("Number expected");
        TLayoutToken t;
        t.Line = tokenLine;
        // A letter right after the number names the float's type: s single,
        // c currency, d date-time.
        TValueType floatType = vaExtended;
        if (p < s.size() && !(p + 1 < s.size() && IsIdentChar(s[p + 1]))) {
            switch (s[p] | 0x20) {
            case 's': floatType = vaSingle; break;
            case 'c': floatType = vaCurrency; break;
            case 'd': floatType = vaDate; break;
            default: break;
            }
            if (floatType != vaExtended) {
                isFloat = true;
                ++p;
            }
        }
        if (isFloat) {
            t.Type = floatType;
            t.Float = std::strtod(text.c_str(), nullptr);
        } else {
            errno = 0;
            long long v = std::strtoll(text.c_str(), nullptr, 10);
            if (errno == ERANGE) Error("Integer too large");
            t.Int = v;
            t.Type = (v >= INT32_MIN && v <= INT32_MAX) ? vaInt32 : vaInt64;
        }
        out.push_back(t);
    }

    // 'text'#13#10'more' + 'rest'
    String ParseString() {
        String result;
        while (true) {
            SkipBlanks();
            if (p < s.size() && s[p] == '\'') {
                ++p;
                while (true) {
                    if (p >= s.size() || s[p] == '\n') Error("Unterminated string");
                    if (s[p] == '\'') {
                        if (p + 1 < s.size() && s[p + 1] == '\'') {
                            result += '\'';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    result += s[p++];
                }
            } else if (p < s.size() && s[p] == '#') {
                ++p;
                Int64 code = ParseInteger();
                if (code < 0 || code > 255) Error("Character code out of range");
                result += char(code);
            } else {
                break;
            }
            // Pieces continue directly ('a'#13'b'), or after a '+'.
            if (p < s.size() && (s[p] == '\'' || s[p] == '#')) continue;
            size_t savedPos = p;
            int savedLine = line;
            SkipBlanks();
            if (p < s.size() && s[p] == '+') {
                ++p;
                SkipBlanks();
                if (p >= s.size() || (s[p] != '\'' && s[p] != '#')) Error("String expected after '+'");
                continue;
            }
            p = savedPos;
            line = savedLine;
            break;
        }
        return result;
    }

    void ParseValue(std::vector<TLayoutToken>& out, int depth) {
        if (depth > MaxDepth) Error("Values nested too deeply");
        char c = Peek();
        TLayoutToken t;
        t.Line = line;
        if (c == '\'' || c == '#') {
            t.Type = vaString;
            t.Text = ParseString();
            out.push_back(t);
        } else if (IsDigit(c) || c == '-' || c == '+' || c == '$') {
            ParseNumber(out);
        } else if (IsIdentStart(c)) {
            t.Text = Ident(true);
            if (SameWord(t.Text, "True"))
                t.Type = vaTrue;
            else if (SameWord(t.Text, "False"))
                t.Type = vaFalse;
            else if (SameWord(t.Text, "nil"))
                t.Type = vaNil;
            else
                t.Type = vaIdent;
            out.push_back(t);
        } else if (c == '[') {
            ++p;
            t.Type = vaSet;
            if (Peek() != ']') {
                while (true) {
                    t.Elements.push_back(Ident(false));
                    if (Peek() == ',') {
                        ++p;
                        continue;
                    }
                    break;
                }
            }
            Expect(']');
            out.push_back(t);
        } else if (c == '(') {
            ++p;
            t.Type = vaList;
            out.push_back(t);
            while (Peek() != ')') {
                if (AtEnd()) Error("')' expected");
                ParseValue(out, depth + 1);
                if (Peek() == ',') ++p;  // commas between elements are tolerated
            }
            ++p;
            TLayoutToken end;
            end.Type = vaNull;
            end.Line = line;
            out.push_back(end);
        } else if (c == '<') {
            ++p;
            t.Type = vaCollection;
            out.push_back(t);
            while (Peek() != '>') {
                if (AtEnd()) Error("'>' expected");
                ParseItem(out, depth + 1);
            }
            ++p;
            TLayoutToken end;
            end.Type = vaNull;
            end.Line = line;
            out.push_back(end);
        } else if (c == '{') {
            ++p;
            t.Type = vaBinary;
            int high = -1;
            while (true) {
                SkipBlanks();
                if (p >= s.size()) Error("'}' expected");
                if (s[p] == '}') break;
                int v = HexValue(s[p]);
                if (v < 0) Error("Hexadecimal digit expected in binary data");
                ++p;
                if (high < 0) {
                    high = v;
                } else {
                    t.Text += char(high * 16 + v);
                    high = -1;
                }
            }
            if (high >= 0) Error("Odd number of hexadecimal digits in binary data");
            ++p;
            out.push_back(t);
        } else {
            Error("Property value expected");
        }
    }

    void ParseItem(std::vector<TLayoutToken>& out, int depth) {
        if (!PeekWord("item")) Error("'item' expected");
        TLayoutToken start;
        start.Line = line;
        Ident(false);
        start.Type = vaList;
        start.Int = -1;
        if (Peek() == '[') {
            ++p;
            start.Int = ParseInteger();
            Expect(']');
        }
        out.push_back(start);
        while (!PeekWord("end")) {
            if (AtEnd()) Error("'end' expected for collection item");
            TLayoutToken name;
            name.Line = line;
            name.Type = vaPropName;
            name.Text = Ident(true);
            out.push_back(name);
            Expect('=');
            ParseValue(out, depth + 1);
        }
        Ident(false);
        TLayoutToken end;
        end.Type = vaNull;
        end.Line = line;
        out.push_back(end);
    }
};

}  // namespace

TLayoutObject ParseLayoutText(const String& text) { return Parser(text).ParseRoot(); }

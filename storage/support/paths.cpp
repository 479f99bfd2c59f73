#include "storage/support/paths.h"

#include "storage/support/char_tables.h"

String PathWithSeparator(const String& path) { return path.ends_with('\\') ? path : path + '\\'; }

String PathWithoutSeparator(const String& path) {
    return path.ends_with('\\') ? path.substr(0, path.size() - 1) : path;
}

namespace {

bool SameTextIgnoringCase(const String& a, const String& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ZevCharUpper(a[i]) != ZevCharUpper(b[i])) return false;
    return true;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool IsMachineNameChar(char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_'; }

bool IsShareNameChar(char c) { return String("\"'*+,/:;<=>?[]|").find(c) == String::npos; }

// "server\share" followed by the end or a "\": machine name of letters,
// digits, "-", "." and "_" (not digits alone), share name without the
// characters a share name cannot hold.
bool IsServerAndShare(const String& path, size_t pos) {
    size_t machineStart = pos;
    bool digitsOnly = true;
    while (pos < path.size() && IsMachineNameChar(path[pos])) {
        digitsOnly = digitsOnly && IsAsciiDigit(path[pos]);
        ++pos;
    }
    if (pos == machineStart || digitsOnly) return false;
    if (pos == path.size() || path[pos] != '\\') return false;
    size_t shareStart = ++pos;
    while (pos < path.size() && path[pos] != '\\') {
        if (!IsShareNameChar(path[pos])) return false;
        ++pos;
    }
    return pos > shareStart;
}

}  // namespace

String PathWithExtension(const String& path, const String& extension) {
    if (path.empty() || extension.empty()) return path;
    String ext = extension.starts_with('.') ? extension : '.' + extension;
    size_t dot = path.rfind('.');
    if (dot != String::npos && SameTextIgnoringCase(path.substr(dot), ext)) return path;
    String result = path.ends_with('.') ? path.substr(0, path.size() - 1) : path;
    return result + ext;
}

bool PathIsRooted(const String& path) {
    if (path.empty()) return false;
    if (path.starts_with("\\\\?\\UNC\\")) return IsServerAndShare(path, 8);
    if (path.starts_with("\\\\") && IsServerAndShare(path, 2)) return true;
    size_t start = 0;
    if (path.starts_with("\\\\.\\") || path.starts_with("\\\\?\\")) start = 4;
    return path.size() > start + 2 && IsAsciiLetter(path[start]) && path[start + 1] == ':' && path[start + 2] == '\\';
}

#include "classlib/os/registry.h"

#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"

namespace {

// The view every key is opened in; see registry.h.
constexpr REGSAM kView = KEY_WOW64_32KEY;

[[noreturn]] void RaiseRegistryError(const char* format, const String& name) {
    String text = format;
    text.replace(text.find("%s"), 2, name);
    throw ERegistryException(text);
}

// Deletes a key's subkeys, depth first, then the key itself.
bool DeleteTree(HKEY base, const String& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | kView, &key) == ERROR_SUCCESS) {
        std::vector<String> children;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof(name);
            if (RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            children.emplace_back(name, len);
        }
        for (const String& child : children) DeleteTree(key, child);
        RegCloseKey(key);
    }
    return RegDeleteKeyExA(base, path.c_str(), kView, 0) == ERROR_SUCCESS;
}

std::vector<String> EnumNames(HKEY key, bool values) {
    std::vector<String> names;
    if (!key) return names;
    DWORD subKeys = 0, maxKey = 0, valueCount = 0, maxValue = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxKey, nullptr, &valueCount, &maxValue, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> buffer((values ? maxValue : maxKey) + 1);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(buffer.size());
        LONG rc = values ? RegEnumValueA(key, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr)
                         : RegEnumKeyExA(key, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            // A name added since the count was taken: grow and try again.
            buffer.resize(buffer.size() * 2 + 256);
            --i;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), len);
    }
    return names;
}

void FillList(TStrings* list, const std::vector<String>& names) {
    if (!list) return;
    TUpdateScope update(*list);
    list->Clear();
    for (const String& name : names) list->Add(name);
}

}  // namespace

TRegistry::TRegistry(LongWord access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
    if (root != FRootKey) {
        CloseKey();
        FRootKey = root;
    }
}

HKEY TRegistry::BaseKey(bool relative) const { return relative && FCurrentKey ? FCurrentKey : FRootKey; }

String TRegistry::KeyPath(const String& key, bool& relative) {
    relative = key.empty() || key[0] != '\\';
    String path = relative ? key : key.substr(1);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

void TRegistry::ChangeKey(HKEY key, const String& path) {
    CloseKey();
    FCurrentKey = key;
    FCurrentPath = path;
}

bool TRegistry::Open(const String& key, bool canCreate, LongWord access) {
    bool relative;
    String path = KeyPath(key, relative);
    HKEY opened = nullptr;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExA(BaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access | kView,
                             nullptr, &opened, nullptr);
    else
        rc = RegOpenKeyExA(BaseKey(relative), path.c_str(), 0, access | kView, &opened);
    if (rc != ERROR_SUCCESS) return false;
    if (relative && FCurrentKey && !FCurrentPath.empty())
        path = path.empty() ? FCurrentPath : FCurrentPath + "\\" + path;
    ChangeKey(opened, path);
    return true;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) { return Open(key, canCreate, FAccess); }

bool TRegistry::OpenKeyReadOnly(const String& key) { return Open(key, false, KEY_READ); }

void TRegistry::CloseKey() {
    if (FCurrentKey) {
        RegCloseKey(FCurrentKey);
        FCurrentKey = nullptr;
        FCurrentPath.clear();
    }
}

bool TRegistry::KeyExists(const String& key) {
    bool relative;
    String path = KeyPath(key, relative);
    HKEY opened = nullptr;
    if (RegOpenKeyExA(BaseKey(relative), path.c_str(), 0, KEY_READ | kView, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::DeleteKey(const String& key) {
    bool relative;
    String path = KeyPath(key, relative);
    if (path.empty()) return false;  // never the root or the open key itself
    return DeleteTree(BaseKey(relative), path);
}

bool TRegistry::HasSubKeys() {
    DWORD subKeys = 0;
    return FCurrentKey &&
           RegQueryInfoKeyA(FCurrentKey, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys > 0;
}

bool TRegistry::ValueExists(const String& name) {
    return FCurrentKey &&
           RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const String& name) {
    DWORD type = REG_NONE;
    if (!FCurrentKey || RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return rdUnknown;
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

int TRegistry::GetDataSize(const String& name) {
    DWORD size = 0;
    if (!FCurrentKey || RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

String TRegistry::ReadString(const String& name) {
    if (!FCurrentKey) return String();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return String();
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryError("Invalid data type for '%s'", name);
    // The value may change between the two calls; ask again while it grows.
    std::vector<char> buffer;
    LONG rc;
    do {
        buffer.resize(size + 1);
        size = static_cast<DWORD>(buffer.size());
        rc = RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS) return String();
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryError("Invalid data type for '%s'", name);
    // The stored text need not end in a NUL; it ends at the first one.
    String text(buffer.data(), size < buffer.size() ? size : buffer.size());
    std::size_t nul = text.find('\0');
    if (nul != String::npos) text.resize(nul);
    return text;
}

int TRegistry::ReadInteger(const String& name) {
    DWORD type = 0, value = 0, size = sizeof(value);
    LONG rc = FCurrentKey
                  ? RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size)
                  : ERROR_INVALID_HANDLE;
    if (rc == ERROR_MORE_DATA) RaiseRegistryError("Invalid data type for '%s'", name);
    if (rc != ERROR_SUCCESS) RaiseRegistryError("Failed to get data for '%s'", name);
    if (type != REG_DWORD || size != sizeof(value)) RaiseRegistryError("Invalid data type for '%s'", name);
    return static_cast<int>(value);
}

void TRegistry::WriteString(const String& name, const String& value) {
    if (!FCurrentKey ||
        RegSetValueExA(FCurrentKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to set data for '%s'", name);
}

void TRegistry::WriteInteger(const String& name, int value) {
    DWORD data = static_cast<DWORD>(value);
    if (!FCurrentKey || RegSetValueExA(FCurrentKey, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                       sizeof(data)) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to set data for '%s'", name);
}

bool TRegistry::DeleteValue(const String& name) {
    return FCurrentKey && RegDeleteValueA(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

std::vector<String> TRegistry::KeyNames() { return EnumNames(FCurrentKey, false); }

std::vector<String> TRegistry::ValueNames() { return EnumNames(FCurrentKey, true); }

void TRegistry::GetKeyNames(TStrings* list) { FillList(list, KeyNames()); }

void TRegistry::GetValueNames(TStrings* list) { FillList(list, ValueNames()); }

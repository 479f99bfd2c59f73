// TRegistry: reads and writes keys and values of the Windows registry.
//
//   TRegistry reg;                       // root HKEY_CURRENT_USER
//   reg.SetRootKey(HKEY_LOCAL_MACHINE);
//   if (reg.OpenKeyReadOnly("Software\\Vendor\\Product\\"))
//       folder = reg.ReadString("");    // the key's default value
//
// Every key is opened in the 32-bit view of the registry (KEY_WOW64_32KEY),
// in the 32-bit and in the 64-bit build alike: the programs whose keys this
// program looks for have 32-bit installers, and those write their keys
// there (under Wow6432Node, seen from a 64-bit program).
#pragma once

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"
#include "classlib/os/win.h"

class TStrings;

QL_EXCEPTION(ERegistryException, Exception);

// The kinds of value data, from the value's registry type.
enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
public:
    // access: the rights asked for by OpenKey (KEY_ALL_ACCESS by default).
    explicit TRegistry(LongWord access = KEY_ALL_ACCESS);
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    // Changing the root closes the open key.
    void SetRootKey(HKEY root);
    LongWord Access() const { return FAccess; }
    void SetAccess(LongWord access) { FAccess = access; }
    // The open key (0 when none) and its path below the root.
    HKEY CurrentKey() const { return FCurrentKey; }
    const String& CurrentPath() const { return FCurrentPath; }

    // Opens a key, creating it when canCreate and it is missing. A path
    // that begins with "\" starts at the root; any other path starts at the
    // open key (at the root when none is open). Trailing "\" are ignored.
    // True on success; the key opened replaces the open one.
    bool OpenKey(const String& key, bool canCreate);
    // Opens an existing key for reading only, whatever Access says.
    bool OpenKeyReadOnly(const String& key);
    void CloseKey();
    // Whether a key can be opened for reading (paths as for OpenKey); the
    // open key does not change.
    bool KeyExists(const String& key);
    // Deletes a key with all its subkeys; true on success.
    bool DeleteKey(const String& key);
    bool HasSubKeys();

    // Values of the open key. The name "" is the key's default value.
    bool ValueExists(const String& name);
    // The kind of a value's data (rdUnknown also when it is missing) and its
    // size in bytes (-1 when it is missing).
    TRegDataType GetDataType(const String& name);
    int GetDataSize(const String& name);
    // The text of a string value (REG_SZ or REG_EXPAND_SZ, unexpanded); ""
    // when the value (or an open key) is missing. A value of another type
    // raises ERegistryException "Invalid data type for '%s'".
    String ReadString(const String& name);
    // A REG_DWORD value. A missing value raises ERegistryException
    // "Failed to get data for '%s'", another type "Invalid data type for '%s'".
    int ReadInteger(const String& name);
    bool ReadBool(const String& name) { return ReadInteger(name) != 0; }
    // Failures raise ERegistryException "Failed to set data for '%s'".
    void WriteString(const String& name, const String& value);
    void WriteInteger(const String& name, int value);
    void WriteBool(const String& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    bool DeleteValue(const String& name);

    // The names of the open key's subkeys or values, replacing the list's
    // content (empty when no key is open).
    void GetKeyNames(TStrings* list);
    void GetValueNames(TStrings* list);
    std::vector<String> KeyNames();
    std::vector<String> ValueNames();

private:
    HKEY BaseKey(bool relative) const;
    static String KeyPath(const String& key, bool& relative);
    bool Open(const String& key, bool canCreate, LongWord access);
    void ChangeKey(HKEY key, const String& path);

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    String FCurrentPath;
    LongWord FAccess;
};

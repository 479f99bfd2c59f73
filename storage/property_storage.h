// Storing listed published properties of a form's components, and named
// stored values, in a settings store.
//
// A stored-property line is a component name, "." and a property name
// ("LumOfficeCheckBox1.Checked"); its key in the store is the component
// name, "_" and the property name ("LumOfficeCheckBox1_Checked"). The form
// storage keeps the lines in a TZvFormStorageStringList whose line objects
// are the components the lines name.
#pragma once

#include "classlib/core/classes.h"
#include "classlib/core/strings.h"

class TZvCustomAppStorage;

// Splits a line at its first "."; both parts are trimmed and must be
// non-empty.
bool SplitStoredLine(const String& line, String& componentName, String& propName);
// The key of a stored property: "Component_Property".
String StoredPropKey(const String& componentName, const String& propName);

// The line list of a form storage: each line's object is the component it
// names.
class TZvFormStorageStringList : public TStringList {
    QL_CLASS(TZvFormStorageStringList, TStringList)
public:
    TZvFormStorageStringList() = default;
};

// Binds the lines to the components of owner.
// - fromForm true (after streaming or assignment): each line is bound to
//   the component of its name on owner; lines naming no component, or that
//   do not parse, are deleted.
// - fromForm false: each line takes its bound component's current name; a
//   line whose component is gone (no object, or one owner no longer has)
//   or that does not parse is deleted.
void RebindStoredLines(TComponent* owner, TStrings* lines, bool fromForm);
// Deletes the lines bound to component (it is leaving the form).
void RemoveStoredLines(TStrings* lines, TComponent* component);

// Saves and loads the properties that lines name, under AppStoragePath.
class TZvPropertyStorage : public TObject {
public:
    TZvCustomAppStorage* AppStorage = nullptr;
    String AppStoragePath;

    // For each line in order: the named published property (not an event)
    // of the bound component is written; one that holds a component as
    // that component's name. Lines naming no such property are skipped.
    void SaveComponentProperties(TComponent* owner, TStrings* lines);
    // For each line in order: a value (or folder) that exists is read into
    // the property; a component name is looked up on owner, then on its
    // owner and so on outwards, and assigned only when that component is
    // of the property's class. An error while reading one property skips
    // that property.
    void LoadComponentProperties(TComponent* owner, TStrings* lines);

private:
    // The key of a line, as the store's OnTranslatePropertyName may change it.
    String PropertyPath(TComponent* component, const String& propName, bool reading);
};

// ---- Stored values ------------------------------------------------------------------

// Whether the variant is an integer of 8, 16 or 32 bits, signed or
// unsigned (64-bit integers are not).
bool VariantIsInteger(const Variant& value);

class TZvStoredValue;
// Sender (the stored value) and the value, which the handler may change.
using TZvStoredValueEvent = TEvent<TZvStoredValue*, Variant&>;

class TZvStoredValue : public TCollectionItem {
    QL_CLASS(TZvStoredValue, TCollectionItem)
public:
    explicit TZvStoredValue(TCollection* collection);

    const String& Name() const { return FName; }
    // Names are unique without regard to case: raises EStringListError
    // "String list does not allow duplicates".
    void SetName(const String& value);
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& value) { FValue = value; }
    // With a key, the value is stored as its text encoded with the key.
    const String& KeyString() const { return FKeyString; }
    void SetKeyString(const String& value) { FKeyString = value; }
    String GetDisplayName() override;

    TZvStoredValueEvent OnSave;
    TZvStoredValueEvent OnRestore;

    // Writes or reads the value at path (the folder joined with Name).
    void Save(TZvCustomAppStorage* store, const String& path);
    void Restore(TZvCustomAppStorage* store, const String& path);

private:
    String FName;
    Variant FValue;
    String FKeyString;
};

class TZvStoredValues : public TOwnedCollection {
    QL_CLASS(TZvStoredValues, TOwnedCollection)
public:
    explicit TZvStoredValues(TPersistent* owner);
    TZvStoredValue* Items(int index) const;
    TZvStoredValue* Add();
    // nullptr when no value has that name (case ignored).
    TZvStoredValue* FindByName(const String& name) const;
    int IndexOf(const String& name) const;

    // Every value in collection order, each at folder joined with its name.
    void SaveValues(TZvCustomAppStorage* store, const String& folder);
    void RestoreValues(TZvCustomAppStorage* store, const String& folder);
};

// Stored properties and stored values.
#include "storage/property_storage.h"

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"
#include "storage/app_storage.h"
#include "storage/support/hex.h"

// ============================================================================
// Lines
// ============================================================================

bool SplitStoredLine(const String& line, String& componentName, String& propName) {
    const size_t dot = line.find('.');
    if (dot == String::npos) return false;
    componentName = Trim(line.substr(0, dot));
    propName = Trim(line.substr(dot + 1));
    return !componentName.empty() && !propName.empty();
}

String StoredPropKey(const String& componentName, const String& propName) { return componentName + "_" + propName; }

TClass TZvFormStorageStringList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvFormStorageStringList>("TZvFormStorageStringList").Build();
    return &info;
}

namespace {

bool OwnsComponent(TComponent* owner, TComponent* component) {
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i) == component) return true;
    return false;
}

// The published property of that name (case ignored) that is not an event.
const TPropInfo* StoredPropInfo(TComponent* component, const String& propName) {
    const TPropInfo* prop = GetPropInfo(component, propName);
    if (!prop || prop->PropType()->Kind == tkMethod) return nullptr;
    return prop;
}

}  // namespace

void RebindStoredLines(TComponent* owner, TStrings* lines, bool fromForm) {
    if (!owner || !lines) return;
    TUpdateScope update(*lines);
    for (int i = lines->Count() - 1; i >= 0; --i) {
        String componentName, propName;
        if (!SplitStoredLine(lines->Strings(i), componentName, propName)) {
            lines->Delete(i);
            continue;
        }
        if (fromForm) {
            TComponent* component = owner->FindComponent(componentName);
            if (!component) {
                lines->Delete(i);
                continue;
            }
            lines->SetObjects(i, component);
        } else {
            auto* component = dynamic_cast<TComponent*>(lines->Objects(i));
            if (!component || !OwnsComponent(owner, component)) {
                lines->Delete(i);
                continue;
            }
            lines->SetStrings(i, component->Name() + "." + propName);
            lines->SetObjects(i, component);
        }
    }
}

void RemoveStoredLines(TStrings* lines, TComponent* component) {
    if (!lines || !component) return;
    for (int i = lines->Count() - 1; i >= 0; --i)
        if (lines->Objects(i) == component) lines->Delete(i);
}

// ============================================================================
// TZvPropertyStorage
// ============================================================================

String TZvPropertyStorage::PropertyPath(TComponent* component, const String& propName, bool reading) {
    String key = StoredPropKey(component->Name(), propName);
    if (AppStorage->OnTranslatePropertyName) AppStorage->OnTranslatePropertyName(AppStorage, component, reading, key);
    return TZvCustomAppStorage::ConcatPaths({AppStoragePath, key});
}

void TZvPropertyStorage::SaveComponentProperties(TComponent* owner, TStrings* lines) {
    if (!AppStorage || !owner || !lines) return;
    for (int i = 0; i < lines->Count(); ++i) {
        auto* component = dynamic_cast<TComponent*>(lines->Objects(i));
        String componentName, propName;
        if (!component || !SplitStoredLine(lines->Strings(i), componentName, propName)) continue;
        const TPropInfo* prop = StoredPropInfo(component, propName);
        if (!prop) continue;
        const String path = PropertyPath(component, propName, false);
        if (prop->PropType()->Kind == tkClass && prop->GetObj)
            if (auto* value = dynamic_cast<TComponent*>(GetObjectProp(component, prop))) {
                AppStorage->WriteString(path, value->Name());
                continue;
            }
        AppStorage->WriteProperty(path, component, prop->Name, true);
    }
}

void TZvPropertyStorage::LoadComponentProperties(TComponent* owner, TStrings* lines) {
    if (!AppStorage || !owner || !lines) return;
    for (int i = 0; i < lines->Count(); ++i) {
        auto* component = dynamic_cast<TComponent*>(lines->Objects(i));
        String componentName, propName;
        if (!component || !SplitStoredLine(lines->Strings(i), componentName, propName)) continue;
        const TPropInfo* prop = StoredPropInfo(component, propName);
        if (!prop) continue;
        try {
            const String path = PropertyPath(component, propName, true);
            if (prop->PropType()->Kind == tkClass && IsComponentClass(prop->PropType()->ClassType())) {
                if (!AppStorage->ValueStored(path)) continue;
                AssignComponentByName(component, prop, owner, AppStorage->ReadString(path));
            } else if (AppStorage->ValueStored(path) || AppStorage->PathExists(path)) {
                AppStorage->ReadProperty(path, component, prop->Name, true, true);
            }
        } catch (const std::exception&) {
            // A value that cannot be read leaves that one property as it is.
        }
    }
}

// ============================================================================
// Stored values
// ============================================================================

bool VariantIsInteger(const Variant& value) {
    switch (value.VarType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord: return true;
    default: return false;
    }
}

TClass TZvStoredValue::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvStoredValue>("TZvStoredValue")
                                       .Prop("Name", &TZvStoredValue::Name, &TZvStoredValue::SetName)
                                       .Prop("Value", &TZvStoredValue::Value, &TZvStoredValue::SetValue)
                                       .Prop("KeyString", &TZvStoredValue::KeyString, &TZvStoredValue::SetKeyString)
                                       .Prop("OnSave", &TZvStoredValue::OnSave, &TZvStoredValue::OnSave)
                                       .Prop("OnRestore", &TZvStoredValue::OnRestore, &TZvStoredValue::OnRestore)
                                       .Build();
    return &info;
}

TZvStoredValue::TZvStoredValue(TCollection* collection) : TCollectionItem(collection) {}

void TZvStoredValue::SetName(const String& value) {
    if (value == FName) return;
    if (auto* values = dynamic_cast<TZvStoredValues*>(Collection()))
        if (TZvStoredValue* other = values->FindByName(value); other && other != this)
            throw EStringListError("String list does not allow duplicates");
    FName = value;
    Changed(false);
}

String TZvStoredValue::GetDisplayName() { return FName.empty() ? TCollectionItem::GetDisplayName() : FName; }

void TZvStoredValue::Save(TZvCustomAppStorage* store, const String& path) {
    Variant value = FValue;
    OnSave(this, value);
    if (!FKeyString.empty()) {
        store->WriteString(path, XorToHex(FKeyString, VarToStr(value)));
        return;
    }
    if (VariantIsInteger(value)) {
        // An unsigned 32-bit value above what an int holds is written as
        // its decimal text, the same text an integer has, so nothing is cut.
        if (value.AsInt64() <= INT32_MAX)
            store->WriteInteger(path, int(value.AsInt64()));
        else
            store->WriteString(path, VarToStr(value));
        return;
    }
    switch (value.VarType()) {
    case varSingle:
    case varDouble:
    case varCurrency: store->WriteFloat(path, value.AsDouble()); break;
    case varDate: store->WriteDateTime(path, value.AsDouble()); break;
    case varBoolean: store->WriteBoolean(path, value.AsBoolean()); break;
    default: store->WriteString(path, VarToStr(value)); break;  // 64-bit integers as their decimal text
    }
}

namespace {

// A whole number read back: of the current value's type when that holds
// it, else an Integer or (wider than 32 bits) an Int64.
Variant IntegerOfType(Int64 number, TVarType type) {
    if (VarTypeHolds(type, number)) return Variant::Of(number, type);
    return VarTypeHolds(varInteger, number) ? Variant(int(number)) : Variant(number);
}

// An integer of any width back from its decimal text; a text that is no
// integer becomes the value as text, as other kinds are restored.
Variant RestoreInteger(TZvCustomAppStorage* store, const String& path, const Variant& current) {
    const Int64 number = current.AsInt64();
    if (VariantIsInteger(current) && number <= INT32_MAX) {
        try {
            return IntegerOfType(store->ReadInteger(path, int(number)), current.VarType());
        } catch (const EConvertError&) {
            // wider than an int: read as text below
        }
    }
    const String text = store->ReadString(path, VarToStr(current));
    Int64 read;
    if (TryStrToInt64(Trim(text), read)) return IntegerOfType(read, current.VarType());
    return Variant(text);
}

// A float read back keeps the current value's float type; a currency too
// large for one becomes a double.
Variant RestoreFloat(TZvCustomAppStorage* store, const String& path, const Variant& current) {
    const double read = store->ReadFloat(path, current.AsDouble());
    switch (current.VarType()) {
    case varSingle: return Variant::Single(float(read));
    case varCurrency: try { return Variant::Currency(read);
        } catch (const EVariantError&) {
            return Variant(read);
        }
    default: return Variant(read);
    }
}

}  // namespace

void TZvStoredValue::Restore(TZvCustomAppStorage* store, const String& path) {
    Variant value = FValue;
    if (!FKeyString.empty()) {
        const String text = store->ReadString(path, XorToHex(FKeyString, VarToStr(FValue)));
        value = Variant(XorFromHex(FKeyString, text));
    } else if (VariantIsInteger(FValue) || FValue.VarType() == varInt64) {
        value = RestoreInteger(store, path, FValue);
    } else {
        switch (FValue.VarType()) {
        case varSingle:
        case varDouble:
        case varCurrency: value = RestoreFloat(store, path, FValue); break;
        case varDate: value = Variant::DateTime(store->ReadDateTime(path, FValue.AsDouble())); break;
        case varBoolean: value = Variant(store->ReadBoolean(path, FValue.AsBoolean())); break;
        case varString: value = Variant(store->ReadString(path, VarToStr(FValue))); break;
        default:
            // An empty or null value takes what is stored as text, and stays
            // as it is when nothing is.
            if (store->ValueStored(path)) value = Variant(store->ReadString(path, String()));
            break;
        }
    }
    OnRestore(this, value);
    FValue = value;
}

TClass TZvStoredValues::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvStoredValues>("TZvStoredValues").Build();
    return &info;
}

TZvStoredValues::TZvStoredValues(TPersistent* owner) : TOwnedCollection(owner, TZvStoredValue::StaticClass()) {}

TZvStoredValue* TZvStoredValues::Items(int index) const {
    return static_cast<TZvStoredValue*>(TOwnedCollection::Items(index));
}

TZvStoredValue* TZvStoredValues::Add() { return static_cast<TZvStoredValue*>(TOwnedCollection::Add()); }

int TZvStoredValues::IndexOf(const String& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Items(i)->Name(), name)) return i;
    return -1;
}

TZvStoredValue* TZvStoredValues::FindByName(const String& name) const {
    const int i = IndexOf(name);
    return i < 0 ? nullptr : Items(i);
}

// A value without a name has no place in the store (its path would be the
// folder itself): it is left out of saving and restoring, without a word.
void TZvStoredValues::SaveValues(TZvCustomAppStorage* store, const String& folder) {
    if (!store) return;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->Name().empty())
            Items(i)->Save(store, TZvCustomAppStorage::ConcatPaths({folder, Items(i)->Name()}));
}

void TZvStoredValues::RestoreValues(TZvCustomAppStorage* store, const String& folder) {
    if (!store) return;
    for (int i = 0; i < Count(); ++i)
        if (!Items(i)->Name().empty())
            Items(i)->Restore(store, TZvCustomAppStorage::ConcatPaths({folder, Items(i)->Name()}));
}

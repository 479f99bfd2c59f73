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

// The component of exactly that name on owner, then on its owner and so on
// outwards.
TComponent* FindComponentOutwards(TComponent* owner, const String& name) {
    if (name.empty()) return nullptr;
    for (TComponent* level = owner; level; level = level->Owner())
        for (int i = 0; i < level->ComponentCount(); ++i)
            if (level->Components(i)->Name() == name) return level->Components(i);
    return nullptr;
}

// The published property of that name (case ignored) that is not an event.
const TPropInfo* StoredPropInfo(TComponent* component, const String& propName) {
    const TPropInfo* prop = GetPropInfo(component, propName);
    if (!prop || prop->PropType()->Kind == tkMethod) return nullptr;
    return prop;
}

bool IsComponentClass(const TPropInfo* prop) {
    const TTypeInfo* type = prop->PropType();
    return type->Kind == tkClass && type->ClassType() && type->ClassType()->InheritsFrom(TComponent::StaticClass());
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
            if (IsComponentClass(prop)) {
                if (!AppStorage->ValueStored(path)) continue;
                TComponent* found = FindComponentOutwards(owner, AppStorage->ReadString(path));
                // A component of another class than the property's is not
                // assigned: that one property keeps its value.
                if (found && found->InheritsFrom(prop->PropType()->ClassType())) SetObjectProp(component, prop, found);
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

TZvStoredVariant TZvStoredVariant::FromInteger(Int64 v) {
    TZvStoredVariant r;
    r.Kind = svInteger;
    r.Integer = v;
    return r;
}
TZvStoredVariant TZvStoredVariant::FromFloat(double v) {
    TZvStoredVariant r;
    r.Kind = svFloat;
    r.Float = v;
    return r;
}
TZvStoredVariant TZvStoredVariant::FromDateTime(TDateTime v) {
    TZvStoredVariant r;
    r.Kind = svDateTime;
    r.Float = v;
    return r;
}
TZvStoredVariant TZvStoredVariant::FromBoolean(bool v) {
    TZvStoredVariant r;
    r.Kind = svBoolean;
    r.Boolean = v;
    return r;
}
TZvStoredVariant TZvStoredVariant::FromString(const String& v) {
    TZvStoredVariant r;
    r.Kind = svString;
    r.Text = v;
    return r;
}

String TZvStoredVariant::AsString() const {
    switch (Kind) {
    case svEmpty: return String();
    case svInteger: return IntToStr(Integer);
    case svFloat: return FloatToStr(Float);
    case svDateTime: return DateTimeToStr(Float);
    case svBoolean: return Boolean ? "True" : "False";
    case svString: return Text;
    }
    return String();
}

bool VariantIsInteger(const TZvStoredVariant& value) {
    return value.Kind == svInteger && value.Integer >= INT32_MIN && value.Integer <= Int64(UINT32_MAX);
}

TClass TZvStoredValue::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvStoredValue>("TZvStoredValue")
                                       .Prop("Name", &TZvStoredValue::Name, &TZvStoredValue::SetName)
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
    TZvStoredVariant value = FValue;
    OnSave(this, value);
    if (!FKeyString.empty()) {
        store->WriteString(path, XorToHex(FKeyString, value.AsString()));
        return;
    }
    switch (value.Kind) {
    case svInteger:
        // Integers that an int holds are written as integers; wider ones
        // (above 2^31 - 1 or below -2^31) as their decimal text, which is
        // the same text an integer has, so nothing is cut.
        if (VariantIsInteger(value) && value.Integer <= INT32_MAX)
            store->WriteInteger(path, int(value.Integer));
        else
            store->WriteString(path, IntToStr(value.Integer));
        break;
    case svFloat: store->WriteFloat(path, value.Float); break;
    case svDateTime: store->WriteDateTime(path, value.Float); break;
    case svBoolean: store->WriteBoolean(path, value.Boolean); break;
    default: store->WriteString(path, value.AsString()); break;
    }
}

namespace {

// An integer of any width back from its decimal text; a text that is no
// integer becomes the value as text, as other kinds are restored.
TZvStoredVariant RestoreInteger(TZvCustomAppStorage* store, const String& path, const TZvStoredVariant& current) {
    if (VariantIsInteger(current) && current.Integer <= INT32_MAX) {
        try {
            return TZvStoredVariant::FromInteger(store->ReadInteger(path, int(current.Integer)));
        } catch (const EConvertError&) {
            // wider than an int: read as text below
        }
    }
    const String text = store->ReadString(path, IntToStr(current.Integer));
    Int64 number;
    if (TryStrToInt64(Trim(text), number)) return TZvStoredVariant::FromInteger(number);
    return TZvStoredVariant::FromString(text);
}

}  // namespace

void TZvStoredValue::Restore(TZvCustomAppStorage* store, const String& path) {
    TZvStoredVariant value = FValue;
    if (!FKeyString.empty()) {
        const String text = store->ReadString(path, XorToHex(FKeyString, FValue.AsString()));
        value = TZvStoredVariant::FromString(XorFromHex(FKeyString, text));
    } else {
        switch (FValue.Kind) {
        case svInteger: value = RestoreInteger(store, path, FValue); break;
        case svFloat: value.Float = store->ReadFloat(path, FValue.Float); break;
        case svDateTime: value.Float = store->ReadDateTime(path, FValue.Float); break;
        case svBoolean: value.Boolean = store->ReadBoolean(path, FValue.Boolean); break;
        default: value = TZvStoredVariant::FromString(store->ReadString(path, FValue.AsString())); break;
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

void TZvStoredValues::SaveValues(TZvCustomAppStorage* store, const String& folder) {
    if (!store) return;
    for (int i = 0; i < Count(); ++i)
        Items(i)->Save(store, TZvCustomAppStorage::ConcatPaths({folder, Items(i)->Name()}));
}

void TZvStoredValues::RestoreValues(TZvCustomAppStorage* store, const String& folder) {
    if (!store) return;
    for (int i = 0; i < Count(); ++i)
        Items(i)->Restore(store, TZvCustomAppStorage::ConcatPaths({folder, Items(i)->Name()}));
}

#include "classlib/core/filer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

namespace {

std::vector<String> SplitPath(const String& path) {
    std::vector<String> parts;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == String::npos ? String::npos : dot - start));
        if (dot == String::npos) break;
        start = dot + 1;
    }
    return parts;
}

bool IsIntegerToken(TValueType t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }

bool IsStringToken(TValueType t) { return t == vaString || t == vaLString || t == vaWString || t == vaUTF8String; }

// The bytes of a binary property while its procedure reads or writes them.
class TBlobStream : public TStream {
public:
    explicit TBlobStream(String data = String()) : FData(std::move(data)) {}

    Int64 Read(void* buffer, Int64 count) override {
        if (count <= 0 || FPos >= Int64(FData.size())) return 0;
        Int64 n = std::min<Int64>(count, Int64(FData.size()) - FPos);
        std::memcpy(buffer, FData.data() + FPos, size_t(n));
        FPos += n;
        return n;
    }
    Int64 Write(const void* buffer, Int64 count) override {
        if (count <= 0) return 0;
        if (FPos + count > Int64(FData.size())) FData.resize(size_t(FPos + count));
        std::memcpy(FData.data() + FPos, buffer, size_t(count));
        FPos += count;
        return count;
    }
    Int64 Seek(Int64 offset, TSeekOrigin origin) override {
        Int64 base = origin == soBeginning ? 0 : origin == soCurrent ? FPos : Int64(FData.size());
        FPos = std::max<Int64>(0, base + offset);
        return FPos;
    }
    Int64 Size() override { return Int64(FData.size()); }
    void SetSize(Int64 size) override {
        FData.resize(size_t(std::max<Int64>(0, size)));
        if (FPos > size) FPos = size;
    }
    const String& Data() const { return FData; }

private:
    String FData;
    Int64 FPos = 0;
};

const TLayoutToken& EndToken() {
    static const TLayoutToken end;
    return end;
}

}  // namespace

TClass TFiler::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFiler>("TFiler").Build();
    return &info;
}

TClass TReader::StaticClass() {
    static const TClassInfo info = TClassBuilder<TReader>("TReader").Build();
    return &info;
}

TClass TWriter::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWriter>("TWriter").Build();
    return &info;
}

// ============================================================================
// TReader
// ============================================================================

TReader::TReader(String text, String sourceName) : FText(std::move(text)), FSourceName(std::move(sourceName)) {}

TReader::~TReader() = default;

void TReader::Error(const String& what, int line) const {
    String where = FSourceName.empty() ? String() : FSourceName + ": ";
    String subject = FComponentName;
    if (!FPropName.empty()) subject += (subject.empty() ? "" : ".") + FPropName;
    String msg = where + "Error reading " + (subject.empty() ? String("layout") : subject) + ": " + what;
    if (line > 0) msg += " (line " + std::to_string(line) + ")";
    throw EReadError(msg);
}

void TReader::ClassNotFound(const String& className, int line) const {
    String where = FSourceName.empty() ? String() : FSourceName + ": ";
    throw EClassNotFound(where + "Class " + className + " not found (line " + std::to_string(line) + ")");
}

void TReader::ReadError(const String& what) const { Error(what, Current().Line ? Current().Line : FLine); }

void TReader::InvalidValue() const { Error("Invalid property value", Current().Line ? Current().Line : FLine); }

const TLayoutToken& TReader::Current() const {
    if (!FTokens || FPos >= FTokens->size()) return EndToken();
    return (*FTokens)[FPos];
}

const TLayoutToken& TReader::Take() {
    if (!FTokens || FPos >= FTokens->size()) Error("Unexpected end of property value", FLine);
    return (*FTokens)[FPos++];
}

TComponent* TReader::ReadNewRootComponent(TComponent* owner) {
    TLayoutObject tree;
    try {
        tree = ParseLayoutText(FText);
    } catch (const EParserError& e) {
        Error(e.Message(), 0);
    }
    TClass cls = GetClass(tree.ClassName);
    if (!cls) ClassNotFound(tree.ClassName, tree.Line);
    if (!cls->CreateComponent) Error("Class " + tree.ClassName + " cannot be created", tree.Line);
    TComponent* root = cls->CreateComponent(owner);
    TOnFailure deleteRoot([root] { delete root; });
    ReadRootComponent(root);
    return root;
}

void TReader::ReadRootComponent(TComponent* root) {
    FRoot = root;
    TLayoutObject tree;
    try {
        tree = ParseLayoutText(FText);
    } catch (const EParserError& e) {
        Error(e.Message(), 0);
    }
    bool classMatches = false;
    for (TClass c = root->ClassType(); c; c = c->Parent)
        if (SameText(c->Name, tree.ClassName)) classMatches = true;
    if (!classMatches) Error("The layout is of class " + tree.ClassName + ", not " + root->ClassName(), tree.Line);

    root->IncludeState(csLoading);
    root->IncludeState(csReading);
    FLoaded.assign(1, root);
    {
        TOnFailure unmark([this] {
            for (TComponent* c : FLoaded) {
                c->ExcludeState(csReading);
                c->ExcludeState(csLoading);
            }
        });
        if (!tree.Name.empty()) {
            FComponentName = tree.Name;
            try {
                root->SetName(tree.Name);
            } catch (const Exception& e) {
                Error(e.Message(), tree.Line);
            }
        }
        ReadComponentState(tree, root, nullptr);
        ResolveFixups();
    }
    for (TComponent* c : FLoaded) c->ExcludeState(csReading);
    std::vector<TComponent*> loaded;
    loaded.swap(FLoaded);
    for (TComponent* c : loaded) c->Loaded();
}

void TReader::ReadComponentState(const TLayoutObject& obj, TComponent* component, TComponent* parent) {
    TTempChange<const TLayoutObject*> object(FObject, &obj);
    TTempChange<TComponent*> enclosing(FParent, parent);
    try {
        component->ReadState(this);
    } catch (const EFilerError&) {
        throw;
    } catch (const Exception& e) {
        FComponentName = obj.Name.empty() ? obj.ClassName : obj.Name;
        FPropName.clear();
        Error(e.Message(), obj.Line);
    }
}

void TReader::ReadData(TComponent* component) {
    if (!FObject) return;
    const TLayoutObject& obj = *FObject;
    TComponent* parent = FParent;
    String componentName = component->Name().empty() ? String(component->ClassName()) : component->Name();
    for (const TLayoutProperty& prop : obj.Properties) {
        FComponentName = componentName;
        FTokens = &prop.Value;
        FPos = 0;
        FLine = prop.Line;
        FParent = parent;
        FSet = nullptr;
        try {
            ApplyProperty(component, prop.Name, prop.Line);
            if (FPos != FTokens->size()) InvalidValue();
        } catch (const EFilerError&) {
            throw;
        } catch (const Exception& e) {
            FPropName = prop.Name;
            Error(e.Message(), prop.Line);
        }
        FPropName.clear();
    }
    FTokens = nullptr;
    FSet = nullptr;
    FParent = parent;
    ReadChildren(obj, component);
}

void TReader::ReadChildren(const TLayoutObject& obj, TComponent* parent) {
    for (const TLayoutObject& child : obj.Children) {
        FComponentName = child.Name.empty() ? child.ClassName : child.Name;
        FPropName.clear();
        TComponent* c = nullptr;
        if (child.Kind != okObject) {
            c = FRoot->FindComponent(child.Name);
            if (!c) Error("Component " + child.Name + " not found", child.Line);
        } else {
            TClass cls = GetClass(child.ClassName);
            if (!cls) ClassNotFound(child.ClassName, child.Line);
            if (!cls->CreateComponent || !cls->InheritsFrom(TComponent::StaticClass()))
                Error("Class " + child.ClassName + " cannot be created", child.Line);
            if (!child.Name.empty() && FRoot->FindComponent(child.Name))
                Error("A component named " + child.Name + " already exists", child.Line);
            try {
                c = cls->CreateComponent(FRoot);
                c->IncludeState(csLoading);
                c->IncludeState(csReading);
                FLoaded.push_back(c);
                c->SetName(child.Name);
                if (const TFieldInfo* field = FindPublishedField(FRoot->ClassType(), child.Name)) {
                    if (!c->InheritsFrom(field->FieldClass()))
                        Error("Field " + child.Name + " is of class " + field->FieldClass()->Name + ", not " +
                                  child.ClassName,
                              child.Line);
                    field->Set(FRoot, c);
                }
            } catch (const EFilerError&) {
                throw;
            } catch (const Exception& e) {
                Error(e.Message(), child.Line);
            }
        }
        ReadComponentState(child, c, parent);
        if (child.ChildPos >= 0) {
            try {
                parent->SetChildOrder(c, child.ChildPos);
            } catch (const EFilerError&) {
                throw;
            } catch (const Exception& e) {
                Error(e.Message(), child.Line);
            }
        }
    }
}

void TReader::ApplyProperty(TPersistent* instance, const String& path, int line) {
    std::vector<String> parts = SplitPath(path);
    TPersistent* target = instance;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        FPropName = parts[i];
        const TPropInfo* p = GetPropInfo(target, parts[i]);
        if (!p || p->PropType()->Kind != tkClass || !p->GetObj) Error("Property " + parts[i] + " does not exist", line);
        auto* next = dynamic_cast<TPersistent*>(p->GetObj(target));
        if (!next) Error("Property " + parts[i] + " has no object to read into", line);
        target = next;
    }
    FPropName = parts.back();
    if (const TPropInfo* p = GetPropInfo(target, FPropName)) {
        ReadPropValue(target, p);
        return;
    }
    // A defined property's reader may read nested objects with defined
    // properties of their own: each level keeps its own answer.
    bool outer = FDefinedHandled;
    FDefinedHandled = false;
    target->DefineProperties(this);
    bool handled = FDefinedHandled;
    FDefinedHandled = outer;
    if (!handled) Error("Property " + FPropName + " does not exist", line);
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop) {
    const TTypeInfo* type = prop->PropType();
    const TLayoutToken& t = Current();
    switch (type->Kind) {
    case tkInteger:
    case tkInt64: {
        Int64 v = 0;
        if (IsIntegerToken(t.Type))
            v = t.Int;
        else if (t.Type == vaIdent && IdentToInt(type, t.Text, v)) {
        } else
            InvalidValue();
        if (type->MinValue < type->MaxValue && (v < type->MinValue || v > type->MaxValue)) InvalidValue();
        Take();
        SetOrdProp(instance, prop, v);
        break;
    }
    case tkChar: SetOrdProp(instance, prop, Int64(static_cast<unsigned char>(ReadChar()))); break;
    case tkEnumeration: {
        if (t.Type != vaIdent && t.Type != vaTrue && t.Type != vaFalse) InvalidValue();
        Int64 v = GetEnumValue(type, t.Text);
        if (v < 0) InvalidValue();
        Take();
        SetOrdProp(instance, prop, v);
        break;
    }
    case tkSet: SetOrdProp(instance, prop, Int64(ReadSet(type))); break;
    case tkFloat: SetFloatProp(instance, prop, ReadFloat()); break;
    case tkString: SetStrProp(instance, prop, ReadString()); break;
    case tkClass:
        if (t.Type == vaNil) {
            Take();
            SetObjectProp(instance, prop, nullptr);
        } else if (t.Type == vaIdent) {
            if (!type->ClassType() || !type->ClassType()->InheritsFrom(TComponent::StaticClass()) || !prop->SetObj)
                InvalidValue();
            FFixups.push_back({instance, prop, t.Text, t.Line});
            Take();
        } else if (t.Type == vaCollection) {
            auto* collection = dynamic_cast<TCollection*>(prop->GetObj ? prop->GetObj(instance) : nullptr);
            if (!collection) InvalidValue();
            ReadCollection(collection);
        } else {
            InvalidValue();
        }
        break;
    case tkInterface:
        // A component that implements the interface, by name, once the
        // whole layout is read.
        if (t.Type == vaNil) {
            Take();
            SetInterfaceProp(instance, prop, nullptr);
        } else if (t.Type == vaIdent && prop->SetIntf) {
            FFixups.push_back({instance, prop, t.Text, t.Line});
            Take();
        } else {
            InvalidValue();
        }
        break;
    case tkVariant: SetVariantProp(instance, prop, ReadVariant()); break;
    case tkMethod: {
        if (t.Type == vaNil) {
            Take();
            SetMethodProp(instance, prop, TMethod{});
            break;
        }
        if (t.Type != vaIdent) InvalidValue();
        const TMethodInfo* m = FindPublishedMethod(FRoot->ClassType(), t.Text);
        if (!m) Error("Method " + t.Text + " not found in " + FRoot->ClassName(), t.Line);
        if (type->MethodSignature && m->Signature && *type->MethodSignature != *m->Signature)
            Error("Method " + t.Text + " does not have the parameters of " + type->Name, t.Line);
        Take();
        SetMethodProp(instance, prop, TMethod{m->Code, FRoot});
        break;
    }
    default: InvalidValue();
    }
}

void TReader::ResolveFixups() {
    std::vector<Fixup> fixups;
    fixups.swap(FFixups);
    for (const Fixup& f : fixups) {
        TComponent* target = nullptr;
        std::vector<String> parts = SplitPath(f.Reference);
        if (parts.size() == 1) {
            target = SameText(parts[0], FRoot->Name()) ? FRoot : FRoot->FindComponent(parts[0]);
        } else if (parts.size() == 2 && SameText(parts[0], FRoot->Name())) {
            target = FRoot->FindComponent(parts[1]);
        }
        FComponentName = f.Instance->GetNamePath();
        FPropName = f.Prop->Name;
        if (!target) Error("Unresolved reference to " + f.Reference, f.Line);
        try {
            if (f.Prop->PropType()->Kind == tkInterface) {
                void* intf = nullptr;
                if (!Supports(target, f.Prop->PropType()->IntfIID, &intf))
                    Error(f.Reference + " does not implement " + f.Prop->PropType()->Name, f.Line);
                SetInterfaceProp(f.Instance, f.Prop, static_cast<IInterface*>(target));
            } else {
                SetObjectProp(f.Instance, f.Prop, target);
            }
        } catch (const EFilerError&) {
            throw;
        } catch (const Exception& e) {
            Error(e.Message(), f.Line);
        }
    }
    FPropName.clear();
}

TValueType TReader::NextValue() const { return Current().Type; }

TValueType TReader::ReadValue() {
    const TLayoutToken& t = Take();
    if (t.Type == vaSet) {
        FSet = &t;
        FSetIndex = 0;
    }
    return t.Type;
}

bool TReader::EndOfList() const { return Current().Type == vaNull; }

void TReader::ReadListBegin() {
    if (Take().Type != vaList) InvalidValue();
}

void TReader::ReadListEnd() {
    if (Take().Type != vaNull) InvalidValue();
}

Int64 TReader::ReadInteger() {
    const TLayoutToken& t = Take();
    if (!IsIntegerToken(t.Type)) {
        --FPos;
        InvalidValue();
    }
    return t.Int;
}

double TReader::ReadFloat() {
    const TLayoutToken& t = Take();
    if (t.Type == vaExtended || t.Type == vaDouble || t.Type == vaSingle || t.Type == vaCurrency || t.Type == vaDate)
        return t.Float;
    if (IsIntegerToken(t.Type)) return double(t.Int);
    --FPos;
    InvalidValue();
}

String TReader::ReadString() {
    const TLayoutToken& t = Take();
    if (!IsStringToken(t.Type)) {
        --FPos;
        InvalidValue();
    }
    return t.Text;
}

String TReader::ReadIdent() {
    const TLayoutToken& t = Take();
    switch (t.Type) {
    case vaIdent: return t.Text;
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    default: --FPos; InvalidValue();
    }
}

Variant TReader::ReadVariant() {
    const TLayoutToken& t = Take();
    switch (t.Type) {
    case vaNil: return Variant();
    case vaIdent:
        if (SameText(t.Text, "Null")) return Variant::Null();
        break;
    case vaFalse: return Variant(false);
    case vaTrue: return Variant(true);
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: return Variant::Of(t.Int, NarrowestIntegerType(t.Int));
    case vaSingle: return Variant::Single(float(t.Float));
    case vaCurrency: try { return Variant::Currency(t.Float);
        } catch (const EVariantError&) {
            break;  // beyond a currency's range
        }
    case vaDate: return Variant::DateTime(t.Float);
    case vaExtended:
    case vaDouble: return Variant(t.Float);
    default:
        if (IsStringToken(t.Type)) return Variant(t.Text);
        break;
    }
    --FPos;
    InvalidValue();
}

bool TReader::ReadBoolean() {
    const TLayoutToken& t = Take();
    if (t.Type == vaTrue) return true;
    if (t.Type == vaFalse) return false;
    --FPos;
    InvalidValue();
}

char TReader::ReadChar() {
    const TLayoutToken& t = Take();
    if (IsStringToken(t.Type) && t.Text.size() == 1) return t.Text[0];
    if (IsIntegerToken(t.Type) && t.Int >= 0 && t.Int <= 255) return char(t.Int);
    --FPos;
    InvalidValue();
}

String TReader::ReadStr() {
    if (FSet) {
        if (FSetIndex < FSet->Elements.size()) return FSet->Elements[FSetIndex++];
        FSet = nullptr;
        return String();
    }
    const TLayoutToken& t = Take();
    if (t.Type == vaPropName || t.Type == vaIdent) return t.Text;
    --FPos;
    InvalidValue();
}

std::uint64_t TReader::ReadSet(const TTypeInfo* setType) {
    const TLayoutToken& t = Take();
    if (t.Type != vaSet) {
        --FPos;
        InvalidValue();
    }
    const TTypeInfo* elem = setType->Kind == tkSet ? setType->CompType : setType;
    std::uint64_t bits = 0;
    for (const String& name : t.Elements) {
        Int64 v = GetEnumValue(elem, name);
        if (v < 0 || v > 63) Error("Invalid property element: " + name, t.Line);
        bits |= std::uint64_t(1) << v;
    }
    return bits;
}

void TReader::ReadCollection(TCollection* collection) {
    if (Take().Type != vaCollection) {
        --FPos;
        InvalidValue();
    }
    TUpdateScope update(*collection);
    collection->Clear();
    while (Current().Type != vaNull) {
        if (Current().Type != vaList) InvalidValue();
        Take();
        TCollectionItem* item = collection->Add();
        while (Current().Type != vaNull) ReadProperty(item);
        Take();
    }
    Take();
}

void TReader::ReadProperty(TPersistent* instance) {
    FSet = nullptr;
    const TLayoutToken& name = Current();
    if (name.Type != vaPropName) InvalidValue();
    Take();
    String savedProp = FPropName;
    ApplyProperty(instance, name.Text, name.Line);
    FPropName = savedProp;
}

void TReader::SkipValue() {
    if (FSet) {
        FSet = nullptr;
        return;
    }
    const TLayoutToken& t = Take();
    if (t.Type == vaList) {
        while (Current().Type != vaNull) SkipValue();
        Take();
    } else if (t.Type == vaCollection) {
        while (Current().Type != vaNull) {
            if (Take().Type != vaList) InvalidValue();
            while (Current().Type != vaNull) {
                if (Take().Type != vaPropName) InvalidValue();
                SkipValue();
            }
            Take();
        }
        Take();
    } else if (t.Type == vaNull || t.Type == vaPropName) {
        --FPos;
        InvalidValue();
    }
}

void TReader::DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc&, bool) {
    if (FDefinedHandled || !readData || !SameText(name, FPropName)) return;
    FDefinedHandled = true;
    readData(this);
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc&, bool) {
    if (FDefinedHandled || !readData || !SameText(name, FPropName)) return;
    FDefinedHandled = true;
    const TLayoutToken& t = Take();
    if (t.Type != vaBinary) {
        --FPos;
        InvalidValue();
    }
    TBlobStream stream(t.Text);
    readData(&stream);
}

// ============================================================================
// TWriter
// ============================================================================

TWriter::TWriter() = default;

String LayoutQuotedString(const String& value) {
    if (value.empty()) return "''";
    String out;
    bool inQuotes = false;
    for (char ch : value) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= ' ' && c < 127) {
            if (!inQuotes) {
                out += '\'';
                inQuotes = true;
            }
            if (c == '\'') out += '\'';
            out += ch;
        } else {
            if (inQuotes) {
                out += '\'';
                inQuotes = false;
            }
            out += '#' + std::to_string(c);
        }
    }
    if (inQuotes) out += '\'';
    return out;
}

void TWriter::NewLine() {
    if (!FOut.empty() && FOut.back() != '\n') FOut += "\r\n";
}

void TWriter::BeginValue(const String& name) {
    NewLine();
    FOut.append(size_t(FIndent), ' ');
    FOut += name + " = ";
}

void TWriter::EndValue() {}

void TWriter::Emit(const String& atom) {
    if (FListDepth > 0) {
        NewLine();
        FOut.append(size_t(FIndent + 2 * FListDepth), ' ');
    }
    FOut += atom;
}

String TWriter::WriteRootComponent(TComponent* root) {
    FRoot = root;
    FOut.clear();
    WriteComponent(root, 0);
    FOut += "\r\n";
    return FOut;
}

void TWriter::WriteComponent(TComponent* component, int indent) {
    component->IncludeState(csWriting);
    TScopeExit unmark([component] { component->ExcludeState(csWriting); });
    NewLine();
    FOut.append(size_t(indent), ' ');
    FOut += "object ";
    if (!component->Name().empty()) FOut += component->Name() + ": ";
    FOut += component->ClassName();
    {
        TTempChange indentation(FIndent, indent + 2);
        component->WriteState(this);
    }
    NewLine();
    FOut.append(size_t(indent), ' ');
    FOut += "end";
}

void TWriter::WriteData(TComponent* component) {
    WriteProperties(component);
    const int indent = FIndent;
    component->GetChildren([&](TComponent* child) { WriteComponent(child, indent); }, FRoot);
}

void TWriter::WriteProperties(TPersistent* instance, const String& prefix) {
    if (prefix.size() > 1024) return;  // a cycle of nested objects
    for (const TPropInfo* p : GetPropList(instance->ClassType())) WriteProperty(instance, p, prefix);
    String saved = FPropPath;
    FPropPath = prefix;
    instance->DefineProperties(this);
    FPropPath = saved;
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo* prop, const String& prefix) {
    if (!prop->HasGetter() || !IsStoredProp(instance, prop)) return;
    const TTypeInfo* type = prop->PropType();
    if (type->Kind != tkClass && !prop->HasSetter()) return;
    if (type->Kind != tkClass && IsDefaultPropValue(instance, prop)) return;
    String name = prefix + prop->Name;
    switch (type->Kind) {
    case tkInteger:
    case tkInt64: {
        Int64 v = prop->GetOrd(instance);
        String ident;
        BeginValue(name);
        Emit(IntToIdent(type, v, ident) ? ident : std::to_string(v));
        break;
    }
    case tkChar:
        BeginValue(name);
        WriteChar(char(prop->GetOrd(instance)));
        break;
    case tkEnumeration:
        BeginValue(name);
        Emit(GetEnumName(type, prop->GetOrd(instance)));
        break;
    case tkSet:
        BeginValue(name);
        WriteSet(type, std::uint64_t(prop->GetOrd(instance)));
        break;
    case tkFloat: {
        double v = prop->GetFloat(instance);
        if (!std::isfinite(v)) return;
        BeginValue(name);
        WriteFloat(v);
        break;
    }
    case tkString:
        BeginValue(name);
        WriteString(prop->GetStr(instance));
        break;
    case tkVariant: {
        const Variant v = prop->GetVariant(instance);
        if (v.IsFloat() && !std::isfinite(v.AsDouble())) return;
        BeginValue(name);
        WriteVariant(v);
        break;
    }
    case tkMethod: {
        TMethod m = prop->GetMethod(instance);
        if (!m.Code || m.Data != FRoot || !FRoot) return;
        const TMethodInfo* info = FindPublishedMethodByCode(FRoot->ClassType(), m.Code);
        if (!info) return;
        BeginValue(name);
        Emit(info->Name);
        break;
    }
    case tkInterface: {
        // Written as the name of the component behind the interface.
        TIntfPtr<IInterface> intf = prop->GetIntf(instance);
        auto* ref = Supports<IInterfaceComponentReference>(intf.Get());
        TComponent* comp = ref ? ref->GetComponent() : nullptr;
        if (!comp || !prop->SetIntf || comp->Name().empty()) return;
        String text = comp->Name();
        if (comp != FRoot && comp->Owner() && comp->Owner() != FRoot) {
            if (comp->Owner()->Name().empty()) return;
            text = comp->Owner()->Name() + "." + text;
        }
        BeginValue(name);
        Emit(text);
        break;
    }
    case tkClass: {
        TObject* obj = prop->GetObj(instance);
        if (!obj) return;
        if (auto* comp = dynamic_cast<TComponent*>(obj)) {
            if (!prop->SetObj || comp->Name().empty()) return;
            String ref = comp->Name();
            if (comp != FRoot && comp->Owner() && comp->Owner() != FRoot) {
                if (comp->Owner()->Name().empty()) return;
                ref = comp->Owner()->Name() + "." + ref;
            }
            BeginValue(name);
            Emit(ref);
        } else if (auto* coll = dynamic_cast<TCollection*>(obj)) {
            if (coll->Count() == 0) return;
            BeginValue(name);
            WriteCollection(coll);
        } else if (auto* nested = dynamic_cast<TPersistent*>(obj)) {
            WriteProperties(nested, name + ".");
        }
        break;
    }
    default: break;
    }
}

void TWriter::WriteListBegin() {
    Emit("(");
    ++FListDepth;
}

void TWriter::WriteListEnd() {
    if (FListDepth > 0) --FListDepth;
    FOut += ")";
}

void TWriter::WriteInteger(Int64 value) { Emit(std::to_string(value)); }

namespace {

// A float's shortest text that reads back as a float.
template <class F>
String FloatText(F value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    String text(buf, r.ptr);
    if (text.find_first_of(".eE") == String::npos) text += ".0";
    return text;
}

// A currency held in ten-thousandths, exactly: 12.5 for 125000.
String CurrencyText(Int64 scaled) {
    const std::uint64_t magnitude = scaled < 0 ? 0 - std::uint64_t(scaled) : std::uint64_t(scaled);
    String text = (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000);
    String fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    return text + "." + fraction;
}

}  // namespace

void TWriter::WriteVariant(const Variant& value) {
    switch (value.VarType()) {
    case varEmpty: Emit("nil"); break;
    case varNull: Emit("Null"); break;
    case varBoolean: WriteBoolean(value.AsBoolean()); break;
    case varSingle: Emit(FloatText(float(value.AsDouble())) + "s"); break;
    case varCurrency: Emit(CurrencyText(value.CurrencyScaled()) + "c"); break;
    case varDate: Emit(FloatText(value.AsDouble()) + "d"); break;
    case varDouble: WriteFloat(value.AsDouble()); break;
    case varString: WriteString(value.AsString()); break;
    default: WriteInteger(value.AsInt64()); break;
    }
}

void TWriter::WriteFloat(double value) { Emit(FloatText(value)); }

void TWriter::WriteString(const String& value) { Emit(LayoutQuotedString(value)); }

void TWriter::WriteIdent(const String& ident) { Emit(ident); }

void TWriter::WriteBoolean(bool value) { Emit(value ? "True" : "False"); }

void TWriter::WriteChar(char value) { Emit(LayoutQuotedString(String(1, value))); }

void TWriter::WriteSet(const TTypeInfo* setType, std::uint64_t bits) {
    const TTypeInfo* elem = setType->Kind == tkSet ? setType->CompType : setType;
    String text = "[";
    bool first = true;
    for (unsigned i = 0; i < 64; ++i) {
        if (!(bits & (std::uint64_t(1) << i))) continue;
        if (!first) text += ", ";
        text += GetEnumName(elem, Int64(i));
        first = false;
    }
    Emit(text + "]");
}

void TWriter::WriteCollection(TCollection* collection) {
    WriteCollectionBegin();
    for (int i = 0; i < collection->Count(); ++i) {
        WriteItemBegin();
        WriteProperties(collection->Items(i));
        WriteItemEnd();
    }
    WriteCollectionEnd();
}

void TWriter::WritePropName(const String& name) { BeginValue(FPropPath + name); }

void TWriter::WriteCollectionBegin() {
    Emit("<");
    ++FListDepth;
    FCollections.emplace_back(FIndent, FListDepth);
}

void TWriter::WriteItemBegin() {
    if (FCollections.empty()) throw EWriteError("An item outside a collection");
    auto [indent, depth] = FCollections.back();
    int itemIndent = indent + 2 * depth;
    NewLine();
    FOut.append(size_t(itemIndent), ' ');
    FOut += "item";
    FIndent = itemIndent + 2;
    FListDepth = 0;
}

void TWriter::WriteItemEnd() {
    if (FCollections.empty()) throw EWriteError("An item outside a collection");
    auto [indent, depth] = FCollections.back();
    FIndent = indent;
    FListDepth = depth;
    NewLine();
    FOut.append(size_t(indent + 2 * depth), ' ');
    FOut += "end";
}

void TWriter::WriteCollectionEnd() {
    if (FCollections.empty()) throw EWriteError("A collection end without its beginning");
    auto [indent, depth] = FCollections.back();
    FCollections.pop_back();
    FIndent = indent;
    FListDepth = depth - 1;
    FOut += ">";
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
    if (!hasData || !writeData) return;
    BeginValue(FPropPath + name);
    writeData(this);
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&, const TStreamProc& writeData, bool hasData) {
    if (!hasData || !writeData) return;
    TBlobStream stream;
    writeData(&stream);
    BeginValue(FPropPath + name);
    FOut += "{";
    static const char digits[] = "0123456789ABCDEF";
    const String& data = stream.Data();
    for (size_t i = 0; i < data.size(); ++i) {
        if (i % 32 == 0) {
            NewLine();
            FOut.append(size_t(FIndent + 2), ' ');
        }
        unsigned char c = static_cast<unsigned char>(data[i]);
        FOut += digits[c >> 4];
        FOut += digits[c & 15];
    }
    FOut += "}";
}

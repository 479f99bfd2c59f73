#include "components/dataproviders/zv_extensible_persistent.h"

#include <algorithm>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

TClass TExtensibleInterfacedPersistent::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TExtensibleInterfacedPersistent>("TExtensibleInterfacedPersistent").Build();
    return &info;
}

TClass TAggregatedPersistent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TAggregatedPersistent>("TAggregatedPersistent").Build();
    return &info;
}

TClass TAggregatedPersistentEx::StaticClass() {
    static const TClassInfo info = TClassBuilder<TAggregatedPersistentEx>("TAggregatedPersistentEx").Build();
    return &info;
}

// ============================================================================
// TExtensibleInterfacedPersistent
// ============================================================================

TExtensibleInterfacedPersistent::~TExtensibleInterfacedPersistent() { ClearExtensions(); }

bool TExtensibleInterfacedPersistent::QueryInterface(const TGUID& iid, void** obj) {
    if (GetInterface(iid, obj)) return true;
    for (auto it = FExtensions.rbegin(); it != FExtensions.rend(); ++it)
        if (!(*it)->IsHidden() && (*it)->GetInterface(iid, obj)) return true;
    *obj = nullptr;
    return false;
}

void TExtensibleInterfacedPersistent::AfterConstruction() {
    // Still counted 1 here: the default extensions may take and drop
    // references to the object.
    InitImplementers();
    TRefCounted<TPersistent>::AfterConstruction();
}

void TExtensibleInterfacedPersistent::BeforeDestruction() {
    TRefCounted<TPersistent>::BeforeDestruction();  // raises while referenced
    ClearExtensions();
}

TAggregatedPersistentEx* TExtensibleInterfacedPersistent::FindExtension(TClass cls) const {
    for (TAggregatedPersistentEx* e : FExtensions)
        if (e->InheritsFrom(cls)) return e;
    return nullptr;
}

void TExtensibleInterfacedPersistent::AddExtension(TAggregatedPersistentEx* extension) {
    for (TAggregatedPersistentEx* e : FExtensions)
        if (extension->InheritsFrom(e->ClassType())) throw EZVLException("Implementation of that class already exists");
    FExtensions.push_back(extension);
}

void TExtensibleInterfacedPersistent::RemoveExtension(TAggregatedPersistentEx* extension) {
    if (std::find(FExtensions.begin(), FExtensions.end(), extension) != FExtensions.end()) extension->Free();
}

void TExtensibleInterfacedPersistent::ClearExtensions() {
    while (!FExtensions.empty()) FExtensions.back()->Free();
}

void TExtensibleInterfacedPersistent::DetachExtension(TAggregatedPersistentEx* extension) {
    auto it = std::find(FExtensions.begin(), FExtensions.end(), extension);
    if (it != FExtensions.end()) FExtensions.erase(it);
}

bool TExtensibleInterfacedPersistent::IsStreamableExtension(TAggregatedPersistentEx* extension) {
    return GetClass(extension->ClassName()) == extension->ClassType();
}

bool TExtensibleInterfacedPersistent::AcceptsExtensionClass(TClass cls) {
    return cls->InheritsFrom(TAggregatedPersistentEx::StaticClass());
}

void TExtensibleInterfacedPersistent::DefineProperties(TFiler* filer) {
    TPersistent::DefineProperties(filer);
    bool hasData = std::any_of(FExtensions.begin(), FExtensions.end(),
                               [this](TAggregatedPersistentEx* e) { return IsStreamableExtension(e); });
    filer->DefineProperty(
        "Extensions", [this](TReader* r) { ReadExtensions(r); }, [this](TWriter* w) { WriteExtensions(w); }, hasData);
}

void TExtensibleInterfacedPersistent::ReadExtensions(TReader* reader) {
    TTempReference keep(this);
    ReadClassEntries(reader, TAggregatedPersistentEx::StaticClass(), [this, reader](TClass cls) -> TPersistent* {
        if (!AcceptsExtensionClass(cls)) reader->ReadError("Invalid class type");
        if (TAggregatedPersistentEx* existing = FindExtension(cls); existing && existing->ClassType() == cls)
            return existing;
        return CreateExtension(cls, this);
    });
}

void TExtensibleInterfacedPersistent::WriteExtensions(TWriter* writer) {
    writer->WriteCollectionBegin();
    for (TAggregatedPersistentEx* e : FExtensions)
        if (IsStreamableExtension(e)) WriteClassEntry(writer, e);
    writer->WriteCollectionEnd();
}

// ============================================================================
// Aggregated parts
// ============================================================================

TAggregatedPersistent::TAggregatedPersistent(TExtensibleInterfacedPersistent* controller)
    : TAggregated<TPersistent>(static_cast<IInterface*>(controller)), FControllerObject(controller) {}

void TAggregatedPersistentEx::AfterConstruction() {
    TAggregatedPersistent::AfterConstruction();
    if (Owner()) Owner()->AddExtension(this);
}

void TAggregatedPersistentEx::BeforeDestruction() {
    if (Owner()) Owner()->DetachExtension(this);
    TAggregatedPersistent::BeforeDestruction();
}

TAggregatedPersistentEx* CreateExtension(TClass cls, TExtensibleInterfacedPersistent* owner) {
    return dynamic_cast<TAggregatedPersistentEx*>(CreateObject(cls, owner));
}

// ============================================================================
// The stored form's entry lists
// ============================================================================

void ReadClassEntries(TReader* reader, TClass base, const std::function<TPersistent*(TClass)>& make) {
    if (reader->NextValue() != vaCollection) reader->ReadError("Expected collection");
    reader->ReadValue();
    while (!reader->EndOfList()) {
        reader->ReadListBegin();
        if (reader->EndOfList() || !SameText(reader->ReadStr(), "ClassName"))
            reader->ReadError("Missing ClassName property");
        TClass cls = FindClass(reader->ReadString());
        if (!cls->InheritsFrom(base)) reader->ReadError("Invalid class type");
        TPersistent* target = make(cls);
        while (!reader->EndOfList()) reader->ReadProperty(target);
        reader->ReadListEnd();
    }
    reader->ReadListEnd();
}

void WriteClassEntry(TWriter* writer, TPersistent* object) {
    String path = writer->PropPath();
    writer->SetPropPath(String());
    TScopeExit restore([&] { writer->SetPropPath(path); });
    writer->WriteItemBegin();
    writer->WritePropName("ClassName");
    writer->WriteString(object->ClassName());
    writer->WriteProperties(object);
    writer->WriteItemEnd();
}

// Reading and writing stored layouts: TReader applies the text form of a
// layout to a root component (creating its components, setting their
// properties by name, binding events to the root's published methods and
// resolving component references once everything is read); TWriter writes
// a root and what it holds back in the same form.
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/layout_text.h"
#include "classlib/core/streams.h"

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

// What DefineProperties sees: the reader or the writer at work.
class TFiler : public TObject {
    QL_CLASS(TFiler, TObject)
public:
    // A stored property with custom reading and writing. hasData says
    // whether the writer stores it at all.
    virtual void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                                bool hasData) = 0;
    // The same for binary data: the procedures get a stream holding exactly
    // the property's bytes.
    virtual void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                                      bool hasData) = 0;
    // The object this one is compared with to leave out inherited values:
    // layouts here do not inherit, so there is none.
    TPersistent* Ancestor() const { return nullptr; }
    TComponent* Root() const { return FRoot; }

protected:
    TComponent* FRoot = nullptr;
};

class TReader : public TFiler {
    QL_CLASS(TReader, TFiler)
public:
    // sourceName names the layout in error messages (a resource or file).
    explicit TReader(String text, String sourceName = String());
    ~TReader() override;

    // Reads the layout into root: its properties, then its components,
    // created by class name and owned by root. Calls Loaded on root and on
    // every component read, in reading order, once the references are
    // resolved. Errors raise EReadError (EClassNotFound for an unknown
    // class), naming the layout's line, the component and the property.
    void ReadRootComponent(TComponent* root);
    // Creates the root from the layout's class name (which must be
    // registered), owned by owner, and reads it.
    TComponent* ReadNewRootComponent(TComponent* owner);

    // Reads the properties of the component being read and the components
    // inside it: what TComponent::ReadState calls.
    void ReadData(TComponent* instance);

    // ---- For DefineProperties readers ----
    const String& PropName() const { return FPropName; }
    TComponent* Owner() const { return FRoot; }
    // The component whose block holds the one being read (nullptr for the
    // root).
    TComponent* Parent() const { return FParent; }
    TValueType NextValue() const;
    // Takes the type of the next value. After vaSet, ReadStr gives the
    // set's elements one by one and then '' (SkipValue skips the rest);
    // after vaList and vaCollection the elements follow up to the vaNull
    // that ReadListEnd takes.
    TValueType ReadValue();
    bool EndOfList() const;
    void ReadListBegin();
    void ReadListEnd();
    Int64 ReadInteger();
    Int64 ReadInt64() { return ReadInteger(); }
    double ReadFloat();
    String ReadString();
    String ReadIdent();
    bool ReadBoolean();
    // A variant of the value's own type: nil is empty, Null null, an
    // integer the narrowest signed type that holds it, 1.5s a single,
    // 1.5c a currency, 1.5d a date-time, 1.5 a double.
    Variant ReadVariant();
    char ReadChar();
    // A property name inside a collection item, an identifier, or the next
    // element of a set begun with ReadValue ('' after the last one).
    String ReadStr();
    std::uint64_t ReadSet(const TTypeInfo* setType);
    void ReadCollection(TCollection* collection);
    // Reads one "name = value" of a collection item into instance.
    void ReadProperty(TPersistent* instance);
    // Skips the next value whatever it is; inside a set begun with
    // ReadValue, the set's remaining elements.
    void SkipValue();
    // Raises the read error of the property being read (EReadError naming
    // the layout, the component, the property and the line): what a
    // DefineProperties reader raises for a value it cannot take.
    [[noreturn]] void ReadError(const String& what) const;

    void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

private:
    struct Fixup {
        TPersistent* Instance;
        const TPropInfo* Prop;
        String Reference;
        int Line;
    };

    void ReadComponentState(const TLayoutObject& obj, TComponent* component, TComponent* parent);
    void ReadChildren(const TLayoutObject& obj, TComponent* parent);
    void ApplyProperty(TPersistent* instance, const String& path, int line);
    void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
    void ResolveFixups();
    const TLayoutToken& Take();
    const TLayoutToken& Current() const;
    [[noreturn]] void Error(const String& what, int line) const;
    [[noreturn]] void InvalidValue() const;
    [[noreturn]] void ClassNotFound(const String& className, int line) const;

    String FText;
    String FSourceName;
    TComponent* FParent = nullptr;
    const TLayoutObject* FObject = nullptr;  // the block being read
    std::vector<TComponent*> FLoaded;
    std::vector<Fixup> FFixups;

    // The property being read: its tokens and the reading position.
    const std::vector<TLayoutToken>* FTokens = nullptr;
    size_t FPos = 0;
    String FPropName;
    String FComponentName;
    int FLine = 0;
    bool FDefinedHandled = false;
    // A set read element by element: its token and the next element.
    const TLayoutToken* FSet = nullptr;
    size_t FSetIndex = 0;
};

class TWriter : public TFiler {
    QL_CLASS(TWriter, TFiler)
public:
    TWriter();

    // The layout text of root and everything GetChildren lists inside it.
    String WriteRootComponent(TComponent* root);
    // Writes the published and defined properties of instance, with names
    // prefixed by prefix (for nested objects: "Font.").
    void WriteProperties(TPersistent* instance, const String& prefix = String());
    // A component's properties and the components inside it (what
    // TComponent::WriteState writes).
    void WriteData(TComponent* component);
    // The prefix of the names DefineProperties and WritePropName write
    // ("Font." inside a nested object). A writer of nested entries empties
    // it while it writes them and puts it back afterwards.
    const String& PropPath() const { return FPropPath; }
    void SetPropPath(const String& path) { FPropPath = path; }
    const String& Text() const { return FOut; }

    // ---- For DefineProperties writers ----
    void WriteListBegin();
    void WriteListEnd();
    void WriteInteger(Int64 value);
    void WriteFloat(double value);
    void WriteString(const String& value);
    void WriteIdent(const String& ident);
    void WriteBoolean(bool value);
    // In the form ReadVariant reads back with the same type, but for
    // integers, which come back as the narrowest signed type.
    void WriteVariant(const Variant& value);
    void WriteChar(char value);
    void WriteSet(const TTypeInfo* setType, std::uint64_t bits);
    void WriteCollection(TCollection* collection);
    // A property name (PropPath + name) and " = ": the value follows.
    void WritePropName(const String& name);
    // A collection value written entry by entry:
    //   WriteCollectionBegin();
    //   WriteItemBegin(); WritePropName("ClassName"); WriteString("TFoo");
    //   WriteProperties(foo); WriteItemEnd();
    //   WriteCollectionEnd();
    // gives  < item ClassName = 'TFoo' ... end >.
    void WriteCollectionBegin();
    void WriteItemBegin();
    void WriteItemEnd();
    void WriteCollectionEnd();

    void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const String& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

private:
    void WriteComponent(TComponent* component, int indent);
    void WriteProperty(TPersistent* instance, const TPropInfo* prop, const String& prefix);
    void BeginValue(const String& name);
    void EndValue();
    void Emit(const String& atom);
    void NewLine();

    String FOut;
    int FIndent = 0;
    int FListDepth = 0;
    // Per open collection: the indent and list depth outside it.
    std::vector<std::pair<int, int>> FCollections;
    bool FAtLineStart = true;
    String FPropPath;
};

// Quotes a string the way the layout text stores it: 'It''s'#13#10'ok'.
String LayoutQuotedString(const String& value);

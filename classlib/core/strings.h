// String lists: TStrings, the abstract list of texts with an object each,
// and TStringList, the list that holds them.
//
// Texts are 8-bit and taken as they are: line breaks are the only bytes
// that Text, LoadFromFile and LoadFromStream interpret.
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/events.h"
#include "classlib/core/streams.h"

class TStrings : public TPersistent {
    QL_CLASS(TStrings, TPersistent)
public:
    // ---- Lines ----
    int Count() const { return GetCount(); }
    // Index errors raise EStringListError "List index out of bounds (%d)".
    String Strings(int index) const { return Get(index); }
    void SetStrings(int index, const String& s) { Put(index, s); }
    String operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    // Adds at the end (a sorted list: at the text's place); returns the index.
    virtual int Add(const String& s);
    virtual int AddObject(const String& s, TObject* object);
    void Append(const String& s) { Add(s); }
    // Adds every line of strings with its object.
    virtual void AddStrings(TStrings* strings);
    // A stored layout keeps the lines as the list property "Strings":
    //   Items.Strings = ('one' 'two')
    void DefineProperties(TFiler* filer) override;
    virtual void Insert(int index, const String& s) = 0;
    void InsertObject(int index, const String& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    // Moves the line (with its object) from curIndex to newIndex.
    virtual void Move(int curIndex, int newIndex);

    // The first line equal to s (case ignored unless the list says
    // otherwise); -1 when none.
    virtual int IndexOf(const String& s) const;
    // The first line whose name (the text before NameValueSeparator) is
    // name, compared as IndexOf compares; -1 when none.
    int IndexOfName(const String& name) const;
    int IndexOfObject(const TObject* object) const;
    // Same lines in the same order (case counts).
    bool Equals(const TStrings& other) const;

    // ---- Name=value lines ----
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char c) { FNameValueSeparator = c; }
    // The text before the first separator; empty when the line has none.
    String Names(int index) const;
    // The text after the first separator; empty when the line has none.
    String ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, const String& value);
    // The value of the line named name; empty when there is none.
    String Values(const String& name) const;
    // Replaces the line named name, or adds one; an empty value deletes it.
    void SetValues(const String& name, const String& value);

    // ---- The list as one text ----
    // Every line followed by CR LF.
    String Text() const;
    // Lines end at CR LF, LF or CR; a final break adds no empty line.
    void SetText(const String& text);
    // The lines joined by Delimiter; a line with a blank or control
    // character, the delimiter or the quote is quoted with QuoteChar (and
    // inner quotes doubled). A list of one empty line gives two quotes.
    String DelimitedText() const;
    // Splits at Delimiter and, unless StrictDelimiter, at blanks and control
    // characters too; quoted parts keep what they hold.
    void SetDelimitedText(const String& text);
    // DelimitedText with ',' and '"'.
    String CommaText() const;
    void SetCommaText(const String& text);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char c) { FDelimiter = c; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char c) { FQuoteChar = c; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool on) { FStrictDelimiter = on; }

    // ---- Files and streams (8-bit, line breaks as SetText) ----
    void LoadFromFile(const String& fileName);
    // Reads from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream);
    // Writes Text; raises EFCreateError or EWriteError on failure.
    void SaveToFile(const String& fileName);
    virtual void SaveToStream(TStream& stream);

    // ---- Updates ----
    // Brackets a batch of changes: the change events fire once, when the
    // outermost bracket opens (OnChanging) and closes (OnChange).
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Copies the lines and objects of another TStrings (and its separator,
    // delimiter and quote settings); other sources go to TPersistent.
    void Assign(TPersistent* source) override;

protected:
    virtual int GetCount() const = 0;
    virtual String Get(int index) const = 0;
    // Default: replaces the line by deleting it and inserting s with its
    // object.
    virtual void Put(int index, const String& s);
    virtual TObject* GetObject(int index) const { return nullptr; }
    virtual void PutObject(int index, TObject* object) {}
    // Called when the outermost update bracket opens (true) and closes.
    virtual void SetUpdateState(bool updating) {}
    // How IndexOf and IndexOfName compare: case ignored here.
    virtual int CompareStrings(const String& a, const String& b) const;

    // Raises EStringListError with message formatted with data.
    [[noreturn]] void Error(const String& message, int data) const;

private:
    int FUpdateCount = 0;
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;

    String DelimitedTextWith(char delimiter, char quote, bool strict) const;
    void SetDelimitedTextWith(const String& text, char delimiter, char quote, bool strict);
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// < 0, 0 or > 0 as the line at index1 sorts before, with or after the line
// at index2.
using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
    QL_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    ~TStringList() override;

    int Add(const String& s) override;
    int AddObject(const String& s, TObject* object) override;
    // Raises EStringListError "Operation not allowed on sorted list" on a
    // sorted list.
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const String& s) const override;

    // Binary search of a sorted list: true when s is there; index is then
    // its first occurrence, otherwise the place where s would go.
    virtual bool Find(const String& s, int& index) const;
    // Sorts an unsorted list (stable). CustomSort orders by compare.
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    // What adding a text already in a sorted list does: dupIgnore keeps the
    // list (Add returns the existing index), dupAccept adds it, dupError
    // raises EStringListError "String list does not allow duplicates".
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates d) { FDuplicates = d; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool on);
    // The list frees its objects when they are deleted or cleared and
    // when it is destroyed.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool on) { FOwnsObjects = on; }
    int Capacity() const { return int(FList.capacity()); }
    void SetCapacity(int capacity);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    int GetCount() const override { return int(FList.size()); }
    String Get(int index) const override;
    // Raises EStringListError "Operation not allowed on sorted list" on a
    // sorted list.
    void Put(int index, const String& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(const String& a, const String& b) const override;

    virtual void Changed();
    virtual void Changing();
    virtual void InsertItem(int index, const String& s, TObject* object);

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };

    void CheckIndex(int index) const;
    void SortBy(const TStringListSortCompare& compare);

    std::vector<TStringItem> FList;
    TDuplicates FDuplicates = dupIgnore;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};

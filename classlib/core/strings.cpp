// TStrings and TStringList.
#include "classlib/core/strings.h"

#include <algorithm>
#include <numeric>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"
#include "classlib/core/typinfo.h"

namespace {
const char* const kListIndexError = "List index out of bounds (%d)";
const char* const kSortedListError = "Operation not allowed on sorted list";
const char* const kDuplicateString = "String list does not allow duplicates";
}  // namespace

// ---- TStrings ------------------------------------------------------------------

TClass TStrings::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings").Build();
    return &info;
}

void TStrings::Error(const String& message, int data) const { throw EStringListError(Format(message, {data})); }

int TStrings::CompareStrings(const String& a, const String& b) const { return AnsiCompareText(a, b); }

int TStrings::Add(const String& s) {
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const String& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(TStrings* strings) {
    if (!strings) return;
    TUpdateScope update(*this);
    // Read the count first: adding a list to itself doubles it once.
    const int n = strings->Count();
    for (int i = 0; i < n; ++i) AddObject(strings->Get(i), strings->GetObject(i));
}

void TStrings::InsertObject(int index, const String& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Put(int index, const String& s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateScope update(*this);
    String s = Get(index1);
    TObject* o = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, o);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    // Check both ends before taking the line out, so that a bad target
    // loses nothing.
    const int n = GetCount();
    if (curIndex < 0 || curIndex >= n) Error(kListIndexError, curIndex);
    if (newIndex < 0 || newIndex >= n) Error(kListIndexError, newIndex);
    TUpdateScope update(*this);
    String s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    // The object moves with the line: an owning list must not free it.
    PutObject(curIndex, nullptr);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
}

int TStrings::IndexOf(const String& s) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const String& name) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        String s = Get(i);
        size_t p = s.find(FNameValueSeparator);
        if (p != String::npos && CompareStrings(s.substr(0, p), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings& other) const {
    const int n = GetCount();
    if (n != other.GetCount()) return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

String TStrings::Names(int index) const {
    String s = Get(index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::ValueFromIndex(int index) const {
    String s = Get(index);
    size_t p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int index, const String& value) {
    if (value.empty()) {
        Delete(index);
        return;
    }
    Put(index, Names(index) + FNameValueSeparator + value);
}

String TStrings::Values(const String& name) const {
    int i = IndexOfName(name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& name, const String& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    String line = name + FNameValueSeparator + value;
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

String TStrings::Text() const {
    String r;
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(const String& text) {
    TUpdateScope update(*this);
    Clear();
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        size_t start = i;
        while (i < n && text[i] != '\r' && text[i] != '\n') ++i;
        Add(text.substr(start, i - start));
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
    }
}

String TStrings::DelimitedTextWith(char delimiter, char quote, bool strict) const {
    const int n = GetCount();
    if (n == 1 && Get(0).empty()) return String(2, quote);
    String r;
    for (int i = 0; i < n; ++i) {
        String s = Get(i);
        bool needsQuotes = false;
        for (char c : s) {
            if (c == quote || c == delimiter || (!strict && Byte(c) <= ' ')) {
                needsQuotes = true;
                break;
            }
        }
        if (i > 0) r += delimiter;
        r += needsQuotes ? AnsiQuotedStr(s, quote) : s;
    }
    return r;
}

void TStrings::SetDelimitedTextWith(const String& text, char delimiter, char quote, bool strict) {
    auto blank = [strict](char c) { return !strict && Byte(c) <= ' '; };
    TUpdateScope update(*this);
    Clear();
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && blank(*p)) ++p;
    while (p != end) {
        String s;
        if (*p == quote) {
            s = AnsiExtractQuotedStr(p, end, quote);
        } else {
            const char* start = p;
            while (p != end && *p != delimiter && !blank(*p)) ++p;
            s.assign(start, p);
        }
        Add(s);
        while (p != end && blank(*p)) ++p;
        if (p != end && *p == delimiter) {
            if (p + 1 == end) Add(String());
            do {
                ++p;
            } while (p != end && blank(*p));
        }
    }
}

String TStrings::DelimitedText() const { return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter); }
void TStrings::SetDelimitedText(const String& text) {
    SetDelimitedTextWith(text, FDelimiter, FQuoteChar, FStrictDelimiter);
}
String TStrings::CommaText() const { return DelimitedTextWith(',', '"', false); }
void TStrings::SetCommaText(const String& text) { SetDelimitedTextWith(text, ',', '"', false); }

void TStrings::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
    String data;
    char buffer[0x10000];
    while (true) {
        Int64 n = stream.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        data.append(buffer, size_t(n));
    }
    SetText(data);
}

void TStrings::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
    stream.Flush();
}

void TStrings::SaveToStream(TStream& stream) {
    String s = Text();
    stream.WriteBuffer(s.data(), Int64(s.size()));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
    if (TStrings* src = dynamic_cast<TStrings*>(source)) {
        if (src == this) return;
        TUpdateScope update(*this);
        Clear();
        FNameValueSeparator = src->FNameValueSeparator;
        FDelimiter = src->FDelimiter;
        FQuoteChar = src->FQuoteChar;
        FStrictDelimiter = src->FStrictDelimiter;
        AddStrings(src);
        return;
    }
    inherited::Assign(source);
}

// ---- TStringList ------------------------------------------------------------------

TClass TStringList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList").Build();
    return &info;
}

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TStringItem& item : FList) delete item.FObject;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= int(FList.size())) Error(kListIndexError, index);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const String& a, const String& b) const {
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

String TStringList::Get(int index) const {
    CheckIndex(index);
    return FList[size_t(index)].FString;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return FList[size_t(index)].FObject;
}

void TStringList::Put(int index, const String& s) {
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(index);
    Changing();
    FList[size_t(index)].FString = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    FList[size_t(index)].FObject = object;
    Changed();
}

int TStringList::Add(const String& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const String& s, TObject* object) {
    int index;
    if (!FSorted) {
        index = int(FList.size());
    } else if (Find(s, index)) {
        switch (FDuplicates) {
        case dupIgnore: return index;
        case dupError: Error(kDuplicateString, 0);
        case dupAccept: break;
        }
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const String& s) {
    if (FSorted) Error(kSortedListError, 0);
    if (index < 0 || index > int(FList.size())) Error(kListIndexError, index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const String& s, TObject* object) {
    Changing();
    FList.insert(FList.begin() + index, TStringItem{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    TObject* object = FList[size_t(index)].FObject;
    FList.erase(FList.begin() + index);
    if (FOwnsObjects) delete object;
    Changed();
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (TStringItem& item : old) delete item.FObject;
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FList[size_t(index1)], FList[size_t(index2)]);
    Changed();
}

bool TStringList::Find(const String& s, int& index) const {
    int lo = 0, hi = int(FList.size()) - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = CompareStrings(FList[size_t(mid)].FString, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) found = true;
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(const String& s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::SortBy(const TStringListSortCompare& compare) {
    if (FList.size() < 2) return;
    Changing();
    // Order the indexes with the list unchanged (compare reads the list by
    // index), then rearrange once.
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order) sorted.push_back(std::move(FList[size_t(i)]));
    FList.swap(sorted);
    Changed();
}

void TStringList::Sort() {
    if (FSorted) return;  // a sorted list is in order already
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->FList[size_t(a)].FString, list->FList[size_t(b)].FString);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (!FSorted) SortBy(compare);
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == FSorted) return;
    if (sorted) Sort();
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool on) {
    if (on == FCaseSensitive) return;
    FCaseSensitive = on;
    // Keep a sorted list in the order its comparison now gives.
    if (FSorted) {
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TStringList::SetCapacity(int capacity) {
    if (capacity > int(FList.size())) FList.reserve(size_t(capacity));
}

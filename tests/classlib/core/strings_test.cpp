// TStrings and TStringList.
#include <gtest/gtest.h>

#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
    std::vector<String> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

using L = std::vector<String>;

// ---- Line breaks -----------------------------------------------------------------

struct TBreakCase {
    const char* name;
    String bytes;
    L lines;
};

const TBreakCase kBreakCases[] = {
    {"empty", "", {}},
    {"one line, no break", "abc", {"abc"}},
    {"CR LF", "a\r\nb\r\n", {"a", "b"}},
    {"LF", "a\nb\n", {"a", "b"}},
    {"CR", "a\rb\r", {"a", "b"}},
    {"lone final CR", "a\r\nb\r", {"a", "b"}},
    {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"no final break", "a\r\nb", {"a", "b"}},
    {"only a break", "\r\n", {""}},
    {"empty lines", "\r\n\r\nx\n\n", {"", "", "x", ""}},
    {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
    {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
    {"bytes kept", String("t\tx\0y\xff\x80 ", 8), {String("t\tx\0y\xff\x80 ", 8)}},
};

TEST(StringListText, SetTextBreaks) {
    for (const TBreakCase& c : kBreakCases) {
        TStringList list;
        list.SetText(c.bytes);
        EXPECT_EQ(Lines(list), c.lines) << c.name;
    }
}

TEST(StringListText, LoadFromFileBreaks) {
    for (const TBreakCase& c : kBreakCases) {
        TScratchFile f;
        f.Write(c.bytes);
        TStringList list;
        list.Add("old");
        list.LoadFromFile(f.Name());
        EXPECT_EQ(Lines(list), c.lines) << c.name;
    }
}

TEST(StringListText, TextAndSaveWriteCrLfAfterEveryLine) {
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    list.SetText("a\nb\rc");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n");
    list.Add("");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n\r\n");

    TScratchFile f;
    list.SaveToFile(f.Name());
    EXPECT_EQ(f.Read(), "a\r\nb\r\nc\r\n\r\n");
    TStringList empty;
    empty.SaveToFile(f.Name());
    EXPECT_EQ(f.Read(), "");
    // A byte-for-byte round trip of a file without a final break adds one.
    f.Write("x=1\r\ny=\xe9\n[s]");
    list.LoadFromFile(f.Name());
    list.SaveToFile(f.Name());
    EXPECT_EQ(f.Read(), "x=1\r\ny=\xe9\r\n[s]\r\n");
}

TEST(StringListText, LoadFromStreamReadsFromThePosition) {
    TStringStream s("skip|one\ntwo");
    s.SetPosition(5);
    TStringList list;
    list.LoadFromStream(s);
    EXPECT_EQ(Lines(list), (L{"one", "two"}));
    TStringStream out;
    list.SaveToStream(out);
    EXPECT_EQ(out.DataString(), "one\r\ntwo\r\n");
}

TEST(StringListText, FileErrors) {
    TStringList list;
    EXPECT_THROW(list.LoadFromFile("no-such-file-anywhere.txt"), EFOpenError);
    list.Add("x");
    EXPECT_THROW(list.SaveToFile("no-such-folder-here/out.txt"), EFCreateError);
}

// ---- Indexes and bounds --------------------------------------------------------------

TEST(StringList, BoundsErrorsHaveTheIndex) {
    TStringList list;
    list.Add("a");
    list.Add("b");
    EXPECT_THROW_MSG(list.Strings(2), EStringListError, "List index out of bounds (2)");
    EXPECT_THROW_MSG(list.Strings(-1), EStringListError, "List index out of bounds (-1)");
    EXPECT_THROW_MSG(list.SetStrings(5, "x"), EStringListError, "List index out of bounds (5)");
    EXPECT_THROW_MSG(list.Objects(2), EStringListError, "List index out of bounds (2)");
    EXPECT_THROW_MSG(list.SetObjects(-3, nullptr), EStringListError, "List index out of bounds (-3)");
    EXPECT_THROW_MSG(list.Delete(2), EStringListError, "List index out of bounds (2)");
    EXPECT_THROW_MSG(list.Insert(3, "x"), EStringListError, "List index out of bounds (3)");
    EXPECT_THROW_MSG(list.Exchange(0, 9), EStringListError, "List index out of bounds (9)");
    EXPECT_THROW_MSG(list.Names(7), EStringListError, "List index out of bounds (7)");
    EXPECT_THROW_MSG(list.Move(0, 2), EStringListError, "List index out of bounds (2)");
    // An EStringListError is a list error too.
    EXPECT_THROW(list.Strings(2), EListError);
    // Nothing was lost on the way.
    EXPECT_EQ(Lines(list), (L{"a", "b"}));
    list.Insert(2, "c");  // inserting at the end is allowed
    EXPECT_EQ(Lines(list), (L{"a", "b", "c"}));
}

TEST(StringList, EditLines) {
    TStringList list;
    EXPECT_EQ(list.Add("one"), 0);
    EXPECT_EQ(list.Add("two"), 1);
    list.Insert(0, "zero");
    list.Append("three");
    EXPECT_EQ(Lines(list), (L{"zero", "one", "two", "three"}));
    list.SetStrings(1, "ONE");
    list.Delete(2);
    EXPECT_EQ(Lines(list), (L{"zero", "ONE", "three"}));
    list.Exchange(0, 2);
    EXPECT_EQ(Lines(list), (L{"three", "ONE", "zero"}));
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (L{"ONE", "zero", "three"}));
    list.Move(2, 0);
    EXPECT_EQ(Lines(list), (L{"three", "ONE", "zero"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, IndexOfIgnoresCaseUnlessCaseSensitive) {
    TStringList list;
    list.SetText("[frmMain]\nLastLayout=x\n[FRMMAIN]\n");
    EXPECT_EQ(list.IndexOf("[frmmain]"), 0);
    EXPECT_EQ(list.IndexOf("[FRMMAIN]"), 0);
    EXPECT_EQ(list.IndexOf("[frmOptions2]"), -1);
    EXPECT_EQ(list.IndexOf(""), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("[FRMMAIN]"), 2);
    EXPECT_EQ(list.IndexOf("[frmmain]"), -1);
}

TEST(StringList, Objects) {
    TObject a, b;
    TStringList list;
    list.AddObject("a", &a);
    list.Add("none");
    list.InsertObject(0, "b", &b);
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    EXPECT_EQ(list.IndexOfObject(nullptr), 2);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &a);
    list.Move(0, 2);
    EXPECT_EQ(list.Objects(2), &a);
    EXPECT_EQ(list[2], "a");
    list.SetObjects(0, &a);
    EXPECT_EQ(list.Objects(0), &a);
}

int gFreed = 0;
struct TCounted : TObject {
    ~TCounted() override { ++gFreed; }
};

TEST(StringList, OwnsObjectsFreesThem) {
    gFreed = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        list.AddObject("a", new TCounted);
        list.AddObject("b", new TCounted);
        list.AddObject("c", new TCounted);
        list.AddObject("d", new TCounted);
        list.Delete(0);
        EXPECT_EQ(gFreed, 1);
        list.Move(0, 2);  // moving keeps the object
        EXPECT_EQ(gFreed, 1);
        list.Clear();
        EXPECT_EQ(gFreed, 4);
        list.AddObject("e", new TCounted);
    }
    EXPECT_EQ(gFreed, 5);
    {
        TStringList list;  // not owning: nothing freed
        TCounted c;
        list.AddObject("c", &c);
    }
    EXPECT_EQ(gFreed, 6);  // only the stack object itself
}

// ---- Name=value lines ------------------------------------------------------------------

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText("Key=Value\nEmpty=\nnoseparator\nA=b=c\n=v\nkey=second");
    EXPECT_EQ(list.Names(0), "Key");
    EXPECT_EQ(list.ValueFromIndex(0), "Value");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.ValueFromIndex(3), "b=c");
    EXPECT_EQ(list.Names(4), "");
    EXPECT_EQ(list.Values("key"), "Value");  // look-up ignores case, first one wins
    EXPECT_EQ(list.Values("A"), "b=c");
    EXPECT_EQ(list.Values("Empty"), "");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.Values("noseparator"), "");
    EXPECT_EQ(list.IndexOfName("EMPTY"), 1);
    EXPECT_EQ(list.IndexOfName("noseparator"), -1);
    EXPECT_EQ(list.IndexOfName(""), 4);

    list.SetValues("KEY", "new");  // replaces the first line of that name
    EXPECT_EQ(list[0], "KEY=new");
    list.SetValues("added", "1");
    EXPECT_EQ(list[list.Count() - 1], "added=1");
    list.SetValues("Key", "");              // an empty value deletes the line
    EXPECT_EQ(list.IndexOfName("key"), 4);  // the second "key" line is now the first
    list.SetValues("missing", "");
    list.SetValueFromIndex(0, "x");
    EXPECT_EQ(list[0], "Empty=x");

    list.SetNameValueSeparator(':');
    list.Clear();
    list.Add("a:1");
    EXPECT_EQ(list.Values("A"), "1");
}

// ---- Delimited text --------------------------------------------------------------------

TEST(StringList, CommaText) {
    struct Case {
        L lines;
        const char* text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b"}, "a,b"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"x,y", "q\"t"}, "\"x,y\",\"q\"\"t\""},
        {{"a", "", "b"}, "a,,b"},
        {{"tab\there"}, "\"tab\there\""},
    };
    for (const Case& c : cases) {
        TStringList list;
        for (const String& s : c.lines) list.Add(s);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.lines) << c.text;
    }
    struct Parse {
        const char* text;
        L lines;
    };
    const Parse parses[] = {
        {"a b", {"a", "b"}},  // blanks split too
        {" a , b ", {"a", "b"}},       {"a,", {"a", ""}},    {",a", {"", "a"}},
        {"\"a\"b,c", {"a", "b", "c"}}, {"\"open", {"open"}}, {"a,,,b", {"a", "", "", "b"}},
    };
    for (const Parse& p : parses) {
        TStringList list;
        list.SetCommaText(p.text);
        EXPECT_EQ(Lines(list), p.lines) << p.text;
    }
    // A NUL byte separates like a blank (and does not stall the reader);
    // a line holding one is quoted.
    TStringList nul;
    nul.SetCommaText(String("a\0b", 3));
    EXPECT_EQ(Lines(nul), (L{"a", "b"}));
    nul.Clear();
    nul.Add(String("x\0y", 3));
    EXPECT_EQ(nul.CommaText(), String("\"x\0y\"", 5));
}

TEST(StringList, DelimitedTextWithOwnDelimiter) {
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    list.SetDelimitedText("a b;'c;d';e");
    EXPECT_EQ(Lines(list), (L{"a", "b", "c;d", "e"}));
    EXPECT_EQ(list.DelimitedText(), "a;b;'c;d';e");
    list.SetStrictDelimiter(true);
    list.SetDelimitedText("a b; c ;d");
    EXPECT_EQ(Lines(list), (L{"a b", " c ", "d"}));
    EXPECT_EQ(list.DelimitedText(), "a b; c ;d");
}

// ---- Sorting and duplicates ----------------------------------------------------------------

TEST(StringList, SortedAddFindAndDuplicates) {
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("fig");
    EXPECT_EQ(Lines(list), (L{"Apple", "fig", "pear"}));
    int index = -1;
    EXPECT_TRUE(list.Find("FIG", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf("PEAR"), 2);
    EXPECT_EQ(list.IndexOf("kiwi"), -1);

    // dupIgnore: the list stays, Add says where the text is.
    EXPECT_EQ(list.Add("apple"), 0);
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupError);
    EXPECT_THROW_MSG(list.Add("Fig"), EStringListError, "String list does not allow duplicates");
    EXPECT_EQ(list.Count(), 3);
    list.SetDuplicates(dupAccept);
    list.Add("FIG");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.Find("fig", index));
    EXPECT_EQ(index, 1);  // the first of the equal ones

    EXPECT_THROW_MSG(list.Insert(0, "x"), EStringListError, "Operation not allowed on sorted list");
    EXPECT_THROW_MSG(list.SetStrings(0, "x"), EStringListError, "Operation not allowed on sorted list");
}

TEST(StringList, SortAndCustomSort) {
    TStringList list;
    list.SetText("b\nC\na\nB\nc2");
    list.Sort();
    EXPECT_EQ(Lines(list), (L{"a", "b", "B", "C", "c2"}));  // equal texts keep their order
    list.SetCaseSensitive(true);
    list.Sort();
    EXPECT_EQ(Lines(list), (L{"B", "C", "a", "b", "c2"}));
    list.CustomSort([](TStringList* l, int a, int b) { return int((*l)[a].size()) - int((*l)[b].size()); });
    EXPECT_EQ(Lines(list), (L{"B", "C", "a", "b", "c2"}));
    list.CustomSort([](TStringList* l, int a, int b) { return CompareStr((*l)[b], (*l)[a]); });
    EXPECT_EQ(Lines(list), (L{"c2", "b", "a", "C", "B"}));
    // Switching Sorted on sorts; switching case sensitivity re-sorts.
    list.SetCaseSensitive(false);
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (L{"a", "b", "B", "C", "c2"}));
    list.SetCaseSensitive(true);
    EXPECT_EQ(Lines(list), (L{"B", "C", "a", "b", "c2"}));
    int i;
    EXPECT_TRUE(list.Find("a", i));
    EXPECT_EQ(i, 2);
}

// ---- Change events and updates --------------------------------------------------------------

class TWatcher : public TObject {
public:
    void Changed(TObject* sender) {
        ++Changes;
        LastSender = sender;
    }
    void Changing(TObject*) { ++Changings; }
    int Changes = 0;
    int Changings = 0;
    TObject* LastSender = nullptr;
};

TEST(StringList, ChangeEventsAndUpdateBrackets) {
    TWatcher w;
    TStringList list;
    list.OnChange = TNotifyEvent::Bind<&TWatcher::Changed>(&w);
    list.OnChanging = TNotifyEvent::Bind<&TWatcher::Changing>(&w);
    list.Add("a");
    EXPECT_EQ(w.Changes, 1);
    EXPECT_EQ(w.Changings, 1);
    EXPECT_EQ(w.LastSender, &list);
    list.SetStrings(0, "b");
    list.Insert(0, "c");
    list.Exchange(0, 1);
    list.Delete(0);
    EXPECT_EQ(w.Changes, 5);
    EXPECT_EQ(w.Changings, 5);
    list.Clear();
    list.Clear();  // an empty list does not change
    EXPECT_EQ(w.Changes, 6);

    // Inside brackets nothing fires until the outermost one closes.
    w.Changes = w.Changings = 0;
    list.BeginUpdate();
    EXPECT_EQ(w.Changings, 1);
    list.BeginUpdate();
    list.Add("x");
    list.Add("y");
    list.EndUpdate();
    EXPECT_EQ(w.Changes, 0);
    list.SetText("1\n2\n3");
    list.EndUpdate();
    EXPECT_EQ(w.Changes, 1);
    EXPECT_EQ(w.Changings, 1);
    EXPECT_EQ(list.UpdateCount(), 0);
    list.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(w.Changes, 1);

    // The whole-list operations bracket themselves: one event each.
    w.Changes = w.Changings = 0;
    list.SetText("a\nb\nc\nd");
    EXPECT_EQ(w.Changes, 1);
    list.SetCommaText("x,y");
    EXPECT_EQ(w.Changes, 2);
    list.Move(0, 1);
    EXPECT_EQ(w.Changes, 3);
    TStringList other;
    other.SetText("p\nq");
    list.Assign(&other);
    EXPECT_EQ(w.Changes, 4);
    EXPECT_EQ(w.Changings, 4);
}

// ---- Assign -------------------------------------------------------------------------------------

TEST(StringList, AssignCopiesLinesAndObjects) {
    TObject o;
    TStringList src;
    src.AddObject("a=1", &o);
    src.Add("b=2");
    src.SetNameValueSeparator('=');
    TStringList dst;
    dst.Add("old");
    dst.Assign(&src);
    EXPECT_EQ(Lines(dst), (L{"a=1", "b=2"}));
    EXPECT_EQ(dst.Objects(0), &o);
    EXPECT_TRUE(dst.Equals(src));
    dst.Assign(&dst);  // itself: unchanged
    EXPECT_EQ(dst.Count(), 2);
    dst.AddStrings(&dst);
    EXPECT_EQ(Lines(dst), (L{"a=1", "b=2", "a=1", "b=2"}));
    EXPECT_FALSE(dst.Equals(src));

    // A sorted target sorts what it receives.
    TStringList sorted;
    sorted.SetSorted(true);
    TStringList unsorted;
    unsorted.SetText("z\ny\nx");
    sorted.Assign(&unsorted);
    EXPECT_EQ(Lines(sorted), (L{"x", "y", "z"}));
}

class TNotAList : public TPersistent {};

TEST(StringList, AssignFromAnotherKindFails) {
    TStringList list;
    list.Add("kept");
    TNotAList other;
    EXPECT_THROW(list.Assign(&other), EConvertError);
    EXPECT_EQ(Lines(list), (L{"kept"}));
}

}  // namespace

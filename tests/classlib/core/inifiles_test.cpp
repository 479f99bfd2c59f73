// TMemIniFile and TIniFile: reading files, case, key order, erasing,
// typed values and the written file byte for byte.
#include <gtest/gtest.h>

#include "classlib/core/inifiles.h"
#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
    std::vector<String> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

using L = std::vector<String>;

TEST(MemIniFile, MissingFileIsEmpty) {
    TScratchFile f(".ini");
    TMemIniFile ini(f.Name());
    EXPECT_EQ(ini.FileName(), f.Name());
    EXPECT_EQ(ini.ReadString("frmMain", "ShowCmd", "dflt"), "dflt");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
    EXPECT_FALSE(f.Exists());  // reading never writes
}

TEST(MemIniFile, WritesTheFileFormatByteForByte) {
    TScratchFile f(".ini");
    TMemIniFile ini(f.Name());
    ini.WriteString("frmMain", "FormVersion", "0");
    ini.WriteInteger("frmMain", "ShowCmd", 1);
    ini.WriteString("Other", "Name", "a b");
    ini.WriteString("frmMain", "NormPos", "0,0,1024,823");
    ini.WriteString("FRMMAIN", "showcmd", "3");  // same key: updated in place
    ini.UpdateFile();
    EXPECT_EQ(f.Read(), "[frmMain]\r\n"
                        "FormVersion=0\r\n"
                        "showcmd=3\r\n"
                        "NormPos=0,0,1024,823\r\n"
                        "\r\n"
                        "[Other]\r\n"
                        "Name=a b\r\n"
                        "\r\n");
    // An empty INI writes an empty file.
    ini.Clear();
    ini.UpdateFile();
    EXPECT_EQ(f.Read(), "");
}

TEST(MemIniFile, LoadsSensibly) {
    TScratchFile f(".ini");
    f.Write("stray=before any section\n"
            "; a comment\n"
            "\n"
            "  [ frmMain ]  \n"
            "  ShowCmd =  1  \n"
            "NormPos=0,0,1,1\r\n"
            "\tFlags\t=\t2\r"
            "bare line\n"
            "\n"
            "[Second]\n"
            "k=v=w\n"
            "[frmMain]\n"
            "Later=yes");
    TMemIniFile ini(f.Name());
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (L{"frmMain", "Second"}));
    EXPECT_EQ(ini.ReadString("frmMain", "ShowCmd", ""), "1");  // blanks around key and value go
    EXPECT_EQ(ini.ReadString("frmMain", "Flags", ""), "2");
    EXPECT_EQ(ini.ReadString("Second", "k", ""), "v=w");
    // A section named twice is one section.
    EXPECT_EQ(ini.ReadString("frmMain", "Later", ""), "yes");
    EXPECT_EQ(ini.ReadString("frmMain", "stray", "none"), "none");
    TStringList keys;
    ini.ReadSection("frmMain", &keys);
    EXPECT_EQ(Lines(keys), (L{"ShowCmd", "NormPos", "Flags", "Later"}));
    TStringList values;
    ini.ReadSectionValues("FRMMAIN", &values);
    EXPECT_EQ(Lines(values), (L{"ShowCmd=1", "NormPos=0,0,1,1", "Flags=2", "bare line", "Later=yes"}));
    ini.UpdateFile();
    EXPECT_EQ(f.Read(), "[frmMain]\r\nShowCmd=1\r\nNormPos=0,0,1,1\r\nFlags=2\r\nbare line\r\nLater=yes\r\n\r\n"
                        "[Second]\r\nk=v=w\r\n\r\n");
}

TEST(MemIniFile, CaseAndOrder) {
    TMemIniFile ini("");
    ini.WriteString("S", "b", "1");
    ini.WriteString("S", "A", "2");
    ini.WriteString("s", "c", "3");
    ini.WriteString("S", "B", "4");  // keeps its place, takes the new spelling
    EXPECT_EQ(ini.ReadString("s", "a", ""), "2");
    EXPECT_TRUE(ini.SectionExists("s"));
    EXPECT_TRUE(ini.ValueExists("S", "C"));
    EXPECT_FALSE(ini.ValueExists("S", "d"));
    EXPECT_FALSE(ini.SectionExists("T"));
    TStringList lines;
    ini.GetStrings(&lines);
    EXPECT_EQ(Lines(lines), (L{"[S]", "B=4", "A=2", "c=3", ""}));

    ini.SetCaseSensitive(true);
    EXPECT_EQ(ini.ReadString("s", "a", "none"), "none");
    EXPECT_EQ(ini.ReadString("S", "A", "none"), "2");
    ini.WriteString("s", "x", "1");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (L{"S", "s"}));
}

TEST(MemIniFile, EraseAndDelete) {
    TMemIniFile ini("");
    ini.WriteString("a", "k1", "1");
    ini.WriteString("a", "k2", "2");
    ini.WriteString("b", "k", "3");
    ini.DeleteKey("A", "K1");
    ini.DeleteKey("a", "missing");
    ini.DeleteKey("missing", "k");
    EXPECT_EQ(ini.ReadString("a", "k1", "gone"), "gone");
    EXPECT_EQ(ini.ReadString("a", "k2", ""), "2");
    ini.DeleteKey("a", "k2");
    // A section whose keys are all gone is still listed, but does not count
    // as existing.
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (L{"a", "b"}));
    EXPECT_FALSE(ini.SectionExists("a"));
    ini.EraseSection("B");
    ini.EraseSection("missing");
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), (L{"a"}));
    TStringList lines;
    ini.GetStrings(&lines);
    EXPECT_EQ(Lines(lines), (L{"[a]", ""}));
}

TEST(MemIniFile, TypedValues) {
    TMemIniFile ini("");
    ini.WriteInteger("t", "i", -42);
    ini.WriteBool("t", "yes", true);
    ini.WriteBool("t", "no", false);
    ini.WriteFloat("t", "f", 2.5);
    ini.WriteString("t", "hex", "$1F");
    ini.WriteString("t", "chex", "0x10");
    ini.WriteString("t", "bad", "12abc");
    ini.WriteString("t", "word", "True");
    ini.WriteString("t", "empty", "");
    EXPECT_EQ(ini.ReadString("t", "i", ""), "-42");
    EXPECT_EQ(ini.ReadString("t", "yes", ""), "1");
    EXPECT_EQ(ini.ReadString("t", "no", ""), "0");
    EXPECT_EQ(ini.ReadString("t", "f", ""), "2.5");
    EXPECT_EQ(ini.ReadInteger("t", "i", 0), -42);
    EXPECT_EQ(ini.ReadInteger("t", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("t", "chex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("t", "bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("t", "empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("t", "missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("t", "yes", false));
    EXPECT_FALSE(ini.ReadBool("t", "no", true));
    EXPECT_TRUE(ini.ReadBool("t", "i", false));    // any non-zero number
    EXPECT_TRUE(ini.ReadBool("t", "word", true));  // not a number: the default
    EXPECT_FALSE(ini.ReadBool("t", "word", false));
    EXPECT_EQ(ini.ReadFloat("t", "f", 0), 2.5);
    EXPECT_EQ(ini.ReadFloat("t", "bad", 1.25), 1.25);
    EXPECT_TRUE(ini.ValueExists("t", "empty"));
    EXPECT_EQ(ini.ReadString("t", "empty", "dflt"), "");

    const TDateTime when = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
    ini.WriteDateTime("t", "dt", when);
    ini.WriteDate("t", "d", when);
    ini.WriteTime("t", "tm", when);
    EXPECT_EQ(ini.ReadString("t", "dt", ""), "3/5/2024 2:07:09 PM");
    EXPECT_EQ(ini.ReadDateTime("t", "dt", 0), when);
    EXPECT_EQ(ini.ReadDate("t", "d", 0), EncodeDate(2024, 3, 5));
    EXPECT_DOUBLE_EQ(ini.ReadTime("t", "tm", 0), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(ini.ReadDate("t", "bad", 9.0), 9.0);
}

TEST(MemIniFile, StringsRenameAndReload) {
    TScratchFile first(".ini"), second(".ini");
    second.Write("[x]\r\ny=2\r\n");
    TMemIniFile ini(first.Name());
    TStringList lines;
    lines.SetText("[frmMain]\nA=1\n\n[frmMain\\Sub]\nB=2\n");
    ini.SetStrings(&lines);
    EXPECT_EQ(ini.ReadString("frmMain\\sub", "b", ""), "2");
    TStringList back;
    ini.GetStrings(&back);
    EXPECT_EQ(Lines(back), (L{"[frmMain]", "A=1", "", "[frmMain\\Sub]", "B=2", ""}));

    // Renaming without reload keeps the content and writes it elsewhere.
    ini.Rename(second.Name(), false);
    EXPECT_EQ(ini.FileName(), second.Name());
    ini.UpdateFile();
    EXPECT_EQ(second.Read(), "[frmMain]\r\nA=1\r\n\r\n[frmMain\\Sub]\r\nB=2\r\n\r\n");
    // With reload, the new file's content replaces it.
    second.Write("[x]\r\ny=2\r\n");
    ini.Rename(second.Name(), true);
    EXPECT_EQ(ini.ReadString("x", "y", ""), "2");
    EXPECT_EQ(ini.ReadString("frmMain", "A", "gone"), "gone");
    ini.Rename(first.Name(), true);  // missing: empty
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 0);
}

TEST(MemIniFile, RoundTripKeepsEveryValue) {
    TScratchFile f(".ini");
    {
        TMemIniFile ini(f.Name());
        ini.WriteString("frmMain", "MinMaxPos(1280x1024)", "-1,-1,-8,-8");
        ini.WriteString("frmMain", "MinMaxPos", "-1,-1,-8,-8");
        ini.WriteString("frmMain", "LumOfficeCheckBox1_Checked", "TRUE");
        ini.WriteString("frmMain", "Path", "C:\\Program Files\\x;y");
        ini.WriteString("frmMain", "Latin", "caf\xe9");
        ini.UpdateFile();
    }
    TMemIniFile again(f.Name());
    EXPECT_EQ(again.ReadString("FRMMAIN", "minmaxpos(1280X1024)", ""), "-1,-1,-8,-8");
    EXPECT_EQ(again.ReadString("frmMain", "LumOfficeCheckBox1_Checked", ""), "TRUE");
    EXPECT_EQ(again.ReadString("frmMain", "Path", ""), "C:\\Program Files\\x;y");
    EXPECT_EQ(again.ReadString("frmMain", "Latin", ""), "caf\xe9");
    again.WriteString("frmMain", "MinMaxPos", "0,0,0,0");  // later saves update lines in place
    again.UpdateFile();
    EXPECT_EQ(f.Read(), "[frmMain]\r\nMinMaxPos(1280x1024)=-1,-1,-8,-8\r\nMinMaxPos=0,0,0,0\r\n"
                        "LumOfficeCheckBox1_Checked=TRUE\r\nPath=C:\\Program Files\\x;y\r\nLatin=caf\xe9\r\n\r\n");
}

TEST(MemIniFile, UpdateFileFailureRaises) {
    TMemIniFile ini("no-such-folder-here/Settings.ini");
    ini.WriteString("a", "b", "c");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
}

// ---- TIniFile ------------------------------------------------------------------------------

TEST(IniFile, EveryChangeGoesToTheFile) {
    TScratchFile f(".ini");
    TIniFile ini(f.Name());
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    EXPECT_FALSE(f.Exists());
    ini.WriteString("s", "k", "v");
    EXPECT_EQ(f.Read(), "[s]\r\nk=v\r\n\r\n");
    ini.WriteBool("s", "b", true);
    EXPECT_EQ(f.Read(), "[s]\r\nk=v\r\nb=1\r\n\r\n");
    ini.DeleteKey("s", "k");
    EXPECT_EQ(f.Read(), "[s]\r\nb=1\r\n\r\n");
    ini.EraseSection("S");
    EXPECT_EQ(f.Read(), "");
    ini.UpdateFile();
}

TEST(IniFile, SeesChangesMadeByOthers) {
    TScratchFile f(".ini");
    TIniFile a(f.Name());
    TIniFile b(f.Name());
    a.WriteString("s", "k", "1");
    EXPECT_EQ(b.ReadString("s", "k", ""), "1");
    b.WriteString("s", "k", "2");
    EXPECT_EQ(a.ReadInteger("s", "k", 0), 2);
    f.Write("[s]\nk=\"quoted value\"\nq='x'\nhalf=\"x\n");
    EXPECT_EQ(a.ReadString("s", "k", ""), "quoted value");
    EXPECT_EQ(a.ReadString("s", "q", ""), "x");
    EXPECT_EQ(a.ReadString("s", "half", ""), "\"x");
    TStringList keys;
    a.ReadSection("s", &keys);
    EXPECT_EQ(Lines(keys), (L{"k", "q", "half"}));
    EXPECT_TRUE(a.SectionExists("S"));
    EXPECT_TRUE(a.ValueExists("s", "Q"));
}

TEST(IniFile, WriteFailureRaises) {
    TIniFile ini("no-such-folder-here/x.ini");
    EXPECT_THROW_MSG(ini.WriteString("a", "b", "c"), EIniFileException, "Unable to write to no-such-folder-here/x.ini");
}

TEST(MemIniFileExists, SectionsAndValuesIgnoreCase) {
    TMemIniFile ini("");
    TStringList lines;
    lines.SetText("[Main]\r\nShowCmd=1\r\nbare line\r\n[Empty]\r\n[Keyless]\r\njust text\r\n");
    ini.SetStrings(&lines);
    EXPECT_TRUE(ini.SectionExists("main"));
    EXPECT_FALSE(ini.SectionExists("Empty"));    // no keys
    EXPECT_FALSE(ini.SectionExists("Keyless"));  // a line without "=" is no key
    EXPECT_FALSE(ini.SectionExists("None"));
    EXPECT_TRUE(ini.ValueExists("MAIN", "showcmd"));
    EXPECT_FALSE(ini.ValueExists("Main", "bare line"));
    EXPECT_FALSE(ini.ValueExists("Keyless", "just text"));
    EXPECT_FALSE(ini.ValueExists("Main", "Show"));
    EXPECT_FALSE(ini.ValueExists("None", "ShowCmd"));
}

}  // namespace

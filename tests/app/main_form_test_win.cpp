// The main window under Wine: its stored layout, the start-up and show
// handlers, the expand button, the option coupling, the lists and the
// compiler buttons, with the registry and folders of a sandbox.
#include "app/main_form_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app_test_support_win.h"
#include "classlib/core/inifiles.h"
#include "classlib/core/typinfo.h"
#include "classlib/ui/jpeg.h"
#include "tests/classlib/core/defaults_check.h"

namespace {

using Strings = std::vector<String>;

void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

class MainForm : public testing::Test {
protected:
    void SetUp() override {
        RegisterClass(TfrmMain::StaticClass());
        // mikroC PRO of the sandbox's family, installed for the machine.
        box.SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", box.Root + "mikroC");
        // The window remembers its choices beside the program (here: the
        // test program); every test starts as a first run.
        DeleteFileA(StoreFile().c_str());
    }
    void TearDown() override {
        Destroy();
        DeleteFileA(StoreFile().c_str());
    }
    static String StoreFile() { return ExtractFilePath(ApplicationExeName()) + "Settings.ini"; }
    void Destroy() {
        delete form;
        form = nullptr;
        Pump();
    }
    // Closes the window as the user does: the close query saves what the
    // window shows, and the store writes its file as the window goes.
    void CloseAndDestroy() {
        ASSERT_TRUE(form->CloseQuery());
        Destroy();
    }

    // The window as the program makes it, but with the sandbox's family as
    // the first target family and the sandbox's folder as the program's.
    // Before it shows, prepare may change what the form storage would have
    // restored.
    void Create() {
        form = new TfrmMain(Application);
        form->System().SetProgramFolder(box.Program);
        form->ReadLayoutResource();
        form->RadioGroup1->Items()->SetStrings(0, box.Family);
        form->DoCreate();
    }
    void Show() {
        form->Show();
        Pump();
    }
    // The layout and the colour scheme picked, as a user picks them.
    void PickLayoutAndScheme() {
        form->Layouts_Combobox->SetItemIndex(1);
        form->ColScheme_combobox->SetItemIndex(1);
    }

    TTestSandbox box;
    TMessageLog log;
    TfrmMain* form = nullptr;
};

// Every class the program registers for its stored layout (the class
// library's, the settings store's, the PNG image list's and the main
// window's own) holds its declared defaults when new.
TEST(RegisteredClasses, NewInstancesHoldTheirDeclaredDefaults) {
    TMessageLog messages;  // initialises the program's units
    RegisterClass(TfrmMain::StaticClass());
    // The main window reads its stored layout when it is made: its values
    // are the layout's, not defaults (TForm's are checked as TForm).
    EXPECT_GE(ExpectRegisteredClassesHoldTheirDefaults({TfrmMain::StaticClass()}), 20);
    EXPECT_TRUE(messages.Messages.empty());
}

}  // namespace

TEST_F(MainForm, LayoutGivesEveryComponentItsTextAndDefaults) {
    Create();
    EXPECT_EQ(form->Caption(), "Quillmere for zodozE compilers v1.50 by Brontall Software");
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->ClientWidth(), 471);
    EXPECT_EQ(form->ClientHeight(), 521);
    EXPECT_EQ(form->Font()->Name(), "Tahoma");
    EXPECT_EQ(form->Font()->Height(), -11);
    EXPECT_FALSE(form->Scaled());

    struct Caption {
        TControl* Control;
        const char* Text;
    };
    const Caption captions[] = {
        {form->RadioGroup1, "Compilers"},
        {form->Label15, "Advanced Settings"},
        {form->LumGroupBox2, "Select layout to use"},
        {form->LayoutsBtn, "Open Layouts Folder"},
        {form->LumGroupBox1, "Select color scheme to use"},
        {form->SchemesBtn, "Open Schemes Folder"},
        {form->LumOfficePager12, "Editor Settings"},
        {form->LumOfficePager13, "IDE Style"},
        {form->LumOfficePager11, "Output Settings"},
        {form->LumOfficeCheckBox1, "Restore Last Opened Project"},
        {form->LumOfficeCheckBox4, "Save Breakpoints"},
        {form->LumOfficeCheckBox8, "Show Ident Guides"},
        {form->LumOfficeCheckBox10, "Load Last project on startup"},
        {form->LumOfficeCheckBox11, "Generate ASM file"},
        {form->LumOfficeCheckBox17, "Include source lines in output files"},
        {form->LumOfficeCheckBox23, "Dynamic link for string literals"},
        {form->LumOfficeRadioGroup5, "Debug Layout"},
        {form->_mikroC, "mikroC PRO"},
        {form->_mikroP, "mikroPascal PRO"},
        {form->_mikroB, "mikroBasic PRO"},
        {form->_All_compilers, "All three"},
    };
    for (const Caption& c : captions) EXPECT_EQ(c.Control->Caption(), c.Text) << c.Control->Name();

    EXPECT_EQ(form->RadioGroup1->Hint(), "Select family of compiler(s) to modify.");
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(form->RadioGroup1->Items()->Strings(5), "for 8051");
    EXPECT_EQ(form->AdvSettingsBTN->Hint(), "Expand to access more options.");
    EXPECT_EQ(form->AdvSettingsBTN->Tag(), 0);
    EXPECT_EQ(form->LumOfficeRadioGroup5->Items()->Strings(0), "Use \"Debug layout\"");
    EXPECT_EQ(form->LumComboBox1->Items()->CommaText(), "Zero,One,Two,Three,Four,Five");
    EXPECT_EQ(form->LumComboBox1->ItemIndex(), 4);
    EXPECT_EQ(form->Layouts_Combobox->Style(), csDropDownList);
    EXPECT_EQ(form->Layouts_Combobox->ItemIndex(), -1);

    const TCompilerOptions o = form->Options();
    for (int i = 1; i <= 23; ++i)
        EXPECT_EQ(o.CheckBox[std::size_t(i)], i != 18 && i != 20 && i != 22 && i != 23) << "LumOfficeCheckBox" << i;
    EXPECT_EQ(o.RadioGroup, (std::array<int, 6>{-1, 1, 0, 1, 1, 0}));
    EXPECT_EQ(o.ComboBox1, 4);

    EXPECT_EQ(form->LumOfficePager1->PageCount(), 3);
    EXPECT_EQ(form->LumOfficePager1->Pages(0), form->LumOfficePager12);
    EXPECT_EQ(form->LumOfficePager1->Pages(2), form->LumOfficePager11);
    EXPECT_EQ(form->LumOfficePager1->ActivePage(), form->LumOfficePager12);
    EXPECT_EQ(form->LumOfficePager1->Top(), 234);
    EXPECT_EQ(form->LumPanel1->Height(), 475);
    EXPECT_EQ(form->LumPanel2->Height(), 43);
    EXPECT_EQ(form->LumPanel2->Align(), alBottom);

    // The logo: a JPEG picture, the hand cursor, the maker's address.
    ASSERT_NE(dynamic_cast<TJPEGImage*>(form->imgLogo->Picture()->Graphic()), nullptr);
    EXPECT_EQ(form->imgLogo->Picture()->Width(), 140);
    EXPECT_EQ(form->imgLogo->Cursor(), crHandPoint);
    EXPECT_EQ(form->imgLogo->Hint().rfind("http://", 0), 0u);
}

TEST_F(MainForm, CreateCentresTheWindowAndDisablesThe8051) {
    Create();
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_FALSE(form->RadioGroup1->Buttons(5)->Enabled());
    EXPECT_TRUE(form->RadioGroup1->Buttons(4)->Enabled());
}

TEST_F(MainForm, ImageListHoldsTheTwoArrows) {
    Create();
    ASSERT_NE(form->PngImageList1, nullptr);
    ASSERT_EQ(form->PngImageList1->PngImages()->Count(), 2);
    EXPECT_EQ(form->PngImageList1->PngImages()->Items(0)->Name(), "_down");
    EXPECT_EQ(form->PngImageList1->PngImages()->Items(1)->Name(), "_up");
    EXPECT_EQ(form->PngImageList1->Count(), 2);
    EXPECT_EQ(form->PngImageList1->Width(), 16);
}

// The separator beside the expand button is the bevel control at its
// place, drawn by the class library's bevel painting as a lowered box: the
// button shadow above, the button highlight below (the panel cuts off its
// last two columns).
TEST_F(MainForm, SeparatorIsALoweredBevelLineAtItsPlace) {
    Create();
    Show();
    ASSERT_NE(form->ZvBevel1, nullptr);
    EXPECT_EQ(form->ZvBevel1->Parent(), form->LumPanel1);
    EXPECT_EQ(form->ZvBevel1->BoundsRect(), Rect(298, 216, 467, 218));
    EXPECT_EQ(form->ZvBevel1->Shape(), TZvBevelShape::bsBox);
    EXPECT_EQ(form->ZvBevel1->Style(), TZvBevelStyle::bsLowered);

    const int w = form->LumPanel1->Width(), h = 240;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    form->LumPanel1->PaintTo(dc, 0, 0);
    GdiFlush();
    auto at = [&](int x, int y) {
        const Byte* p = static_cast<const Byte*>(bits) + (size_t(y) * w + x) * 4;
        return LongWord(p[2]) | LongWord(p[1]) << 8 | LongWord(p[0]) << 16;
    };
    const LongWord shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(at(298, 216), shadow);
    EXPECT_EQ(at(380, 216), shadow);
    EXPECT_EQ(at(w - 1, 216), shadow);
    EXPECT_EQ(at(298, 217), shadow);
    EXPECT_EQ(at(299, 217), light);
    EXPECT_EQ(at(w - 1, 217), light);
    for (int x : {297, 380}) {
        EXPECT_NE(at(x, 215), shadow) << x;
        EXPECT_NE(at(x, 218), light) << x;
    }
    EXPECT_NE(at(297, 216), shadow);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Both panels take the styler's Office 2007 look: a mirror gradient whose
// halves start at the preset's colours, no bevel, no border.
TEST_F(MainForm, ThePanelsShowTheStylersLook) {
    Create();
    Show();
    ASSERT_NE(form->LumPanelStyler1, nullptr);
    EXPECT_EQ(form->LumPanelStyler1->Style(), TLumPanelStyle::psOffice2007Luna);
    for (TLumPanel* panel : {form->LumPanel1, form->LumPanel2}) {
        EXPECT_EQ(panel->Styler(), form->LumPanelStyler1);
        EXPECT_EQ(panel->Color(), TColor(0xFAF1E9));
        EXPECT_EQ(panel->ColorMirrorTo(), TColor(0xFFF2E7));
        EXPECT_EQ(panel->BevelOuter(), bvNone);
        EXPECT_FALSE(panel->Caption()->Visible());
        const int w = panel->Width(), h = panel->Height();
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        panel->PaintTo(dc, 0, 0);
        GdiFlush();
        auto at = [&](int x, int y) {
            const Byte* p = static_cast<const Byte*>(bits) + (size_t(y) * w + x) * 4;
            return LongWord(p[2]) | LongWord(p[1]) << 8 | LongWord(p[0]) << 16;
        };
        EXPECT_EQ(at(2, 0), 0xFAF1E9u) << panel->Name();
        EXPECT_EQ(at(2, h / 2), 0xEDD8C7u) << panel->Name();
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // The window's sizes still come from the panels' heights.
    EXPECT_EQ(form->LumPanel1->Height(), 475);
    EXPECT_EQ(form->LumPanel2->Height(), 43);
    EXPECT_EQ(form->LumPanel2->FullHeight(), 43);
}

// The option pages' see-through group boxes, radio groups, check boxes and
// radio buttons each paint their page behind them; the page's gradient is
// rendered once for the page, not once for each of them on every repaint.
TEST_F(MainForm, RepaintsOfTheWindowRenderEachPagesGradientOnce) {
    Create();
    Show();
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    Pump();
    const auto repaint = [&] {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    };
    repaint();
    for (TLumOfficePage* page : {form->LumOfficePager12, form->LumOfficePager13, form->LumOfficePager11}) {
        SCOPED_TRACE(page->Caption());
        form->LumOfficePager1->SetActivePage(page);
        repaint();
        EXPECT_EQ(page->BackgroundRenders(), 1);
        for (int i = 0; i < 5; ++i) repaint();
        EXPECT_EQ(page->BackgroundRenders(), 1);
    }
}

TEST_F(MainForm, OpensCollapsedAndTheExpandButtonToggles) {
    Create();
    Show();
    const int collapsed = 43 + 234 + 30, expanded = 475 + 65;
    EXPECT_EQ(form->Height(), collapsed);
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    EXPECT_EQ(form->Height(), expanded);
    EXPECT_EQ(form->AdvSettingsBTN->Tag(), 1);
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    EXPECT_EQ(form->Height(), collapsed);
    EXPECT_EQ(form->AdvSettingsBTN->Tag(), 0);
}

TEST_F(MainForm, CompilerButtonsStayAtTheBottomOverTheOptionPages) {
    Create();
    Show();
    for (bool expanded : {false, true}) {
        EXPECT_EQ(form->LumPanel2->Top(), form->ClientHeight() - 43) << expanded;
        // The button panel lies above the first panel (the topmost child
        // comes first in the system's list).
        EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), form->LumPanel2->Handle()) << expanded;
        form->AdvSettingsBTNClick(form->AdvSettingsBTN);
        Pump();
    }
}

TEST_F(MainForm, StoredExpandStateOpensExpanded) {
    Create();
    form->AdvSettingsBTN->SetTag(1);  // as the form storage restores it
    Show();
    EXPECT_EQ(form->Height(), 475 + 65);
}

TEST_F(MainForm, ShowProbesTheCompilersAndFillsTheLists) {
    Create();
    Show();
    EXPECT_TRUE(form->_mikroC->Enabled());
    EXPECT_FALSE(form->_mikroP->Enabled());
    EXPECT_FALSE(form->_mikroB->Enabled());
    EXPECT_FALSE(form->_All_compilers->Enabled());
    EXPECT_EQ(form->Layouts_Combobox->Items()->CommaText(), "------------,\"Debug Wide\"");
    EXPECT_EQ(form->Layouts_Combobox->ItemIndex(), 0);
    EXPECT_EQ(form->ColScheme_combobox->Items()->CommaText(), "------------,Dark");
    EXPECT_EQ(form->ColScheme_combobox->ItemIndex(), 0);
    EXPECT_TRUE(log.Messages.empty());
}

TEST_F(MainForm, AnotherFamilyReprobesAllThree) {
    box.SetFolder(HKEY_CURRENT_USER, "mikroPascal PRO", box.Root + "mikroC");
    box.SetFolder(HKEY_LOCAL_MACHINE, "mikroBasic PRO", box.Root + "mikroC");
    Create();
    Show();
    EXPECT_TRUE(form->_All_compilers->Enabled());
    form->RadioGroup1->SetItemIndex(1);  // "for dsPIC": none of the sandbox's compilers
    EXPECT_FALSE(form->_mikroC->Enabled());
    EXPECT_FALSE(form->_mikroP->Enabled());
    EXPECT_FALSE(form->_mikroB->Enabled());
    EXPECT_FALSE(form->_All_compilers->Enabled());
}

TEST_F(MainForm, ProbingReadsTheButtonsCaptions) {
    Create();
    Show();
    EXPECT_FALSE(form->_mikroP->Enabled());
    form->_mikroP->SetCaption("mikroC PRO");  // names the compiler the sandbox has
    form->RadioGroup1Click(nullptr);
    EXPECT_TRUE(form->_mikroP->Enabled());
}

TEST_F(MainForm, NoFamilySelectedLeavesTheButtonsDisabled) {
    Create();
    form->RadioGroup1->SetItemIndex(-1);  // as a hand-edited settings file may restore it
    EXPECT_NO_THROW(Show());
    EXPECT_FALSE(form->_mikroC->Enabled());
    EXPECT_FALSE(form->_All_compilers->Enabled());
    PickLayoutAndScheme();
    form->_mikroCClick(form->_mikroC);
    EXPECT_EQ(log.Messages, Strings{"Select compiler first."});
}

TEST_F(MainForm, GenerateAsmCarriesTheThreeBoxesBelowIt) {
    Create();
    Show();
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);  // the pages are reached expanded
    form->LumOfficePager1->SetActivePage(form->LumOfficePager11);
    Pump();
    // A click of the user runs OnClick; a write from code does not.
    const auto click = [](TWinControl* box) {
        PostMessageA(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
        PostMessageA(box->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
        Pump();
    };
    form->LumOfficeCheckBox12->SetChecked(false);
    EXPECT_TRUE(form->LumOfficeCheckBox11->Checked());
    form->LumOfficeCheckBox12->SetChecked(true);
    click(form->LumOfficeCheckBox11);
    EXPECT_FALSE(form->LumOfficeCheckBox11->Checked());
    EXPECT_FALSE(form->LumOfficeCheckBox12->Checked());
    EXPECT_FALSE(form->LumOfficeCheckBox13->Checked());
    EXPECT_FALSE(form->LumOfficeCheckBox14->Checked());
    EXPECT_TRUE(form->LumOfficeCheckBox15->Checked());
    click(form->LumOfficeCheckBox11);
    EXPECT_TRUE(form->LumOfficeCheckBox12->Checked());
    EXPECT_TRUE(form->LumOfficeCheckBox14->Checked());
    click(form->LumOfficeCheckBox13);
    EXPECT_FALSE(form->LumOfficeCheckBox13->Checked());
    EXPECT_TRUE(form->LumOfficeCheckBox11->Checked());
}

TEST_F(MainForm, CompilerButtonRewritesTheSettingsFromTheWindow) {
    Create();
    Show();
    PickLayoutAndScheme();
    EXPECT_EQ(form->Import_Settings(form->_mikroC), 0);
    EXPECT_EQ(TTestSandbox::ReadBytes(box.Root + "mikroC\\settings.ini"),
              ReadFixture("mikroc_pic_settings.expected.ini"));
    EXPECT_EQ(TTestSandbox::ReadBytes(box.Root + "mikroC\\Layouts\\Debug Wide.dat"), "layout bytes");

    form->_mikroCClick(form->_mikroC);
    EXPECT_EQ(log.Messages, Strings{"mikroC PRO " + box.Family + " settings succesfully changed."});
}

TEST_F(MainForm, ClickOfTheButtonGoesThroughItsHandler) {
    Create();
    Show();
    PickLayoutAndScheme();
    form->_mikroC->Click();
    EXPECT_EQ(log.Messages, Strings{"mikroC PRO " + box.Family + " settings succesfully changed."});
}

TEST_F(MainForm, AllThreeCountsTheCompilersChanged) {
    Create();
    Show();
    PickLayoutAndScheme();
    form->_All_compilersClick(form->_All_compilers);
    EXPECT_EQ(log.Messages, Strings{"1 out of 3 settings succesfully changed."});
}

TEST_F(MainForm, EnteringAListClearsItsChoice) {
    Create();
    Show();
    PickLayoutAndScheme();
    form->Layouts_ComboboxEnter(form->Layouts_Combobox);
    EXPECT_EQ(form->Layouts_Combobox->ItemIndex(), -1);
    EXPECT_EQ(form->Layouts_Combobox->Items()->Count(), 2);
    form->_mikroCClick(form->_mikroC);
    form->ColScheme_comboboxEnter(form->ColScheme_combobox);
    form->Layouts_Combobox->SetItemIndex(1);
    form->_mikroCClick(form->_mikroC);
    EXPECT_EQ(log.Messages, (Strings{"Select layout.", "Select color scheme."}));
}

TEST_F(MainForm, DamagedSettingsEndTheRequestWithTheIndexError) {
    String damaged = ReadFixture("mikroc_pic_settings.ini");
    damaged.erase(damaged.find("[frmOptions2]\r\n"), 15);
    TTestSandbox::WriteFile(box.Root + "mikroC\\settings.ini", damaged);
    Create();
    Show();
    PickLayoutAndScheme();
    try {
        form->_mikroCClick(form->_mikroC);
        ADD_FAILURE() << "no error";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
    }
    EXPECT_EQ(TTestSandbox::ReadBytes(box.Root + "mikroC\\settings.ini"), damaged);
    EXPECT_TRUE(log.Messages.empty());
}

TEST_F(MainForm, EmptyLayoutsFolderLeavesThePlaceholderAndAsksForALayout) {
    ASSERT_TRUE(DeleteFile(box.Program + "Layouts\\Debug Wide.dat"));
    Create();
    Show();
    EXPECT_EQ(log.Messages, Strings{"No layout files (*.dat) found in\n\r" + box.Program + "Layouts\\ folder."});
    EXPECT_EQ(form->Layouts_Combobox->Items()->CommaText(), "------------");
    form->ColScheme_combobox->SetItemIndex(1);
    form->_mikroCClick(form->_mikroC);
    EXPECT_EQ(log.Messages.back(), "Select layout.");
}

TEST_F(MainForm, LayoutBindsTheStoreAndEveryStoredProperty) {
    Create();
    ASSERT_NE(form->ZvAppIniFileStorage1, nullptr);
    ASSERT_NE(form->ZvFormStorage1, nullptr);
    EXPECT_EQ(form->ZvAppIniFileStorage1->FileName(), "Settings.ini");
    EXPECT_EQ(form->ZvAppIniFileStorage1->FullFileName(), StoreFile());
    EXPECT_EQ(form->ZvAppIniFileStorage1->StorageOptions()->BooleanStringTrueValues(), "TRUE, YES, Y");
    EXPECT_EQ(form->ZvAppIniFileStorage1->StorageOptions()->BooleanStringFalseValues(), "FALSE, NO, N");
    EXPECT_EQ(form->ZvFormStorage1->AppStorage(), form->ZvAppIniFileStorage1);
    EXPECT_EQ(form->ZvFormStorage1->AppStoragePath(), "frmMain\\");
    EXPECT_EQ(form->ZvFormStorage1->Options(), (TPlacementOptions{fpState, fpSize}));
    EXPECT_EQ(form->AdvSettingsBTN->Images(), form->PngImageList1);
    EXPECT_EQ(form->AdvSettingsBTN->ImageIndex(), 0);

    // Every line names a component of the window and a property it has.
    TStrings* lines = form->ZvFormStorage1->StoredProps();
    ASSERT_EQ(lines->Count(), 33);
    EXPECT_EQ(lines->Strings(8), "LumOfficeRadioGroup4.ItemIndex");
    EXPECT_EQ(lines->Strings(32), "RadioGroup1.ItemIndex");
    for (int i = 0; i < lines->Count(); ++i) {
        const String line = lines->Strings(i);
        const auto dot = line.find('.');
        ASSERT_NE(dot, String::npos) << line;
        auto* component = dynamic_cast<TComponent*>(lines->Objects(i));
        ASSERT_NE(component, nullptr) << line;
        EXPECT_EQ(component->Name(), line.substr(0, dot));
        EXPECT_NE(GetPropInfo(component, line.substr(dot + 1)), nullptr) << line;
    }
}

TEST_F(MainForm, ClosingRemembersTheChoicesAndTheNextStartRestoresThem) {
    Create();
    Show();
    const int width = form->Width();
    form->LumOfficeCheckBox1->SetChecked(false);
    form->LumOfficeCheckBox18->SetChecked(true);
    form->LumOfficeRadioGroup4->SetItemIndex(0);
    form->LumComboBox1->SetItemIndex(2);
    form->RadioGroup1->SetItemIndex(3);
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    form->LumOfficePager1->SetActivePage(form->LumOfficePager11);
    CloseAndDestroy();

    TMemIniFile ini(StoreFile());
    const struct {
        const char* Key;
        const char* Value;
    } stored[] = {
        {"LumOfficeCheckBox1_Checked", "FALSE"},
        {"LumOfficeCheckBox2_Checked", "TRUE"},
        {"LumOfficeCheckBox18_Checked", "TRUE"},
        {"LumOfficeRadioGroup4_ItemIndex", "0"},
        {"LumComboBox1_ItemIndex", "2"},
        {"RadioGroup1_ItemIndex", "3"},
        {"AdvSettingsBTN_ImageIndex", "1"},
        {"AdvSettingsBTN_Tag", "1"},
        {"LumOfficePager1_ActivePage", "LumOfficePager11"},
    };
    for (const auto& s : stored) EXPECT_EQ(ini.ReadString("frmMain", s.Key, "(none)"), s.Value) << s.Key;
    EXPECT_EQ(ini.ReadString("frmMain", "ShowCmd", ""), "1");
    EXPECT_TRUE(ini.ValueExists("frmMain", "NormPos"));

    Create();
    Show();
    EXPECT_FALSE(form->LumOfficeCheckBox1->Checked());
    EXPECT_TRUE(form->LumOfficeCheckBox18->Checked());
    EXPECT_EQ(form->LumOfficeRadioGroup4->ItemIndex(), 0);
    EXPECT_EQ(form->LumComboBox1->ItemIndex(), 2);
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 3);
    EXPECT_EQ(form->AdvSettingsBTN->Tag(), 1);
    EXPECT_EQ(form->AdvSettingsBTN->ImageIndex(), 1);
    EXPECT_EQ(form->LumOfficePager1->ActivePage(), form->LumOfficePager11);
    // Restored before the show handler, which sizes the window by the
    // stored expand state.
    EXPECT_EQ(form->Height(), 475 + 65);
    EXPECT_EQ(form->Width(), width);
    EXPECT_TRUE(log.Messages.empty());
}

TEST_F(MainForm, UnreadableValuesFallBackToTheLayoutsDefaults) {
    TTestSandbox::WriteFile(StoreFile(),
                            "[frmMain]\r\nLumOfficeCheckBox3_Checked=perhaps\r\nLumComboBox1_ItemIndex=four\r\n"
                            "RadioGroup1_ItemIndex=-1\r\nLumOfficePager1_ActivePage=NoSuchPage\r\n"
                            "LumOfficeCheckBox18_Checked=Y\r\nNormPos=a,b,c\r\n\x01\xff\xfe garbage\r\n");
    Create();
    EXPECT_NO_THROW(Show());
    EXPECT_TRUE(form->LumOfficeCheckBox3->Checked());
    EXPECT_EQ(form->LumComboBox1->ItemIndex(), 4);
    EXPECT_TRUE(form->LumOfficeCheckBox18->Checked());  // "Y" is one of the true values
    EXPECT_EQ(form->LumOfficePager1->ActivePage(), form->LumOfficePager12);
    // No family selected: nothing is found, nothing raises.
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), -1);
    EXPECT_FALSE(form->_mikroC->Enabled());
    EXPECT_TRUE(log.Messages.empty());
}

TEST_F(MainForm, StoredFamilyThatCannotBeChosenGivesTheLayoutsFamily) {
    const struct {
        const char* Stored;
        int Shown;
    } cases[] = {
        {"5", 0},    // "for 8051", disabled at every start
        {"99", 0},   // past the items: the group would show the last one
        {"3", 3},    // "for ARM" can be chosen
        {"-1", -1},  // none: the checks ask for one
    };
    for (const auto& c : cases) {
        TTestSandbox::WriteFile(StoreFile(), String("[frmMain]\r\nRadioGroup1_ItemIndex=") + c.Stored + "\r\n");
        Create();
        Show();
        EXPECT_EQ(form->RadioGroup1->ItemIndex(), c.Shown) << c.Stored;
        EXPECT_EQ(form->_mikroC->Enabled(), c.Shown == 0) << c.Stored << ": the sandbox's compiler is for the first";
        Destroy();
    }
}

TEST_F(MainForm, ExpandArrowFollowsTheStoredStateNotTheStoredImage) {
    const struct {
        const char* Tag;
        const char* ImageIndex;
        int Shown;
    } cases[] = {
        {"0", "7", 0},
        {"1", "7", 1},
        {"1", "0", 1},
        {"0", "1", 0},
    };
    for (const auto& c : cases) {
        TTestSandbox::WriteFile(StoreFile(), String("[frmMain]\r\nAdvSettingsBTN_Tag=") + c.Tag +
                                                 "\r\nAdvSettingsBTN_ImageIndex=" + c.ImageIndex + "\r\n");
        Create();
        Show();
        EXPECT_EQ(form->AdvSettingsBTN->ImageIndex(), c.Shown) << c.Tag << "/" << c.ImageIndex;
        form->AdvSettingsBTNClick(form->AdvSettingsBTN);
        EXPECT_EQ(form->AdvSettingsBTN->ImageIndex(), 1 - c.Shown) << c.Tag << "/" << c.ImageIndex;
        Destroy();
    }
}

TEST_F(MainForm, CollapsedOptionPagesTakeNoFocus) {
    Create();
    Show();
    // Every control Tab reaches, once round the window.
    auto tabWalk = [&] {
        std::vector<TWinControl*> reached;
        TWinControl* c = form->FindNextControl(nullptr, true, true, false);
        while (c && reached.size() < 200 && std::find(reached.begin(), reached.end(), c) == reached.end()) {
            reached.push_back(c);
            c = form->FindNextControl(c, true, true, false);
        }
        return reached;
    };
    auto onPages = [&](const std::vector<TWinControl*>& reached) {
        int n = 0;
        for (TWinControl* c : reached)
            for (TControl* p = c; p; p = p->Parent())
                if (p == form->LumOfficePager1) ++n;
        return n;
    };
    const std::vector<TWinControl*> collapsed = tabWalk();
    EXPECT_EQ(onPages(collapsed), 0);
    EXPECT_NE(std::find(collapsed.begin(), collapsed.end(), form->AdvSettingsBTN), collapsed.end());
    EXPECT_NE(std::find(collapsed.begin(), collapsed.end(), form->_mikroC), collapsed.end());

    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    Pump();
    EXPECT_GT(onPages(tabWalk()), 0) << "expanded, the pages are reached again";
    form->AdvSettingsBTNClick(form->AdvSettingsBTN);
    Pump();
    EXPECT_EQ(onPages(tabWalk()), 0);
}

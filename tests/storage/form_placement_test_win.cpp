// The form placement and form storage on real forms under Wine, with a real
// "Settings.ini": the keys written and their order, what a second start
// restores (before the form's own OnShow), maximised and minimised states,
// the screen-size names, the version check, size limits, resize prevention
// and files with bad values.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "classlib/core/filer.h"
#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/ui/menus.h"
#include "storage/form_placement.h"
#include "storage/ini_file_storage.h"

namespace {

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

// ---- Stand-in controls with the properties the main form stores ----

class TStubCheck : public TCustomControl {
    QL_CLASS(TStubCheck, TCustomControl)
public:
    explicit TStubCheck(TComponent* owner) : TCustomControl(owner) {}
    bool Checked = false;
    bool GetChecked() const { return Checked; }
    void SetChecked(bool v) { Checked = v; }
};

class TStubRadio : public TCustomControl {
    QL_CLASS(TStubRadio, TCustomControl)
public:
    explicit TStubRadio(TComponent* owner) : TCustomControl(owner) {}
    int ItemIndex = -1;
    int GetItemIndex() const { return ItemIndex; }
    void SetItemIndex(int v) { ItemIndex = v; }
};

class TStubPage : public TCustomControl {
    QL_CLASS(TStubPage, TCustomControl)
public:
    explicit TStubPage(TComponent* owner) : TCustomControl(owner) {}
};

class TStubPager : public TCustomControl {
    QL_CLASS(TStubPager, TCustomControl)
public:
    explicit TStubPager(TComponent* owner) : TCustomControl(owner) {}
    TStubPage* ActivePage = nullptr;
    TStubPage* GetActivePage() const { return ActivePage; }
    void SetActivePage(TStubPage* page) { ActivePage = page; }
};

// What the form's own OnShow saw: the restored values must be there.
struct TShowSeen {
    bool Checked = false;
    int ItemIndex = -2;
    int Width = 0;
    int Shows = 0;
};

class TPlacementForm : public TForm {
    QL_CLASS(TPlacementForm, TForm)
public:
    explicit TPlacementForm(TComponent* owner) : TForm(owner) {}
    TStubCheck* Check1 = nullptr;
    TStubRadio* Radio1 = nullptr;
    TStubPager* Pager1 = nullptr;
    TStubPage* Page1 = nullptr;
    TStubPage* Page2 = nullptr;
    TZvAppIniFileStorage* ZvAppIniFileStorage1 = nullptr;
    TZvFormStorage* ZvFormStorage1 = nullptr;
    TShowSeen Seen;
    bool AllowClose = true;
    void FormShow(TObject*) {
        Seen.Checked = Check1->Checked;
        Seen.ItemIndex = Radio1->ItemIndex;
        Seen.Width = Width();
        ++Seen.Shows;
    }
    void FormCloseQuery(TObject*, bool& canClose) { canClose = AllowClose; }
};

TClass TStubCheck::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStubCheck>("TStubCheck")
                                       .Prop("Checked", &TStubCheck::GetChecked, &TStubCheck::SetChecked)
                                       .Build();
    return &info;
}
TClass TStubRadio::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStubRadio>("TStubRadio")
                                       .Prop("ItemIndex", &TStubRadio::GetItemIndex, &TStubRadio::SetItemIndex)
                                       .Build();
    return &info;
}
TClass TStubPage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStubPage>("TStubPage").Build();
    return &info;
}
TClass TStubPager::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStubPager>("TStubPager")
                                       .Prop("ActivePage", &TStubPager::GetActivePage, &TStubPager::SetActivePage)
                                       .Build();
    return &info;
}
TClass TPlacementForm::StaticClass() {
    using T = TPlacementForm;
    static const TClassInfo info = TClassBuilder<T>("TPlacementForm")
                                       .Field("Check1", &T::Check1)
                                       .Field("Radio1", &T::Radio1)
                                       .Field("Pager1", &T::Pager1)
                                       .Field("Page1", &T::Page1)
                                       .Field("Page2", &T::Page2)
                                       .Field("ZvAppIniFileStorage1", &T::ZvAppIniFileStorage1)
                                       .Field("ZvFormStorage1", &T::ZvFormStorage1)
                                       .Method<TNotifyEvent, &T::FormShow>("FormShow")
                                       .Method<TCloseQueryEvent, &T::FormCloseQuery>("FormCloseQuery")
                                       .Build();
    return &info;
}

String TestFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return IncludeTrailingPathDelimiter(temp) + "qm_placement_test";
}

String SettingsFile() { return TestFolder() + "\\Settings.ini"; }

String ReadFile(const String& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const String& name, const String& text) {
    CreateDirectoryA(TestFolder().c_str(), nullptr);
    std::ofstream out(name, std::ios::binary);
    out << text;
}

// The lines of an INI text without line ends.
std::vector<String> FileLines(const String& text) {
    std::vector<String> lines;
    std::stringstream s(text);
    String line;
    while (std::getline(s, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

String Layout(const String& options, const String& extra = String()) {
    return "object frmMain: TPlacementForm\n"
           "  Left = 40\n"
           "  Top = 30\n"
           "  BorderStyle = bsSizeable\n"
           "  Caption = 'Placement'\n"
           "  ClientHeight = 300\n"
           "  ClientWidth = 400\n"
           "  OnShow = FormShow\n"
           "  OnCloseQuery = FormCloseQuery\n"
           "  object Check1: TStubCheck\n"
           "    Checked = True\n"
           "  end\n"
           "  object Radio1: TStubRadio\n"
           "    ItemIndex = 1\n"
           "  end\n"
           "  object Pager1: TStubPager\n"
           "    ActivePage = Page1\n"
           "    object Page1: TStubPage\n"
           "    end\n"
           "    object Page2: TStubPage\n"
           "    end\n"
           "  end\n"
           "  object ZvAppIniFileStorage1: TZvAppIniFileStorage\n"
           "    Location = flCustom\n"
           "    FileName = '" +
           SettingsFile() +
           "'\n"
           "  end\n"
           "  object ZvFormStorage1: TZvFormStorage\n"
           "    AppStorage = ZvAppIniFileStorage1\n"
           "    AppStoragePath = '%FORM_NAME%\\'\n"
           "    Options = " +
           options + "\n" + extra +
           "    StoredProps.Strings = (\n"
           "      'Check1.Checked'\n"
           "      'Radio1.ItemIndex'\n"
           "      'Pager1.ActivePage'\n"
           "      'Pager1.Tag')\n"
           "  end\n"
           "end\n";
}

class FormPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZvFormPlacementInitialize();
        RegisterClasses({TStubCheck::StaticClass(), TStubRadio::StaticClass(), TStubPage::StaticClass(),
                         TStubPager::StaticClass(), TPlacementForm::StaticClass(),
                         TZvAppIniFileStorage::StaticClass()});
        DeleteFileA(SettingsFile().c_str());
        savedMainForm = Application->MainForm();
        savedBox = Application->MessageBoxFunction;
        // No test may end up in a message box.
        Application->MessageBoxFunction = [this](HWND, const String& text, const String&, UINT) {
            boxes.push_back(text);
            return IDOK;
        };
    }
    void TearDown() override {
        Destroy();
        Application->SetMainForm(savedMainForm);
        Application->MessageBoxFunction = savedBox;
        EXPECT_TRUE(boxes.empty()) << boxes.front();
        DeleteFileA(SettingsFile().c_str());
        Pump();
    }
    TPlacementForm* Start(const String& options = "[fpState, fpSize]", const String& extra = String()) {
        form = new TPlacementForm(Application);
        form->ReadLayout(Layout(options, extra), "placement test");
        form->DoCreate();
        return form;
    }
    void ShowNow() {
        form->Show();
        Pump();
    }
    // Closes as the user would: close query (saving), then the form goes
    // and with it the store, which writes the file.
    void CloseAndDestroy() {
        ASSERT_TRUE(form->CloseQuery());
        Destroy();
    }
    void Destroy() {
        if (form) FreeAndNil(form);
        Pump();
    }
    String Screen() { return Format("(%dx%d)", {::Screen->Width(), ::Screen->Height()}); }

    TPlacementForm* form = nullptr;
    TCustomForm* savedMainForm = nullptr;
    TMessageBoxFunction savedBox;
    std::vector<String> boxes;
};

TEST_F(FormPlacementTest, TheLayoutBuildsTheStorage) {
    Start();
    ASSERT_NE(form->ZvFormStorage1, nullptr);
    EXPECT_EQ(form->ZvFormStorage1->AppStorage(), form->ZvAppIniFileStorage1);
    EXPECT_EQ(form->ZvAppIniFileStorage1->FullFileName(), SettingsFile());
    EXPECT_EQ(form->ZvFormStorage1->AppStoragePath(), "frmMain\\");  // resolved after loading
    EXPECT_EQ(form->ZvFormStorage1->Options(), (TPlacementOptions{fpState, fpSize}));
    ASSERT_EQ(form->ZvFormStorage1->StoredProps()->Count(), 4);
    EXPECT_EQ(form->ZvFormStorage1->StoredProps()->Objects(0), form->Check1);
    // The form's handlers are the placement's now; its own still run.
    ShowNow();
    EXPECT_EQ(form->Seen.Shows, 1);
}

TEST_F(FormPlacementTest, FirstRunWritesTheKeysInOrder) {
    Start();
    ShowNow();
    const int width = form->Width();
    const int height = form->Height();
    form->Radio1->ItemIndex = 2;
    form->Pager1->ActivePage = form->Page2;
    form->Pager1->SetTag(1);
    CloseAndDestroy();
    const std::vector<String> lines = FileLines(ReadFile(SettingsFile()));
    ASSERT_EQ(lines.size(), 14u) << ReadFile(SettingsFile());
    EXPECT_EQ(lines[0], "[frmMain]");
    EXPECT_EQ(lines[1], "FormVersion=0");
    EXPECT_EQ(lines[2], "ShowCmd=1");
    EXPECT_EQ(lines[3], "Flags=0");
    EXPECT_EQ(lines[4], "PixelsPerInch=96");
    const String minMaxKey = "MinMaxPos" + Screen() + "=";
    const String normKey = "NormPos" + Screen() + "=";
    ASSERT_EQ(lines[5].substr(0, minMaxKey.size()), minMaxKey);
    ASSERT_EQ(lines[6].substr(0, 10), "MinMaxPos=");
    EXPECT_EQ(lines[5].substr(minMaxKey.size()), lines[6].substr(10));
    ASSERT_EQ(lines[7].substr(0, normKey.size()), normKey);
    ASSERT_EQ(lines[8].substr(0, 8), "NormPos=");
    EXPECT_EQ(lines[7].substr(normKey.size()), lines[8].substr(8));
    // The normal rectangle has the form's size.
    const String norm = lines[8].substr(8);
    EXPECT_EQ(PlacementField(norm, 3, 0) - PlacementField(norm, 1, 0), width);
    EXPECT_EQ(PlacementField(norm, 4, 0) - PlacementField(norm, 2, 0), height);
    EXPECT_EQ(lines[9], "Check1_Checked=TRUE");
    EXPECT_EQ(lines[10], "Radio1_ItemIndex=2");
    EXPECT_EQ(lines[11], "Pager1_ActivePage=Page2");
    EXPECT_EQ(lines[12], "Pager1_Tag=1");
    EXPECT_EQ(lines[13], "");
}

TEST_F(FormPlacementTest, TheNextStartRestoresBeforeTheFormsOwnShow) {
    Start();
    ShowNow();
    form->Check1->Checked = false;
    form->Radio1->ItemIndex = 0;
    form->Pager1->ActivePage = form->Page2;
    form->SetWidth(form->Width() + 60);
    const int width = form->Width();
    const int left = form->Left();
    CloseAndDestroy();

    Start();
    EXPECT_TRUE(form->Check1->Checked);  // the layout's value until the first show
    ShowNow();
    EXPECT_FALSE(form->Seen.Checked);
    EXPECT_EQ(form->Seen.ItemIndex, 0);
    EXPECT_EQ(form->Seen.Width, width);
    EXPECT_EQ(form->Width(), width);
    EXPECT_EQ(form->Pager1->ActivePage, form->Page2);
    EXPECT_EQ(form->WindowState(), wsNormal);
    (void)left;
}

TEST_F(FormPlacementTest, SizeAloneKeepsTheFormsPlace) {
    WriteFile(SettingsFile(), "[frmMain]\r\nPixelsPerInch=96\r\nNormPos=500,400,1100,800\r\nShowCmd=1\r\n");
    Start();
    const int left = form->Left(), top = form->Top();
    ShowNow();
    EXPECT_EQ(form->Width(), 600);
    EXPECT_EQ(form->Height(), 400);
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(form->Top(), top);
}

TEST_F(FormPlacementTest, LocationTooMovesTheForm) {
    WriteFile(SettingsFile(), "[frmMain]\r\nNormPos=200,150,800,550\r\n");
    Start("[fpState, fpSize, fpLocation]");
    ShowNow();
    EXPECT_EQ(form->Width(), 600);
    EXPECT_EQ(form->Height(), 400);
    EXPECT_EQ(form->Position(), poDesigned);
}

TEST_F(FormPlacementTest, TheCurrentScreensValueWinsOverThePlainOne) {
    WriteFile(SettingsFile(), "[frmMain]\r\nNormPos" + Screen() +
                                  "=0,0,700,500\r\nNormPos(640x480)=0,0,300,300\r\nNormPos=0,0,200,200\r\n");
    Start();
    ShowNow();
    EXPECT_EQ(form->Width(), 700);
    Destroy();
    WriteFile(SettingsFile(), "[frmMain]\r\nNormPos(640x480)=0,0,300,300\r\nNormPos=0,0,450,350\r\n");
    Start();
    ShowNow();
    EXPECT_EQ(form->Width(), 450);
}

TEST_F(FormPlacementTest, AWindowSavedMaximisedOpensMaximised) {
    Start();
    ShowNow();
    form->SetWindowState(wsMaximized);
    Pump();
    ASSERT_TRUE(IsZoomed(form->Handle()));
    CloseAndDestroy();
    EXPECT_NE(ReadFile(SettingsFile()).find("ShowCmd=3"), String::npos);

    Start();
    ShowNow();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->WindowState(), wsMaximized);
}

TEST_F(FormPlacementTest, AMinimisedMainFormMinimisesThroughTheApplication) {
    WriteFile(SettingsFile(), "[frmMain]\r\nShowCmd=2\r\n");
    Start();
    Application->SetMainForm(form);
    form->Show();
    // Shown normal first; the application's posted minimise follows.
    EXPECT_FALSE(IsIconic(form->Handle()));
    Pump();
    EXPECT_TRUE(IsIconic(form->Handle()));
}

TEST_F(FormPlacementTest, OtherPixelsPerInchKeepsTheSizeButNotTheState) {
    WriteFile(SettingsFile(), "[frmMain]\r\nPixelsPerInch=120\r\nNormPos=0,0,900,700\r\nShowCmd=3\r\n");
    Start();
    const int width = form->Width();
    ShowNow();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    form->SetWindowState(wsNormal);
    Pump();
    EXPECT_EQ(form->Width(), width);
}

TEST_F(FormPlacementTest, AFormClosedBeforeItWasShownSavesOnlyItsVersion) {
    Start();
    form->Radio1->ItemIndex = 3;
    CloseAndDestroy();
    EXPECT_EQ(FileLines(ReadFile(SettingsFile())), (std::vector<String>{"[frmMain]", "FormVersion=0", ""}));
}

TEST_F(FormPlacementTest, DestroyWithoutCloseSavesOnce) {
    Start();
    ShowNow();
    form->Radio1->ItemIndex = 4;
    Destroy();
    EXPECT_NE(ReadFile(SettingsFile()).find("Radio1_ItemIndex=4"), String::npos);
}

TEST_F(FormPlacementTest, ARefusedCloseSavesNothing) {
    Start();
    ShowNow();
    form->AllowClose = false;
    EXPECT_FALSE(form->CloseQuery());
    EXPECT_FALSE(form->ZvFormStorage1->Saved());
}

TEST_F(FormPlacementTest, AnOlderStoredVersionRestoresNothingAndIsReplaced) {
    WriteFile(SettingsFile(), "[frmMain]\r\nFormVersion=1\r\nRadio1_ItemIndex=0\r\nNormPos=0,0,900,700\r\n");
    Start("[fpState, fpSize]", "    Version = 2\n");
    const int width = form->Width();
    ShowNow();
    EXPECT_EQ(form->Radio1->ItemIndex, 1);
    EXPECT_EQ(form->Width(), width);
    EXPECT_TRUE(form->ZvFormStorage1->Restored());
    CloseAndDestroy();
    EXPECT_NE(ReadFile(SettingsFile()).find("FormVersion=2"), String::npos);
}

TEST_F(FormPlacementTest, BadValuesAndGarbageStillStartWithDefaults) {
    WriteFile(SettingsFile(),
              String("[frmMain]\r\nRadio1_ItemIndex=abc\r\nCheck1_Checked=FALSE\r\n"
                     "Pager1_ActivePage=Check1\r\nNormPos=x,y\r\nShowCmd=zz\r\n\x01\xff\xfe garbage\r\n"));
    Start();
    ShowNow();
    EXPECT_EQ(form->Radio1->ItemIndex, 1);
    EXPECT_FALSE(form->Check1->Checked);
    EXPECT_EQ(form->Pager1->ActivePage, form->Page1);  // not a page: not assigned
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

class TErrorCatcher : public TObject {
public:
    String Message;
    void OnException(TObject*, const Exception& e) { Message = e.Message(); }
    void Raise(TObject*) { throw Exception("restore failed"); }
};

TEST_F(FormPlacementTest, AnErrorWhileRestoringGoesToTheApplicationAndTheFormShows) {
    TErrorCatcher catcher;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = TExceptionEvent::Bind<&TErrorCatcher::OnException>(&catcher);
    Start();
    form->ZvFormStorage1->BeforeRestorePlacement = TNotifyEvent::Bind<&TErrorCatcher::Raise>(&catcher);
    ShowNow();
    Application->OnException = saved;
    EXPECT_EQ(catcher.Message, "restore failed");
    EXPECT_EQ(form->Seen.Shows, 1);
}

TEST_F(FormPlacementTest, SizeLimitsAnswerTheMinMaxQuery) {
    Start();
    ShowNow();
    TZvWinMinMaxInfo* limits = form->ZvFormStorage1->MinMaxInfo();
    EXPECT_EQ(form->ZvFormStorage1->WinHook()->Control(), nullptr);  // no limits: no hook
    limits->SetMinTrackWidth(250);
    limits->SetMaxTrackHeight(500);
    EXPECT_EQ(form->ZvFormStorage1->WinHook()->Control(), form);
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3, 4};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 250);
    EXPECT_EQ(info.ptMaxTrackSize.y, 500);
    EXPECT_NE(info.ptMinTrackSize.y, 0);  // zero limits leave the system's value
    form->SetWidth(100);
    EXPECT_GE(form->Width(), 250);
    limits->SetMinTrackWidth(0);
    limits->SetMaxTrackHeight(0);
    EXPECT_EQ(form->ZvFormStorage1->WinHook()->Control(), nullptr);
}

TEST_F(FormPlacementTest, PreventResizeFixesTheSize) {
    Start();
    ShowNow();
    EXPECT_NE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    form->ZvFormStorage1->SetPreventResize(true);
    Pump();
    EXPECT_EQ(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    RECT r;
    GetWindowRect(form->Handle(), &r);
    const LRESULT hit = SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2));
    EXPECT_EQ(hit, HTNOWHERE);
    const int width = form->Width();
    MINMAXINFO info{};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, width);
    EXPECT_EQ(info.ptMaxTrackSize.x, width);
    form->ZvFormStorage1->SetPreventResize(false);
    Pump();
    EXPECT_NE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
}

// A main menu that records the popups it is asked to dispatch, and whether
// one of its items took each.
class TRecordingMenu : public TMainMenu {
public:
    explicit TRecordingMenu(TComponent* owner) : TMainMenu(owner) {}
    std::vector<std::pair<HMENU, bool>> Dispatched;
    bool DispatchPopup(HMENU menu) override {
        const bool found = TMainMenu::DispatchPopup(menu);
        Dispatched.emplace_back(menu, found);
        return found;
    }
};

struct TClickCount : TObject {
    int Clicks = 0;
    void Click(TObject*) { ++Clicks; }
};

// Sends the system menu's WM_INITMENUPOPUP with sizing and maximising
// enabled before, and says whether both came out greyed.
bool SystemMenuOpensGreyed(HWND window) {
    HMENU system = GetSystemMenu(window, FALSE);
    EnableMenuItem(system, SC_SIZE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(system, SC_MAXIMIZE, MF_BYCOMMAND | MF_ENABLED);
    SendMessageA(window, WM_INITMENUPOPUP, WPARAM(system), MAKELPARAM(0, TRUE));
    const UINT size = GetMenuState(system, SC_SIZE, MF_BYCOMMAND);
    const UINT maximise = GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND);
    return size != UINT(-1) && maximise != UINT(-1) && (size & MF_GRAYED) && (maximise & MF_GRAYED);
}

TEST_F(FormPlacementTest, PreventResizeDispatchesTheSystemMenuAndGreysSizing) {
    Start();
    ShowNow();
    form->ZvFormStorage1->SetPreventResize(true);
    Pump();
    // Without a main menu there is nothing to dispatch to.
    EXPECT_TRUE(SystemMenuOpensGreyed(form->Handle()));

    auto* menu = new TRecordingMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    auto* open = new TMenuItem(form);
    open->SetCaption("&Open");
    file->Add(open);
    menu->Items()->Add(file);
    TClickCount count;
    file->OnClick = TNotifyEvent::Bind<&TClickCount::Click>(&count);
    form->SetMenu(menu);
    HWND window = form->Handle();
    ASSERT_EQ(GetMenu(window), menu->Handle());
    // The system menu is none of the main menu's sub-menus: it is asked,
    // finds no item, and the sizing items are greyed all the same.
    EXPECT_TRUE(SystemMenuOpensGreyed(window));
    const HMENU system = GetSystemMenu(window, FALSE);
    EXPECT_EQ(menu->Dispatched, (std::vector<std::pair<HMENU, bool>>{{system, false}}));
    EXPECT_EQ(count.Clicks, 0);
    // A sub-menu of the bar is the form's own to dispatch, once.
    menu->Dispatched.clear();
    SendMessageA(window, WM_INITMENUPOPUP, WPARAM(menu->SubMenuOf(file)), MAKELPARAM(0, FALSE));
    EXPECT_EQ(menu->Dispatched, (std::vector<std::pair<HMENU, bool>>{{menu->SubMenuOf(file), true}}));
    EXPECT_EQ(count.Clicks, 1);
    // Without resize prevention the placement leaves the system menu be.
    form->ZvFormStorage1->SetPreventResize(false);
    Pump();
    menu->Dispatched.clear();
    EXPECT_FALSE(SystemMenuOpensGreyed(form->Handle()));
    EXPECT_TRUE(menu->Dispatched.empty());
}

TEST_F(FormPlacementTest, WritingTheLayoutTakesTheComponentsCurrentNames) {
    Start();
    form->Check1->SetName("CheckA");
    const String text = TWriter().WriteRootComponent(form);
    EXPECT_NE(text.find("'CheckA.Checked'"), String::npos) << text;
    EXPECT_EQ(text.find("'Check1.Checked'"), String::npos) << text;
    EXPECT_EQ(form->ZvFormStorage1->StoredProps()->Strings(0), "CheckA.Checked");
}

TEST_F(FormPlacementTest, StoredValuesFromTheLayoutAreSavedAndRestoredWithTheirType) {
    const String values = "    StoredValuesPath = 'Values'\n"
                          "    StoredValues = <\n"
                          "      item\n"
                          "        Name = 'Zoom'\n"
                          "        Value = 3\n"
                          "      end\n"
                          "      item\n"
                          "        Name = 'Price'\n"
                          "        Value = 1.25c\n"
                          "      end\n"
                          "      item\n"
                          "        Name = 'Title'\n"
                          "        Value = 'abc'\n"
                          "      end>\n";
    Start("[fpState, fpSize]", values);
    TZvStoredValues* stored = form->ZvFormStorage1->StoredValues();
    ASSERT_EQ(stored->Count(), 3);
    EXPECT_EQ(stored->FindByName("Price")->Value(), Variant::Currency(1.25));
    ShowNow();
    stored->FindByName("Zoom")->SetValue(Variant::Of(5, varByte));
    stored->FindByName("Price")->SetValue(Variant::Currency(2.5));
    stored->FindByName("Title")->SetValue("changed");
    // The layout written now holds the values as they are.
    const String text = TWriter().WriteRootComponent(form);
    EXPECT_NE(text.find("        Value = 5\r\n"), String::npos) << text;
    EXPECT_NE(text.find("        Value = 'changed'\r\n"), String::npos) << text;
    CloseAndDestroy();
    const String file = ReadFile(SettingsFile());
    // Floats are stored the store's way, as the bytes of the number.
    EXPECT_NE(file.find("[frmMain\\Values]\r\nZoom=5\r\nPrice="), String::npos) << file;
    EXPECT_NE(file.find("\r\nTitle=changed\r\n"), String::npos) << file;

    // The next start reads the layout's values, then the stored ones.
    Start("[fpState, fpSize]", values);
    ShowNow();
    stored = form->ZvFormStorage1->StoredValues();
    EXPECT_EQ(stored->FindByName("Zoom")->Value(), Variant::Of(5, varShortInt));
    EXPECT_EQ(stored->FindByName("Price")->Value(), Variant::Currency(2.5));
    EXPECT_EQ(stored->FindByName("Title")->Value(), Variant("changed"));
}

// A listener that keeps one value of its own with the placement.
class TCountLink : public TZvPlacementLink {
public:
    int Count = 0;
    std::vector<String>* Log = nullptr;
    void Saved(TObject*) {
        Log->push_back("save");
        Placement()->WriteInteger("LinkCount", Count);
    }
    void Loaded(TObject*) {
        Log->push_back("load");
        Count = Placement()->ReadInteger("LinkCount", -1);
    }
};

TEST_F(FormPlacementTest, LinkedListenersSaveAndRestoreWithThePlacement) {
    std::vector<String> log;
    auto first = std::make_unique<TCountLink>(), second = std::make_unique<TCountLink>();
    for (TCountLink* link : {first.get(), second.get()}) {
        link->Log = &log;
        link->OnSave = TNotifyEvent::Bind<&TCountLink::Saved>(link);
        link->OnLoad = TNotifyEvent::Bind<&TCountLink::Loaded>(link);
    }
    Start();
    first->SetPlacement(form->ZvFormStorage1);
    second->SetPlacement(form->ZvFormStorage1);
    EXPECT_EQ(form->ZvFormStorage1->LinkCount(), 2);
    ShowNow();  // restores: both are told, in order
    EXPECT_EQ(log, (std::vector<String>{"load", "load"}));
    EXPECT_EQ(first->Count, -1);
    first->Count = 7;
    second->SetPlacement(nullptr);  // unlinked: not told any more
    EXPECT_EQ(form->ZvFormStorage1->LinkCount(), 1);
    CloseAndDestroy();
    EXPECT_EQ(log, (std::vector<String>{"load", "load", "save"}));
    EXPECT_EQ(first->Placement(), nullptr);  // the placement's end unlinks it
    EXPECT_NE(ReadFile(SettingsFile()).find("LinkCount=7"), String::npos);

    log.clear();
    Start();
    first->SetPlacement(form->ZvFormStorage1);
    ShowNow();
    EXPECT_EQ(first->Count, 7);
    first.reset();  // a listener's end unlinks it too
    EXPECT_EQ(form->ZvFormStorage1->LinkCount(), 0);
    CloseAndDestroy();
}

TEST_F(FormPlacementTest, ThePlacementsEndGivesTheFormItsHandlersBack) {
    Start();
    const TNotifyEvent placementShow = form->OnShow;
    delete form->ZvFormStorage1;
    form->ZvFormStorage1 = nullptr;
    EXPECT_FALSE(form->OnShow == placementShow);
    ShowNow();
    EXPECT_EQ(form->Seen.Shows, 1);
}

}  // namespace

// The standard controls under Wine: labels, buttons, check boxes, radio
// buttons, group boxes, combo boxes, scroll bars and edits, each read from
// a stored layout, shown, and driven by the messages their windows send.
#include "stdctrls_test_support.h"
#include "ui_test_support.h"

using namespace stdctrls_test;

namespace {

class StdEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
    void TearDown() override { ClasslibUiFinalize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new StdEnvironment);

LONG WindowStyle(TWinControl* c) { return GetWindowLongA(c->Handle(), GWL_STYLE); }
LRESULT CheckState(TWinControl* c) { return SendMessageA(c->Handle(), BM_GETCHECK, 0, 0); }

// ============================================================================
// Labels
// ============================================================================

const char* const LabelLayout = R"(object Form1: TForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientHeight = 120
  ClientWidth = 200
  Color = clWhite
  object Label1: TLabel
    Left = 10
    Top = 10
    Caption = 'Advanced Settings'
  end
  object Label2: TLabel
    Left = 150
    Top = 40
    Width = 40
    Alignment = taRightJustify
    Caption = 'Wide text here'
  end
  object Label3: TLabel
    Left = 10
    Top = 70
    AutoSize = False
    Width = 30
    Height = 20
    Caption = '&Name'
    Color = clRed
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 60
    Top = 70
  end
end
)";

class LabelTest : public LayoutFormTest {
protected:
    void SetUp() override { Load(LabelLayout); }
};

TEST_F(LabelTest, AutoSizeFitsTheTextAndARightAlignedLabelKeepsItsRightEdge) {
    auto* label1 = Find<TLabel>("Label1");
    auto* label2 = Find<TLabel>("Label2");
    TSize text = MeasureText(label1->Font(), "Advanced Settings");
    EXPECT_EQ(label1->Width(), text.cx);
    EXPECT_EQ(label1->Height(), text.cy);
    EXPECT_EQ(label1->TextSize().cx, text.cx);
    EXPECT_EQ(label2->Left() + label2->Width(), 190);
    EXPECT_GT(label2->Width(), 40);
    // Not auto-sized: the stored size stays.
    auto* label3 = Find<TLabel>("Label3");
    EXPECT_EQ(label3->Width(), 30);
    // A new caption resizes at once.
    int before = label1->Width();
    label1->SetCaption("Advanced Settings and more");
    EXPECT_GT(label1->Width(), before);
    // An empty label keeps one line's height.
    label1->SetCaption("");
    EXPECT_EQ(label1->Height(), text.cy);
}

TEST_F(LabelTest, PaintsItsColourUnlessTransparentAndItsTextInTheFontColour) {
    ShowForm();
    auto* label3 = Find<TLabel>("Label3");
    label3->SetCaption("");
    {
        TDib dib(40, 30, RGB(0, 255, 0));
        label3->PaintTo(dib.DC(), 0, 0);
        EXPECT_EQ(dib.At(15, 10), RGB(255, 0, 0));
        EXPECT_EQ(dib.At(35, 25), RGB(0, 255, 0));  // outside the label
    }
    label3->SetTransparent(true);
    {
        TDib dib(40, 30, RGB(0, 255, 0));
        label3->PaintTo(dib.DC(), 0, 0);
        EXPECT_EQ(dib.At(15, 10), RGB(0, 255, 0));
    }
    auto* label1 = Find<TLabel>("Label1");
    label1->Font()->SetColor(clBlack);
    label1->SetColor(clWhite);
    TDib dib(200, 40, RGB(0, 0, 255));
    label1->PaintTo(dib.DC(), 0, 0);
    EXPECT_TRUE(dib.AnyOtherThan(Rect(0, 0, label1->Width(), label1->Height()), RGB(255, 255, 255)));
    EXPECT_FALSE(dib.AnyOtherThan(Rect(label1->Width(), 0, 200, 40), RGB(0, 0, 255)));
}

TEST_F(LabelTest, AcceleratorFocusesTheFocusControlWhichIsForgottenWhenFreed) {
    ShowForm();
    auto* label3 = Find<TLabel>("Label3");
    auto* edit = Find<TEdit>("Edit1");
    ASSERT_EQ(label3->FocusControl(), edit);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'n'), 1);
    Pump();
    EXPECT_TRUE(edit->Focused());
    edit->Free();
    EXPECT_EQ(label3->FocusControl(), nullptr);
}

TEST_F(LabelTest, AWindowGetsItsNewFontWhenTheFontChanges) {
    ShowForm();
    auto* edit = Find<TEdit>("Edit1");
    edit->Font()->SetName("Courier New");
    HFONT used = HFONT(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(used, edit->Font()->Handle());
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(used, sizeof lf, &lf), 0) << "the window holds a freed font";
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
}

TEST(IsAccel, FindsTheMarkedCharacter) {
    struct Case {
        Word Key;
        const char* Caption;
        bool Expected;
    } cases[] = {{'O', "&Open", true},     {'o', "&Open", true},    {'p', "&Open", false},
                 {'S', "Save &As", false}, {'A', "Save &As", true}, {'B', "&&B", false},
                 {'C', "&&B &C", true},    {'X', "X&", false},      {'X', "", false}};
    for (const Case& c : cases) EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Expected) << c.Caption << " " << char(c.Key);
}

// ============================================================================
// Buttons
// ============================================================================

const char* const ButtonLayout = R"(object Form1: TForm
  BorderStyle = bsSingle
  ClientHeight = 120
  ClientWidth = 300
  object OkButton: TButton
    Left = 10
    Top = 10
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
  object CancelButton: TButton
    Left = 100
    Top = 10
    Caption = '&Cancel'
    Cancel = True
  end
  object Edit1: TEdit
    Left = 10
    Top = 50
    Text = 'typed'
  end
end
)";

class ButtonTest : public LayoutFormTest {
protected:
    void SetUp() override {
        Load(ButtonLayout);
        ok = Find<TButton>("OkButton");
        cancel = Find<TButton>("CancelButton");
        edit = Find<TEdit>("Edit1");
        ok->OnClick = log.OnClick();
        cancel->OnClick = log.OnClick();
        ShowForm();
    }
    TEventLog log;
    TButton* ok = nullptr;
    TButton* cancel = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(ButtonTest, ClicksOfTheWindowReachOnClickOnceAndSetTheModalResult) {
    SendMessageA(cancel->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click CancelButton"}));
    EXPECT_EQ(form->ModalResult(), mrNone);
    LPARAM at = MAKELPARAM(5, 5);
    SendMessageA(ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(ok->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click CancelButton", "click OkButton"}));
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Focused());
    // A disabled button ignores what its window reports.
    ok->SetEnabled(false);
    Notify(ok, BN_CLICKED);
    EXPECT_EQ(log.Events.size(), 2u);
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonOrTheFocusedOneAndEscapeTheCancelButton) {
    edit->SetFocus();
    Pump();
    EXPECT_EQ(WindowStyle(ok) & 0x0F, BS_DEFPUSHBUTTON);
    // A real key press in the edit goes through the dialog keys.
    PostMessageA(edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click OkButton"}));
    log.Events.clear();
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click CancelButton"}));
    // While another button has the focus, Enter is that button's.
    log.Events.clear();
    cancel->SetFocus();
    Pump();
    EXPECT_EQ(WindowStyle(ok) & 0x0F, BS_PUSHBUTTON);
    EXPECT_EQ(WindowStyle(cancel) & 0x0F, BS_DEFPUSHBUTTON);
    form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click CancelButton"}));
    // The accelerator of a caption clicks too.
    log.Events.clear();
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'c'), 1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click CancelButton"}));
}

TEST_F(ButtonTest, ShowsTheChosenImageOfItsListUntilTheListGoes) {
    ok->SetCaption("");
    auto* list = new TImageList(form);
    for (TColor colour : {clRed, clLime}) list->Add(MakeBitmap(16, 16, colour).get(), nullptr);
    auto shown = [&] { return HICON(SendMessageA(ok->Handle(), BM_GETIMAGE, IMAGE_ICON, 0)); };
    // The colour in the middle of the icon the window shows.
    auto centre = [&] {
        auto target = MakeBitmap(16, 16, clWhite);
        DrawIconEx(target->Canvas()->Handle(), 0, 0, shown(), 16, 16, 0, nullptr, DI_NORMAL);
        return GetPixel(target->Canvas()->Handle(), 8, 8);
    };
    EXPECT_EQ(ok->ImageIndex(), -1);
    ok->SetImages(list);
    EXPECT_EQ(shown(), nullptr);
    ok->SetImageIndex(1);
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(centre(), RGB(0, 255, 0));
    ok->SetImageIndex(0);
    EXPECT_EQ(centre(), RGB(255, 0, 0));
    // A new window shows it too; an index past the list shows none.
    ok->RecreateWnd();
    Pump();
    EXPECT_EQ(centre(), RGB(255, 0, 0));
    ok->SetImageIndex(2);
    EXPECT_EQ(shown(), nullptr);
    ok->SetImageIndex(1);
    delete list;
    EXPECT_EQ(ok->Images(), nullptr);
    EXPECT_EQ(shown(), nullptr);
}

TEST_F(ButtonTest, EditTextFollowsTheWindowBothWays) {
    char text[32] = {};
    GetWindowTextA(edit->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "typed");
    edit->OnChange = log.OnChange();
    SetWindowTextA(edit->Handle(), "other");
    EXPECT_EQ(edit->Text(), "other");
    EXPECT_EQ(log.Events, (std::vector<std::string>{"change Edit1"}));
    edit->SetMaxLength(3);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
}

// ============================================================================
// Check boxes and radio buttons
// ============================================================================

class TCheckForm : public TForm {
    QL_CLASS(TCheckForm, TForm)
public:
    explicit TCheckForm(TComponent* owner) : TForm(owner) {}
    TCheckBox* Asm = nullptr;
    TCheckBox* Hex = nullptr;
    TCheckBox* Rom = nullptr;
    TCheckBox* Ram = nullptr;
    int AsmClicks = 0;
    // Generating the listing switches its three parts with it.
    void AsmClick(TObject*) {
        ++AsmClicks;
        Hex->SetChecked(Asm->Checked());
        Rom->SetChecked(Asm->Checked());
        Ram->SetChecked(Asm->Checked());
    }
};

TClass TCheckForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCheckForm>("TCheckForm")
                                       .Field("Asm", &TCheckForm::Asm)
                                       .Field("Hex", &TCheckForm::Hex)
                                       .Field("Rom", &TCheckForm::Rom)
                                       .Field("Ram", &TCheckForm::Ram)
                                       .Method<TNotifyEvent, &TCheckForm::AsmClick>("AsmClick")
                                       .Build();
    return &info;
}

const char* const CheckLayout = R"(object CheckForm: TCheckForm
  ClientHeight = 200
  ClientWidth = 300
  object Asm: TCheckBox
    Left = 8
    Top = 8
    Caption = 'Generate ASM file'
    Checked = True
    State = cbChecked
    OnClick = AsmClick
  end
  object Hex: TCheckBox
    Left = 8
    Top = 30
    Caption = 'Include HEX opcodes'
    Checked = True
    State = cbChecked
  end
  object Rom: TCheckBox
    Left = 8
    Top = 52
    Caption = 'Include ROM constants'
    Checked = True
    State = cbChecked
  end
  object Ram: TCheckBox
    Left = 8
    Top = 74
    Caption = 'Include RAM addresses'
  end
  object Radio1: TRadioButton
    Left = 150
    Top = 8
    Caption = 'One'
    Checked = True
    TabStop = True
  end
  object Radio2: TRadioButton
    Left = 150
    Top = 30
    Caption = 'Two'
  end
end
)";

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClass(TCheckForm::StaticClass());
        form = new TCheckForm(Application);
        form->ReadLayout(CheckLayout, "test");
        form->Show();
        Pump();
    }
    void TearDown() override { FreeAndNil(form); }
    TCheckForm* form = nullptr;
};

TEST_F(CheckTest, StoredStateReachesTheWindowWithoutRunningOnClick) {
    EXPECT_EQ(form->AsmClicks, 0);
    EXPECT_TRUE(form->Asm->Checked());
    EXPECT_FALSE(form->Ram->Checked());
    EXPECT_EQ(CheckState(form->Asm), BST_CHECKED);
    EXPECT_EQ(CheckState(form->Ram), BST_UNCHECKED);
    EXPECT_EQ(WindowStyle(form->Asm) & 0x0F, BS_3STATE);
}

TEST_F(CheckTest, UserTogglesAndProgramChangesRunOnClickAndTheCouplingFollows) {
    SendMessageA(form->Asm->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->AsmClicks, 1);
    EXPECT_FALSE(form->Asm->Checked());
    EXPECT_EQ(CheckState(form->Asm), BST_UNCHECKED);
    for (TCheckBox* c : {form->Hex, form->Rom, form->Ram}) {
        EXPECT_FALSE(c->Checked()) << c->Name();
        EXPECT_EQ(CheckState(c), BST_UNCHECKED) << c->Name();
    }
    SendMessageA(form->Asm->Handle(), BM_CLICK, 0, 0);
    for (TCheckBox* c : {form->Hex, form->Rom, form->Ram}) EXPECT_TRUE(c->Checked()) << c->Name();
    // Each of the three can still change alone.
    SendMessageA(form->Rom->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form->Rom->Checked());
    EXPECT_TRUE(form->Hex->Checked());
    // Setting Checked from the program runs OnClick too, once per change.
    form->Asm->SetChecked(false);
    form->Asm->SetChecked(false);
    EXPECT_EQ(form->AsmClicks, 3);
    EXPECT_FALSE(form->Hex->Checked());
    // A disabled box ignores its window.
    form->Asm->SetEnabled(false);
    Notify(form->Asm, BN_CLICKED);
    EXPECT_EQ(form->AsmClicks, 3);
    EXPECT_FALSE(form->Asm->Checked());
}

TEST_F(CheckTest, GrayedStateComesInTurnWhenAllowed) {
    TCheckBox* box = form->Ram;
    box->SetAllowGrayed(true);
    std::vector<TCheckBoxState> states;
    std::vector<LRESULT> windowStates;
    for (int i = 0; i < 3; ++i) {
        SendMessageA(box->Handle(), BM_CLICK, 0, 0);
        states.push_back(box->State());
        windowStates.push_back(CheckState(box));
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(windowStates, (std::vector<LRESULT>{BST_INDETERMINATE, BST_CHECKED, BST_UNCHECKED}));
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(CheckState(box), BST_INDETERMINATE);
    // The window keeps the state across a new window.
    box->SetAlignment(taLeftJustify);
    EXPECT_EQ(CheckState(box), BST_INDETERMINATE);
    EXPECT_NE(WindowStyle(box) & BS_LEFTTEXT, 0);
}

TEST_F(CheckTest, CheckingARadioButtonUnchecksItsSiblingsAndMovesTheTabStop) {
    auto* one = static_cast<TRadioButton*>(form->FindComponent("Radio1"));
    auto* two = static_cast<TRadioButton*>(form->FindComponent("Radio2"));
    TEventLog log;
    one->OnClick = log.OnClick();
    two->OnClick = log.OnClick();
    EXPECT_TRUE(one->Checked());
    EXPECT_TRUE(one->TabStop());
    EXPECT_FALSE(two->TabStop());
    SendMessageA(two->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(two->Checked());
    EXPECT_FALSE(one->Checked());
    EXPECT_EQ(CheckState(one), BST_UNCHECKED);
    EXPECT_EQ(CheckState(two), BST_CHECKED);
    EXPECT_TRUE(two->TabStop());
    EXPECT_FALSE(one->TabStop());
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click Radio2"}));
    // Checking the checked one again changes nothing.
    SendMessageA(two->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(log.Events.size(), 1u);
    one->SetChecked(true);
    EXPECT_FALSE(two->Checked());
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click Radio2", "click Radio1"}));
}

// ============================================================================
// Group boxes
// ============================================================================

const char* const GroupLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  Color = clRed
  object Group1: TGroupBox
    Left = 10
    Top = 10
    Width = 150
    Height = 100
    Caption = 'Project Files'
    ParentBackground = False
    Color = clLime
    object Inner: TPanel
      Align = alClient
      BevelOuter = bvNone
    end
  end
  object Group2: TGroupBox
    Left = 170
    Top = 10
    Width = 100
    Height = 100
    Caption = 'Start Page'
  end
end
)";

class GroupBoxTest : public LayoutFormTest {
protected:
    void SetUp() override { Load(GroupLayout); }
};

TEST_F(GroupBoxTest, ChildrenShareTheAreaInsideTheFrame) {
    auto* group = Find<TGroupBox>("Group1");
    auto* inner = Find<TPanel>("Inner");
    int h = MeasureText(group->Font(), "0").cy;
    EXPECT_EQ(inner->BoundsRect(), Rect(2, h + 2, 148, 98));
    ShowForm();
    EXPECT_EQ(inner->BoundsRect(), Rect(2, h + 2, 148, 98));
    group->SetCtl3D(false);
    EXPECT_EQ(inner->BoundsRect(), Rect(1, h + 1, 149, 99));
}

TEST_F(GroupBoxTest, PaintsAnEtchedFrameBrokenByTheCaptionOnItsOwnOrItsParentsBackground) {
    Find<TPanel>("Inner")->Free();
    ShowForm();
    auto* group = Find<TGroupBox>("Group1");
    int h = MeasureText(group->Font(), "0").cy;
    {
        TDib dib(150, 100, RGB(0, 0, 255));
        group->PaintTo(dib.DC(), 0, 0);
        EXPECT_EQ(dib.At(0, 50), Sys(clBtnShadow));
        EXPECT_EQ(dib.At(1, 50), Sys(clBtnHighlight));
        EXPECT_EQ(dib.At(148, 50), Sys(clBtnShadow));
        EXPECT_EQ(dib.At(149, 50), Sys(clBtnHighlight));
        EXPECT_EQ(dib.At(75, 60), RGB(0, 255, 0));
        // The top line runs right of the caption, not behind it.
        EXPECT_EQ(dib.At(145, h / 2 - 1), Sys(clBtnShadow));
        EXPECT_NE(dib.At(9, h / 2 - 1), Sys(clBtnShadow));
    }
    // The second box shows its parent's red through.
    auto* group2 = Find<TGroupBox>("Group2");
    TDib dib(100, 100, RGB(0, 0, 255));
    group2->PaintTo(dib.DC(), 0, 0);
    EXPECT_EQ(dib.At(50, 60), RGB(255, 0, 0));
}

// ============================================================================
// Combo boxes
// ============================================================================

const char* const ComboLayout = R"(object Form1: TForm
  ClientHeight = 200
  ClientWidth = 300
  object List1: TComboBox
    Left = 8
    Top = 8
    Style = csDropDownList
    ItemIndex = 4
    Items.Strings = (
      'Zero'
      'One'
      'Two'
      'Three'
      'Four'
      'Five')
  end
  object Drop1: TComboBox
    Left = 8
    Top = 40
    Text = 'typed'
    Items.Strings = (
      'alpha'
      'beta')
  end
  object Layouts: TComboBox
    Left = 8
    Top = 72
    Style = csDropDownList
  end
end
)";

class ComboBoxTest : public LayoutFormTest {
protected:
    void SetUp() override {
        Load(ComboLayout);
        list = Find<TComboBox>("List1");
        drop = Find<TComboBox>("Drop1");
    }
    static int WindowIndex(TComboBox* c) { return int(SendMessageA(c->Handle(), CB_GETCURSEL, 0, 0)); }
    static int WindowCount(TComboBox* c) { return int(SendMessageA(c->Handle(), CB_GETCOUNT, 0, 0)); }
    TComboBox* list = nullptr;
    TComboBox* drop = nullptr;
};

TEST_F(ComboBoxTest, StoredLinesAndSelectionWaitForTheWindowAndGoIntoIt) {
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(list->Items()->Count(), 6);
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(list->Text(), "Four");
    EXPECT_EQ(drop->Text(), "typed");
    EXPECT_EQ(drop->ItemIndex(), -1);
    ShowForm();
    ASSERT_TRUE(list->HandleAllocated());
    EXPECT_EQ(WindowCount(list), 6);
    EXPECT_EQ(WindowIndex(list), 4);
    EXPECT_EQ(list->Text(), "Four");
    EXPECT_EQ(list->Items()->Strings(5), "Five");
    EXPECT_EQ(WindowStyle(list) & 3, CBS_DROPDOWNLIST);
    char text[32] = {};
    GetWindowTextA(drop->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "typed");
    // The window's selection is the control's.
    SendMessageA(list->Handle(), CB_SETCURSEL, 2, 0);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->SetItemIndex(1);
    EXPECT_EQ(WindowIndex(list), 1);
    list->SetItemIndex(17);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ComboBoxTest, LinesSelectionAndTextSurviveANewWindow) {
    ShowForm();
    list->SetItemIndex(3);
    list->Items()->SetObjects(3, list);
    drop->SetText("edited");
    HWND old = list->Handle();
    list->SetCtl3D(false);
    EXPECT_NE(list->Handle(), old);
    EXPECT_EQ(WindowCount(list), 6);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->Items()->Objects(3), list);
    // A new style keeps them too, and so does the window of the form.
    drop->SetStyle(csSimple);
    EXPECT_EQ(drop->Text(), "edited");
    EXPECT_EQ(drop->Items()->Count(), 2);
    form->SetBorderStyle(bsSingle);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(WindowCount(list), 6);
    EXPECT_EQ(drop->Text(), "edited");
    // Without a window the control keeps them.
    list->SetParent(nullptr);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(list->Items()->Count(), 6);
    EXPECT_EQ(list->ItemIndex(), 3);
    list->SetParent(form);
    EXPECT_EQ(WindowIndex(list), 3);
}

TEST_F(ComboBoxTest, ClearDropsTheSelectionWithOrWithoutAWindow) {
    auto check = [&] {
        list->SetItemIndex(2);
        ASSERT_EQ(list->ItemIndex(), 2);
        list->Items()->Clear();
        EXPECT_EQ(list->ItemIndex(), -1);
        EXPECT_EQ(list->Text(), "");
        list->Items()->Add("------------");
        EXPECT_EQ(list->ItemIndex(), -1);
        list->Items()->Add("Default");
        list->SetItemIndex(0);
        EXPECT_EQ(list->Text(), "------------");
    };
    check();
    list->Items()->SetCommaText("a,b,c");
    ShowForm();
    check();
    // Typed text of a drop-down combo box stays.
    drop->SetText("kept");
    drop->Items()->Clear();
    EXPECT_EQ(drop->Text(), "kept");
}

TEST_F(ComboBoxTest, BadIndexesRaiseTheListIndexError) {
    auto expectError = [&](int index) {
        try {
            (void)list->Items()->Strings(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    };
    for (int index : {-1, 6, 100}) expectError(index);
    ShowForm();
    for (int index : {-1, 6}) expectError(index);
    EXPECT_THROW(list->Items()->Delete(6), EStringListError);
    EXPECT_THROW(list->Items()->Insert(8, "x"), EStringListError);
}

TEST_F(ComboBoxTest, EditingLinesKeepsTheSelectionOnItsLine) {
    auto run = [&] {
        list->SetItemIndex(2);  // 'Two'
        list->Items()->Insert(0, "Minus");
        EXPECT_EQ(list->Text(), "Two");
        list->Items()->Delete(0);
        EXPECT_EQ(list->Text(), "Two");
        list->Items()->Delete(list->ItemIndex());
        EXPECT_EQ(list->ItemIndex(), -1);
        list->Items()->Insert(2, "Two");
    };
    run();
    ShowForm();
    run();
}

TEST_F(ComboBoxTest, SortedLinesComeInOrderWithOrWithoutAWindow) {
    auto* layouts = Find<TComboBox>("Layouts");
    layouts->SetSorted(true);
    for (const char* s : {"delta", "Alpha", "charlie", "bravo"}) layouts->Items()->Add(s);
    EXPECT_EQ(layouts->Items()->CommaText(), "Alpha,bravo,charlie,delta");
    EXPECT_THROW(layouts->Items()->Insert(0, "x"), EStringListError);
    ShowForm();
    EXPECT_EQ(layouts->Items()->Add("alpha2"), 1);
    EXPECT_EQ(layouts->Items()->CommaText(), "Alpha,alpha2,bravo,charlie,delta");
    EXPECT_NE(WindowStyle(layouts) & CBS_SORT, 0);
}

TEST_F(ComboBoxTest, NotificationsRaiseTheirEvents) {
    ShowForm();
    TEventLog log;
    list->OnChange = log.OnChange();
    list->OnClick = log.OnClick();
    list->OnDropDown = TNotifyEvent::Bind<&TEventLog::DropDown>(&log);
    list->OnCloseUp = TNotifyEvent::Bind<&TEventLog::CloseUp>(&log);
    // A choice without OnSelect is a change.
    SendMessageA(list->Handle(), CB_SETCURSEL, 1, 0);
    Notify(list, CBN_SELCHANGE);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click List1", "change List1"}));
    list->OnSelect = log.OnSelect();
    log.Events.clear();
    SendMessageA(list->Handle(), CB_SETCURSEL, 3, 0);
    Notify(list, CBN_SELCHANGE);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click List1", "select List1"}));
    EXPECT_EQ(list->Text(), "Three");
    log.Events.clear();
    list->SetDroppedDown(true);
    Pump();
    EXPECT_TRUE(list->DroppedDown());
    list->SetDroppedDown(false);
    Pump();
    EXPECT_EQ(log.Events, (std::vector<std::string>{"dropdown List1", "closeup List1"}));
    // The program's own selection raises nothing.
    log.Events.clear();
    list->SetItemIndex(0);
    EXPECT_TRUE(log.Events.empty());
    // A drop-down combo box: a chosen line is the text at once; typing is
    // a change.
    drop->OnSelect = log.OnSelect();
    drop->OnChange = log.OnChange();
    SendMessageA(drop->Handle(), CB_SETCURSEL, 1, 0);
    Notify(drop, CBN_SELCHANGE);
    EXPECT_EQ(drop->Text(), "beta");
    Notify(drop, CBN_EDITCHANGE);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"select Drop1", "change Drop1"}));
}

TEST_F(ComboBoxTest, FocusInTheListOrTheEditPartEntersTheComboBox) {
    TEventLog log;
    list->OnEnter = log.OnEnter();
    drop->OnEnter = log.OnEnter();
    ShowForm();
    Find<TComboBox>("Layouts")->SetFocus();
    Pump();
    log.Events.clear();
    list->SetFocus();
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), list);
    HWND edit = FindWindowExA(drop->Handle(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), drop);
    EXPECT_EQ(form->ActiveControl(), drop);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"enter List1", "enter Drop1"}));
}

// ============================================================================
// Scroll bars
// ============================================================================

const char* const ScrollLayout = R"(object Form1: TForm
  ClientHeight = 200
  ClientWidth = 300
  object Bar1: TScrollBar
    Left = 8
    Top = 8
    Width = 200
    LargeChange = 10
    Max = 50
    Min = 5
    PageSize = 11
    Position = 20
    SmallChange = 2
  end
end
)";

class ScrollBarTest : public LayoutFormTest {
protected:
    void SetUp() override {
        Load(ScrollLayout);
        bar = Find<TScrollBar>("Bar1");
        bar->OnScroll = TScrollEvent::Bind<&TEventLog::Scroll>(&log);
        bar->OnChange = log.OnChange();
        ShowForm();
    }
    void Scroll(int code) { SendMessageA(form->Handle(), WM_HSCROLL, MAKEWPARAM(code, 0), LPARAM(bar->Handle())); }
    SCROLLINFO Info() {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        GetScrollInfo(bar->Handle(), SB_CTL, &si);
        return si;
    }
    TEventLog log;
    TScrollBar* bar = nullptr;
};

TEST_F(ScrollBarTest, StoredRangeReachesTheWindow) {
    SCROLLINFO si = Info();
    EXPECT_EQ(si.nMin, 5);
    EXPECT_EQ(si.nMax, 50);
    EXPECT_EQ(si.nPage, 11u);
    EXPECT_EQ(si.nPos, 20);
    EXPECT_EQ(bar->MaxPosition(), 40);
    EXPECT_EQ(bar->Height(), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(WindowStyle(bar) & SBS_VERT, 0);
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->Width(), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(bar->Height(), 200);
    EXPECT_NE(WindowStyle(bar) & SBS_VERT, 0);
    EXPECT_EQ(Info().nPos, 20);
    SendMessageA(form->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), LPARAM(bar->Handle()));
    EXPECT_EQ(bar->Position(), 22);
    EXPECT_EQ(Info().nPos, 22);
}

TEST_F(ScrollBarTest, ScrollCodesMoveThePositionWithinTheRange) {
    struct Case {
        int Code;
        int Expected;
    } cases[] = {{SB_LINEDOWN, 22}, {SB_PAGEDOWN, 32}, {SB_PAGEDOWN, 40}, {SB_LINEUP, 38}, {SB_ENDSCROLL, 38},
                 {SB_TOP, 5},       {SB_LINEUP, 5},    {SB_BOTTOM, 40},   {SB_PAGEUP, 30}};
    std::vector<std::string> expected;
    int previous = 20;
    for (const Case& c : cases) {
        Scroll(c.Code);
        EXPECT_EQ(bar->Position(), c.Expected) << "code " << c.Code;
        EXPECT_EQ(Info().nPos, c.Expected) << "code " << c.Code;
        expected.push_back("scroll " + std::to_string(c.Code) + " " + std::to_string(c.Expected));
        if (c.Expected != previous) expected.push_back("change Bar1");
        previous = c.Expected;
    }
    EXPECT_EQ(log.Events, expected);
}

TEST_F(ScrollBarTest, OnScrollMayMoveThePositionElsewhereAndTheRangeIsChecked) {
    struct Redirect : TObject {
        void Scroll(TObject*, TScrollCode, int& pos) { pos = 7; }
    } redirect;
    bar->OnScroll = TScrollEvent::Bind<&Redirect::Scroll>(&redirect);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(bar->Position(), 7);
    try {
        bar->SetParams(0, 10, 5);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Scrollbar property out of range");
    }
    EXPECT_THROW(bar->SetPageSize(100), EInvalidOperation);
    bar->SetPosition(1000);
    EXPECT_EQ(bar->Position(), 40);
    bar->SetPageSize(0);
    bar->SetPosition(1000);
    EXPECT_EQ(bar->Position(), 50);
}

// ============================================================================
// Stored layouts of the standard controls
// ============================================================================

class StdLayoutTest : public LayoutFormTest {};

TEST_F(StdLayoutTest, WritingAndReadingBackGivesTheSameLayout) {
    Load(String(R"(object Form1: TForm
  ClientHeight = 200
  ClientWidth = 300
  object Label1: TLabel
    Left = 8
    Top = 8
    Caption = 'Advanced Settings'
    Transparent = True
    Layout = tlCenter
  end
  object Check1: TCheckBox
    Left = 8
    Top = 30
    Caption = 'Long HEX format'
    State = cbGrayed
    AllowGrayed = True
    Alignment = taLeftJustify
  end
  object Button1: TButton
    Left = 8
    Top = 60
    Caption = 'Go'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Group1: TGroupBox
    Left = 100
    Top = 8
    Caption = 'Project Files'
    Ctl3D = False
    TabOrder = 2
    object Radio1: TRadioButton
      Left = 8
      Top = 20
      Caption = 'One'
      Checked = True
      TabStop = True
    end
  end
  object Combo1: TComboBox
    Left = 8
    Top = 120
    Style = csDropDownList
    Sorted = True
    DropDownCount = 12
    ItemIndex = 1
    Items.Strings = (
      'a'
      'b')
    TabOrder = 3
  end
  object Bar1: TScrollBar
    Left = 8
    Top = 150
    Max = 10
    Position = 3
    Kind = sbVertical
    Height = 40
    Width = 17
    TabOrder = 4
  end
end
)"));
    String text = RoundTrip();
    auto* check = static_cast<TCheckBox*>(form->FindComponent("Check1"));
    EXPECT_EQ(check->State(), cbGrayed);
    EXPECT_EQ(check->Alignment(), taLeftJustify);
    EXPECT_TRUE(static_cast<TButton*>(form->FindComponent("Button1"))->Default());
    EXPECT_TRUE(static_cast<TRadioButton*>(form->FindComponent("Radio1"))->Checked());
    auto* combo = static_cast<TComboBox*>(form->FindComponent("Combo1"));
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->DropDownCount(), 12);
    EXPECT_EQ(static_cast<TScrollBar*>(form->FindComponent("Bar1"))->Position(), 3);
    EXPECT_NE(text.find("Items.Strings = ("), String::npos) << text;
    EXPECT_NE(text.find("Transparent = True"), String::npos);
    // Defaults and derived values are left out.
    EXPECT_EQ(text.find("Checked = False"), String::npos);
    EXPECT_EQ(text.find("Text = "), String::npos);
    EXPECT_EQ(text.find("Caption = 'Combo1'"), String::npos);
}

}  // namespace

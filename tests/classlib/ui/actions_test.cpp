// Actions under Wine: an action list read from a stored layout, buttons
// that show its actions and run them when clicked (through the button's
// own notification), groups of checked actions, a control with a link of
// its own class, and actions freed while controls show them.
#include "classlib/core/scopes.h"
#include "classlib/ui/actions.h"
#include "classlib/ui/imagelist.h"
#include "stdctrls_test_support.h"

using namespace stdctrls_test;

namespace {

class ActionsEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
    void TearDown() override { ClasslibUiFinalize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ActionsEnvironment);

// A check box that shows the action's Checked too, the way the office
// check box does: a link class of its own and an ActionChange of its own.
// The action sets the box without a click (which would run the action).
class TLinkedCheckBox : public TCheckBox {
    QL_CLASS(TLinkedCheckBox, TCheckBox)
public:
    explicit TLinkedCheckBox(TComponent* owner) : TCheckBox(owner) {}
    void SetCheckedQuietly(bool value) {
        SetClicksDisabled(true);
        TScopeExit loud([this] { SetClicksDisabled(false); });
        SetChecked(value);
    }

    class TLink : public TControlActionLink {
    public:
        using TControlActionLink::TControlActionLink;
        bool IsCheckedLinked() override {
            auto* box = static_cast<TLinkedCheckBox*>(FClient);
            return TControlActionLink::IsCheckedLinked() && box->Checked() == CustomAction()->Checked();
        }
        void SetChecked(bool value) override {
            if (IsCheckedLinked()) static_cast<TLinkedCheckBox*>(FClient)->SetCheckedQuietly(value);
        }
    };

protected:
    TControlActionLink* CreateActionLink() override { return new TLink(this); }
    void ActionChange(TObject* sender, bool checkDefaults) override {
        TCheckBox::ActionChange(sender, checkDefaults);
        if (auto* action = dynamic_cast<TCustomAction*>(sender)) SetCheckedQuietly(action->Checked());
    }
};

TClass TLinkedCheckBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLinkedCheckBox>("TLinkedCheckBox").Build();
    return &info;
}

// The form with the handlers the layout binds.
class TActionForm : public TForm {
    QL_CLASS(TActionForm, TForm)
public:
    explicit TActionForm(TComponent* owner) : TForm(owner) {}
    std::vector<std::string> Log;
    void SaveExecute(TObject* sender) { Log.push_back("save " + TEventLog::NameOf(sender)); }
    void ModeExecute(TObject* sender) { Log.push_back("mode " + TEventLog::NameOf(sender)); }
    void OwnClick(TObject* sender) { Log.push_back("own " + TEventLog::NameOf(sender)); }
};

TClass TActionForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TActionForm>("TActionForm")
                                       .Method<TNotifyEvent, &TActionForm::SaveExecute>("SaveExecute")
                                       .Method<TNotifyEvent, &TActionForm::ModeExecute>("ModeExecute")
                                       .Method<TNotifyEvent, &TActionForm::OwnClick>("OwnClick")
                                       .Build();
    return &info;
}

const char* const ActionLayout = R"(object Form1: TActionForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  object ActionList1: TActionList
    object actSave: TAction
      Caption = 'Save'
      Hint = 'Save the settings'
      OnExecute = SaveExecute
    end
    object actModeA: TAction
      AutoCheck = True
      Caption = 'Mode A'
      Checked = True
      GroupIndex = 1
      OnExecute = ModeExecute
    end
    object actModeB: TAction
      AutoCheck = True
      Caption = 'Mode B'
      GroupIndex = 1
      OnExecute = ModeExecute
    end
  end
  object Button1: TButton
    Left = 8
    Top = 8
    Action = actSave
  end
  object Button2: TButton
    Left = 8
    Top = 40
    Action = actSave
    Caption = 'Keep'
  end
  object Button3: TButton
    Left = 8
    Top = 72
    Action = actModeB
  end
  object Button4: TButton
    Left = 8
    Top = 104
    Action = actModeA
    OnClick = OwnClick
  end
  object Check1: TLinkedCheckBox
    Left = 120
    Top = 8
    Action = actModeA
  end
end
)";

class ActionsTest : public LayoutFormTest {
protected:
    void SetUp() override {
        RegisterClasses({TActionForm::StaticClass(), TLinkedCheckBox::StaticClass()});
        form = new TActionForm(Application);
        form->ReadLayout(ActionLayout, "test");
        ShowForm();
    }
    TActionForm* Form() { return static_cast<TActionForm*>(form); }
    // The button is clicked as its window reports it.
    void Press(const char* name) {
        Notify(Find<TButton>(name), BN_CLICKED);
        Pump();
    }
};

TEST_F(ActionsTest, TheLayoutPutsActionsInTheirListAndControlsShowThem) {
    auto* list = Find<TActionList>("ActionList1");
    auto* save = Find<TAction>("actSave");
    ASSERT_EQ(list->ActionCount(), 3);
    EXPECT_EQ(list->Actions(0), save);
    EXPECT_EQ(list->Actions(2), Find<TAction>("actModeB"));
    EXPECT_EQ(save->ActionList(), list);
    EXPECT_EQ(save->Owner(), form);
    EXPECT_EQ(save->GetParentComponent(), list);
    auto* button1 = Find<TButton>("Button1");
    auto* button2 = Find<TButton>("Button2");
    EXPECT_EQ(button1->Action(), save);
    EXPECT_EQ(button1->Caption(), "Save");
    EXPECT_EQ(button1->Hint(), "Save the settings");
    char text[32] = {};
    GetWindowTextA(button1->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Save");
    // Values read from the layout win over the action's while loading.
    EXPECT_EQ(button2->Caption(), "Keep");
    EXPECT_EQ(button2->Hint(), "Save the settings");
    EXPECT_EQ(save->ClientCount(), 2);
    EXPECT_TRUE(button1->ControlStyle().Contains(csActionClient));
    EXPECT_TRUE(Find<TLinkedCheckBox>("Check1")->Checked());
}

TEST_F(ActionsTest, ClickingRunsTheActionUnlessOnClickIsBoundToAnotherHandler) {
    Press("Button1");
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"save actSave"}));
    // Button4's OnClick is its own: it runs, the action does not.
    Form()->Log.clear();
    Press("Button4");
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"own Button4"}));
    EXPECT_TRUE(Find<TAction>("actModeA")->Checked());
    // A button without an action runs its OnClick.
    auto* button1 = Find<TButton>("Button1");
    button1->SetAction(nullptr);
    EXPECT_FALSE(button1->ControlStyle().Contains(csActionClient));
    Form()->Log.clear();
    Press("Button1");
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"save Button1"}));
}

TEST_F(ActionsTest, ADisabledActionDisablesItsControlsAndDoesNotRun) {
    auto* save = Find<TAction>("actSave");
    auto* button1 = Find<TButton>("Button1");
    save->SetEnabled(false);
    EXPECT_FALSE(button1->Enabled());
    EXPECT_TRUE(GetWindowLongA(button1->Handle(), GWL_STYLE) & WS_DISABLED);
    // The click reaches the action (OnClick is the action's handler), which
    // does nothing while disabled.
    button1->Click();
    EXPECT_TRUE(Form()->Log.empty());
    EXPECT_FALSE(save->Execute());
    save->SetEnabled(true);
    EXPECT_TRUE(button1->Enabled());
    Press("Button1");
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"save actSave"}));
}

TEST_F(ActionsTest, ChangesOfTheActionReachEveryControl) {
    auto* save = Find<TAction>("actSave");
    save->SetCaption("Store");
    save->SetHint("Store it");
    EXPECT_EQ(Find<TButton>("Button1")->Caption(), "Store");
    EXPECT_EQ(Find<TButton>("Button2")->Caption(), "Store");
    EXPECT_EQ(Find<TButton>("Button2")->Hint(), "Store it");
    save->SetVisible(false);
    EXPECT_FALSE(Find<TButton>("Button1")->Visible());
    EXPECT_FALSE(IsWindowVisible(Find<TButton>("Button1")->Handle()));
    // A new handler becomes the click handler of the controls that ran the
    // old one.
    save->SetOnExecute(TNotifyEvent::Bind<&TActionForm::OwnClick>(Form()));
    EXPECT_TRUE(Find<TButton>("Button1")->OnClick == save->OnExecute());
}

TEST_F(ActionsTest, AutoCheckedActionsOfAGroupCheckOneAtATime) {
    auto* a = Find<TAction>("actModeA");
    auto* b = Find<TAction>("actModeB");
    auto* check = Find<TLinkedCheckBox>("Check1");
    Press("Button3");
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    // The check box that shows actModeA follows it.
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"mode actModeB"}));
    // Running the checked action of a group leaves it checked.
    Press("Button3");
    EXPECT_TRUE(b->Checked());
    a->SetChecked(true);
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(check->Checked());
    // Without a group, AutoCheck toggles.
    a->SetGroupIndex(0);
    a->Execute();
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(check->Checked());
}

TEST_F(ActionsTest, FreeingAnActionClearsTheControlsThatShowIt) {
    auto* save = Find<TAction>("actSave");
    auto* button1 = Find<TButton>("Button1");
    delete save;
    EXPECT_EQ(button1->Action(), nullptr);
    EXPECT_EQ(Find<TButton>("Button2")->Action(), nullptr);
    EXPECT_EQ(Find<TActionList>("ActionList1")->ActionCount(), 2);
    Press("Button1");
    EXPECT_EQ(Form()->Log, (std::vector<std::string>{"save Button1"}));

    // An action of another owner, freed while a control shows it.
    auto* other = new TAction(nullptr);
    other->SetCaption("Other");
    button1->SetAction(other);
    EXPECT_EQ(button1->Caption(), "Other");
    delete other;
    EXPECT_EQ(button1->Action(), nullptr);
    Press("Button1");
}

TEST_F(ActionsTest, AnActionMayFreeItselfWhileItRuns) {
    struct Freer : TObject {
        TAction* Action = nullptr;
        int Runs = 0;
        void Execute(TObject*) {
            ++Runs;
            FreeAndNil(Action);
        }
    } freer;
    freer.Action = new TAction(nullptr);
    freer.Action->SetOnExecute(TNotifyEvent::Bind<&Freer::Execute>(&freer));
    auto* button1 = Find<TButton>("Button1");
    button1->SetAction(freer.Action);
    Press("Button1");
    EXPECT_EQ(freer.Runs, 1);
    EXPECT_EQ(button1->Action(), nullptr);
}

TEST_F(ActionsTest, TheListSuppliesItsImagesAndForgetsAFreedImageList) {
    auto* list = Find<TActionList>("ActionList1");
    auto* save = Find<TAction>("actSave");
    EXPECT_EQ(save->Images(), nullptr);
    auto* images = new TImageList(nullptr);
    list->SetImages(images);
    EXPECT_EQ(save->Images(), images);
    delete images;
    EXPECT_EQ(list->Images(), nullptr);
    EXPECT_EQ(save->Images(), nullptr);
}

TEST_F(ActionsTest, TheLayoutIsWrittenWithTheActionsInsideTheirList) {
    // The form was shown: the text names no active control that cannot be
    // read back.
    String text = Written();
    std::erase(text, '\r');
    EXPECT_NE(text.find("  object ActionList1: TActionList\n    object actSave: TAction\n"), String::npos) << text;
    EXPECT_NE(text.find("    Action = actSave\n"), String::npos) << text;
    EXPECT_EQ(text.find("\n  object actSave"), String::npos) << text;
    // Read back, the buttons find their actions again.
    FreeAndNil(form);
    form = new TActionForm(Application);
    form->ReadLayout(text, "written");
    auto* save = Find<TAction>("actSave");
    EXPECT_EQ(Find<TButton>("Button1")->Action(), save);
    EXPECT_EQ(save->ActionList(), Find<TActionList>("ActionList1"));
    EXPECT_EQ(Find<TActionList>("ActionList1")->ActionCount(), 3);
}

}  // namespace

// The bevel under Wine: every shape, its custom and bold edges and ruled
// lines painted into a 32-bit DIB and probed; the extended message layer
// (mouse enter and leave, the hint colour, the parent's colour); the older
// stored forms of its properties; a round trip of the stored layout.
#include "components/dataproviders/zv_bevel_win.h"

#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/hints.h"
#include "components/dataproviders/zv_data_providers_unit_win.h"
#include "tests/classlib/ui/support/object_tally.h"
#include "tests/classlib/ui/support/paint_harness.h"

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        ZvDataProvidersInitialize();
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new Environment);

TColor Sys(TColor color) { return TColor(ColorToRGB(color)); }
const TColor kBack = TColor(0x030201);

struct Probe {
    int X, Y;
    TColor Expected;
};

class BevelTest : public testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetBounds(0, 0, 300, 200);
        bevel = new TZvBevel(form);
        bevel->SetParent(form);
        bevel->SetBounds(0, 0, 20, 10);
    }
    void TearDown() override { delete form; }

    void ExpectPixels(std::initializer_list<Probe> probes, const char* what) {
        TPaintTarget target(bevel->Width(), bevel->Height(), kBack);
        target.Paint(bevel);
        for (const Probe& p : probes)
            EXPECT_EQ(target.PixelAt(p.X, p.Y), p.Expected) << what << " at " << p.X << "," << p.Y;
    }

    TForm* form = nullptr;
    TZvBevel* bevel = nullptr;
    TColor shadow = Sys(clBtnShadow), light = Sys(clBtnHighlight), dark = Sys(cl3DDkShadow);
};

TEST_F(BevelTest, NewBevelHoldsItsDefaults) {
    EXPECT_EQ(bevel->Shape(), TZvBevelShape::bsBox);
    EXPECT_EQ(bevel->Style(), TZvBevelStyle::bsLowered);
    EXPECT_EQ(bevel->Edges(), kAllBevelEdges);
    EXPECT_EQ(bevel->Inner(), bvNone);
    EXPECT_EQ(bevel->Outer(), bvLowered);
    EXPECT_EQ(bevel->PenWidth(), 1);
    EXPECT_EQ(bevel->PenStyle(), psSolid);
    EXPECT_EQ(bevel->HintColor(), clDefault);
    EXPECT_EQ(bevel->HorizontalLines()->Count(), 0u);
    EXPECT_EQ(bevel->VerticalLines()->Thickness(), 1);
    EXPECT_EQ(bevel->VerticalLines()->Style(), bvLowered);
    EXPECT_TRUE(bevel->ControlStyle().Contains(csParentBackground));
    EXPECT_TRUE(FindDefaultDrifts(bevel).empty());
    EXPECT_NE(Supports<IZvExControl>(static_cast<TObject*>(bevel)), nullptr);
}

// The main window's separator: 169 x 2 with every default, painted by the
// class library's bevel painting as a lowered box.
TEST_F(BevelTest, MainWindowSeparatorIsALoweredBox) {
    bevel->SetBounds(298, 216, 169, 2);
    ExpectPixels({{0, 0, shadow},
                  {100, 0, shadow},
                  {167, 0, shadow},
                  {168, 0, light},
                  {0, 1, shadow},
                  {1, 1, light},
                  {168, 1, light}},
                 "separator");
}

TEST_F(BevelTest, ClassLibraryShapesFollowShapeAndStyle) {
    struct Case {
        TZvBevelShape Shape;
        TZvBevelStyle Style;
        std::initializer_list<Probe> Probes;
    };
    const Case cases[] = {
        {TZvBevelShape::bsBox, TZvBevelStyle::bsRaised, {{0, 0, light}, {19, 9, shadow}, {5, 5, kBack}}},
        {TZvBevelShape::bsFrame, TZvBevelStyle::bsLowered, {{0, 0, shadow}, {1, 1, light}, {5, 5, kBack}}},
        {TZvBevelShape::bsTopLine, TZvBevelStyle::bsLowered, {{5, 0, shadow}, {5, 1, light}, {5, 2, kBack}}},
        {TZvBevelShape::bsBottomLine, TZvBevelStyle::bsRaised, {{5, 8, light}, {5, 9, shadow}, {5, 7, kBack}}},
        {TZvBevelShape::bsLeftLine, TZvBevelStyle::bsLowered, {{0, 5, shadow}, {1, 5, light}, {2, 5, kBack}}},
        {TZvBevelShape::bsRightLine, TZvBevelStyle::bsLowered, {{18, 5, shadow}, {19, 5, light}}},
        {TZvBevelShape::bsSpacer, TZvBevelStyle::bsLowered, {{0, 0, kBack}, {19, 9, kBack}}},
    };
    for (const Case& c : cases) {
        bevel->SetShape(c.Shape);
        bevel->SetStyle(c.Style);
        ExpectPixels(c.Probes, GetEnumName(TypeInfoFor<TZvBevelShape>(), Int64(c.Shape)).c_str());
    }
}

TEST_F(BevelTest, ShapeAndStyleWritersSetEdgesAndCuts) {
    bevel->SetEdges(TZvBevelEdges{beLeft});
    EXPECT_EQ(bevel->Shape(), TZvBevelShape::bsCustomShape);
    bevel->SetShape(TZvBevelShape::bsBox);
    EXPECT_EQ(bevel->Edges(), kAllBevelEdges);
    EXPECT_EQ(bevel->Inner(), bvNone);
    EXPECT_EQ(bevel->Outer(), bvLowered);

    bevel->SetStyle(TZvBevelStyle::bsRaised);
    EXPECT_EQ(bevel->Outer(), bvRaised);
    bevel->SetShape(TZvBevelShape::bsFrame);
    EXPECT_EQ(bevel->Inner(), bvLowered);
    EXPECT_EQ(bevel->Outer(), bvRaised);
    bevel->SetShape(TZvBevelShape::bsLeftLine);
    EXPECT_EQ(bevel->Edges(), TZvBevelEdges{beLeft});
    EXPECT_EQ(bevel->Style(), TZvBevelStyle::bsRaised);
    bevel->SetShape(TZvBevelShape::bsSpacer);
    EXPECT_EQ(bevel->Edges(), TZvBevelEdges());
    EXPECT_EQ(bevel->Inner(), bvSpace);
    bevel->SetStyle(TZvBevelStyle::bsLowered);
    EXPECT_EQ(bevel->Outer(), bvSpace);

    bevel->SetInner(bvLowered);
    EXPECT_EQ(bevel->Style(), TZvBevelStyle::bsCustomStyle);
    EXPECT_EQ(bevel->Shape(), TZvBevelShape::bsSpacer);
    bevel->SetStyle(TZvBevelStyle::bsLowered);
    bevel->HorizontalLines()->SetCount(2);
    EXPECT_EQ(bevel->Style(), TZvBevelStyle::bsCustomStyle);
}

TEST_F(BevelTest, CustomEdgesDrawOnlyTheirSides) {
    bevel->SetEdges(TZvBevelEdges{beLeft, beTop});
    ExpectPixels({{0, 0, shadow}, {0, 8, shadow}, {18, 0, shadow}, {19, 0, kBack}, {19, 9, kBack}, {5, 9, kBack}},
                 "left and top");
    bevel->SetEdges(TZvBevelEdges{beRight, beBottom});
    ExpectPixels({{0, 0, kBack}, {19, 0, light}, {19, 9, light}, {0, 9, light}, {0, 5, kBack}}, "right and bottom");
}

TEST_F(BevelTest, BoldEdgesAreDrawnInTheDarkShadow) {
    bevel->SetInner(bvRaised);
    bevel->SetOuter(bvLowered);
    bevel->SetBold(true);
    ExpectPixels({{0, 0, dark},
                  {0, 5, dark},
                  {1, 5, shadow},
                  {1, 1, shadow},
                  {19, 5, light},
                  {10, 9, light},
                  {10, 8, dark},
                  {18, 5, dark},
                  {2, 4, light},
                  {10, 2, light},
                  {17, 4, shadow},
                  {10, 7, shadow},
                  {10, 5, kBack}},
                 "bold");
}

TEST_F(BevelTest, RuledLinesLieAtEqualDistances) {
    bevel->SetBounds(0, 0, 20, 100);
    bevel->SetEdges(TZvBevelEdges());
    bevel->HorizontalLines()->SetCount(3);
    ExpectPixels({{5, 25, shadow},
                  {5, 26, light},
                  {5, 50, shadow},
                  {5, 51, light},
                  {5, 75, shadow},
                  {5, 24, kBack},
                  {5, 30, kBack},
                  {0, 25, kBack},
                  {19, 26, kBack}},
                 "horizontal lines");
    bevel->HorizontalLines()->SetCount(0);
    bevel->VerticalLines()->SetCount(1);
    bevel->VerticalLines()->SetStyle(bvRaised);
    bevel->VerticalLines()->SetIgnoreBorder(true);
    ExpectPixels({{10, 0, light}, {10, 98, light}, {11, 0, shadow}, {11, 98, shadow}, {9, 50, kBack}}, "vertical line");
}

TEST_F(BevelTest, CountNearTwoToTheThirtyTwoPaintsInBoundedTime) {
    bevel->SetEdges(TZvBevelEdges());
    bevel->HorizontalLines()->SetCount(0xFFFFFFFFu);
    // Lines on every row: the last one drawn over a row is a top edge.
    ExpectPixels({{5, 1, shadow}, {5, 5, shadow}, {5, 9, shadow}}, "many lines");
}

TEST_F(BevelTest, PaintingFreesWhatItMakes) {
    bevel->SetInner(bvRaised);
    bevel->SetBold(true);
    bevel->HorizontalLines()->SetCount(2);
    TPaintTarget target(20, 10, kBack);
    target.Paint(bevel);  // what the first paint makes and keeps (the canvas's pen and brush) is made now
    TObjectBalance balance;
    for (int i = 0; i < 100; ++i) target.Paint(bevel);
    bevel->SetStyle(TZvBevelStyle::bsLowered);
    for (int i = 0; i < 100; ++i) target.Paint(bevel);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

// ---- The extended message layer ----------------------------------------------

struct EventLog : TObject {
    EventLog(TZvBevel* bevel) : Bevel(bevel) {}
    std::vector<String> Events;
    TZvBevel* Bevel = nullptr;
    void Enter(TObject*) { Events.push_back(Bevel->MouseOver() ? "enter over" : "enter"); }
    void Leave(TObject*) { Events.push_back(Bevel->MouseOver() ? "leave over" : "leave"); }
    void ParentColor(TObject*) { Events.push_back("parent colour " + std::to_string(int(Bevel->Color()))); }
};

TEST_F(BevelTest, MouseEnterAndLeaveFireOnceAndTrackMouseOver) {
    EventLog log(bevel);
    bevel->OnMouseEnter = TNotifyEvent::Bind<&EventLog::Enter>(&log);
    bevel->OnMouseLeave = TNotifyEvent::Bind<&EventLog::Leave>(&log);
    bevel->SetBounds(40, 30, 100, 20);
    form->Show();
    // The mouse moves over the form, onto the bevel and off it again.
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 40));
    EXPECT_TRUE(bevel->MouseOver());
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 80));
    EXPECT_FALSE(bevel->MouseOver());
    EXPECT_EQ(log.Events, (std::vector<String>{"enter over", "leave"}));
}

class HintParent : public TPanel {
public:
    using TPanel::TPanel;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_HINTSHOW) reinterpret_cast<THintInfo*>(m.LParam)->HintColor = clLime;
        TPanel::WndProc(m);
    }
};

TEST_F(BevelTest, HintColourComesFromTheBevelTheApplicationOrTheParent) {
    auto* parent = new HintParent(form);
    parent->SetParent(form);
    bevel->SetParent(parent);
    struct Case {
        TColor HintColor;
        TColor Expected;
    } cases[] = {{clRed, clRed}, {clNone, Application->HintColor()}, {clDefault, clLime}};
    for (const Case& c : cases) {
        bevel->SetHintColor(c.HintColor);
        THintInfo info;
        info.HintColor = clAqua;
        EXPECT_EQ(bevel->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
        EXPECT_EQ(info.HintColor, c.Expected) << int(c.HintColor);
        EXPECT_EQ(info.HintWindowClass, nullptr);
    }
    // Without a parent the colour stays.
    bevel->SetParent(nullptr);
    THintInfo info;
    info.HintColor = clAqua;
    bevel->SetHintWindowClass(THintWindow::StaticClass());
    bevel->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintColor, clAqua);
    EXPECT_EQ(info.HintWindowClass, THintWindow::StaticClass());
}

TEST_F(BevelTest, ParentColourChangeFiresAfterTheBevelFollowed) {
    EventLog log(bevel);
    bevel->OnParentColorChange = TNotifyEvent::Bind<&EventLog::ParentColor>(&log);
    form->SetColor(clYellow);
    EXPECT_EQ(bevel->Color(), clYellow);
    EXPECT_EQ(log.Events, (std::vector<String>{"parent colour " + std::to_string(int(clYellow))}));
}

TEST_F(BevelTest, MessageLayerAnswers) {
    EXPECT_EQ(bevel->Perform(CM_ZVDENYSUBCLASSING), 0);
    EXPECT_EQ(bevel->Perform(CM_HITTEST, 0, MAKELPARAM(3, 3)), 1);
    EXPECT_EQ(ShiftToKeyFlags(TShiftState{ssAlt, ssCtrl, ssShift}), 0x38000000);
    EXPECT_EQ(ShiftToKeyFlags(TShiftState{ssShift}), 0x08000000);
    EXPECT_FALSE(IsDesignerMessage(bevel, TMessage{WM_PAINT}));
    bevel->SetDesigning(true);
    EXPECT_FALSE(IsDesignerMessage(bevel, TMessage{WM_LBUTTONDOWN}));
    EXPECT_FALSE(IsDesignerMessage(bevel, TMessage{WM_PAINT}));
}

// ---- The stored layout -----------------------------------------------------

String Layout(const String& bevelLines) {
    return "object Form1: TForm\r\n"
           "  object ZvBevel1: TZvBevel\r\n" +
           bevelLines +
           "  end\r\n"
           "end\r\n";
}

TEST(BevelLayout, OlderStoredFormsReadIntoTheCurrentProperties) {
    auto* form = new TForm(Application);
    TReader(Layout("    BevelInner = bvRaised\r\n"
                   "    BevelOuter = bvRaised\r\n"
                   "    BevelSides = [fsdLeft, fsdTop]\r\n"
                   "    BevelBold = True\r\n"
                   "    BevelPenStyle = psDot\r\n"
                   "    BevelPenWidth = 2\r\n"
                   "    InteriorOffset = 5\r\n"
                   "    HorizontalLines.Step = 3\r\n"
                   "    HorizontalLines.Origin = (1 2)\r\n"))
        .ReadRootComponent(form);
    auto* bevel = dynamic_cast<TZvBevel*>(form->FindComponent("ZvBevel1"));
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->Inner(), bvRaised);
    EXPECT_EQ(bevel->Outer(), bvRaised);
    EXPECT_EQ(bevel->Edges(), (TZvBevelEdges{beLeft, beTop}));
    EXPECT_EQ(bevel->Shape(), TZvBevelShape::bsCustomShape);
    EXPECT_EQ(bevel->Style(), TZvBevelStyle::bsCustomStyle);
    EXPECT_TRUE(bevel->Bold());
    EXPECT_EQ(bevel->PenStyle(), psDot);
    EXPECT_EQ(bevel->PenWidth(), 2);
    // They are read, never written.
    String text = TWriter().WriteRootComponent(form);
    for (const char* legacy : {"BevelInner", "BevelSides", "BevelBold", "BevelPen", "InteriorOffset", "Step", "Origin"})
        EXPECT_EQ(text.find(legacy), String::npos) << legacy << " in " << text;
    EXPECT_NE(text.find("Edges = [beLeft, beTop]"), String::npos) << text;
    delete form;
}

TEST(BevelLayout, MalformedSidesAreTheReadError) {
    for (const char* sides : {"3", "'fsdLeft'", "[fsdLeft, fsdMiddle, fsdTop]"}) {
        auto* form = new TForm(Application);
        try {
            TReader(Layout(String("    BevelSides = ") + sides + "\r\n")).ReadRootComponent(form);
            ADD_FAILURE() << sides << " was read";
        } catch (const EReadError& e) {
            EXPECT_NE(e.Message().find("Invalid property value"), String::npos) << e.Message();
            EXPECT_NE(e.Message().find("BevelSides"), String::npos) << e.Message();
        }
        delete form;
    }
}

TEST(BevelLayout, RoundTripKeepsEveryProperty) {
    auto* form = new TForm(Application);
    form->SetName("Form1");
    auto* bevel = new TZvBevel(form);
    bevel->SetName("ZvBevel1");
    bevel->SetParent(form);
    bevel->SetBounds(298, 216, 169, 2);
    auto* lined = new TZvBevel(form);
    lined->SetName("ZvBevel2");
    lined->SetParent(form);
    lined->SetShape(TZvBevelShape::bsTopLine);
    lined->SetStyle(TZvBevelStyle::bsRaised);
    auto* custom = new TZvBevel(form);
    custom->SetName("ZvBevel3");
    custom->SetParent(form);
    custom->SetEdges(TZvBevelEdges{beRight});
    custom->SetInner(bvLowered);
    custom->SetBold(true);
    custom->SetPenStyle(psDash);
    custom->SetPenWidth(3);
    custom->SetHintColor(clRed);
    custom->VerticalLines()->SetCount(4);
    custom->VerticalLines()->SetThickness(2);
    custom->VerticalLines()->SetIgnoreBorder(true);
    String text = TWriter().WriteRootComponent(form);
    delete form;

    form = new TForm(Application);
    TReader(text).ReadRootComponent(form);
    EXPECT_EQ(TWriter().WriteRootComponent(form), text);
    lined = dynamic_cast<TZvBevel*>(form->FindComponent("ZvBevel2"));
    ASSERT_NE(lined, nullptr);
    EXPECT_EQ(lined->Shape(), TZvBevelShape::bsTopLine);
    EXPECT_EQ(lined->Style(), TZvBevelStyle::bsRaised);
    EXPECT_EQ(lined->Edges(), TZvBevelEdges{beTop});
    custom = dynamic_cast<TZvBevel*>(form->FindComponent("ZvBevel3"));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->Shape(), TZvBevelShape::bsCustomShape);
    EXPECT_EQ(custom->Style(), TZvBevelStyle::bsCustomStyle);
    EXPECT_EQ(custom->Edges(), TZvBevelEdges{beRight});
    EXPECT_EQ(custom->VerticalLines()->Count(), 4u);
    EXPECT_EQ(custom->VerticalLines()->Thickness(), 2);
    EXPECT_EQ(custom->HintColor(), clRed);
    // The main window's bevel stores nothing but its place.
    size_t first = text.find("object ZvBevel1"), second = text.find("object ZvBevel2");
    EXPECT_EQ(text.substr(first, second - first).find("Shape"), String::npos) << text;
    delete form;
}

}  // namespace

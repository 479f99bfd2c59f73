// Panels, bevels, images, radio groups and paint boxes under Wine: their
// areas, their painting probed in a DIB, and radio groups driven by their
// buttons' messages and the mouse.
#include "classlib/ui/bitmaps.h"
#include "stdctrls_test_support.h"
#include "ui_test_support.h"

using namespace stdctrls_test;

namespace {

class ExtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ExtEnvironment);

// ============================================================================
// Frame3D and panels
// ============================================================================

TEST(Frame3D, DrawsNestedOutlinesAndLeavesTheInside) {
    auto bitmap = MakeBitmap(10, 8, clWhite);
    TRect r = Rect(0, 0, 10, 8);
    Frame3D(bitmap->Canvas(), r, clRed, clBlue, 2);
    EXPECT_EQ(r, Rect(2, 2, 8, 6));
    struct Probe {
        int X, Y;
        LongWord Expected;
    } probes[] = {
        {0, 0, Rgb(255, 0, 0)},     {8, 0, Rgb(255, 0, 0)},     {9, 0, Rgb(0, 0, 255)}, {0, 6, Rgb(255, 0, 0)},
        {0, 7, Rgb(0, 0, 255)},     {9, 7, Rgb(0, 0, 255)},     {1, 1, Rgb(255, 0, 0)}, {8, 6, Rgb(0, 0, 255)},
        {2, 2, Rgb(255, 255, 255)}, {7, 5, Rgb(255, 255, 255)},
    };
    for (const Probe& p : probes) EXPECT_EQ(PixelAt(*bitmap, p.X, p.Y), p.Expected) << p.X << "," << p.Y;
}

const char* const PanelLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  Color = clRed
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 100
    Height = 60
    BevelInner = bvLowered
    BevelWidth = 2
    BorderWidth = 3
    Color = clLime
    ParentBackground = False
    object Inner: TPanel
      Align = alClient
      BevelOuter = bvNone
      Color = clBlue
      ParentBackground = False
    end
  end
  object Panel2: TPanel
    Left = 120
    Top = 10
    Width = 50
    Height = 40
  end
end
)";

class PanelTest : public LayoutFormTest {
protected:
    void SetUp() override { Load(PanelLayout); }
};

TEST_F(PanelTest, ChildrenShareTheAreaInsideTheBevelsAndTheBorder) {
    auto* panel = Find<TPanel>("Panel1");
    auto* inner = Find<TPanel>("Inner");
    EXPECT_EQ(inner->BoundsRect(), Rect(7, 7, 93, 53));
    ShowForm();
    EXPECT_EQ(inner->BoundsRect(), Rect(7, 7, 93, 53));
    panel->SetBevelInner(bvNone);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 95, 55));
    panel->SetBorderStyle(bsSingle);
    EXPECT_NE(GetWindowLongA(panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, panel->ClientWidth() - 5, panel->ClientHeight() - 5));
}

TEST_F(PanelTest, PaintsRaisedAndLoweredBevelsRoundItsColourOrItsParentsBackground) {
    Find<TPanel>("Inner")->SetVisible(false);
    ShowForm();
    auto* panel = Find<TPanel>("Panel1");
    {
        TDib dib(100, 60, RGB(0, 0, 0));
        panel->PaintTo(dib.DC(), 0, 0);
        struct Probe {
            int X, Y;
            COLORREF Expected;
        } probes[] = {
            {0, 0, Sys(clBtnHighlight)}, {1, 30, Sys(clBtnHighlight)},  {99, 59, Sys(clBtnShadow)},
            {98, 30, Sys(clBtnShadow)},  {3, 30, RGB(0, 255, 0)},       {5, 30, Sys(clBtnShadow)},
            {6, 30, Sys(clBtnShadow)},   {94, 30, Sys(clBtnHighlight)}, {50, 54, Sys(clBtnHighlight)},
            {50, 30, RGB(0, 255, 0)},
        };
        for (const Probe& p : probes) EXPECT_EQ(dib.At(p.X, p.Y), p.Expected) << p.X << "," << p.Y;
    }
    // Panel2 lets the form's red show through its bevel.
    TDib dib(50, 40, RGB(0, 0, 0));
    Find<TPanel>("Panel2")->PaintTo(dib.DC(), 0, 0);
    EXPECT_EQ(dib.At(0, 0), Sys(clBtnHighlight));
    EXPECT_EQ(dib.At(49, 39), Sys(clBtnShadow));
    EXPECT_EQ(dib.At(25, 5), RGB(255, 0, 0));
}

TEST_F(PanelTest, LayoutRoundTripKeepsBevelsBorderAndBackground) {
    auto* bevel = new TBevel(form);
    bevel->SetName("ZvBevel1");
    bevel->SetParent(Find<TPanel>("Panel2"));
    bevel->SetShape(bsRightLine);
    bevel->SetStyle(bsRaised);
    String text = RoundTrip();
    auto* panel = Find<TPanel>("Panel1");
    EXPECT_EQ(panel->BevelInner(), bvLowered);
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    EXPECT_EQ(panel->BevelWidth(), 2);
    EXPECT_EQ(panel->BorderWidth(), 3);
    EXPECT_FALSE(panel->ParentBackground());
    EXPECT_EQ(panel->Color(), clLime);
    EXPECT_TRUE(Find<TPanel>("Panel2")->ParentBackground());
    bevel = Find<TBevel>("ZvBevel1");
    EXPECT_EQ(bevel->Shape(), bsRightLine);
    EXPECT_EQ(bevel->Style(), bsRaised);
    EXPECT_EQ(bevel->Parent(), Find<TPanel>("Panel2"));
    // Values at their defaults are left out.
    size_t panel1 = text.find("object Panel1"), inner = text.find("object Inner");
    EXPECT_EQ(text.substr(panel1, inner - panel1).find("BevelOuter"), String::npos) << text;
    EXPECT_EQ(text.find("Color = clBtnFace", text.find("object Panel2")), String::npos) << text;
    EXPECT_EQ(text.find("Caption = 'ZvBevel1'"), String::npos) << text;
}

TEST_F(PanelTest, CaptionIsDrawnInTheMiddle) {
    ShowForm();
    auto* panel = Find<TPanel>("Panel2");
    panel->SetParentBackground(false);
    panel->SetColor(clWhite);
    panel->Font()->SetColor(clBlack);
    panel->SetCaption("Wide");
    int w = MeasureText(panel->Font(), "Wide").cx;
    TDib dib(50, 40, RGB(0, 0, 255));
    panel->PaintTo(dib.DC(), 0, 0);
    int left = (50 - w) / 2;
    EXPECT_TRUE(dib.AnyOtherThan(Rect(left, 5, left + w, 35), RGB(255, 255, 255)));
    EXPECT_FALSE(dib.AnyOtherThan(Rect(1, 1, left - 1, 39), RGB(255, 255, 255)));
}

// ============================================================================
// Bevels
// ============================================================================

TEST(Bevel, ShapesAndStylesTable) {
    auto* form = new TForm(Application);
    auto* bevel = new TBevel(form);
    bevel->SetParent(form);
    bevel->SetBounds(0, 0, 20, 10);
    COLORREF shadow = Sys(clBtnShadow), light = Sys(clBtnHighlight), back = RGB(1, 2, 3);
    struct Probe {
        int X, Y;
        COLORREF Expected;
    };
    struct Case {
        TBevelShape Shape;
        TBevelStyle Style;
        std::vector<Probe> Probes;
    } cases[] = {
        {bsBox,
         bsLowered,
         {{0, 0, shadow}, {18, 0, shadow}, {0, 8, shadow}, {19, 9, light}, {19, 0, light}, {5, 5, back}}},
        {bsBox, bsRaised, {{0, 0, light}, {19, 9, shadow}, {5, 5, back}}},
        {bsFrame, bsLowered, {{0, 0, shadow}, {1, 1, light}, {19, 9, light}, {18, 8, shadow}, {5, 5, back}}},
        {bsTopLine, bsLowered, {{5, 0, shadow}, {5, 1, light}, {5, 2, back}, {5, 9, back}}},
        {bsBottomLine, bsRaised, {{5, 8, light}, {5, 9, shadow}, {5, 7, back}}},
        {bsLeftLine, bsLowered, {{0, 5, shadow}, {1, 5, light}, {2, 5, back}}},
        {bsRightLine, bsLowered, {{18, 5, shadow}, {19, 5, light}, {17, 5, back}}},
        {bsSpacer, bsLowered, {{0, 0, back}, {19, 9, back}, {10, 5, back}}},
    };
    for (const Case& c : cases) {
        bevel->SetShape(c.Shape);
        bevel->SetStyle(c.Style);
        TDib dib(20, 10, back);
        bevel->PaintTo(dib.DC(), 0, 0);
        for (const Probe& p : c.Probes)
            EXPECT_EQ(dib.At(p.X, p.Y), p.Expected)
                << "shape " << c.Shape << " style " << c.Style << " at " << p.X << "," << p.Y;
    }
    form->Free();
}

// ============================================================================
// Images
// ============================================================================

TEST(Image, DestRectTable) {
    struct Case {
        bool Stretch, Center, Proportional;
        int PictureWidth, PictureHeight;
        TRect Expected;
    } cases[] = {
        {false, false, false, 20, 10, Rect(0, 0, 20, 10)},     {false, true, false, 20, 10, Rect(40, 45, 60, 55)},
        {true, false, false, 20, 10, Rect(0, 0, 100, 100)},    {true, false, true, 20, 10, Rect(0, 0, 100, 50)},
        {true, true, true, 20, 10, Rect(0, 25, 100, 75)},      {true, true, true, 10, 40, Rect(37, 0, 62, 100)},
        {false, false, true, 20, 10, Rect(0, 0, 20, 10)},      {false, false, true, 400, 100, Rect(0, 0, 100, 25)},
        {false, true, false, 200, 50, Rect(-50, 25, 150, 75)},
    };
    TImage image(nullptr);
    image.SetBounds(0, 0, 100, 100);
    for (const Case& c : cases) {
        image.SetStretch(c.Stretch);
        image.SetCenter(c.Center);
        image.SetProportional(c.Proportional);
        image.Picture()->SetGraphic(MakeBitmap(c.PictureWidth, c.PictureHeight, clRed).get());
        EXPECT_EQ(image.DestRect(), c.Expected)
            << c.Stretch << c.Center << c.Proportional << " " << c.PictureWidth << "x" << c.PictureHeight;
    }
}

const char* const ImageLayout = R"(object Form1: TForm
  BorderStyle = bsNone
  ClientHeight = 200
  ClientWidth = 300
  object imgLogo: TImage
    Left = 10
    Top = 10
    Width = 40
    Height = 30
    Cursor = crHandPoint
    Hint = 'www.example.com'
    Center = True
  end
end
)";

class ImageTest : public LayoutFormTest {
protected:
    void SetUp() override { Load(ImageLayout); }
};

TEST_F(ImageTest, PaintsThePictureAndKeepsItThroughTheLayout) {
    auto* image = Find<TImage>("imgLogo");
    auto picture = MakeBitmap(10, 6, clRed);
    picture->Canvas()->SetPixels(9, 5, clBlue);
    image->Picture()->SetGraphic(picture.get());
    EXPECT_EQ(image->DestRect(), Rect(15, 12, 25, 18));
    {
        TDib dib(40, 30, RGB(0, 255, 0));
        image->PaintTo(dib.DC(), 0, 0);
        EXPECT_EQ(dib.At(16, 13), RGB(255, 0, 0));
        EXPECT_EQ(dib.At(24, 17), RGB(0, 0, 255));
        EXPECT_EQ(dib.At(5, 5), RGB(0, 255, 0));
    }
    String text = RoundTrip();
    EXPECT_NE(text.find("Picture.Data = {"), String::npos);
    image = Find<TImage>("imgLogo");
    EXPECT_EQ(image->Picture()->Width(), 10);
    EXPECT_EQ(image->Cursor(), crHandPoint);
    EXPECT_EQ(image->Hint(), "www.example.com");
    // Auto-size takes the picture's size.
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
    EXPECT_EQ(image->Height(), 6);
    TDib dib(10, 6, RGB(0, 255, 0));
    image->PaintTo(dib.DC(), 0, 0);
    EXPECT_EQ(dib.At(9, 5), RGB(0, 0, 255));
    EXPECT_EQ(dib.At(0, 0), RGB(255, 0, 0));
}

TEST_F(ImageTest, ClicksReachOnClick) {
    ShowForm();
    auto* image = Find<TImage>("imgLogo");
    TEventLog log;
    image->OnClick = log.OnClick();
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click imgLogo"}));
}

// ============================================================================
// Radio groups
// ============================================================================

class TGroupForm : public TForm {
    QL_CLASS(TGroupForm, TForm)
public:
    explicit TGroupForm(TComponent* owner) : TForm(owner) {}
    TRadioGroup* RadioGroup1 = nullptr;
    std::vector<int> Clicks;  // ItemIndex at each OnClick
    void RadioGroup1Click(TObject*) { Clicks.push_back(RadioGroup1->ItemIndex()); }
};

TClass TGroupForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGroupForm>("TGroupForm")
                                       .Field("RadioGroup1", &TGroupForm::RadioGroup1)
                                       .Method<TNotifyEvent, &TGroupForm::RadioGroup1Click>("RadioGroup1Click")
                                       .Build();
    return &info;
}

const char* const GroupLayout = R"(object GroupForm: TGroupForm
  Left = 50
  Top = 50
  BorderStyle = bsSingle
  ClientHeight = 200
  ClientWidth = 300
  object RadioGroup1: TRadioGroup
    Left = 8
    Top = 8
    Width = 185
    Height = 150
    Caption = 'Compilers'
    Hint = 'Select family of compiler(s) to modify.'
    ItemIndex = 1
    Items.Strings = (
      'for PIC'
      'for dsPIC'
      'for PIC32'
      'for ARM'
      'for AVR'
      'for 8051')
    OnClick = RadioGroup1Click
  end
end
)";

class RadioGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClass(TGroupForm::StaticClass());
        form = new TGroupForm(Application);
        form->ReadLayout(GroupLayout, "test");
        group = form->RadioGroup1;
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    void ShowForm() {
        form->Show();
        Pump();
    }
    std::vector<int> CheckedButtons() {
        std::vector<int> checked;
        for (int i = 0; i < group->ButtonCount(); ++i)
            if (group->Buttons(i)->Checked()) checked.push_back(i);
        return checked;
    }
    // A real click of the left mouse button at a point of the screen.
    static void MouseClick(TPoint at) {
        SetCursorPos(at.X, at.Y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        Pump();
    }
    static TPoint Middle(TControl* c) { return c->ClientToScreen(Point(c->Width() / 2, c->Height() / 2)); }
    TGroupForm* form = nullptr;
    TRadioGroup* group = nullptr;
};

TEST_F(RadioGroupTest, ButtonsFollowTheItemsAndTheStoredIndexWithoutEvents) {
    EXPECT_TRUE(form->Clicks.empty());
    ASSERT_EQ(group->ButtonCount(), 6);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(CheckedButtons(), std::vector<int>{1});
    EXPECT_EQ(group->Buttons(5)->Caption(), "for 8051");
    EXPECT_EQ(group->Buttons(0)->Parent(), group);
    try {
        group->Buttons(6);
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (6)");
    }
    // The buttons are stacked in the box, one line each.
    for (int i = 1; i < 6; ++i) EXPECT_GT(group->Buttons(i)->Top(), group->Buttons(i - 1)->Top());
    ShowForm();
    EXPECT_EQ(SendMessageA(group->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(form->Clicks.empty());
}

TEST_F(RadioGroupTest, ChoosingAButtonOrSettingItemIndexKeepsThemInStep) {
    ShowForm();
    SendMessageA(group->Buttons(3)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_EQ(CheckedButtons(), std::vector<int>{3});
    group->SetItemIndex(0);
    EXPECT_EQ(CheckedButtons(), std::vector<int>{0});
    EXPECT_EQ(SendMessageA(group->Buttons(3)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    group->SetItemIndex(0);
    group->SetItemIndex(-1);
    EXPECT_TRUE(CheckedButtons().empty());
    EXPECT_EQ(form->Clicks, (std::vector<int>{3, 0}));
    group->SetItemIndex(99);
    EXPECT_EQ(group->ItemIndex(), 5);
}

TEST_F(RadioGroupTest, ItemsChangesRebuildTheButtonsAndClampTheIndex) {
    group->SetItemIndex(5);
    group->Items()->Delete(5);
    EXPECT_EQ(group->ButtonCount(), 5);
    EXPECT_EQ(group->ItemIndex(), 4);
    EXPECT_EQ(CheckedButtons(), std::vector<int>{4});
    group->Items()->Clear();
    EXPECT_EQ(group->ButtonCount(), 0);
    EXPECT_EQ(group->ItemIndex(), -1);
    // The item of index -1 is the list's index error.
    try {
        (void)group->Items()->Strings(group->ItemIndex());
        ADD_FAILURE() << "no error";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
    }
    group->Items()->SetCommaText("a,b,c,d");
    group->SetColumns(2);
    EXPECT_EQ(group->Buttons(2)->Top(), group->Buttons(0)->Top());
    EXPECT_GT(group->Buttons(2)->Left(), group->Buttons(0)->Left());
}

TEST_F(RadioGroupTest, ADisabledButtonCannotBeChosenWithTheMouse) {
    ShowForm();
    group->Buttons(5)->SetEnabled(false);
    // A real click on an enabled button chooses it...
    MouseClick(Middle(group->Buttons(2)));
    ASSERT_EQ(group->ItemIndex(), 2) << "the test's mouse clicks do not arrive";
    // ...one on the disabled button does nothing, nor does its window's
    // click.
    MouseClick(Middle(group->Buttons(5)));
    EXPECT_EQ(group->ItemIndex(), 2);
    SendMessageA(group->Buttons(5)->Handle(), BM_CLICK, 0, 0);
    Notify(group->Buttons(5), BN_CLICKED);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->Buttons(5)->Checked());
    EXPECT_EQ(form->Clicks, std::vector<int>{2});
}

TEST_F(RadioGroupTest, ArrowKeysChooseTheNextEnabledButton) {
    ShowForm();
    group->Buttons(2)->SetEnabled(false);
    group->Buttons(1)->SetFocus();
    Pump();
    form->Clicks.clear();
    PostMessageA(group->Buttons(1)->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    Pump();
    EXPECT_EQ(Screen->ActiveControl(), group->Buttons(3));
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_EQ(form->Clicks, std::vector<int>{3});
    PostMessageA(group->Buttons(3)->Handle(), WM_KEYDOWN, VK_UP, 1);
    Pump();
    EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(RadioGroupTest, TheButtonsAreNotStored) {
    String text = TWriter().WriteRootComponent(form);
    EXPECT_EQ(text.find("TGroupButton"), String::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 1"), String::npos);
    EXPECT_NE(text.find("'for 8051')"), String::npos);
    TGroupForm* second = new TGroupForm(Application);
    FreeAndNil(form);
    form = second;
    form->ReadLayout(text, "again");
    EXPECT_EQ(form->RadioGroup1->ButtonCount(), 6);
    EXPECT_EQ(form->RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(TWriter().WriteRootComponent(form), text);
}

// ============================================================================
// Paint boxes
// ============================================================================

TEST(PaintBox, OnPaintDrawsOnItsCanvas) {
    auto* form = new TForm(Application);
    auto* box = new TPaintBox(form);
    box->SetName("Box1");
    box->SetParent(form);
    box->SetBounds(0, 0, 20, 20);
    struct Painter : TObject {
        TPaintBox* Box = nullptr;
        void Paint(TObject*) {
            Box->Canvas()->Brush()->SetColor(clYellow);
            Box->Canvas()->FillRect(Rect(0, 0, 10, 10));
        }
    } painter;
    painter.Box = box;
    box->OnPaint = TNotifyEvent::Bind<&Painter::Paint>(&painter);
    TDib dib(20, 20, RGB(0, 0, 0));
    box->PaintTo(dib.DC(), 0, 0);
    EXPECT_EQ(dib.At(5, 5), RGB(255, 255, 0));
    EXPECT_EQ(dib.At(15, 15), RGB(0, 0, 0));
    form->Free();
}

}  // namespace

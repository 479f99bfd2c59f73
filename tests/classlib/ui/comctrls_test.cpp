// The page control under Wine: pages and the active page from a stored
// layout, the system tab control's tabs and notifications, and the layout
// written back.
#include "stdctrls_test_support.h"

#include <commctrl.h>

using namespace stdctrls_test;

namespace {

class ComEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ClasslibUiInitialize(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

const char* const PagerLayout = R"(object Form1: TForm
  BorderStyle = bsSingle
  ClientHeight = 300
  ClientWidth = 400
  object LumOfficePager1: TPageControl
    Left = 8
    Top = 8
    Width = 380
    Height = 238
    ActivePage = LumOfficePager12
    object LumOfficePager12: TTabSheet
      Caption = 'Editor Settings'
      object Check1: TCheckBox
        Left = 8
        Top = 8
        Caption = 'Save Bookmarks'
      end
    end
    object LumOfficePager13: TTabSheet
      Caption = 'IDE Style'
    end
    object LumOfficePager11: TTabSheet
      Caption = 'Output Settings'
    end
  end
end
)";

class PageControlTest : public LayoutFormTest {
protected:
    void SetUp() override {
        Load(PagerLayout);
        pager = Find<TPageControl>("LumOfficePager1");
        editor = Find<TTabSheet>("LumOfficePager12");
        ide = Find<TTabSheet>("LumOfficePager13");
        output = Find<TTabSheet>("LumOfficePager11");
    }
    int TabCount() { return int(SendMessageA(pager->Handle(), TCM_GETITEMCOUNT, 0, 0)); }
    String TabText(int index) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(pager->Handle(), TCM_GETITEMA, WPARAM(index), LPARAM(&item));
        return text;
    }
    // Clicks the middle of a tab, as the user would.
    void ClickTab(int index) {
        RECT r{};
        SendMessageA(pager->Handle(), TCM_GETITEMRECT, WPARAM(index), LPARAM(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(pager->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(pager->Handle(), WM_LBUTTONUP, 0, at);
        Pump();
    }
    TPageControl* pager = nullptr;
    TTabSheet* editor = nullptr;
    TTabSheet* ide = nullptr;
    TTabSheet* output = nullptr;
};

TEST_F(PageControlTest, LayoutGivesThePagesInOrderAndTheActivePage) {
    ASSERT_EQ(pager->PageCount(), 3);
    EXPECT_EQ(pager->Pages(0), editor);
    EXPECT_EQ(pager->Pages(2), output);
    EXPECT_EQ(editor->PageControl(), pager);
    EXPECT_EQ(output->PageIndex(), 2);
    EXPECT_EQ(pager->ActivePage(), editor);
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    EXPECT_TRUE(editor->Visible());
    EXPECT_FALSE(ide->Visible());
    EXPECT_THROW(pager->Pages(3), EListError);
    ShowForm();
    ASSERT_EQ(TabCount(), 3);
    EXPECT_EQ(TabText(1), "IDE Style");
    EXPECT_EQ(pager->TabIndex(), 0);
    EXPECT_TRUE(IsWindowVisible(editor->Handle()));
    EXPECT_FALSE(ide->HandleAllocated() && IsWindowVisible(ide->Handle()));
    // The page fills the area under the tabs.
    RECT display{0, 0, pager->ClientWidth(), pager->ClientHeight()};
    SendMessageA(pager->Handle(), TCM_ADJUSTRECT, FALSE, LPARAM(&display));
    EXPECT_EQ(editor->BoundsRect(), Rect(display.left, display.top, display.right, display.bottom));
    EXPECT_GT(editor->Top(), 10);
}

TEST_F(PageControlTest, ClickingATabAsksOnChangingThenShowsThePageAndRunsOnChange) {
    ShowForm();
    TEventLog log;
    pager->OnChanging = TTabChangingEvent::Bind<&TEventLog::Changing>(&log);
    pager->OnChange = log.OnChange();
    ClickTab(2);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"changing LumOfficePager1", "change LumOfficePager1"}));
    EXPECT_EQ(pager->ActivePage(), output);
    EXPECT_TRUE(IsWindowVisible(output->Handle()));
    EXPECT_FALSE(IsWindowVisible(editor->Handle()));
    // A refused change keeps the page and the tab.
    log.Events.clear();
    log.Allow = false;
    ClickTab(1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"changing LumOfficePager1"}));
    EXPECT_EQ(pager->ActivePage(), output);
    EXPECT_EQ(pager->TabIndex(), 2);
    // The program's own choice raises nothing.
    log.Events.clear();
    pager->SetActivePageIndex(1);
    EXPECT_EQ(pager->TabIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(ide->Handle()));
    EXPECT_TRUE(log.Events.empty());
}

TEST_F(PageControlTest, HiddenTabsCaptionsAndPageOrderReachTheTabs) {
    ShowForm();
    ide->SetTabVisible(false);
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(TabText(1), "Output Settings");
    EXPECT_EQ(output->TabIndex(), 1);
    EXPECT_EQ(ide->TabIndex(), -1);
    ClickTab(1);
    EXPECT_EQ(pager->ActivePage(), output);
    ide->SetTabVisible(true);
    output->SetCaption("Output");
    EXPECT_EQ(TabText(2), "Output");
    output->SetPageIndex(0);
    EXPECT_EQ(pager->Pages(0), output);
    EXPECT_EQ(TabText(0), "Output");
    EXPECT_EQ(pager->TabIndex(), 0);
    // Freeing the active page shows the next one.
    output->Free();
    EXPECT_EQ(pager->PageCount(), 2);
    EXPECT_EQ(pager->ActivePage(), editor);
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(pager->TabIndex(), 0);
}

TEST_F(PageControlTest, FocusLeavesAPageThatIsHidden) {
    ShowForm();
    auto* check = Find<TCheckBox>("Check1");
    check->SetFocus();
    Pump();
    ASSERT_EQ(form->ActiveControl(), check);
    pager->SetActivePage(ide);
    Pump();
    EXPECT_FALSE(editor->ContainsControl(form->ActiveControl()));
}

TEST_F(PageControlTest, LayoutIsWrittenWithTheActivePageAndWithoutPageBounds) {
    pager->SetActivePage(ide);
    String text = RoundTrip();
    EXPECT_NE(text.find("ActivePage = LumOfficePager13"), String::npos) << text;
    size_t page = text.find("object LumOfficePager13: TTabSheet");
    ASSERT_NE(page, String::npos);
    size_t end = text.find("end", page);
    String pageText = text.substr(page, end - page);
    EXPECT_EQ(pageText.find("Left ="), String::npos) << pageText;
    EXPECT_EQ(pageText.find("Visible"), String::npos) << pageText;
    EXPECT_EQ(pageText.find("Align"), String::npos) << pageText;
    EXPECT_LT(text.find("LumOfficePager12: TTabSheet"), text.find("LumOfficePager13: TTabSheet"));
    EXPECT_LT(text.find("LumOfficePager13: TTabSheet"), text.find("LumOfficePager11: TTabSheet"));
    pager = Find<TPageControl>("LumOfficePager1");
    EXPECT_EQ(pager->ActivePage(), Find<TTabSheet>("LumOfficePager13"));
}

TEST(PageControl, WithoutAStoredActivePageTheFirstPageShows) {
    auto* form = new TForm(Application);
    form->ReadLayout(R"(object Form1: TForm
  object Pager: TPageControl
    object Page1: TTabSheet
    end
    object Page2: TTabSheet
    end
  end
end
)",
                     "test");
    auto* pager = static_cast<TPageControl*>(form->FindComponent("Pager"));
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    EXPECT_EQ(pager->Pages(1)->Caption(), "");
    // Pages made by the program join their page control too.
    auto* page3 = new TTabSheet(form);
    page3->SetPageControl(pager);
    EXPECT_EQ(pager->PageCount(), 3);
    EXPECT_EQ(pager->ActivePageIndex(), 0);
    form->Free();
}

}  // namespace

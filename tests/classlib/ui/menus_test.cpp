// The main menu under Wine: the native menu bar built from the items and
// rebuilt when they change, the sub-menus' dispatch to their items, the
// commands, the native menus made and destroyed, and the form that shows
// the bar (attaching, detaching, its messages and its stored layout).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/menus.h"
#include "object_tally.h"

namespace {

void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

// ---- The native menus made and destroyed ----
//
// The test program's imports of user32's CreateMenu, CreatePopupMenu and
// DestroyMenu go through these; the class library is linked in, so every
// native menu it makes is seen. (Wine's GetGuiResources counts nothing.)

struct TMenuTally {
    std::set<HMENU> Live;
    std::vector<HMENU> Made;
    long Destroyed = 0;
};
TMenuTally& Tally() {
    static TMenuTally tally;
    return tally;
}

using TCreateMenuFn = HMENU(WINAPI*)();
using TDestroyMenuFn = BOOL(WINAPI*)(HMENU);
TCreateMenuFn realCreateMenu = nullptr;
TCreateMenuFn realCreatePopupMenu = nullptr;
TDestroyMenuFn realDestroyMenu = nullptr;

HMENU Made(HMENU menu) {
    if (menu) {
        Tally().Live.insert(menu);
        Tally().Made.push_back(menu);
    }
    return menu;
}
HMENU WINAPI CountedCreateMenu() { return Made(realCreateMenu()); }
HMENU WINAPI CountedCreatePopupMenu() { return Made(realCreatePopupMenu()); }
BOOL WINAPI CountedDestroyMenu(HMENU menu) {
    BOOL done = realDestroyMenu(menu);
    if (done && Tally().Live.erase(menu)) ++Tally().Destroyed;
    return done;
}

void CountMenus() {
    static const bool hooked = [] {
        realCreateMenu = reinterpret_cast<TCreateMenuFn>(
            HookImport("user32.dll", "CreateMenu", reinterpret_cast<void*>(&CountedCreateMenu)));
        realCreatePopupMenu = reinterpret_cast<TCreateMenuFn>(
            HookImport("user32.dll", "CreatePopupMenu", reinterpret_cast<void*>(&CountedCreatePopupMenu)));
        realDestroyMenu = reinterpret_cast<TDestroyMenuFn>(
            HookImport("user32.dll", "DestroyMenu", reinterpret_cast<void*>(&CountedDestroyMenu)));
        return true;
    }();
    ASSERT_TRUE(hooked && realCreateMenu && realCreatePopupMenu && realDestroyMenu);
}

// ---- Menus built in code ----

String MenuText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

UINT StateAt(HMENU menu, int position) { return GetMenuState(menu, UINT(position), MF_BYPOSITION); }

// Records which items ran Click, in order.
struct TClickLog : TObject {
    std::vector<TMenuItem*> Clicked;
    void Click(TObject* sender) { Clicked.push_back(static_cast<TMenuItem*>(sender)); }
};

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        CountMenus();
        menu = new TMainMenu(nullptr);
        file = Add(menu->Items(), "&File");
        open = Add(file, "&Open");
        Add(file, "-");
        quit = Add(file, "E&xit");
        quit->SetEnabled(false);
        hidden = Add(file, "Hidden");
        hidden->SetVisible(false);
        view = Add(menu->Items(), "&View");
        bar = Add(view, "&Tool bar");
        bar->SetChecked(true);
        help = Add(menu->Items(), "&Help");
    }
    void TearDown() override { delete menu; }

    TMenuItem* Add(TMenuItem* parent, const String& caption) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(caption);
        item->OnClick = TNotifyEvent::Bind<&TClickLog::Click>(&log);
        parent->Add(item);
        return item;
    }

    TClickLog log;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr, *quit = nullptr, *hidden = nullptr;
    TMenuItem *view = nullptr, *bar = nullptr, *help = nullptr;
};

TEST_F(MainMenuTest, TheBarShowsTheVisibleItemsWithTheirStates) {
    EXPECT_FALSE(menu->HandleAllocated());
    HMENU h = menu->Handle();
    ASSERT_TRUE(IsMenu(h));
    ASSERT_EQ(GetMenuItemCount(h), 3);
    EXPECT_EQ(MenuText(h, 0), "&File");
    EXPECT_EQ(MenuText(h, 1), "&View");
    EXPECT_EQ(MenuText(h, 2), "&Help");
    // An item with items of its own opens a sub-menu; one without is a
    // command of the bar itself.
    HMENU fileMenu = GetSubMenu(h, 0);
    EXPECT_EQ(fileMenu, menu->SubMenuOf(file));
    EXPECT_EQ(GetSubMenu(h, 1), menu->SubMenuOf(view));
    EXPECT_EQ(GetSubMenu(h, 2), nullptr);
    EXPECT_EQ(GetMenuItemID(h, 2), UINT(help->Command()));
    // The hidden item is left out; the line is a separator.
    ASSERT_EQ(GetMenuItemCount(fileMenu), 3);
    EXPECT_EQ(MenuText(fileMenu, 0), "&Open");
    EXPECT_EQ(GetMenuItemID(fileMenu, 0), UINT(open->Command()));
    EXPECT_NE(StateAt(fileMenu, 1) & MF_SEPARATOR, 0u);
    EXPECT_EQ(MenuText(fileMenu, 2), "E&xit");
    EXPECT_NE(StateAt(fileMenu, 2) & MF_GRAYED, 0u);
    EXPECT_EQ(StateAt(fileMenu, 0) & (MF_GRAYED | MF_CHECKED), 0u);
    EXPECT_NE(StateAt(GetSubMenu(h, 1), 0) & MF_CHECKED, 0u);
    EXPECT_EQ(menu->SubMenuOf(open), nullptr);
}

TEST_F(MainMenuTest, CommandIdsAreDistinctAndStay) {
    std::set<Word> ids;
    for (TMenuItem* item : {file, open, quit, hidden, view, bar, help}) {
        EXPECT_NE(item->Command(), 0);
        ids.insert(item->Command());
    }
    EXPECT_EQ(ids.size(), 7u);
    const Word before = open->Command();
    menu->Handle();
    open->SetCaption("&Open...");
    EXPECT_EQ(open->Command(), before);
    EXPECT_EQ(GetMenuItemID(menu->SubMenuOf(file), 0), UINT(before));
    // A freed item's id is not given to the next item made.
    delete help;
    help = nullptr;
    auto* next = new TMenuItem(nullptr);
    EXPECT_FALSE(ids.count(next->Command()));
    delete next;
}

// Each change shows at once, and the bar and the sub-menus that stay keep
// their handles.
TEST_F(MainMenuTest, ChangesRebuildTheBarAndKeepItsHandles) {
    HMENU h = menu->Handle();
    HMENU fileMenu = menu->SubMenuOf(file);
    struct Case {
        const char* what;
        std::function<void()> change;
        std::function<bool()> shown;
    };
    const Case cases[] = {
        {"caption", [&] { open->SetCaption("&Open..."); }, [&] { return MenuText(fileMenu, 0) == "&Open..."; }},
        {"enabled", [&] { quit->SetEnabled(true); }, [&] { return (StateAt(fileMenu, 2) & MF_GRAYED) == 0; }},
        {"checked", [&] { bar->SetChecked(false); },
         [&] { return (StateAt(menu->SubMenuOf(view), 0) & MF_CHECKED) == 0; }},
        {"shown", [&] { hidden->SetVisible(true); },
         [&] { return GetMenuItemCount(fileMenu) == 4 && MenuText(fileMenu, 3) == "Hidden"; }},
        {"hidden", [&] { view->SetVisible(false); }, [&] { return GetMenuItemCount(h) == 2; }},
        {"added", [&] { Add(help, "&About"); },
         [&] { return GetSubMenu(h, 1) == menu->SubMenuOf(help) && MenuText(GetSubMenu(h, 1), 0) == "&About"; }},
        {"removed",
         [&] {
             delete open;
             open = nullptr;
         },
         [&] { return (StateAt(fileMenu, 0) & MF_SEPARATOR) != 0; }},
    };
    for (const Case& c : cases) {
        c.change();
        EXPECT_TRUE(c.shown()) << c.what;
        EXPECT_EQ(menu->Handle(), h) << c.what;
        EXPECT_EQ(menu->SubMenuOf(file), fileMenu) << c.what;
        EXPECT_TRUE(IsMenu(fileMenu)) << c.what;
    }
}

// A sub-menu no longer shown is destroyed, and one shown again is new.
TEST_F(MainMenuTest, ASubMenuGoesWithItsLastItem) {
    menu->Handle();
    HMENU viewMenu = menu->SubMenuOf(view);
    ASSERT_TRUE(IsMenu(viewMenu));
    delete bar;
    bar = nullptr;
    EXPECT_EQ(menu->SubMenuOf(view), nullptr);
    EXPECT_FALSE(IsMenu(viewMenu));
    EXPECT_EQ(GetSubMenu(menu->Handle(), 1), nullptr);
    EXPECT_EQ(GetMenuItemID(menu->Handle(), 1), UINT(view->Command()));
}

TEST_F(MainMenuTest, APopupDispatchRunsTheItemWhoseSubMenuOpens) {
    menu->Handle();
    EXPECT_TRUE(menu->DispatchPopup(menu->SubMenuOf(file)));
    EXPECT_TRUE(menu->DispatchPopup(menu->SubMenuOf(view)));
    EXPECT_EQ(log.Clicked, (std::vector<TMenuItem*>{file, view}));
    log.Clicked.clear();
    HMENU other = CreatePopupMenu();
    for (HMENU unknown : {other, HMENU(nullptr), menu->Handle()}) EXPECT_FALSE(menu->DispatchPopup(unknown));
    DestroyMenu(other);
    EXPECT_TRUE(log.Clicked.empty());
}

// What the dispatch is for: the item sets up its sub-items, and the
// sub-menu about to open shows them, under the same handle.
TEST_F(MainMenuTest, TheItemSetsUpItsSubMenuBeforeItOpens) {
    struct Setup : TObject {
        TMenuItem* Quit = nullptr;
        TMenuItem* Open = nullptr;
        void Click(TObject*) {
            Quit->SetEnabled(true);
            Open->SetCaption("&Open recent");
        }
    } setup;
    setup.Quit = quit;
    setup.Open = open;
    file->OnClick = TNotifyEvent::Bind<&Setup::Click>(&setup);
    menu->Handle();
    HMENU fileMenu = menu->SubMenuOf(file);
    ASSERT_TRUE(menu->DispatchPopup(fileMenu));
    EXPECT_EQ(menu->SubMenuOf(file), fileMenu);
    EXPECT_EQ(StateAt(fileMenu, 2) & MF_GRAYED, 0u);
    EXPECT_EQ(MenuText(fileMenu, 0), "&Open recent");
}

TEST_F(MainMenuTest, ACommandRunsItsItem) {
    menu->Handle();
    EXPECT_TRUE(menu->DispatchCommand(open->Command()));
    EXPECT_TRUE(menu->DispatchCommand(help->Command()));
    EXPECT_EQ(log.Clicked, (std::vector<TMenuItem*>{open, help}));
    log.Clicked.clear();
    // No item, or one that opens a sub-menu and so sends no command.
    auto* stranger = new TMenuItem(nullptr);
    for (Word command : {Word(0), file->Command(), stranger->Command()})
        EXPECT_FALSE(menu->DispatchCommand(command)) << command;
    delete stranger;
    EXPECT_TRUE(log.Clicked.empty());
}

TEST_F(MainMenuTest, ManyRebuildsLeaveNoNativeMenuBehind) {
    const size_t madeBefore = Tally().Made.size();
    const long destroyedBefore = Tally().Destroyed;
    const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    menu->Handle();
    for (int round = 0; round < 200; ++round) {
        TMenuItem* extra = Add(help, "Extra");  // Help opens a sub-menu now
        Add(extra, "Deeper");                   // and so does Extra
        view->SetVisible(round % 2 == 0);
        open->SetCaption(round % 2 ? "&Open" : "&Open...");
        delete extra;  // its sub-menu goes, and Help's
        menu->DispatchPopup(menu->SubMenuOf(file));
    }
    delete menu;
    menu = nullptr;
    const std::vector<HMENU> made(Tally().Made.begin() + long(madeBefore), Tally().Made.end());
    EXPECT_GE(made.size(), 1u + 2u + 2u * 200u);
    EXPECT_EQ(Tally().Destroyed - destroyedBefore, long(made.size()));
    for (HMENU h : made) EXPECT_FALSE(IsMenu(h));
    // Where the system counts its objects, it agrees.
    if (userObjects) {
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userObjects);
    }
}

// ---- The form's menu bar ----

class TMenuForm : public TForm {
    QL_CLASS(TMenuForm, TForm)
public:
    explicit TMenuForm(TComponent* owner) : TForm(owner) {}
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Open1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    std::vector<String> Clicks;
    void MenuClick(TObject* sender) { Clicks.push_back(static_cast<TMenuItem*>(sender)->Name()); }
};

TClass TMenuForm::StaticClass() {
    using T = TMenuForm;
    static const TClassInfo info = TClassBuilder<T>("TMenuForm")
                                       .Field("MainMenu1", &T::MainMenu1)
                                       .Field("File1", &T::File1)
                                       .Field("Open1", &T::Open1)
                                       .Field("Exit1", &T::Exit1)
                                       .Method<TNotifyEvent, &T::MenuClick>("MenuClick")
                                       .Build();
    return &info;
}

const char* const MenuFormLayout = "object MenuForm: TMenuForm\n"
                                   "  Left = 60\n"
                                   "  Top = 40\n"
                                   "  Caption = 'Menus'\n"
                                   "  ClientHeight = 200\n"
                                   "  ClientWidth = 300\n"
                                   "  Menu = MainMenu1\n"
                                   "  object MainMenu1: TMainMenu\n"
                                   "    object File1: TMenuItem\n"
                                   "      Caption = '&File'\n"
                                   "      OnClick = MenuClick\n"
                                   "      object Open1: TMenuItem\n"
                                   "        Caption = '&Open'\n"
                                   "        OnClick = MenuClick\n"
                                   "      end\n"
                                   "      object Exit1: TMenuItem\n"
                                   "        Caption = 'E&xit'\n"
                                   "        Enabled = False\n"
                                   "        OnClick = MenuClick\n"
                                   "      end\n"
                                   "    end\n"
                                   "  end\n"
                                   "end\n";

class FormMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        CountMenus();
        RegisterClass(TMenuForm::StaticClass());
        form = new TMenuForm(Application);
        form->ReadLayout(MenuFormLayout, "menu test");
    }
    void TearDown() override {
        if (form) FreeAndNil(form);
        Pump();
    }
    TMenuForm* form = nullptr;
};

TEST_F(FormMenuTest, TheLayoutGivesTheFormItsMenu) {
    ASSERT_NE(form->MainMenu1, nullptr);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    ASSERT_EQ(form->MainMenu1->Items()->Count(), 1);
    EXPECT_EQ(form->MainMenu1->Items()->Items(0), form->File1);
    EXPECT_EQ(form->File1->Count(), 2);
    EXPECT_FALSE(form->Exit1->Enabled());
    // The window is made with the bar on it.
    form->Show();
    Pump();
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle());
    EXPECT_EQ(GetMenuItemCount(GetMenu(form->Handle())), 1);
    // The client size counts the bar out.
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(client.right, 300);
}

TEST_F(FormMenuTest, TheStoredLayoutKeepsTheMenu) {
    const String text = TWriter().WriteRootComponent(form);
    EXPECT_NE(text.find("  Menu = MainMenu1\r\n"), String::npos) << text;
    EXPECT_NE(text.find("  object MainMenu1: TMainMenu\r\n    object File1: TMenuItem\r\n"), String::npos) << text;
    auto* second = new TMenuForm(Application);
    FreeAndNil(form);
    form = second;
    form->ReadLayout(text, "again");
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->Open1->Parent(), form->File1);
    EXPECT_EQ(TWriter().WriteRootComponent(form), text);
}

TEST_F(FormMenuTest, SettingTheMenuAttachesAndDetachesTheBar) {
    form->HandleNeeded();
    HMENU bar = form->MainMenu1->Handle();
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    form->SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_EQ(form->MainMenu1->WindowHandle(), nullptr);
    EXPECT_TRUE(IsMenu(bar));
    form->SetMenu(form->MainMenu1);
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    // A second menu takes the first one's place.
    auto* other = new TMainMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("&Other");
    other->Items()->Add(item);
    form->SetMenu(other);
    EXPECT_EQ(GetMenu(form->Handle()), other->Handle());
    EXPECT_EQ(form->MainMenu1->WindowHandle(), nullptr);
    form->SetMenu(form->MainMenu1);
    EXPECT_EQ(GetMenu(form->Handle()), bar);
}

// A window destroys its menu bar with it: the form takes the bar off first,
// and puts it on the window made afresh.
TEST_F(FormMenuTest, AWindowMadeAfreshGetsTheSameBar) {
    form->Show();
    Pump();
    HMENU bar = form->MainMenu1->Handle();
    HWND before = form->Handle();
    form->SetBorderStyle(bsSingle);  // makes the window again
    Pump();
    EXPECT_NE(form->Handle(), before);
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(GetMenu(form->Handle()), bar);
    EXPECT_EQ(form->MainMenu1->WindowHandle(), form->Handle());
}

TEST_F(FormMenuTest, FreeingTheMenuTakesItOffTheForm) {
    form->Show();
    Pump();
    const long liveBefore = long(Tally().Live.size());
    HMENU fileMenu = form->MainMenu1->SubMenuOf(form->File1);
    ASSERT_TRUE(IsMenu(fileMenu));
    const Word open = form->Open1->Command();
    FreeAndNil(form->MainMenu1);
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    EXPECT_FALSE(IsMenu(fileMenu));
    EXPECT_EQ(long(Tally().Live.size()), liveBefore - 2);
    // The form goes on handling its messages, a stale command among them.
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(open, 0), 0);
    SendMessageA(form->Handle(), WM_INITMENUPOPUP, WPARAM(fileMenu), MAKELPARAM(0, FALSE));
    Pump();
    EXPECT_TRUE(form->Clicks.empty());
}

TEST_F(FormMenuTest, TheFormsMessagesReachTheItems) {
    form->Show();
    Pump();
    HWND h = form->Handle();
    HMENU fileMenu = form->MainMenu1->SubMenuOf(form->File1);
    // A sub-menu of the bar about to open; then the system menu, which is
    // none of the bar's and is left alone.
    SendMessageA(h, WM_INITMENUPOPUP, WPARAM(fileMenu), MAKELPARAM(0, FALSE));
    SendMessageA(h, WM_INITMENUPOPUP, WPARAM(GetSystemMenu(h, FALSE)), MAKELPARAM(0, TRUE));
    EXPECT_EQ(form->Clicks, std::vector<String>{"File1"});
    form->Clicks.clear();
    // A menu command; the same id from a control's notification or an
    // accelerator is not the menu's.
    const Word open = form->Open1->Command();
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(open, 0), 0);
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(open, 1), 0);
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(open, BN_CLICKED), LPARAM(h));
    EXPECT_EQ(form->Clicks, std::vector<String>{"Open1"});
}

}  // namespace

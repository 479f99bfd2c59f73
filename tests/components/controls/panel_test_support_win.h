// Helpers of the panels' tests: the units started once, a form read from a
// layout text, message pumping, mouse clicks delivered as the window gets
// them, and an event log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/lum_panel_win.h"
#include "components/controls/panels_unit_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/pictures_unit_win.h"

namespace panel_test {

inline void StartUnits() {
    static const bool started = [] {
        ClasslibUiInitialize();
        FoundationInitialize();
        PicturesInitialize();
        PanelsInitialize();
        return true;
    }();
    (void)started;
}

inline void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// Records the events it is bound to.
struct TEventLog : TObject {
    std::vector<std::string> Events;
    void Add(const char* what) { Events.push_back(what); }
    void Minimize(TObject*) { Add("minimize"); }
    void Maximize(TObject*) { Add("maximize"); }
    void End(TObject*) { Add("end"); }
    void Close(TObject*) { Add("close"); }
    void CaptionClick(TObject*) { Add("caption"); }
    void CaptionDblClick(TObject*) { Add("caption double"); }
    void Change(TObject*) { Add("change"); }
    void Watch(TCustomLumPanel* p) {
        p->OnMinimize = TNotifyEvent::Bind<&TEventLog::Minimize>(this);
        p->OnMaximize = TNotifyEvent::Bind<&TEventLog::Maximize>(this);
        p->OnEndCollapsExpand = TNotifyEvent::Bind<&TEventLog::End>(this);
        p->OnClose = TNotifyEvent::Bind<&TEventLog::Close>(this);
        p->OnCaptionClick = TNotifyEvent::Bind<&TEventLog::CaptionClick>(this);
        p->OnCaptionDBlClick = TNotifyEvent::Bind<&TEventLog::CaptionDblClick>(this);
    }
    std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

// A click of the left button at a client point, as the window receives it.
inline void Click(TWinControl* control, int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    control->Perform(WM_LBUTTONUP, 0, at);
}

class PanelFormTest : public ::testing::Test {
protected:
    void SetUp() override { StartUnits(); }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    TForm* Load(const String& layout) {
        FreeAndNil(form);
        form = new TForm(Application);
        form->ReadLayout(layout, "test");
        return form;
    }
    // A form with one panel on it, 200 x 100 at (10, 10).
    TLumPanel* NewPanel() {
        if (!form) {
            form = new TForm(Application);
            form->SetBounds(0, 0, 400, 300);
        }
        auto* p = NewObject<TLumPanel>(form);
        p->SetParent(form);
        p->SetBounds(10, 10, 200, 100);
        p->SetHeight(100);  // as the layout sets it: the full height too
        return p;
    }
    template <class T>
    T* Find(const char* name) {
        auto* c = dynamic_cast<T*>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    String Written() { return TWriter().WriteRootComponent(form); }
    TForm* form = nullptr;
};

}  // namespace panel_test

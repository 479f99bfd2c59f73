// Helpers of the option controls' tests: a form read from a layout text
// with the option controls registered, message pumping, and an event log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/forms.h"
#include "components/controls/option_controls_unit_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "paint_harness.h"

namespace option_controls_test {

// Records the events it is bound to, with the sender's name.
struct TEventLog : TObject {
    std::vector<std::string> Events;
    static std::string NameOf(TObject* sender) {
        auto* c = dynamic_cast<TComponent*>(sender);
        return c ? std::string(c->Name()) : std::string("?");
    }
    void Click(TObject* s) { Events.push_back("click " + NameOf(s)); }
    void Enter(TObject* s) { Events.push_back("enter " + NameOf(s)); }
    void DropUp(TObject* s) { Events.push_back("dropup " + NameOf(s)); }
    TNotifyEvent OnClick() { return TNotifyEvent::Bind<&TEventLog::Click>(this); }
    TNotifyEvent OnEnter() { return TNotifyEvent::Bind<&TEventLog::Enter>(this); }
    TNotifyEvent OnDropUp() { return TNotifyEvent::Bind<&TEventLog::DropUp>(this); }
    std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

inline void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// A form built from a layout text (the root object is "object Form1: TForm").
class LayoutFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Once for the test program: the units stay up to its end.
        static const bool started = [] {
            ClasslibUiInitialize();
            FoundationInitialize();
            OptionControlsInitialize();
            return true;
        }();
        (void)started;
    }
    void TearDown() override {
        FreeAndNil(form);
        Pump();
    }
    TForm* Load(const String& layout) {
        form = new TForm(Application);
        form->ReadLayout(layout, "test");
        return form;
    }
    void ShowForm() {
        form->Show();
        Pump();
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

}  // namespace option_controls_test

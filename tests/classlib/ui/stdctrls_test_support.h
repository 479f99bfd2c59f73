// Helpers of the standard-control tests: a form read from a layout text,
// message pumping, an event log, layout round trips and a DIB to paint
// controls into.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/core/filer.h"
#include "classlib/ui/comctrls.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/gdi_helpers.h"
#include "classlib/ui/stdctrls.h"

namespace stdctrls_test {

// Records the events it is bound to, with the sender's name.
struct TEventLog : TObject {
    std::vector<std::string> Events;
    static std::string NameOf(TObject* sender) {
        auto* c = dynamic_cast<TComponent*>(sender);
        return c ? c->Name() : std::string("?");
    }
    void Click(TObject* s) { Events.push_back("click " + NameOf(s)); }
    void Change(TObject* s) { Events.push_back("change " + NameOf(s)); }
    void Select(TObject* s) { Events.push_back("select " + NameOf(s)); }
    void DropDown(TObject* s) { Events.push_back("dropdown " + NameOf(s)); }
    void CloseUp(TObject* s) { Events.push_back("closeup " + NameOf(s)); }
    void Enter(TObject* s) { Events.push_back("enter " + NameOf(s)); }
    void Paint(TObject* s) { Events.push_back("paint " + NameOf(s)); }
    bool Allow = true;
    void Changing(TObject* s, bool& allow) {
        Events.push_back("changing " + NameOf(s));
        allow = Allow;
    }
    void Scroll(TObject*, TScrollCode code, int& pos) {
        Events.push_back("scroll " + std::to_string(int(code)) + " " + std::to_string(pos));
    }
    TNotifyEvent OnClick() { return TNotifyEvent::Bind<&TEventLog::Click>(this); }
    TNotifyEvent OnChange() { return TNotifyEvent::Bind<&TEventLog::Change>(this); }
    TNotifyEvent OnSelect() { return TNotifyEvent::Bind<&TEventLog::Select>(this); }
    TNotifyEvent OnEnter() { return TNotifyEvent::Bind<&TEventLog::Enter>(this); }
};

inline void Pump() {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
}

// Sends the notification a control's window sends its parent.
inline void Notify(TWinControl* control, WORD code) {
    SendMessageA(GetParent(control->Handle()), WM_COMMAND, MAKEWPARAM(0, code), LPARAM(control->Handle()));
}

// A form built from a layout text (the root object is "object Form1: TForm").
class LayoutFormTest : public ::testing::Test {
protected:
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
    // The form's layout as the writer stores it.
    String Written() { return TWriter().WriteRootComponent(form); }
    // Writes the form, reads the text into a new form and writes that:
    // both texts must be the same. Leaves the new form in place.
    String RoundTrip() {
        String first = Written();
        FreeAndNil(form);
        Load(first);
        String second = Written();
        EXPECT_EQ(first, second);
        return second;
    }
    TForm* form = nullptr;
};

// A 32-bit top-down DIB section in a memory DC, filled with one colour.
class TDib {
public:
    TDib(int width, int height, COLORREF fill) : FWidth(width), FHeight(height) {
        BITMAPINFO info = TopDown32BitInfo(width, height);
        FDC = CreateCompatibleDC(nullptr);
        FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &FBits, nullptr, 0);
        FOld = SelectObject(FDC, FBitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT r{0, 0, width, height};
        FillRect(FDC, &r, brush);
        DeleteObject(brush);
    }
    ~TDib() {
        SelectObject(FDC, FOld);
        DeleteObject(FBitmap);
        DeleteDC(FDC);
    }
    TDib(const TDib&) = delete;
    TDib& operator=(const TDib&) = delete;
    HDC DC() const { return FDC; }
    // The pixel as a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        GdiFlush();
        const Byte* p = static_cast<const Byte*>(FBits) + (size_t(y) * size_t(FWidth) + size_t(x)) * 4;
        return RGB(p[2], p[1], p[0]);
    }
    // Whether any pixel of the rectangle differs from color.
    bool AnyOtherThan(TRect r, COLORREF color) const {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (At(x, y) != color) return true;
        return false;
    }

private:
    int FWidth, FHeight;
    HDC FDC;
    HBITMAP FBitmap;
    HGDIOBJ FOld;
    void* FBits = nullptr;
};

inline COLORREF Sys(TColor color) { return COLORREF(ColorToRGB(color)); }

}  // namespace stdctrls_test

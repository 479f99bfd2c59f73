// The stored properties of a form put back from a "Settings.ini" of any
// content, through the type information: integers, enumerations, sets,
// floats, variants, texts and component names. Nothing may crash, and what
// is read is a fixed point: saving the properties, reading the saved text
// into a fresh form and saving again gives the same text.
#include <cstdint>
#include <cstdlib>

#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"
#include "storage/ini_file_storage.h"
#include "storage/property_storage.h"

namespace {

enum TFuzzShade { fsLight, fsMedium, fsDark };
QL_DECLARE_ENUM(TFuzzShade);
QL_DEFINE_ENUM(TFuzzShade, "fsLight", "fsMedium", "fsDark")

class TFuzzPage : public TComponent {
    QL_CLASS(TFuzzPage, TComponent)
public:
    using TComponent::TComponent;
};

class TFuzzBox : public TComponent {
    QL_CLASS(TFuzzBox, TComponent)
public:
    using TComponent::TComponent;
    bool FChecked = false;
    int FIndex = 0;
    long long FBig = 0;
    TFuzzShade FShade = fsLight;
    TSet<TFuzzShade> FShades;
    double FRatio = 0;
    Variant FValue;
    String FCaption;
    TFuzzPage* FPage = nullptr;
    TNotifyEvent FOnClick;
};

TClass TFuzzPage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFuzzPage>("TFuzzPage").Build();
    return &info;
}
TClass TFuzzBox::StaticClass() {
    using B = TFuzzBox;
    static const TClassInfo info = TClassBuilder<B>("TFuzzBox")
                                       .Prop("Checked", &B::FChecked, &B::FChecked)
                                       .Prop("ItemIndex", &B::FIndex, &B::FIndex)
                                       .Prop("Big", &B::FBig, &B::FBig)
                                       .Prop("Shade", &B::FShade, &B::FShade)
                                       .Prop("Shades", &B::FShades, &B::FShades)
                                       .Prop("Ratio", &B::FRatio, &B::FRatio)
                                       .Prop("Value", &B::FValue, &B::FValue)
                                       .Prop("Caption", &B::FCaption, &B::FCaption)
                                       .Prop("ActivePage", &B::FPage, &B::FPage)
                                       .Prop("OnClick", &B::FOnClick, &B::FOnClick)
                                       .Build();
    return &info;
}

const char* const Lines[] = {"Box1.Checked", "Box1.ItemIndex", "Box1.Big",       "Box1.Shade",      "Box1.Shades",
                             "Box1.Ratio",   "Box1.Value",     "Box1.Caption",   "Box1.ActivePage", "Box1.OnClick",
                             "Box2.Shade",   "Box2.Value",     "Box2.ActivePage"};

// A form with two boxes and two pages, its stored lines bound to them.
struct TFuzzForm {
    TComponent* Form = new TComponent(nullptr);
    TZvFormStorageStringList StoredLines;
    TFuzzForm() {
        Form->SetName("frmMain");
        (new TFuzzBox(Form))->SetName("Box1");
        (new TFuzzBox(Form))->SetName("Box2");
        (new TFuzzPage(Form))->SetName("Page1");
        (new TFuzzPage(Form))->SetName("Page2");
        for (const char* line : Lines) StoredLines.Add(line);
        RebindStoredLines(Form, &StoredLines, true);
    }
    ~TFuzzForm() { delete Form; }
};

String LoadAndSave(const String& content) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.Reload();
    store.SetAsString(content);
    TZvPropertyStorage storage;
    storage.AppStorage = &store;
    storage.AppStoragePath = "frmMain\\";
    TFuzzForm form;
    storage.LoadComponentProperties(form.Form, &form.StoredLines);

    TZvAppIniFileStorage saved(nullptr);
    saved.SetFlushOnDestroy(false);
    saved.Reload();
    storage.AppStorage = &saved;
    storage.SaveComponentProperties(form.Form, &form.StoredLines);
    return saved.AsString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 14) return 0;
    String first = LoadAndSave(String(reinterpret_cast<const char*>(data), size));
    if (LoadAndSave(first) != first) std::abort();
    return 0;
}

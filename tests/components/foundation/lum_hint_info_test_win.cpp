// The office hint record: copying, writing its owned parts, and its place in
// a stored layout.
#include "components/foundation/lum_hint_info_win.h"

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "picture_test_support_win.h"

using namespace pictest;

namespace {

// A component with an office hint, as the glow button and the pager have.
class THintHolder : public TComponent {
    QL_CLASS(THintHolder, TComponent)
public:
    explicit THintHolder(TComponent* owner) : TComponent(owner) {}
    TLumHintInfo* OfficeHint() const { return FHint.get(); }
    void SetOfficeHint(TLumHintInfo* value) { FHint->Assign(value); }

private:
    std::unique_ptr<TLumHintInfo> FHint = std::make_unique<TLumHintInfo>();
};

TBytes Saved(TGraphic* graphic) {
    TBytesStream s;
    graphic->SaveToStream(s);
    return s.Bytes();
}

}  // namespace

TClass THintHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<THintHolder>("THintHolder")
                                       .Prop("OfficeHint", &THintHolder::OfficeHint, &THintHolder::SetOfficeHint)
                                       .Build();
    return &info;
}

TEST(LumHintInfo, AssignCopiesEverything) {
    TLumHintInfo source;
    source.SetTitle("Apply");
    source.Notes()->Add("Writes the settings");
    source.Notes()->Add("of all three compilers.");
    source.SetShowHelp(true);
    LoadInto(*source.Picture(), QuadrantPng(4, 2));
    source.SetWideTitle(L"Apply \u2713");
    source.SetWideNotes({L"one", L"two"});

    TLumHintInfo hint;
    hint.Assign(&source);
    EXPECT_EQ(hint.Title(), "Apply");
    EXPECT_EQ(hint.Notes()->Text(), source.Notes()->Text());
    EXPECT_NE(hint.Notes(), source.Notes());
    EXPECT_TRUE(hint.ShowHelp());
    EXPECT_NE(hint.Picture(), source.Picture());
    EXPECT_EQ(Saved(hint.Picture()), Saved(source.Picture()));
    EXPECT_EQ(hint.Picture()->Width(), 4);
    EXPECT_EQ(hint.WideTitle(), L"Apply \u2713");
    EXPECT_EQ(hint.WideNotes(), (std::vector<std::wstring>{L"one", L"two"}));
}

TEST(LumHintInfo, AnEmptyPictureEmptiesThisOneWithAChangeNotAClear) {
    TLumHintInfo hint;
    LoadInto(*hint.Picture(), QuadrantPng(2, 2));
    TEventLog log;
    hint.Picture()->OnChange = log.OnChange();
    hint.Picture()->OnClear = log.OnClear();
    TLumHintInfo empty;
    hint.Assign(&empty);
    EXPECT_TRUE(hint.Picture()->Empty());
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
}

TEST(LumHintInfo, OtherSourcesLeaveItUnchanged) {
    TLumHintInfo hint;
    hint.SetTitle("kept");
    TStringList notes;
    notes.Add("x");
    hint.Assign(&notes);
    hint.Assign(nullptr);
    EXPECT_EQ(hint.Title(), "kept");
    EXPECT_EQ(hint.Notes()->Count(), 0);
    // Writing the notes and the picture copies them; the hint owns its own.
    hint.SetNotes(&notes);
    EXPECT_EQ(hint.Notes()->Count(), 1);
    EXPECT_NE(hint.Notes(), &notes);
    TGDIPPicture picture;
    LoadInto(picture, QuadrantBmp(2, 6));
    hint.SetPicture(&picture);
    EXPECT_NE(hint.Picture(), &picture);
    EXPECT_EQ(hint.Picture()->Height(), 6);
}

TEST(LumHintInfo, TheStoredLayoutKeepsTitleNotesAndPictureBytes) {
    RegisterClass(THintHolder::StaticClass());
    TBytes png = QuadrantPng(5, 3);
    String text;
    {
        TForm form(nullptr);
        form.SetName("frmHint");
        auto* holder = new THintHolder(&form);
        holder->SetName("HintHolder1");
        holder->OfficeHint()->SetTitle("Settings");
        holder->OfficeHint()->Notes()->Add("line 1");
        holder->OfficeHint()->SetShowHelp(true);
        LoadInto(*holder->OfficeHint()->Picture(), png);
        text = TWriter().WriteRootComponent(&form);
    }
    EXPECT_NE(text.find("OfficeHint.Picture.Data = {"), String::npos) << text;
    TForm form(nullptr);
    TReader(text).ReadRootComponent(&form);
    auto* holder = dynamic_cast<THintHolder*>(form.FindComponent("HintHolder1"));
    ASSERT_NE(holder, nullptr);
    TLumHintInfo* hint = holder->OfficeHint();
    EXPECT_EQ(hint->Title(), "Settings");
    EXPECT_EQ(hint->Notes()->Count(), 1);
    EXPECT_TRUE(hint->ShowHelp());
    EXPECT_EQ(Saved(hint->Picture()), png);
    EXPECT_EQ(hint->Picture()->Width(), 0);  // until measured
    EXPECT_TRUE(hint->Picture()->GetImageSizes());
    EXPECT_EQ(hint->Picture()->Width(), 5);
    EXPECT_EQ(TWriter().WriteRootComponent(&form), text);
    UnregisterClass(THintHolder::StaticClass());
}

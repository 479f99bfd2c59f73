#include "app/main_form_win.h"

#include "app/file_lists.h"
#include "classlib/core/typinfo.h"
#include "classlib/os/files.h"
#include "classlib/os/shell.h"

TfrmMain* frmMain = nullptr;

namespace {

// The option controls by the number in their names.
constexpr TLumOfficeCheckBox* TfrmMain::*kCheckBoxes[24] = {
    nullptr,
    &TfrmMain::LumOfficeCheckBox1,
    &TfrmMain::LumOfficeCheckBox2,
    &TfrmMain::LumOfficeCheckBox3,
    &TfrmMain::LumOfficeCheckBox4,
    &TfrmMain::LumOfficeCheckBox5,
    &TfrmMain::LumOfficeCheckBox6,
    &TfrmMain::LumOfficeCheckBox7,
    &TfrmMain::LumOfficeCheckBox8,
    &TfrmMain::LumOfficeCheckBox9,
    &TfrmMain::LumOfficeCheckBox10,
    &TfrmMain::LumOfficeCheckBox11,
    &TfrmMain::LumOfficeCheckBox12,
    &TfrmMain::LumOfficeCheckBox13,
    &TfrmMain::LumOfficeCheckBox14,
    &TfrmMain::LumOfficeCheckBox15,
    &TfrmMain::LumOfficeCheckBox16,
    &TfrmMain::LumOfficeCheckBox17,
    &TfrmMain::LumOfficeCheckBox18,
    &TfrmMain::LumOfficeCheckBox19,
    &TfrmMain::LumOfficeCheckBox20,
    &TfrmMain::LumOfficeCheckBox21,
    &TfrmMain::LumOfficeCheckBox22,
    &TfrmMain::LumOfficeCheckBox23,
};
constexpr TLumOfficeRadioGroup* TfrmMain::*kRadioGroups[6] = {
    nullptr,
    &TfrmMain::LumOfficeRadioGroup1,
    &TfrmMain::LumOfficeRadioGroup2,
    &TfrmMain::LumOfficeRadioGroup3,
    &TfrmMain::LumOfficeRadioGroup4,
    &TfrmMain::LumOfficeRadioGroup5,
};

// The selected line of a list, "" when none is.
String SelectedItem(TStrings* items, int index) {
    return index >= 0 && index < items->Count() ? items->Strings(index) : String();
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {}

TClass TfrmMain::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TfrmMain>("TfrmMain")
            .Field("LumPanel1", &TfrmMain::LumPanel1)
            .Field("RadioGroup1", &TfrmMain::RadioGroup1)
            .Field("imgLogo", &TfrmMain::imgLogo)
            .Field("Label15", &TfrmMain::Label15)
            .Field("ZvBevel1", &TfrmMain::ZvBevel1)
            .Field("LumGroupBox2", &TfrmMain::LumGroupBox2)
            .Field("Layouts_Combobox", &TfrmMain::Layouts_Combobox)
            .Field("LayoutsBtn", &TfrmMain::LayoutsBtn)
            .Field("LumGroupBox1", &TfrmMain::LumGroupBox1)
            .Field("ColScheme_combobox", &TfrmMain::ColScheme_combobox)
            .Field("SchemesBtn", &TfrmMain::SchemesBtn)
            .Field("AdvSettingsBTN", &TfrmMain::AdvSettingsBTN)
            .Field("LumOfficePager1", &TfrmMain::LumOfficePager1)
            .Field("LumOfficePager12", &TfrmMain::LumOfficePager12)
            .Field("LumOfficePager13", &TfrmMain::LumOfficePager13)
            .Field("LumOfficePager11", &TfrmMain::LumOfficePager11)
            .Field("LumGroupBox5", &TfrmMain::LumGroupBox5)
            .Field("LumOfficeCheckBox1", &TfrmMain::LumOfficeCheckBox1)
            .Field("LumOfficeCheckBox2", &TfrmMain::LumOfficeCheckBox2)
            .Field("LumOfficeCheckBox3", &TfrmMain::LumOfficeCheckBox3)
            .Field("LumOfficeCheckBox4", &TfrmMain::LumOfficeCheckBox4)
            .Field("LumOfficeCheckBox5", &TfrmMain::LumOfficeCheckBox5)
            .Field("LumOfficeCheckBox6", &TfrmMain::LumOfficeCheckBox6)
            .Field("LumOfficeCheckBox7", &TfrmMain::LumOfficeCheckBox7)
            .Field("LumOfficeCheckBox8", &TfrmMain::LumOfficeCheckBox8)
            .Field("LumOfficeCheckBox9", &TfrmMain::LumOfficeCheckBox9)
            .Field("LumOfficeCheckBox10", &TfrmMain::LumOfficeCheckBox10)
            .Field("LumOfficeCheckBox11", &TfrmMain::LumOfficeCheckBox11)
            .Field("LumOfficeCheckBox12", &TfrmMain::LumOfficeCheckBox12)
            .Field("LumOfficeCheckBox13", &TfrmMain::LumOfficeCheckBox13)
            .Field("LumOfficeCheckBox14", &TfrmMain::LumOfficeCheckBox14)
            .Field("LumOfficeCheckBox15", &TfrmMain::LumOfficeCheckBox15)
            .Field("LumOfficeCheckBox16", &TfrmMain::LumOfficeCheckBox16)
            .Field("LumOfficeCheckBox17", &TfrmMain::LumOfficeCheckBox17)
            .Field("LumOfficeCheckBox18", &TfrmMain::LumOfficeCheckBox18)
            .Field("LumOfficeCheckBox19", &TfrmMain::LumOfficeCheckBox19)
            .Field("LumOfficeCheckBox20", &TfrmMain::LumOfficeCheckBox20)
            .Field("LumOfficeCheckBox21", &TfrmMain::LumOfficeCheckBox21)
            .Field("LumOfficeCheckBox22", &TfrmMain::LumOfficeCheckBox22)
            .Field("LumOfficeCheckBox23", &TfrmMain::LumOfficeCheckBox23)
            .Field("LumOfficeRadioGroup1", &TfrmMain::LumOfficeRadioGroup1)
            .Field("LumOfficeRadioGroup2", &TfrmMain::LumOfficeRadioGroup2)
            .Field("LumOfficeRadioGroup3", &TfrmMain::LumOfficeRadioGroup3)
            .Field("LumOfficeRadioGroup4", &TfrmMain::LumOfficeRadioGroup4)
            .Field("LumOfficeRadioGroup5", &TfrmMain::LumOfficeRadioGroup5)
            .Field("LumComboBox1", &TfrmMain::LumComboBox1)
            .Field("LumPanel2", &TfrmMain::LumPanel2)
            .Field("LumPanelStyler1", &TfrmMain::LumPanelStyler1)
            .Field("PngImageList1", &TfrmMain::PngImageList1)
            .Field("ZvAppIniFileStorage1", &TfrmMain::ZvAppIniFileStorage1)
            .Field("ZvFormStorage1", &TfrmMain::ZvFormStorage1)
            .Field("_mikroC", &TfrmMain::_mikroC)
            .Field("_mikroP", &TfrmMain::_mikroP)
            .Field("_mikroB", &TfrmMain::_mikroB)
            .Field("_All_compilers", &TfrmMain::_All_compilers)
            .Method<TNotifyEvent, &TfrmMain::FormCreate>("FormCreate")
            .Method<TNotifyEvent, &TfrmMain::FormShow>("FormShow")
            .Method<TNotifyEvent, &TfrmMain::AdvSettingsBTNClick>("AdvSettingsBTNClick")
            .Method<TNotifyEvent, &TfrmMain::LumOfficeCheckBox11Click>("LumOfficeCheckBox11Click")
            .Method<TNotifyEvent, &TfrmMain::LayoutsBtnClick>("LayoutsBtnClick")
            .Method<TNotifyEvent, &TfrmMain::SchemesBtnClick>("SchemesBtnClick")
            .Method<TNotifyEvent, &TfrmMain::imgLogoClick>("imgLogoClick")
            .Method<TNotifyEvent, &TfrmMain::RadioGroup1Click>("RadioGroup1Click")
            .Method<TNotifyEvent, &TfrmMain::Layouts_ComboboxEnter>("Layouts_ComboboxEnter")
            .Method<TNotifyEvent, &TfrmMain::ColScheme_comboboxEnter>("ColScheme_comboboxEnter")
            .Method<TNotifyEvent, &TfrmMain::_mikroCClick>("_mikroCClick")
            .Method<TNotifyEvent, &TfrmMain::_mikroPClick>("_mikroPClick")
            .Method<TNotifyEvent, &TfrmMain::_mikroBClick>("_mikroBClick")
            .Method<TNotifyEvent, &TfrmMain::_All_compilersClick>("_All_compilersClick")
            .Build();
    return &info;
}

// ---- What the window shows ----

TWindowChoices TfrmMain::Choices() const {
    TWindowChoices c;
    c.FamilyIndex = RadioGroup1->ItemIndex();
    // No family selected (or an index that names none) finds nothing.
    c.Family = SelectedItem(RadioGroup1->Items(), c.FamilyIndex);
    c.LayoutCount = Layouts_Combobox->Items()->Count();
    c.LayoutIndex = Layouts_Combobox->ItemIndex();
    c.SchemeCount = ColScheme_combobox->Items()->Count();
    c.SchemeIndex = ColScheme_combobox->ItemIndex();
    return c;
}

TCompilerOptions TfrmMain::Options() const {
    TCompilerOptions o;
    o.Layout = SelectedItem(Layouts_Combobox->Items(), Layouts_Combobox->ItemIndex());
    o.ColorScheme = SelectedItem(ColScheme_combobox->Items(), ColScheme_combobox->ItemIndex());
    for (std::size_t i = 1; i < std::size(kCheckBoxes); ++i) o.CheckBox[i] = (this->*kCheckBoxes[i])->Checked();
    for (std::size_t i = 1; i < std::size(kRadioGroups); ++i) o.RadioGroup[i] = (this->*kRadioGroups[i])->ItemIndex();
    o.ComboBox1 = LumComboBox1->ItemIndex();
    return o;
}

String TfrmMain::CaptionOf(TObject* sender) {
    auto* control = dynamic_cast<TControl*>(sender);
    return control ? control->Caption() : String();
}

// ---- Start-up, showing and the expand button ----

void TfrmMain::FormCreate(TObject* Sender) {
    SetPosition(poScreenCenter);
    RadioGroup1->Controls(5)->SetEnabled(false);  // "for 8051"
    FDefaultFamily = RadioGroup1->ItemIndex();
}

void TfrmMain::ApplyExpandState() {
    const bool expanded = AdvSettingsBTN->Tag() != 0;
    SetHeight(expanded ? ExpandedHeight() : CollapsedHeight());
    AdvSettingsBTN->SetImageIndex(expanded ? 1 : 0);
    // Below the window's edge the option pages are out of reach: neither
    // Tab nor a mnemonic may put the focus on them.
    LumOfficePager1->SetVisible(expanded);
}

void TfrmMain::KeepFamilyChoosable() {
    // A family that cannot be chosen with the mouse (a disabled button, or
    // an index past the items, which the group shows as its last one)
    // cannot come back from the settings file either.
    const int index = RadioGroup1->ItemIndex();
    if (index < 0) return;  // nothing selected: the checks say so
    const bool choosable = index < RadioGroup1->ButtonCount() && RadioGroup1->Buttons(index)->Enabled();
    if (!choosable) RadioGroup1->SetItemIndex(FDefaultFamily);
}

int TfrmMain::ExpandedHeight() const { return LumPanel1->Height() + 65; }

int TfrmMain::CollapsedHeight() const { return LumPanel2->Height() + LumOfficePager1->Top() + 30; }

void TfrmMain::FormShow(TObject* Sender) {
    // The stored arrow and the stored state may disagree: the state decides.
    ApplyExpandState();
    KeepFamilyChoosable();
    RadioGroup1Click(nullptr);
    Update_Combobox(Layouts_Combobox);
    Update_Combobox(ColScheme_combobox);
    for (TLumComboBox* list : {Layouts_Combobox, ColScheme_combobox})
        if (list->Items()->Count() > 0) list->SetItemIndex(0);
}

void TfrmMain::AdvSettingsBTNClick(TObject* Sender) {
    AdvSettingsBTN->SetTag(AdvSettingsBTN->Tag() != 0 ? 0 : 1);
    ApplyExpandState();
}

void TfrmMain::LumOfficeCheckBox11Click(TObject* Sender) {
    const bool generateAsm = LumOfficeCheckBox11->Checked();
    LumOfficeCheckBox12->SetChecked(generateAsm);
    LumOfficeCheckBox13->SetChecked(generateAsm);
    LumOfficeCheckBox14->SetChecked(generateAsm);
}

// ---- Folders and the logo ----

void TfrmMain::LayoutsBtnClick(TObject* Sender) {
    ShellOpen(Handle(), FSystem.ProgramFolder() + kLayoutList.Folder + "\\");
}

void TfrmMain::SchemesBtnClick(TObject* Sender) {
    ShellOpen(Handle(), FSystem.ProgramFolder() + kColorSchemeList.Folder + "\\");
}

void TfrmMain::imgLogoClick(TObject* Sender) {
    if (auto* image = dynamic_cast<TImage*>(Sender)) ShellOpen(Application->Handle(), image->Hint());
}

// ---- Compilers and lists ----

String TfrmMain::Get_Path(TObject* Sender, bool probe) { return FUpdater.GetPath(CaptionOf(Sender), Choices(), probe); }

void TfrmMain::RadioGroup1Click(TObject* Sender) {
    const std::array<bool, 3> found =
        FUpdater.ProbeCompilers({_mikroC->Caption(), _mikroP->Caption(), _mikroB->Caption()}, Choices());
    _mikroC->SetEnabled(found[0]);
    _mikroP->SetEnabled(found[1]);
    _mikroB->SetEnabled(found[2]);
    _All_compilers->SetEnabled(_mikroC->Enabled() && _mikroP->Enabled() && _mikroB->Enabled());
}

void TfrmMain::Update_Combobox(TObject* Sender) {
    TLumComboBox* list = Sender == Layouts_Combobox ? Layouts_Combobox : ColScheme_combobox;
    const TFileListKind& kind = list == Layouts_Combobox ? kLayoutList : kColorSchemeList;
    // Clearing drops the selection; nothing restores it.
    // The entries go straight in (no update bracket), so that the message
    // for a folder without files shows over a list that holds the
    // placeholder.
    list->Items()->Clear();
    FUpdater.FillList(kind, [list](const String& entry) { list->Items()->Add(entry); });
}

void TfrmMain::Layouts_ComboboxEnter(TObject* Sender) { Update_Combobox(Sender); }

void TfrmMain::ColScheme_comboboxEnter(TObject* Sender) { Update_Combobox(Sender); }

int TfrmMain::Import_Settings(TObject* Sender) {
    return FUpdater.ImportSettings(CaptionOf(Sender), Choices(), Options());
}

void TfrmMain::_mikroCClick(TObject* Sender) { FUpdater.ChangeCompiler(CaptionOf(Sender), Choices(), Options()); }

void TfrmMain::_mikroPClick(TObject* Sender) { FUpdater.ChangeCompiler(CaptionOf(Sender), Choices(), Options()); }

void TfrmMain::_mikroBClick(TObject* Sender) { FUpdater.ChangeCompiler(CaptionOf(Sender), Choices(), Options()); }

void TfrmMain::_All_compilersClick(TObject* Sender) {
    FUpdater.ChangeAllCompilers({_mikroC->Caption(), _mikroP->Caption(), _mikroB->Caption()}, Choices(), Options());
}

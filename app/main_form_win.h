// The program's one window: the target family, the layout and colour
// scheme to use, the options of the three option pages, and the compiler
// buttons. The window reads its controls and puts results into them; the
// work is the settings updater's.
//
// Its stored layout is the RCDATA resource "TFRMMAIN", which names the
// program's own components: the logic reads only Checked, ItemIndex,
// Items, Caption, Enabled, Tag, ImageIndex, Height and Top of them. The form storage
// keeps the window's size and state and the options in "Settings.ini":
// it restores them before FormShow runs and saves them when the window
// closes.
#pragma once

#include "app/compiler_options.h"
#include "app/settings_updater.h"
#include "app/updater_system_win.h"
#include "classlib/ui/comctrls.h"
#include "classlib/ui/extctrls.h"
#include "classlib/ui/stdctrls.h"
#include "components/controls/combo_box_win.h"
#include "components/controls/glow_button_win.h"
#include "components/controls/group_box_win.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/lum_panel_win.h"
#include "components/controls/office_check_box_win.h"
#include "components/controls/office_radio_group_win.h"
#include "components/dataproviders/zv_bevel_win.h"
#include "components/pager/lum_office_pager_win.h"
#include "imaging/png/png_imagelist_win.h"
#include "storage/form_placement.h"
#include "storage/ini_file_storage.h"

class TfrmMain : public TForm {
    QL_CLASS(TfrmMain, TForm)
public:
    explicit TfrmMain(TComponent* owner);

    // ---- Components of the stored layout ----
    TLumPanel* LumPanel1 = nullptr;
    TLumOfficeRadioGroup* RadioGroup1 = nullptr;
    TImage* imgLogo = nullptr;
    TLabel* Label15 = nullptr;
    TZvBevel* ZvBevel1 = nullptr;
    TLumGroupBox* LumGroupBox2 = nullptr;
    TLumComboBox* Layouts_Combobox = nullptr;
    TLumGlowButton* LayoutsBtn = nullptr;
    TLumGroupBox* LumGroupBox1 = nullptr;
    TLumComboBox* ColScheme_combobox = nullptr;
    TLumGlowButton* SchemesBtn = nullptr;
    TLumGlowButton* AdvSettingsBTN = nullptr;
    TLumOfficePager* LumOfficePager1 = nullptr;
    TLumOfficePage* LumOfficePager12 = nullptr;  // "Editor Settings"
    TLumOfficePage* LumOfficePager13 = nullptr;  // "IDE Style"
    TLumOfficePage* LumOfficePager11 = nullptr;  // "Output Settings"
    TLumGroupBox* LumGroupBox5 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox1 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox2 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox3 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox4 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox5 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox6 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox7 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox8 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox9 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox10 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox11 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox12 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox13 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox14 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox15 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox16 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox17 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox18 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox19 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox20 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox21 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox22 = nullptr;
    TLumOfficeCheckBox* LumOfficeCheckBox23 = nullptr;
    TLumOfficeRadioGroup* LumOfficeRadioGroup1 = nullptr;
    TLumOfficeRadioGroup* LumOfficeRadioGroup2 = nullptr;
    TLumOfficeRadioGroup* LumOfficeRadioGroup3 = nullptr;
    TLumOfficeRadioGroup* LumOfficeRadioGroup4 = nullptr;
    TLumOfficeRadioGroup* LumOfficeRadioGroup5 = nullptr;
    TLumComboBox* LumComboBox1 = nullptr;
    TLumPanel* LumPanel2 = nullptr;
    TLumPanelStyler* LumPanelStyler1 = nullptr;
    TPngImageList* PngImageList1 = nullptr;
    TZvAppIniFileStorage* ZvAppIniFileStorage1 = nullptr;  // "Settings.ini" beside the program
    TZvFormStorage* ZvFormStorage1 = nullptr;              // placement and the stored options
    TLumGlowButton* _mikroC = nullptr;
    TLumGlowButton* _mikroP = nullptr;
    TLumGlowButton* _mikroB = nullptr;
    TLumGlowButton* _All_compilers = nullptr;

    // ---- Event handlers (bound by name from the stored layout) ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void AdvSettingsBTNClick(TObject* Sender);
    void LumOfficeCheckBox11Click(TObject* Sender);
    void LayoutsBtnClick(TObject* Sender);
    void SchemesBtnClick(TObject* Sender);
    void imgLogoClick(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void Layouts_ComboboxEnter(TObject* Sender);
    void ColScheme_comboboxEnter(TObject* Sender);
    void _mikroCClick(TObject* Sender);
    void _mikroPClick(TObject* Sender);
    void _mikroBClick(TObject* Sender);
    void _All_compilersClick(TObject* Sender);

    // ---- The work behind the handlers ----
    // The compiler folder of the compiler button Sender ("" when none), the
    // user's choices checked first unless probe.
    String Get_Path(TObject* Sender, bool probe);
    // Refills the layout list (Sender is Layouts_Combobox) or else the
    // colour-scheme list.
    void Update_Combobox(TObject* Sender);
    // Rewrites the "settings.ini" of the compiler button Sender: 0 done, 1
    // not (see TSettingsUpdater::ImportSettings).
    int Import_Settings(TObject* Sender);

    // What the window shows, as the updater reads it.
    TWindowChoices Choices() const;
    TCompilerOptions Options() const;

    // Where the updater finds the registry, files and message boxes; tests
    // may point it to a folder of their own before the window shows.
    TWindowsUpdaterSystem& System() { return FSystem; }

private:
    // The window's height for the expanded (option pages shown) and the
    // collapsed state; the height is the whole window's.
    int ExpandedHeight() const;
    int CollapsedHeight() const;
    // The window's height, the expand button's arrow and whether the option
    // pages can take the focus, all from the expand state (the button's Tag).
    void ApplyExpandState();
    // Puts the layout's family back when the selected one cannot be chosen.
    void KeepFamilyChoosable();
    static String CaptionOf(TObject* sender);

    // The family the stored layout selects, for a restored one that cannot
    // be chosen.
    int FDefaultFamily = 0;
    TWindowsUpdaterSystem FSystem;
    TSettingsUpdater FUpdater{FSystem};
};

extern TfrmMain* frmMain;

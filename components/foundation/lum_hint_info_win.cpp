#include "components/foundation/lum_hint_info_win.h"

TClass TLumHintInfo::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLumHintInfo>("TLumHintInfo")
                                       .Prop("Title", &TLumHintInfo::Title, &TLumHintInfo::SetTitle)
                                       .Prop("Notes", &TLumHintInfo::Notes, &TLumHintInfo::SetNotes)
                                       .Prop("Picture", &TLumHintInfo::Picture, &TLumHintInfo::SetPicture)
                                       .Prop("ShowHelp", &TLumHintInfo::ShowHelp, &TLumHintInfo::SetShowHelp)
                                       .Default(false)
                                       .Build();
    return &info;
}

TLumHintInfo::TLumHintInfo() : FNotes(new TStringList), FPicture(new TGDIPPicture) {}

TLumHintInfo::~TLumHintInfo() {
    delete FPicture;
    delete FNotes;
}

void TLumHintInfo::Assign(TPersistent* source) {
    auto* hint = dynamic_cast<TLumHintInfo*>(source);
    if (!hint || hint == this) return;
    FTitle = hint->FTitle;
    FNotes->Assign(hint->FNotes);
    FShowHelp = hint->FShowHelp;
    FPicture->Assign(hint->FPicture);
    FWideTitle = hint->FWideTitle;
    FWideNotes = hint->FWideNotes;
}

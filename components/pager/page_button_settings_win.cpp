#include "components/pager/page_button_settings_win.h"

namespace {

// A picture from the program's RCDATA resource of that name (empty when
// there is none).
TGDIPPicture* ResourcePicture(const char* name) {
    auto* picture = new TGDIPPicture;
    picture->LoadFromResourceName(GetModuleHandleA(nullptr), name);
    return picture;
}

}  // namespace

TClass TPageButtonSettings::StaticClass() {
    using C = TPageButtonSettings;
    static const TClassInfo info =
        TClassBuilder<C>("TPageButtonSettings")
            .Prop("CloseButton", &C::CloseButton, &C::SetCloseButton)
            .Default(false)
            .Prop("PageListButton", &C::PageListButton, &C::SetPageListButton)
            .Default(false)
            .Prop("CloseButtonPicture", &C::CloseButtonPicture, &C::SetCloseButtonPicture)
            .Prop("PageListButtonPicture", &C::PageListButtonPicture, &C::SetPageListButtonPicture)
            .Prop("ScrollButtonPrevPicture", &C::ScrollButtonPrevPicture, &C::SetScrollButtonPrevPicture)
            .Prop("ScrollButtonNextPicture", &C::ScrollButtonNextPicture, &C::SetScrollButtonNextPicture)
            .Prop("ScrollButtonFirstPicture", &C::ScrollButtonFirstPicture, &C::SetScrollButtonFirstPicture)
            .Prop("ScrollButtonLastPicture", &C::ScrollButtonLastPicture, &C::SetScrollButtonLastPicture)
            .Prop("CloseButtonHint", &C::CloseButtonHint, &C::SetCloseButtonHint)
            .Default("Close")
            .Prop("PageListButtonHint", &C::PageListButtonHint, &C::SetPageListButtonHint)
            .Default("Page List")
            .Prop("ScrollButtonsAlways", &C::ScrollButtonsAlways, &C::SetScrollButtonsAlways)
            .Default(false)
            .Prop("ScrollButtonNextHint", &C::ScrollButtonNextHint, &C::SetScrollButtonNextHint)
            .Default("Next")
            .Prop("ScrollButtonPrevHint", &C::ScrollButtonPrevHint, &C::SetScrollButtonPrevHint)
            .Default("Previous")
            .Prop("ScrollButtonFirstHint", &C::ScrollButtonFirstHint, &C::SetScrollButtonFirstHint)
            .Default("First")
            .Prop("ScrollButtonLastHint", &C::ScrollButtonLastHint, &C::SetScrollButtonLastHint)
            .Default("Last")
            .Prop("FirstButton", &C::FirstButton, &C::SetFirstButton)
            .Default(false)
            .Prop("LastButton", &C::LastButton, &C::SetLastButton)
            .Default(false)
            .Prop("OnChange", &C::OnChange, &C::OnChange)
            .Build();
    return &info;
}

TPageButtonSettings::TPageButtonSettings()
    : FCloseButtonPicture(ResourcePicture("QORAOCLOSE")), FPageListButtonPicture(ResourcePicture("QORAOLIST")),
      FScrollButtonPrevPicture(ResourcePicture("QORAOPREV")), FScrollButtonNextPicture(ResourcePicture("QORAONEXT")),
      FScrollButtonFirstPicture(ResourcePicture("QORAOFIRST")), FScrollButtonLastPicture(ResourcePicture("QORAOLAST")),
      FScrollButtonDownPicture(ResourcePicture("QORAODOWN")), FScrollButtonUpPicture(ResourcePicture("QORAOUP")),
      FScrollButtonDownLastPicture(ResourcePicture("QORAODOWNLAST")),
      FScrollButtonUpFirstPicture(ResourcePicture("QORAOUPFIRST")) {
    // Bound after loading, so that loading sets no flag.
    const TNotifyEvent changed = TNotifyEvent::Bind<&TPageButtonSettings::PictureChanged>(this);
    for (TGDIPPicture* p : {FCloseButtonPicture, FPageListButtonPicture, FScrollButtonPrevPicture,
                            FScrollButtonNextPicture, FScrollButtonFirstPicture, FScrollButtonLastPicture})
        p->OnChange = changed;
}

TPageButtonSettings::~TPageButtonSettings() {
    for (TGDIPPicture* p :
         {FCloseButtonPicture, FPageListButtonPicture, FScrollButtonPrevPicture, FScrollButtonNextPicture,
          FScrollButtonFirstPicture, FScrollButtonLastPicture, FScrollButtonDownPicture, FScrollButtonUpPicture,
          FScrollButtonDownLastPicture, FScrollButtonUpFirstPicture})
        delete p;
}

void TPageButtonSettings::PictureChanged(TObject* sender) {
    if (sender == FScrollButtonNextPicture) FNextPictureChanged = true;
    if (sender == FScrollButtonPrevPicture) FPrevPictureChanged = true;
    if (sender == FScrollButtonLastPicture) FLastPictureChanged = true;
    if (sender == FScrollButtonFirstPicture) FFirstPictureChanged = true;
    OnChange(this);
}

void TPageButtonSettings::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TPageButtonSettings*>(source);
    if (!s) return TPersistent::Assign(source);
    FPageListButton = s->FPageListButton;
    FCloseButton = s->FCloseButton;
    FScrollButtonNextPicture->Assign(s->FScrollButtonNextPicture);
    FScrollButtonPrevPicture->Assign(s->FScrollButtonPrevPicture);
    FPageListButtonPicture->Assign(s->FPageListButtonPicture);
    FCloseButtonPicture->Assign(s->FCloseButtonPicture);
    FScrollButtonsAlways = s->FScrollButtonsAlways;
    FScrollButtonFirstPicture->Assign(s->FScrollButtonFirstPicture);
    FScrollButtonLastPicture->Assign(s->FScrollButtonLastPicture);
}

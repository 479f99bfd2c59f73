// The pictures and hints of the pager's own buttons (close, page list, the
// four scroll buttons) and which of them the pager shows. The pictures are
// the program's own bitmap resources (RCDATA "QORAOCLOSE", "QORAOLIST",
// "QORAOPREV", "QORAONEXT", "QORAOFIRST", "QORAOLAST", and for tabs on the
// left or right "QORAOUP", "QORAODOWN", "QORAOUPFIRST", "QORAODOWNLAST");
// a missing resource leaves its picture empty.
//
// NextPictureChanged, PrevPictureChanged, FirstPictureChanged and
// LastPictureChanged turn true for good when the matching published picture
// changes after construction: the pager then shows the user's own scroll
// pictures on vertical tab rows instead of the up and down ones.
#pragma once

#include "components/foundation/gdip_picture_win.h"

class TPageButtonSettings : public TPersistent {
    QL_CLASS(TPageButtonSettings, TPersistent)
public:
    TPageButtonSettings();
    ~TPageButtonSettings() override;

    // From other button settings: PageListButton and CloseButton directly;
    // the next, previous, page-list and close pictures with their Assign
    // (which raises the picture change handler: the flags turn true even
    // for a copy of a default picture); ScrollButtonsAlways directly; the
    // first and last pictures likewise. Hints, FirstButton, LastButton and
    // the four vertical pictures stay as they are. Anything else goes to
    // the inherited Assign.
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value) { Change(FCloseButton, value); }
    bool PageListButton() const { return FPageListButton; }
    void SetPageListButton(bool value) { Change(FPageListButton, value); }
    bool ScrollButtonsAlways() const { return FScrollButtonsAlways; }
    void SetScrollButtonsAlways(bool value) { Change(FScrollButtonsAlways, value); }
    bool FirstButton() const { return FFirstButton; }
    void SetFirstButton(bool value) { Change(FFirstButton, value); }
    bool LastButton() const { return FLastButton; }
    void SetLastButton(bool value) { Change(FLastButton, value); }

// A picture: the writer copies the given one, then notifies.
#define QM_BUTTON_PICTURE(Name)                                                                                        \
    TGDIPPicture* Name() const { return F##Name; }                                                                     \
    void Set##Name(TGDIPPicture* value) {                                                                              \
        F##Name->Assign(value);                                                                                        \
        OnChange(this);                                                                                                \
    }
    QM_BUTTON_PICTURE(CloseButtonPicture)
    QM_BUTTON_PICTURE(PageListButtonPicture)
    QM_BUTTON_PICTURE(ScrollButtonPrevPicture)
    QM_BUTTON_PICTURE(ScrollButtonNextPicture)
    QM_BUTTON_PICTURE(ScrollButtonFirstPicture)
    QM_BUTTON_PICTURE(ScrollButtonLastPicture)
#undef QM_BUTTON_PICTURE
    // The scroll pictures of tabs on the left or right; not stored.
    TGDIPPicture* ScrollButtonDownPicture() const { return FScrollButtonDownPicture; }
    TGDIPPicture* ScrollButtonUpPicture() const { return FScrollButtonUpPicture; }
    TGDIPPicture* ScrollButtonDownLastPicture() const { return FScrollButtonDownLastPicture; }
    TGDIPPicture* ScrollButtonUpFirstPicture() const { return FScrollButtonUpFirstPicture; }

#define QM_BUTTON_HINT(Name)                                                                                           \
    const String& Name() const { return F##Name; }                                                                     \
    void Set##Name(const String& value) { F##Name = value; }
    QM_BUTTON_HINT(CloseButtonHint)
    QM_BUTTON_HINT(PageListButtonHint)
    QM_BUTTON_HINT(ScrollButtonNextHint)
    QM_BUTTON_HINT(ScrollButtonPrevHint)
    QM_BUTTON_HINT(ScrollButtonFirstHint)
    QM_BUTTON_HINT(ScrollButtonLastHint)
#undef QM_BUTTON_HINT

    // The "replaced" flags. The writers are for the pager's stored
    // "NextPictureChanged" and "PrevPictureChanged".
    bool NextPictureChanged() const { return FNextPictureChanged; }
    void SetNextPictureChanged(bool value) { FNextPictureChanged = value; }
    bool PrevPictureChanged() const { return FPrevPictureChanged; }
    void SetPrevPictureChanged(bool value) { FPrevPictureChanged = value; }
    bool FirstPictureChanged() const { return FFirstPictureChanged; }
    void SetFirstPictureChanged(bool value) { FFirstPictureChanged = value; }
    bool LastPictureChanged() const { return FLastPictureChanged; }
    void SetLastPictureChanged(bool value) { FLastPictureChanged = value; }

private:
    void Change(bool& field, bool value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }
    // The OnChange of each published picture.
    void PictureChanged(TObject* sender);

    bool FCloseButton = false;
    bool FPageListButton = false;
    bool FScrollButtonsAlways = false;
    bool FFirstButton = false;
    bool FLastButton = false;
    TGDIPPicture* FCloseButtonPicture;
    TGDIPPicture* FPageListButtonPicture;
    TGDIPPicture* FScrollButtonPrevPicture;
    TGDIPPicture* FScrollButtonNextPicture;
    TGDIPPicture* FScrollButtonFirstPicture;
    TGDIPPicture* FScrollButtonLastPicture;
    TGDIPPicture* FScrollButtonDownPicture;
    TGDIPPicture* FScrollButtonUpPicture;
    TGDIPPicture* FScrollButtonDownLastPicture;
    TGDIPPicture* FScrollButtonUpFirstPicture;
    String FCloseButtonHint = "Close";
    String FPageListButtonHint = "Page List";
    String FScrollButtonNextHint = "Next";
    String FScrollButtonPrevHint = "Previous";
    String FScrollButtonFirstHint = "First";
    String FScrollButtonLastHint = "Last";
    bool FNextPictureChanged = false;
    bool FPrevPictureChanged = false;
    bool FFirstPictureChanged = false;
    bool FLastPictureChanged = false;
};

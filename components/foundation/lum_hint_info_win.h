// TLumHintInfo: what an office-style hint shows: a title, lines of notes, a
// picture and whether a help line goes with it. The glow button, the pager
// and its pages publish one as their OfficeHint and copy into it when it is
// written.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/strings.h"
#include "components/foundation/gdip_picture_win.h"

class TLumHintInfo : public TPersistent {
    QL_CLASS(TLumHintInfo, TPersistent)
public:
    TLumHintInfo();
    ~TLumHintInfo() override;

    // From another hint: the title, the notes, ShowHelp, the picture (by the
    // picture's Assign) and the wide title and notes. Any other source is
    // ignored.
    void Assign(TPersistent* source) override;

    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }
    // Writing copies the lines into the hint's own list.
    TStringList* Notes() const { return FNotes; }
    void SetNotes(TStrings* value) { FNotes->Assign(value); }
    // Writing assigns into the hint's own picture.
    TGDIPPicture* Picture() const { return FPicture; }
    void SetPicture(TGDIPPicture* value) { FPicture->Assign(value); }
    bool ShowHelp() const { return FShowHelp; }
    void SetShowHelp(bool value) { FShowHelp = value; }

    // Wide-character title and notes lines; not stored in the layout.
    const std::wstring& WideTitle() const { return FWideTitle; }
    void SetWideTitle(const std::wstring& value) { FWideTitle = value; }
    const std::vector<std::wstring>& WideNotes() const { return FWideNotes; }
    void SetWideNotes(const std::vector<std::wstring>& value) { FWideNotes = value; }

private:
    String FTitle;
    TStringList* FNotes;
    TGDIPPicture* FPicture;
    bool FShowHelp = false;
    std::wstring FWideTitle;
    std::vector<std::wstring> FWideNotes;
};

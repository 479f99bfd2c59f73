// Panel settings and the panel styler: TLumPanelSettings is a bag of panel
// looks and behaviours that counts nested updates and tells its owner once
// when the outermost update ends; TLumPanelStyler owns one, fills it from a
// named style preset and pushes it to every panel of its owner whose Styler
// is this styler:
//
//   styler->SetStyle(TLumPanelStyle::psOffice2007Luna);  // every bound panel takes it
//   Supports<IStylePreset>(styler)->ApplyStylePreset(psOffice2007Luna);  // the same by number
//
// With AutoThemeAdapt the styler follows the Windows XP colour scheme through
// a hidden window that hears WM_THEMECHANGED. The presets themselves are
// data, in panel_presets.h.
#pragma once

#include "components/controls/lum_panel_win.h"
#include "components/controls/panel_presets.h"
#include "components/foundation/style_preset.h"

class TLumPanelSettings : public TPersistent {
    QL_CLASS(TLumPanelSettings, TPersistent)
public:
    TLumPanelSettings();
    ~TLumPanelSettings() override;
    // Copies every setting of another settings object, inside one update.
    void Assign(TPersistent* source) override;

    void BeginUpdate() { ++FUpdateCount; }
    // Ends an update; the outermost one tells the owner (OnChange). Without
    // an update it does nothing.
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TNotifyEvent OnChange;

    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool v) { Set(FAnchorHint, v); }
    bool AutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool v) { Set(FAutoHideChildren, v); }
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel v) { Set(FBevelInner, v); }
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel v) { Set(FBevelOuter, v); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v) { Set(FBevelWidth, v); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    bool BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool v) { Set(FBorderShadow, v); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v) { Set(FBorderStyle, v); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v) { Set(FBorderWidth, v); }
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool v) { Set(FCanMove, v); }
    bool CanSize() const { return FCanSize; }
    void SetCanSize(bool v) { Set(FCanSize, v); }
    TPanelCaption* Caption() const { return FCaption; }
    void SetCaption(TPanelCaption* v) { FCaption->Assign(v); }
    bool Collaps() const { return FCollaps; }
    void SetCollaps(bool v) { Set(FCollaps, v); }
    TColor CollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(TColor v) { Set(FCollapsColor, v); }
    int CollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(int v) { Set(FCollapsDelay, v); }
    int CollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(int v) { Set(FCollapsSteps, v); }
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { SetIfChanged(FColorTo, v); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v) { SetIfChanged(FColorMirror, v); }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v) { SetIfChanged(FColorMirrorTo, v); }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v) { Set(FCursor, v); }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* v) { FFont->Assign(v); }
    bool FixedTop() const { return FFixedTop; }
    void SetFixedTop(bool v) { FFixedTop = v; }
    bool FixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool v) { FFixedLeft = v; }
    bool FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool v) { FFixedHeight = v; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool v) { FFixedWidth = v; }
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool Hover() const { return FHover; }
    void SetHover(bool v) { Set(FHover, v); }
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor v) { Set(FHoverColor, v); }
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor v) { Set(FHoverFontColor, v); }
    int Indent() const { return FIndent; }
    void SetIndent(int v) { Set(FIndent, v); }
    TPanelPosition* Position() const { return FPosition; }
    void SetPosition(TPanelPosition* v) { FPosition = v; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor v) { FShadowColor = v; }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int v) { FShadowOffset = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    bool ShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool v) { FShowMoveCursor = v; }
    TPanelStatusBar* StatusBar() const { return FStatusBar; }
    void SetStatusBar(TPanelStatusBar* v) { FStatusBar->Assign(v); }
    const String& Text() const { return FText; }
    void SetText(const String& v) { Set(FText, v); }
    TTextVAlignment TextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment v) { Set(FTextVAlign, v); }
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int v) { Set(FTopIndent, v); }
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor v) { Set(FURLColor, v); }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }

private:
    // Tells the owner, unless an update is running.
    void Changed();
    void CaptionChanged(TObject*) { Changed(); }
    template <class T>
    void Set(T& field, const T& value) {
        field = value;
        Changed();
    }
    template <class T>
    void SetIfChanged(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }

    int FUpdateCount = 0;
    bool FAnchorHint = false;
    bool FAutoHideChildren = true;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvNone;
    int FBevelWidth = 1;
    TColor FBorderColor = clBlack;
    bool FBorderShadow = false;
    TBorderStyle FBorderStyle = bsSingle;
    int FBorderWidth = 0;
    bool FCanMove = false;
    bool FCanSize = false;
    TPanelCaption* FCaption;
    bool FCollaps = false;
    TColor FCollapsColor = clBtnFace;
    int FCollapsDelay = 0;
    int FCollapsSteps = 0;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TCursor FCursor = crDefault;
    TFont* FFont;
    bool FFixedTop = false, FFixedLeft = false, FFixedHeight = false, FFixedWidth = false;
    int FHeight = 120;
    String FHint;
    bool FHover = false;
    TColor FHoverColor = clNone;
    TColor FHoverFontColor = clNone;
    int FIndent = 0;
    TPanelPosition* FPosition = nullptr;
    TColor FShadowColor = clBlack;
    int FShadowOffset = 0;
    bool FShowHint = false;
    bool FShowMoveCursor = false;
    TPanelStatusBar* FStatusBar;
    String FText;
    TTextVAlignment FTextVAlign = tvaTop;
    int FTopIndent = 0;
    TColor FURLColor = clBlue;
    int FWidth = 0;
};

// A hidden window that reports the visual style changing (WM_THEMECHANGED).
class TThemeNotifierWindow : public TWinControl {
    QL_CLASS(TThemeNotifierWindow, TWinControl)
public:
    explicit TThemeNotifierWindow(TComponent* owner);
    void WndProc(TMessage& message) override;
    TNotifyEvent OnThemeChange;
};

class TLumPanelStyler : public TComponent, public IStylePreset {
    QL_CLASS(TLumPanelStyler, TComponent)
public:
    explicit TLumPanelStyler(TComponent* owner);
    ~TLumPanelStyler() override;

    // From another styler: AutoThemeAdapt, Settings, Comments and Style (which
    // applies its preset). From anything else: nothing.
    void Assign(TPersistent* source) override;
    void Loaded() override;

    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value);
    TLumPanelSettings* Settings() const { return FSettings; }
    void SetSettings(TLumPanelSettings* value) { FSettings->Assign(value); }
    const String& Comments() const { return FComments; }
    void SetComments(const String& value) { FComments = value; }
    TLumPanelStyle Style() const { return FStyle; }
    // Stores the style and writes its preset into Settings in one update.
    void SetStyle(TLumPanelStyle value);

    // IStylePreset: the shared numbering's style (low 7 bits), none for 8
    // and numbers without a preset.
    void ApplyStylePreset(int style) override;
    // Gives Settings to every panel of the owner bound to this styler.
    void UpdatePanels();
    // Selects the style of the Windows XP colour scheme now in use.
    void ThemeAdapt();
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

private:
    void SettingsChanged(TObject*) { UpdatePanels(); }
    void ThemeChanged(TObject*);

    bool FAutoThemeAdapt = false;
    TLumPanelSettings* FSettings;
    String FComments;
    TLumPanelStyle FStyle = TLumPanelStyle::psXP;
    TThemeNotifierWindow* FNotifier;
};

// Writes a style's preset into settings (nothing for psCustom), inside one
// update, so that the settings' owner hears of it once.
void ApplyPanelPreset(TLumPanelSettings* settings, TLumPanelStyle style);

// The Windows XP colour scheme in use: 1 blue ("NormalColor"), 2 olive
// ("HomeStead"), 3 silver ("Metallic"), 0 for anything else, no visual
// style or no uxtheme.dll.
int CurrentXPColorScheme();

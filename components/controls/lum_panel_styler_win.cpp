#include "components/controls/lum_panel_styler_win.h"

#include "classlib/os/dll_functions.h"
#include "components/foundation/visual_styles_win.h"

// ============================================================================
// Settings
// ============================================================================

namespace {

// The settings' caption and status bar store every value: what a new one
// holds is the styler's first preset, not the panel's defaults, so no value
// may be left out as a default.
template <class Base>
class TAlwaysStored : public Base {
public:
    using inherited = Base;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

template <class Base>
TClass TAlwaysStored<Base>::StaticClass() {
    static const TClassInfo info = [] {
        TClassBuilder<TAlwaysStored<Base>> b(Base::StaticClass() == TPanelCaption::StaticClass()
                                                 ? "TLumPanelSettingsCaption"
                                                 : "TLumPanelSettingsStatusBar");
        for (const TPropInfo& p : Base::StaticClass()->Props)
            if (p.Default != TPropInfo::NoDefault) b.Publish(p.Name.c_str()).Default(TPropInfo::NoDefault);
        return b.Build();
    }();
    return &info;
}

}  // namespace

TClass TLumPanelSettings::StaticClass() {
    using C = TLumPanelSettings;
    static const TClassInfo info = TClassBuilder<C>("TLumPanelSettings")
                                       .Prop("AnchorHint", &C::AnchorHint, &C::SetAnchorHint)
                                       .Prop("AutoHideChildren", &C::AutoHideChildren, &C::SetAutoHideChildren)
                                       .Default(true)
                                       .Prop("BevelInner", &C::BevelInner, &C::SetBevelInner)
                                       .Prop("BevelOuter", &C::BevelOuter, &C::SetBevelOuter)
                                       .Prop("BevelWidth", &C::BevelWidth, &C::SetBevelWidth)
                                       .Prop("BorderColor", &C::BorderColor, &C::SetBorderColor)
                                       .Prop("BorderShadow", &C::BorderShadow, &C::SetBorderShadow)
                                       .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
                                       .Prop("BorderWidth", &C::BorderWidth, &C::SetBorderWidth)
                                       .Prop("CanMove", &C::CanMove, &C::SetCanMove)
                                       .Prop("CanSize", &C::CanSize, &C::SetCanSize)
                                       .Prop("Caption", &C::Caption, &C::SetCaption)
                                       .Prop("Collaps", &C::Collaps, &C::SetCollaps)
                                       .Prop("CollapsColor", &C::CollapsColor, &C::SetCollapsColor)
                                       .Prop("CollapsDelay", &C::CollapsDelay, &C::SetCollapsDelay)
                                       .Prop("CollapsSteps", &C::CollapsSteps, &C::SetCollapsSteps)
                                       .Prop("Color", &C::Color, &C::SetColor)
                                       .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
                                       .Prop("ColorMirror", &C::ColorMirror, &C::SetColorMirror)
                                       .Prop("ColorMirrorTo", &C::ColorMirrorTo, &C::SetColorMirrorTo)
                                       .Prop("Cursor", &C::Cursor, &C::SetCursor)
                                       .Prop("Font", &C::Font, &C::SetFont)
                                       .Prop("FixedTop", &C::FixedTop, &C::SetFixedTop)
                                       .Prop("FixedLeft", &C::FixedLeft, &C::SetFixedLeft)
                                       .Prop("FixedHeight", &C::FixedHeight, &C::SetFixedHeight)
                                       .Prop("FixedWidth", &C::FixedWidth, &C::SetFixedWidth)
                                       .Prop("Height", &C::Height, &C::SetHeight)
                                       .Prop("Hint", &C::Hint, &C::SetHint)
                                       .Prop("Hover", &C::Hover, &C::SetHover)
                                       .Prop("HoverColor", &C::HoverColor, &C::SetHoverColor)
                                       .Prop("HoverFontColor", &C::HoverFontColor, &C::SetHoverFontColor)
                                       .Prop("Indent", &C::Indent, &C::SetIndent)
                                       .Prop("Position", &C::Position, &C::SetPosition)
                                       .Prop("ShadowColor", &C::ShadowColor, &C::SetShadowColor)
                                       .Prop("ShadowOffset", &C::ShadowOffset, &C::SetShadowOffset)
                                       .Prop("ShowHint", &C::ShowHint, &C::SetShowHint)
                                       .Prop("ShowMoveCursor", &C::ShowMoveCursor, &C::SetShowMoveCursor)
                                       .Prop("StatusBar", &C::StatusBar, &C::SetStatusBar)
                                       .Prop("Text", &C::Text, &C::SetText)
                                       .Prop("TextVAlign", &C::TextVAlign, &C::SetTextVAlign)
                                       .Prop("TopIndent", &C::TopIndent, &C::SetTopIndent)
                                       .Prop("URLColor", &C::URLColor, &C::SetURLColor)
                                       .Prop("Width", &C::Width, &C::SetWidth)
                                       .Build();
    return &info;
}

TLumPanelSettings::TLumPanelSettings()
    : FCaption(new TAlwaysStored<TPanelCaption>), FFont(new TFont), FStatusBar(new TAlwaysStored<TPanelStatusBar>) {
    FCaption->OnChange = TNotifyEvent::Bind<&TLumPanelSettings::CaptionChanged>(this);
}

TLumPanelSettings::~TLumPanelSettings() {
    delete FCaption;
    delete FFont;
    delete FStatusBar;
}

void TLumPanelSettings::Changed() {
    if (FUpdateCount == 0) OnChange(this);
}

void TLumPanelSettings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) Changed();
}

void TLumPanelSettings::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TLumPanelSettings*>(source);
    if (!s) return TPersistent::Assign(source);
    BeginUpdate();
    TScopeExit end([this] { EndUpdate(); });
    FAnchorHint = s->FAnchorHint;
    FAutoHideChildren = s->FAutoHideChildren;
    FBevelInner = s->FBevelInner;
    FBevelOuter = s->FBevelOuter;
    FBevelWidth = s->FBevelWidth;
    FBorderColor = s->FBorderColor;
    FBorderShadow = s->FBorderShadow;
    FBorderStyle = s->FBorderStyle;
    FBorderWidth = s->FBorderWidth;
    FCanMove = s->FCanMove;
    FCanSize = s->FCanSize;
    // The caption's own Assign leaves out what a panel keeps for itself;
    // a settings copy takes those too.
    FCaption->Assign(s->FCaption);
    FCaption->SetVisible(s->FCaption->Visible());
    FCaption->SetText(s->FCaption->Text());
    FCaption->SetPosition(s->FCaption->Position());
    FCaption->SetTopIndent(s->FCaption->TopIndent());
    FCaption->SetMinMaxCaption(s->FCaption->MinMaxCaption());
    FCollaps = s->FCollaps;
    FCollapsColor = s->FCollapsColor;
    FCollapsDelay = s->FCollapsDelay;
    FCollapsSteps = s->FCollapsSteps;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FCursor = s->FCursor;
    FFont->Assign(s->FFont);
    FFixedTop = s->FFixedTop;
    FFixedLeft = s->FFixedLeft;
    FFixedHeight = s->FFixedHeight;
    FFixedWidth = s->FFixedWidth;
    FHeight = s->FHeight;
    FHint = s->FHint;
    FHover = s->FHover;
    FHoverColor = s->FHoverColor;
    FHoverFontColor = s->FHoverFontColor;
    FIndent = s->FIndent;
    FPosition = s->FPosition;
    FShadowColor = s->FShadowColor;
    FShadowOffset = s->FShadowOffset;
    FShowHint = s->FShowHint;
    FShowMoveCursor = s->FShowMoveCursor;
    FStatusBar->Assign(s->FStatusBar);
    FStatusBar->SetVisible(s->FStatusBar->Visible());
    FStatusBar->SetHeight(s->FStatusBar->Height());
    FStatusBar->SetText(s->FStatusBar->Text());
    FStatusBar->SetBevelInner(s->FStatusBar->BevelInner());
    FStatusBar->SetImageIndex(s->FStatusBar->ImageIndex());
    FText = s->FText;
    FTextVAlign = s->FTextVAlign;
    FTopIndent = s->FTopIndent;
    FURLColor = s->FURLColor;
    FWidth = s->FWidth;
    // Something changed (the update's end tells the owner once).
    Changed();
}

// ============================================================================
// Presets
// ============================================================================

void ApplyPanelPreset(TLumPanelSettings* s, TLumPanelStyle style) {
    s->BeginUpdate();
    TScopeExit end([s] { s->EndUpdate(); });
    auto preset = PanelPreset(style);
    if (!preset) return;
    const TPanelPreset& p = *preset;
    s->SetColor(p.Color);
    s->SetColorTo(p.ColorTo);
    s->SetColorMirror(p.ColorMirror);
    s->SetColorMirrorTo(p.ColorMirrorTo);
    if (p.FontColor) s->Font()->SetColor(*p.FontColor);
    s->SetBevelInner(bvNone);
    s->SetBevelOuter(p.BevelOuterRaised ? bvRaised : bvNone);
    s->SetBorderStyle(bsNone);
    s->SetBorderColor(p.BorderColor);
    s->SetBorderShadow(p.BorderShadow);
    s->SetCollapsColor(p.CollapsColor);

    TPanelCaption* c = s->Caption();
    if (p.CaptionVisible) c->SetVisible(*p.CaptionVisible);
    if (p.CaptionHeight) {
        if (p.CaptionHeightQuiet)
            c->SetHeightQuietly(*p.CaptionHeight);
        else
            c->SetHeight(*p.CaptionHeight);
    }
    if (p.CaptionIndent) c->SetIndent(*p.CaptionIndent);
    c->SetColor(p.CaptionColor);
    c->SetColorTo(p.CaptionColorTo);
    c->SetGradientDirection(p.CaptionGradient);
    c->Font()->SetColor(p.CaptionFontColor);
    if (p.CaptionShadeGrain) c->SetShadeGrain(Byte(*p.CaptionShadeGrain));
    if (p.CaptionShadeLight) c->SetShadeLight(*p.CaptionShadeLight);
    c->SetShadeType(p.CaptionShadeType);

    TPanelStatusBar* b = s->StatusBar();
    b->SetColor(p.StatusColor);
    b->SetColorTo(p.StatusColorTo);
    if (p.StatusGradient) b->SetGradientDirection(*p.StatusGradient);
    b->SetBorderColor(p.StatusBorderColor);
    b->Font()->SetColor(p.StatusFontColor);
    b->SetBevelInner(p.StatusBevelInner);
    b->SetBorderStyle(p.StatusBevelInner ? bsNone : bsSingle);
}

int CurrentXPColorScheme() {
    if (!IsWinXP()) return 0;
    HMODULE lib = LoadLibraryA("uxtheme.dll");
    if (!lib) return 0;
    TScopeExit release([lib] { FreeLibrary(lib); });
    auto isThemeActive = GetDllFunction<BOOL(WINAPI*)()>(lib, "IsThemeActive");
    auto currentThemeName =
        GetDllFunction<HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>(lib, "GetCurrentThemeName");
    if (!isThemeActive || !isThemeActive() || !currentThemeName) return 0;
    wchar_t theme[255] = {}, color[255] = {}, size[255] = {};
    if (FAILED(currentThemeName(theme, 255, color, 255, size, 255))) return 0;
    String name;
    for (const wchar_t* p = color; *p; ++p) name += *p < 128 ? char(*p) : '?';
    return XPColorSchemeOfName(name);
}

// ============================================================================
// Theme notifier
// ============================================================================

TClass TThemeNotifierWindow::StaticClass() {
    static const TClassInfo info = TClassBuilder<TThemeNotifierWindow>("TThemeNotifierWindow").Build();
    return &info;
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FWidth = 0;
    FHeight = 0;
}

void TThemeNotifierWindow::WndProc(TMessage& m) {
    if (m.Msg == WM_THEMECHANGED) {
        OnThemeChange(this);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ============================================================================
// Styler
// ============================================================================

TClass TLumPanelStyler::StaticClass() {
    using C = TLumPanelStyler;
    static const TClassInfo info = TClassBuilder<C>("TLumPanelStyler")
                                       .Implements<IStylePreset>()
                                       .Prop("AutoThemeAdapt", &C::AutoThemeAdapt, &C::SetAutoThemeAdapt)
                                       .Default(false)
                                       .Prop("Settings", &C::Settings, &C::SetSettings)
                                       .Prop("Comments", &C::Comments, &C::SetComments)
                                       .Prop("Style", &C::Style, &C::SetStyle)
                                       .Default(TLumPanelStyle::psXP)
                                       .Prop("Tag", &C::Tag, &C::SetTag)
                                       .Default(0)
                                       .Build();
    return &info;
}

TLumPanelStyler::TLumPanelStyler(TComponent* owner) : TComponent(owner), FSettings(new TLumPanelSettings) {
    FNotifier = new TThemeNotifierWindow(this);
    for (TComponent* o = owner; o; o = o->Owner())
        if (auto* win = dynamic_cast<TWinControl*>(o)) {
            FNotifier->SetParent(win);
            break;
        }
    FNotifier->OnThemeChange = TNotifyEvent::Bind<&TLumPanelStyler::ThemeChanged>(this);
    FSettings->OnChange = TNotifyEvent::Bind<&TLumPanelStyler::SettingsChanged>(this);
    SetStyle(TLumPanelStyle::psXP);
}

TLumPanelStyler::~TLumPanelStyler() { delete FSettings; }

void TLumPanelStyler::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TLumPanelStyler*>(source);
    if (!s) return;
    SetAutoThemeAdapt(s->FAutoThemeAdapt);
    SetSettings(s->FSettings);
    SetComments(s->FComments);
    SetStyle(s->FStyle);
}

void TLumPanelStyler::SetAutoThemeAdapt(bool value) {
    FAutoThemeAdapt = value;
    // The notifier needs a window to hear theme changes; it is made only
    // for a styler that follows them.
    if (value && !IsLoading() && FNotifier->Parent()) FNotifier->HandleNeeded();
}

void TLumPanelStyler::SetStyle(TLumPanelStyle value) {
    FStyle = value;
    ApplyPanelPreset(FSettings, value);
}

void TLumPanelStyler::ApplyStylePreset(int style) {
    if (auto s = PanelStyleForNumber(style)) SetStyle(*s);
}

void TLumPanelStyler::UpdatePanels() {
    if (IsLoading() || !Owner()) return;
    TComponent* owner = Owner();
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomLumPanel*>(owner->Components(i)))
            if (panel->Styler() == this) panel->ApplySettings(FSettings);
}

void TLumPanelStyler::ThemeAdapt() {
    if (FAutoThemeAdapt) SetStyle(PanelStyleForXPColorScheme(CurrentXPColorScheme()));
}

void TLumPanelStyler::ThemeChanged(TObject*) { ThemeAdapt(); }

void TLumPanelStyler::Loaded() {
    TComponent::Loaded();
    if (!IsDesigning()) {
        ThemeAdapt();
        if (FAutoThemeAdapt && FNotifier->Parent()) FNotifier->HandleNeeded();
    }
    UpdatePanels();
}

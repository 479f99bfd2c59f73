#include "components/pager/pager_styler_win.h"

#include "classlib/os/dll_functions.h"
#include "components/controls/panel_presets.h"
#include "components/foundation/visual_styles_win.h"
#include "components/pager/pager_presets.h"

// ============================================================================
// TCustomLumOfficePagerStyler
// ============================================================================

namespace {

// The styler's glow-button appearance stores every value: what a new
// office styler holds is its first preset, not the glow button's defaults,
// so a value equal to a default may not be left out of the layout.
class TStylerGlowButtonAppearance : public TGlowButtonAppearance {
    QL_CLASS(TStylerGlowButtonAppearance, TGlowButtonAppearance)
};

}  // namespace

TClass TStylerGlowButtonAppearance::StaticClass() {
    static const TClassInfo info = [] {
        TClassBuilder<TStylerGlowButtonAppearance> b("TStylerGlowButtonAppearance");
        for (const TPropInfo& p : TGlowButtonAppearance::StaticClass()->Props)
            if (p.Default != TPropInfo::NoDefault) b.Publish(p.Name.c_str()).Default(TPropInfo::NoDefault);
        return b.Build();
    }();
    return &info;
}

TClass TCustomLumOfficePagerStyler::StaticClass() {
    using C = TCustomLumOfficePagerStyler;
    // Publishes nothing of its own: the office styler publishes its looks
    // after its Style, so that reading a layout writes the preset first and
    // the stored colours over it.
    static const TClassInfo info = TClassBuilder<C>("TCustomLumOfficePagerStyler").Build();
    return &info;
}

TCustomLumOfficePagerStyler::TCustomLumOfficePagerStyler(TComponent* owner)
    : TComponent(owner), FTabAppearance(new TTabAppearance), FPageAppearance(new TVistaBackground),
      FGlowButtonAppearance(new TStylerGlowButtonAppearance) {
    FTabAppearance->OnChange = TNotifyEvent::Bind<&TCustomLumOfficePagerStyler::TabChanged>(this);
    FTabAppearance->OnFontChange = TNotifyEvent::Bind<&TCustomLumOfficePagerStyler::TabFontChanged>(this);
    FPageAppearance->OnChange = TNotifyEvent::Bind<&TCustomLumOfficePagerStyler::PageChanged>(this);
    FGlowButtonAppearance->OnChange = TNotifyEvent::Bind<&TCustomLumOfficePagerStyler::GlowButtonChanged>(this);
}

TCustomLumOfficePagerStyler::~TCustomLumOfficePagerStyler() {
    // A pager still attached would keep drawing with a freed styler: each
    // lets go of it first (at run time as at design time).
    FReleasingPagers = true;
    for (int i = 0; i < FPagers.Count(); ++i)
        if (auto* client = dynamic_cast<ILumOfficePagerStylerClient*>(FPagers.Items(i))) client->StylerDestroying(this);
    FPagers.Clear();
    delete FTabAppearance;
    delete FPageAppearance;
    delete FGlowButtonAppearance;
}

void TCustomLumOfficePagerStyler::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TCustomLumOfficePagerStyler*>(source);
    if (!s) return TComponent::Assign(source);
    FTabAppearance->Assign(s->FTabAppearance);
    FPageAppearance->Assign(s->FPageAppearance);
    SetCurvedCorners(s->FCurvedCorners);
}

void TCustomLumOfficePagerStyler::AttachPager(TComponent* pager) { FPagers.Add(pager); }

void TCustomLumOfficePagerStyler::DetachPager(TComponent* pager) {
    if (FReleasingPagers) return;
    while (FPagers.Remove(pager) >= 0) {}
}

void TCustomLumOfficePagerStyler::NotifyPagers(int kind) {
    if (IsDestroying() || FReleasingPagers) return;
    // A pager may attach or detach while it is told: the count is read anew.
    for (int i = 0; i < FPagers.Count(); ++i)
        if (auto* client = dynamic_cast<ILumOfficePagerStylerClient*>(FPagers.Items(i))) client->StylerChanged(kind);
}

void TCustomLumOfficePagerStyler::SetCurvedCorners(bool value) {
    FCurvedCorners = value;
    NotifyPagers(3);
}

void TCustomLumOfficePagerStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    // Also while the owner destroys everything (the styler then only
    // counts as being destroyed): a pager freed before the styler must not
    // stay listed.
    if (operation == opRemove && component != this) DetachPager(component);
}

// ============================================================================
// TNotifierWindow
// ============================================================================

TClass TNotifierWindow::StaticClass() {
    using C = TNotifierWindow;
    static const TClassInfo info =
        TClassBuilder<C>("TNotifierWindow").Prop("OnThemeChange", &C::OnThemeChange, &C::OnThemeChange).Build();
    return &info;
}

TNotifierWindow::TNotifierWindow(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FWidth = 0;
    FHeight = 0;
}

void TNotifierWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_THEMECHANGED) OnThemeChange(this);
    TWinControl::WndProc(message);
}

// ============================================================================
// TLumOfficePagerOfficeStyler
// ============================================================================

TClass TLumOfficePagerOfficeStyler::StaticClass() {
    using C = TLumOfficePagerOfficeStyler;
    static const TClassInfo info =
        TClassBuilder<C>("TLumOfficePagerOfficeStyler")
            .Implements<IStylePreset>()
            .Prop("Style", &C::Style, &C::SetStyle)
            .Default(psOffice2003Blue)
            .Prop("AutoThemeAdapt", &C::AutoThemeAdapt, &C::SetAutoThemeAdapt)
            .Default(false)
            .Prop("PageAppearance", &C::PageAppearance, &C::SetPageAppearance)
            .Prop("TabAppearance", &C::TabAppearance, &C::SetTabAppearance)
            .Prop("GlowButtonAppearance", &C::GlowButtonAppearance, &C::SetGlowButtonAppearance)
            .Build();
    return &info;
}

TLumOfficePagerOfficeStyler::TLumOfficePagerOfficeStyler(TComponent* owner)
    : TCustomLumOfficePagerStyler(owner), FNotifierWindow(new TNotifierWindow(this)) {
    for (TComponent* o = owner; o; o = o->Owner())
        if (auto* win = dynamic_cast<TWinControl*>(o)) {
            FNotifierWindow->SetParent(win);
            break;
        }
    FNotifierWindow->OnThemeChange = TNotifyEvent::Bind<&TLumOfficePagerOfficeStyler::AdaptToTheme>(this);
    // The field starts at style 0: a detour writes style 0's preset.
    SetStyle(psWindowsXP);
    SetStyle(psOffice2003Blue);
}

void TLumOfficePagerOfficeStyler::Loaded() {
    TCustomLumOfficePagerStyler::Loaded();
    if (IsDesigning()) return;
    AdaptToTheme();
    // The notifier needs its window to hear theme changes.
    if (AutoThemeAdapt() && FNotifierWindow->Parent()) FNotifierWindow->HandleNeeded();
}

void TLumOfficePagerOfficeStyler::AdaptToTheme(TObject*) {
    if (AutoThemeAdapt()) SetStyle(PagerStyleForXPColorScheme(GetXPThemeScheme()));
}

namespace {

void WriteAll(TObject* target, const std::vector<TPresetWrite>& writes) {
    for (const TPresetWrite& w : writes) SetOrdProp(target, w.Property, w.Value);
}

}  // namespace

void TLumOfficePagerOfficeStyler::SetStyle(TOfficePagerStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    SetBlendPercent(50);
    if (auto preset = PagerPreset(value)) {
        if (!preset->CurvedCornersAfterTab) SetCurvedCorners(preset->CurvedCorners);
        WriteAll(TabAppearance()->BackGround(), preset->TabBackGround);
        WriteAll(TabAppearance(), preset->Tab);
        if (preset->CurvedCornersAfterTab) SetCurvedCorners(preset->CurvedCorners);
        WriteAll(PageAppearance(), preset->Page);
        WriteAll(GlowButtonAppearance(), preset->GlowButton);
        SetBlendPercent(preset->BlendPercent);
    }
    NotifyPagers(2);
}

int GetXPThemeScheme() {
    if (!IsWinXP()) return 0;
    HMODULE lib = LoadLibraryA("uxtheme.dll");
    if (!lib) return 0;
    TScopeExit release([lib] { FreeLibrary(lib); });
    auto isThemeActive = GetDllFunction<BOOL(WINAPI*)()>(lib, "IsThemeActive");
    if (!isThemeActive || !isThemeActive()) return 0;
    auto currentThemeName =
        GetDllFunction<HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>(lib, "GetCurrentThemeName");
    if (!currentThemeName) return 0;
    wchar_t theme[255] = {}, color[255] = {}, size[255] = {};
    if (FAILED(currentThemeName(theme, 255, color, 255, size, 255))) return 0;
    char name[255 * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, color, -1, name, sizeof(name) - 1, nullptr, nullptr);
    return XPColorSchemeOfName(String(name));
}

// The form placement and the form storage.
#include "storage/form_placement.h"

#include "classlib/core/sysutils.h"
#include "classlib/ui/menus.h"
#include "storage/app_storage.h"

QL_DEFINE_ENUM(TZvFormPlacementVersionCheck, "fpvcNocheck", "fpvcCheckGreaterEqual", "fpvcCheckEqual")

static_assert(int(poDesigned) == zppDesigned && int(poDefault) == zppDefault &&
              int(poDefaultPosOnly) == zppDefaultPosOnly && int(poDefaultSizeOnly) == zppDefaultSizeOnly);
static_assert(int(wsNormal) == zpsNormal && int(wsMinimized) == zpsMinimized && int(wsMaximized) == zpsMaximized);

// ============================================================================
// The form and the store as the placement routines see them
// ============================================================================

bool TZvAppStoragePlacementStore::ValueStored(const String& path) { return FStore->ValueStored(path); }
String TZvAppStoragePlacementStore::ReadString(const String& path, const String& defaultValue) {
    return FStore->ReadString(path, defaultValue);
}
// A hand-edited value that is no number reads as the default, as a missing
// one does: the placement then keeps what the form has.
int TZvAppStoragePlacementStore::ReadInteger(const String& path, int defaultValue) {
    try {
        return FStore->ReadInteger(path, defaultValue);
    } catch (const EConvertError&) {
        return defaultValue;
    }
}
void TZvAppStoragePlacementStore::WriteString(const String& path, const String& value) {
    FStore->WriteString(path, value);
}
void TZvAppStoragePlacementStore::WriteInteger(const String& path, int value) { FStore->WriteInteger(path, value); }

TZvWindowPlacement TZvFormPlacementTarget::GetPlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(FForm->Handle(), &wp);
    TZvWindowPlacement p;
    p.Flags = wp.flags;
    p.ShowCmd = int(wp.showCmd);
    p.MinX = wp.ptMinPosition.x;
    p.MinY = wp.ptMinPosition.y;
    p.MaxX = wp.ptMaxPosition.x;
    p.MaxY = wp.ptMaxPosition.y;
    p.Left = wp.rcNormalPosition.left;
    p.Top = wp.rcNormalPosition.top;
    p.Right = wp.rcNormalPosition.right;
    p.Bottom = wp.rcNormalPosition.bottom;
    return p;
}

void TZvFormPlacementTarget::SetPlacement(const TZvWindowPlacement& p) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.flags = p.Flags;
    wp.showCmd = UINT(p.ShowCmd);
    wp.ptMinPosition = POINT{p.MinX, p.MinY};
    wp.ptMaxPosition = POINT{p.MaxX, p.MaxY};
    wp.rcNormalPosition = RECT{p.Left, p.Top, p.Right, p.Bottom};
    SetWindowPlacement(FForm->Handle(), &wp);
}

bool TZvFormPlacementTarget::IsVisible() { return FForm->HandleAllocated() && IsWindowVisible(FForm->Handle()); }

void TZvFormPlacementTarget::SetPositionAsDesigned(int position) {
    const bool designing = FForm->IsDesigning();
    FForm->IncludeState(csDesigning);
    FForm->SetPosition(TPosition(position));
    if (!designing) FForm->ExcludeState(csDesigning);
}

bool TZvFormPlacementTarget::IsMainForm() { return Application && Application->MainForm() == FForm; }
bool TZvFormPlacementTarget::HasNoMainForm() { return !Application || !Application->MainForm(); }
bool TZvFormPlacementTarget::IsApplicationMinimized() {
    return Application && Application->Handle() && IsIconic(Application->Handle());
}
void TZvFormPlacementTarget::MinimizeApplication() {
    if (Application && Application->Handle()) PostMessageA(Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}
int TZvFormPlacementTarget::ScreenWidth() { return Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN); }
int TZvFormPlacementTarget::ScreenHeight() { return Screen ? Screen->Height() : GetSystemMetrics(SM_CYSCREEN); }
int TZvFormPlacementTarget::ScreenPixelsPerInch() { return Screen ? Screen->PixelsPerInch() : 96; }

void StoreWindowPlacement(TCustomForm* form, TZvCustomAppStorage* store, const String& path,
                          TPlacementOptions options) {
    if (!form || !store) return;
    TZvFormPlacementTarget target(form);
    TZvAppStoragePlacementStore values(store);
    StoreWindowPlacement(target, values, path, options);
}

void LoadWindowPlacement(TCustomForm* form, TZvCustomAppStorage* store, const String& path, TPlacementOptions options) {
    if (!form || !store) return;
    TZvFormPlacementTarget target(form);
    TZvAppStoragePlacementStore values(store);
    LoadWindowPlacement(target, values, path, options);
}

// ============================================================================
// TZvWinMinMaxInfo
// ============================================================================

TClass TZvWinMinMaxInfo::StaticClass() {
    using T = TZvWinMinMaxInfo;
    static const TClassInfo info = TClassBuilder<T>("TZvWinMinMaxInfo")
                                       .Prop("MaxPosLeft", &T::MaxPosLeft, &T::SetMaxPosLeft)
                                       .Default(0)
                                       .Prop("MaxPosTop", &T::MaxPosTop, &T::SetMaxPosTop)
                                       .Default(0)
                                       .Prop("MaxSizeHeight", &T::MaxSizeHeight, &T::SetMaxSizeHeight)
                                       .Default(0)
                                       .Prop("MaxSizeWidth", &T::MaxSizeWidth, &T::SetMaxSizeWidth)
                                       .Default(0)
                                       .Prop("MaxTrackHeight", &T::MaxTrackHeight, &T::SetMaxTrackHeight)
                                       .Default(0)
                                       .Prop("MaxTrackWidth", &T::MaxTrackWidth, &T::SetMaxTrackWidth)
                                       .Default(0)
                                       .Prop("MinTrackHeight", &T::MinTrackHeight, &T::SetMinTrackHeight)
                                       .Default(0)
                                       .Prop("MinTrackWidth", &T::MinTrackWidth, &T::SetMinTrackWidth)
                                       .Default(0)
                                       .Build();
    return &info;
}

void TZvWinMinMaxInfo::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TZvWinMinMaxInfo*>(source)) {
        for (int i = 0; i < FieldCount; ++i) FFields[i] = other->FFields[i];
        if (FOwner) FOwner->UpdatePlacement();
        return;
    }
    TPersistent::Assign(source);
}

void TZvWinMinMaxInfo::SetField(int index, int value) {
    if (FFields[index] == value) return;
    FFields[index] = value;
    if (FOwner) FOwner->UpdatePlacement();
}

bool TZvWinMinMaxInfo::DefaultMinMaxInfo() const {
    for (int v : FFields)
        if (v != 0) return false;
    return true;
}

// ============================================================================
// TZvFormPlacement
// ============================================================================

TClass TZvFormPlacement::StaticClass() {
    using T = TZvFormPlacement;
    static const TClassInfo info =
        TClassBuilder<T>("TZvFormPlacement")
            .Prop("Active", &T::Active, &T::SetActive)
            .Default(true)
            .Prop("AppStorage", &T::AppStorage, &T::SetAppStorage)
            .Prop("AppStoragePath", &T::AppStoragePath, &T::SetAppStoragePath)
            .Default(T::DefaultAppStoragePath)
            .Prop("MinMaxInfo", &T::MinMaxInfo, &T::SetMinMaxInfo)
            .Prop("Options", &T::Options, &T::SetOptions)
            .Stored(&T::IsOptionsStored)
            .Prop("PreventResize", &T::PreventResize, &T::SetPreventResize)
            .Default(false)
            .Prop("Version", &T::Version, &T::SetVersion)
            .Default(0)
            .Prop("VersionCheck", &T::VersionCheck, &T::SetVersionCheck)
            .Default(fpvcCheckGreaterEqual)
            .Prop("BeforeSavePlacement", &T::BeforeSavePlacement, &T::BeforeSavePlacement)
            .Prop("OnSavePlacement", &T::OnSavePlacement, &T::OnSavePlacement)
            .Prop("AfterSavePlacement", &T::AfterSavePlacement, &T::AfterSavePlacement)
            .Prop("BeforeRestorePlacement", &T::BeforeRestorePlacement, &T::BeforeRestorePlacement)
            .Prop("OnRestorePlacement", &T::OnRestorePlacement, &T::OnRestorePlacement)
            .Prop("AfterRestorePlacement", &T::AfterRestorePlacement, &T::AfterRestorePlacement)
            .Build();
    return &info;
}

TZvFormPlacement::TZvFormPlacement(TComponent* owner) : TZvComponent(owner) {
    if (dynamic_cast<TCustomForm*>(owner)) FOptions = {fpState, fpSize, fpLocation};
    FMinMaxInfo = new TZvWinMinMaxInfo();
    FMinMaxInfo->FOwner = this;
    FWinHook = new TZvWindowHook(this);
    FWinHook->SetAfterMessage(TZvHookMessageEvent::Bind<&TZvFormPlacement::WndMessageEvent>(this));
}

TZvFormPlacement::~TZvFormPlacement() {
    while (!FLinks.empty()) FLinks.back()->SetPlacement(nullptr);
    if (!IsDesigning()) ReleaseHook();
    FMinMaxInfo->FOwner = nullptr;
    delete FMinMaxInfo;
}

bool TZvFormPlacement::IsOptionsStored() const {
    const TPlacementOptions defaults =
        dynamic_cast<TCustomForm*>(Owner()) ? TPlacementOptions{fpState, fpSize, fpLocation} : TPlacementOptions{};
    return FOptions != defaults;
}

TCustomForm* TZvFormPlacement::Form() const { return dynamic_cast<TCustomForm*>(Owner()); }

void TZvFormPlacement::Loaded() {
    const bool loading = IsLoading();
    TZvComponent::Loaded();
    if (loading && !IsDesigning()) {
        ResolveAppStoragePath();
        SetHook();
    }
    CheckToggleHook();
}

void TZvFormPlacement::SetAppStorage(TZvCustomAppStorage* value) {
    if (FAppStorage == value) return;
    if (FAppStorage) FAppStorage->RemoveFreeNotification(this);
    FAppStorage = value;
    if (FAppStorage) FAppStorage->FreeNotification(this);
}

void TZvFormPlacement::SetAppStoragePath(const String& value) {
    FAppStoragePath = value;
    if (!FAppStoragePath.empty() && FAppStoragePath.back() != '\\') FAppStoragePath += '\\';
}

void TZvFormPlacement::ResolveAppStoragePath() {
    static const String macro = "%FORM_NAME%";
    const String upper = UpperCase(FAppStoragePath);
    const size_t at = upper.find(macro);
    if (at == String::npos || !Owner()) return;
    FAppStoragePath.replace(at, macro.size(), Owner()->Name());
}

String TZvFormPlacement::StoragePath(const String& name) const {
    return TZvCustomAppStorage::ConcatPaths({FAppStoragePath, name});
}

void TZvFormPlacement::Notification(TComponent* component, TOperation operation) {
    TZvComponent::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FAppStorage)) FAppStorage = nullptr;
}

// ---- Values relative to the path ----

String TZvFormPlacement::ReadString(const String& name, const String& defaultValue) {
    if (!FAppStorage || name.empty()) return defaultValue;
    return FAppStorage->ReadString(StoragePath(name), defaultValue);
}
int TZvFormPlacement::ReadInteger(const String& name, int defaultValue) {
    if (!FAppStorage || name.empty()) return defaultValue;
    return FAppStorage->ReadInteger(StoragePath(name), defaultValue);
}
bool TZvFormPlacement::ReadBoolean(const String& name, bool defaultValue) {
    if (!FAppStorage || name.empty()) return defaultValue;
    return FAppStorage->ReadBoolean(StoragePath(name), defaultValue);
}
double TZvFormPlacement::ReadFloat(const String& name, double defaultValue) {
    if (!FAppStorage || name.empty()) return defaultValue;
    return FAppStorage->ReadFloat(StoragePath(name), defaultValue);
}
TDateTime TZvFormPlacement::ReadDateTime(const String& name, TDateTime defaultValue) {
    if (!FAppStorage || name.empty()) return defaultValue;
    return FAppStorage->ReadDateTime(StoragePath(name), defaultValue);
}
void TZvFormPlacement::WriteString(const String& name, const String& value) {
    if (FAppStorage && !name.empty()) FAppStorage->WriteString(StoragePath(name), value);
}
void TZvFormPlacement::WriteInteger(const String& name, int value) {
    if (FAppStorage && !name.empty()) FAppStorage->WriteInteger(StoragePath(name), value);
}
void TZvFormPlacement::WriteBoolean(const String& name, bool value) {
    if (FAppStorage && !name.empty()) FAppStorage->WriteBoolean(StoragePath(name), value);
}
void TZvFormPlacement::WriteFloat(const String& name, double value) {
    if (FAppStorage && !name.empty()) FAppStorage->WriteFloat(StoragePath(name), value);
}
void TZvFormPlacement::WriteDateTime(const String& name, TDateTime value) {
    if (FAppStorage && !name.empty()) FAppStorage->WriteDateTime(StoragePath(name), value);
}

// ---- Save and restore ----

void TZvFormPlacement::Save() {
    if (!FAppStorage) return;
    ResolveAppStoragePath();
    BeforeSavePlacement(this);
    if (FVersionCheck != fpvcNocheck) WriteInteger(ZvPlacementNames::FormVersion, FVersion);
    OnSavePlacement(this);
    StorePlacement();
    AfterSavePlacement(this);
    FSaved = true;
}

void TZvFormPlacement::StorePlacement() {
    TCustomForm* form = Form();
    if (form && FOptions != TPlacementOptions{fpActiveControl}) {
        StoreWindowPlacement(form, FAppStorage, FAppStoragePath, FOptions);
        if (FOptions.Contains(fpActiveControl) && form->ActiveControl())
            WriteString(ZvPlacementNames::ActiveControl, form->ActiveControl()->Name());
    }
    NotifyLinks(true);
}

// ---- Linked listeners ----

TZvPlacementLink::~TZvPlacementLink() { SetPlacement(nullptr); }

void TZvPlacementLink::SetPlacement(TZvFormPlacement* value) {
    if (value == FPlacement) return;
    if (FPlacement) FPlacement->RemoveLink(this);
    if (value) value->AddLink(this);
}

void TZvFormPlacement::AddLink(TZvPlacementLink* link) {
    FLinks.push_back(link);
    link->FPlacement = this;
}

void TZvFormPlacement::RemoveLink(TZvPlacementLink* link) {
    std::erase(FLinks, link);
    link->FPlacement = nullptr;
}

void TZvFormPlacement::NotifyLinks(bool saving) {
    // A listener may unlink itself (or another) while it is told.
    const std::vector<TZvPlacementLink*> links = FLinks;
    for (TZvPlacementLink* link : links) {
        if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) continue;
        if (saving)
            link->SaveToStorage();
        else
            link->LoadFromStorage();
    }
}

void TZvFormPlacement::Restore() {
    if (!FAppStorage) {
        ReapplyPlacement();
        return;
    }
    ResolveAppStoragePath();
    FSaved = false;
    const int stored = ReadInteger(ZvPlacementNames::FormVersion, 0);
    const bool accepted = FVersionCheck == fpvcNocheck ||
                          (FVersionCheck == fpvcCheckGreaterEqual && stored >= FVersion) ||
                          (FVersionCheck == fpvcCheckEqual && stored == FVersion);
    if (accepted) {
        BeforeRestorePlacement(this);
        LoadPlacement();
        FRestored = true;
        OnRestorePlacement(this);
        if (FOptions.Contains(fpActiveControl))
            if (TCustomForm* form = Form()) {
                auto* control =
                    dynamic_cast<TWinControl*>(form->FindComponent(ReadString(ZvPlacementNames::ActiveControl)));
                if (control && control->CanFocus()) form->SetActiveControl(control);
            }
        AfterRestorePlacement(this);
    }
    FRestored = true;
    ReapplyPlacement();
}

void TZvFormPlacement::LoadPlacement() {
    if (TCustomForm* form = Form()) LoadWindowPlacement(form, FAppStorage, FAppStoragePath, FOptions);
    NotifyLinks(false);
}

void TZvFormPlacement::ReapplyPlacement() {
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated() || IsLoading() || FPreventResize || !FMinMaxInfo->DefaultMinMaxInfo()) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(form->Handle(), &wp);
    if (!IsWindowVisible(form->Handle())) wp.showCmd = SW_HIDE;
    POINT frame{0, 0};
    switch (form->BorderStyle()) {
    case bsSingle:
    case bsToolWindow: frame = POINT{GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)}; break;
    case bsSizeable:
    case bsSizeToolWin: frame = POINT{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)}; break;
    case bsDialog: frame = POINT{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)}; break;
    case bsNone: break;
    }
    wp.ptMaxPosition = POINT{-frame.x, -frame.y};
    SetWindowPlacement(form->Handle(), &wp);
}

void TZvFormPlacement::UpdatePlacement() {
    if (IsLoading()) return;
    ReapplyPlacement();
    CheckToggleHook();
}

// ---- The form's handlers ----

void TZvFormPlacement::SetHook() {
    TCustomForm* form = Form();
    if (!form || FHooked) return;
    FSaveFormShow = form->OnShow;
    form->OnShow = TNotifyEvent::Bind<&TZvFormPlacement::FormShow>(this);
    FSaveFormCloseQuery = form->OnCloseQuery;
    form->OnCloseQuery = TCloseQueryEvent::Bind<&TZvFormPlacement::FormCloseQuery>(this);
    FSaveFormDestroy = form->OnDestroy;
    form->OnDestroy = TNotifyEvent::Bind<&TZvFormPlacement::FormDestroy>(this);
    FDefMaximize = form->BorderIcons().Contains(biMaximize);
    FHooked = true;
    if (FPreventResize) UpdatePreventResize();
}

void TZvFormPlacement::ReleaseHook() {
    FWinHook->SetControl(nullptr);
    TCustomForm* form = Form();
    if (!form || !FHooked) return;
    form->OnShow = FSaveFormShow;
    form->OnCloseQuery = FSaveFormCloseQuery;
    form->OnDestroy = FSaveFormDestroy;
    FHooked = false;
}

void TZvFormPlacement::FormShow(TObject* sender) {
    if (FActive && FAppStorage && !FRestored) {
        try {
            Restore();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    FSaveFormShow(sender);
}

void TZvFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
    FSaveFormCloseQuery(sender, canClose);
    if (canClose && FActive && FAppStorage && Form()) {
        try {
            Form()->HandleNeeded();
            Save();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
}

void TZvFormPlacement::FormDestroy(TObject* sender) {
    if (FActive && FAppStorage && !FSaved) {
        FDestroying = true;
        try {
            Save();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
        FDestroying = false;
    }
    FSaveFormDestroy(sender);
}

// ---- Size limits and resize prevention ----

void TZvFormPlacement::SetPreventResize(bool value) {
    if (FPreventResize == value) return;
    FPreventResize = value;
    if (!IsLoading() && !IsDesigning()) UpdatePreventResize();
    UpdatePlacement();
}

void TZvFormPlacement::UpdatePreventResize() {
    TCustomForm* form = Form();
    if (!form) return;
    TBorderIcons icons = form->BorderIcons();
    if (FPreventResize)
        icons.Exclude(biMaximize);
    else if (FDefMaximize && form->BorderStyle() != bsDialog)
        icons.Include(biMaximize);
    form->SetBorderIcons(icons);
}

void TZvFormPlacement::CheckToggleHook() {
    if (IsLoading()) return;
    const bool needed = Form() && (!FMinMaxInfo->DefaultMinMaxInfo() || FPreventResize);
    FWinHook->SetControl(needed ? Form() : nullptr);
}

void TZvFormPlacement::WndMessageEvent(TObject*, TMessage& msg, bool& handled) { handled = WndMessage(msg); }

bool TZvFormPlacement::WndMessage(TMessage& msg) {
    TCustomForm* form = Form();
    if (FPreventResize && form) {
        switch (msg.Msg) {
        case WM_GETMINMAXINFO:
            if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
                auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
                info->ptMinTrackSize = POINT{form->Width(), form->Height()};
                info->ptMaxTrackSize = POINT{form->Width(), form->Height()};
            }
            break;
        case WM_NCHITTEST:
            switch (msg.Result) {
            case HTLEFT:
            case HTRIGHT:
            case HTTOP:
            case HTTOPLEFT:
            case HTTOPRIGHT:
            case HTBOTTOM:
            case HTBOTTOMLEFT:
            case HTBOTTOMRIGHT: msg.Result = HTNOWHERE; break;
            default: break;
            }
            break;
        case WM_INITMENUPOPUP:
            // The system menu opens: the form's menu hears of it as of any
            // popup of its own, then sizing and maximising are greyed.
            if (HIWORD(msg.LParam) && form->HandleAllocated()) {
                if (TMainMenu* mainMenu = form->Menu()) mainMenu->DispatchPopup(reinterpret_cast<HMENU>(msg.WParam));
                HMENU menu = GetSystemMenu(form->Handle(), FALSE);
                EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
            }
            break;
        default: break;
        }
    } else if (msg.Msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
        const TZvWinMinMaxInfo& m = *FMinMaxInfo;
        if (m.MinTrackWidth()) info->ptMinTrackSize.x = m.MinTrackWidth();
        if (m.MinTrackHeight()) info->ptMinTrackSize.y = m.MinTrackHeight();
        if (m.MaxTrackWidth()) info->ptMaxTrackSize.x = m.MaxTrackWidth();
        if (m.MaxTrackHeight()) info->ptMaxTrackSize.y = m.MaxTrackHeight();
        if (m.MaxSizeWidth()) info->ptMaxSize.x = m.MaxSizeWidth();
        if (m.MaxSizeHeight()) info->ptMaxSize.y = m.MaxSizeHeight();
        if (m.MaxPosLeft()) info->ptMaxPosition.x = m.MaxPosLeft();
        if (m.MaxPosTop()) info->ptMaxPosition.y = m.MaxPosTop();
    }
    return false;
}

// ============================================================================
// TZvFormStorage
// ============================================================================

TClass TZvFormStorage::StaticClass() {
    using T = TZvFormStorage;
    static const TClassInfo info = TClassBuilder<T>("TZvFormStorage")
                                       .Prop("StoredProps", &T::StoredProps, &T::SetStoredProps)
                                       .Prop("StoredValues", &T::StoredValues, &T::SetStoredValues)
                                       .Prop("StoredPropsPath", &T::StoredPropsPath, &T::SetStoredPropsPath)
                                       .Prop("StoredValuesPath", &T::StoredValuesPath, &T::SetStoredValuesPath)
                                       .Build();
    return &info;
}

TZvFormStorage::TZvFormStorage(TComponent* owner) : TZvFormPlacement(owner) {
    FStoredProps = new TZvFormStorageStringList();
    FStoredValues = new TZvStoredValues(this);
}

TZvFormStorage::~TZvFormStorage() {
    delete FStoredProps;
    FStoredProps = nullptr;
    delete FStoredValues;
    FStoredValues = nullptr;
}

void TZvFormStorage::SetStoredProps(TZvFormStorageStringList* value) {
    FStoredProps->Assign(value);
    if (!IsLoading() && Owner()) RebindStoredLines(Owner(), FStoredProps, true);
}

void TZvFormStorage::Loaded() {
    const bool loading = IsLoading();
    TZvFormPlacement::Loaded();
    if (loading && Owner()) RebindStoredLines(Owner(), FStoredProps, true);
}

void TZvFormStorage::WriteState(TWriter* writer) {
    if (Owner()) RebindStoredLines(Owner(), FStoredProps, false);
    TZvFormPlacement::WriteState(writer);
}

void TZvFormStorage::Notification(TComponent* component, TOperation operation) {
    TZvFormPlacement::Notification(component, operation);
    if (operation == opRemove && FStoredProps && component != this) RemoveStoredLines(FStoredProps, component);
}

void TZvFormStorage::SaveProperties() {
    TZvPropertyStorage storage;
    storage.AppStorage = AppStorage();
    storage.AppStoragePath = TZvCustomAppStorage::ConcatPaths({AppStoragePath(), FStoredPropsPath});
    RebindStoredLines(Owner(), FStoredProps, false);
    storage.SaveComponentProperties(Owner(), FStoredProps);
}

void TZvFormStorage::RestoreProperties() {
    TZvPropertyStorage storage;
    storage.AppStorage = AppStorage();
    storage.AppStoragePath = TZvCustomAppStorage::ConcatPaths({AppStoragePath(), FStoredPropsPath});
    storage.LoadComponentProperties(Owner(), FStoredProps);
}

void TZvFormStorage::StorePlacement() {
    if (!Restored()) return;
    TZvFormPlacement::StorePlacement();
    if (auto* handler = Supports<IZvAppStorageHandler>(Owner()))
        handler->WriteToAppStorage(AppStorage(), AppStoragePath());
    SaveProperties();
    FStoredValues->SaveValues(AppStorage(), TZvCustomAppStorage::ConcatPaths({AppStoragePath(), FStoredValuesPath}));
}

void TZvFormStorage::LoadPlacement() {
    TZvFormPlacement::LoadPlacement();
    SetRestored(true);
    if (auto* handler = Supports<IZvAppStorageHandler>(Owner()))
        handler->ReadFromAppStorage(AppStorage(), AppStoragePath());
    try {
        RestoreProperties();
    } catch (const std::exception&) {
        // Loading the properties ends here, without a message.
    }
    FStoredValues->RestoreValues(AppStorage(), TZvCustomAppStorage::ConcatPaths({AppStoragePath(), FStoredValuesPath}));
}

// ============================================================================
// The unit
// ============================================================================

void ZvFormPlacementInitialize() {
    RegisterClasses({TZvWindowHook::StaticClass(), TZvFormPlacement::StaticClass(), TZvFormStorage::StaticClass()});
}

void ZvFormPlacementFinalize() { ZvWndProcHookFinalize(); }

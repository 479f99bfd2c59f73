// TZvFormPlacement saves its form's window state, size and position in a
// settings store when the form closes and restores them when it is first
// shown, by hooking the form's OnShow, OnCloseQuery and OnDestroy; the form
// needs no code of its own for it. TZvFormStorage also saves and restores
// listed published properties of the form's components, and named values.
#pragma once

#include <vector>

#include "classlib/ui/forms.h"
#include "storage/placement_values.h"
#include "storage/property_storage.h"
#include "storage/window_hook.h"

class TZvCustomAppStorage;
class TZvFormPlacement;

enum TZvFormPlacementVersionCheck { fpvcNocheck, fpvcCheckGreaterEqual, fpvcCheckEqual };
QL_DECLARE_ENUM(TZvFormPlacementVersionCheck);

// Limits for the window's tracking and maximised size and position; all 0
// means no limits.
class TZvWinMinMaxInfo : public TPersistent {
    QL_CLASS(TZvWinMinMaxInfo, TPersistent)
public:
    TZvWinMinMaxInfo() = default;
    void Assign(TPersistent* source) override;

    enum {
        MaxPosLeftIndex,
        MaxPosTopIndex,
        MaxSizeHeightIndex,
        MaxSizeWidthIndex,
        MaxTrackHeightIndex,
        MaxTrackWidthIndex,
        MinTrackHeightIndex,
        MinTrackWidthIndex,
        FieldCount
    };
    int GetField(int index) const { return FFields[index]; }
    // Tells the placement when the value changes.
    void SetField(int index, int value);
    bool DefaultMinMaxInfo() const;

    int MaxPosLeft() const { return FFields[MaxPosLeftIndex]; }
    void SetMaxPosLeft(int v) { SetField(MaxPosLeftIndex, v); }
    int MaxPosTop() const { return FFields[MaxPosTopIndex]; }
    void SetMaxPosTop(int v) { SetField(MaxPosTopIndex, v); }
    int MaxSizeHeight() const { return FFields[MaxSizeHeightIndex]; }
    void SetMaxSizeHeight(int v) { SetField(MaxSizeHeightIndex, v); }
    int MaxSizeWidth() const { return FFields[MaxSizeWidthIndex]; }
    void SetMaxSizeWidth(int v) { SetField(MaxSizeWidthIndex, v); }
    int MaxTrackHeight() const { return FFields[MaxTrackHeightIndex]; }
    void SetMaxTrackHeight(int v) { SetField(MaxTrackHeightIndex, v); }
    int MaxTrackWidth() const { return FFields[MaxTrackWidthIndex]; }
    void SetMaxTrackWidth(int v) { SetField(MaxTrackWidthIndex, v); }
    int MinTrackHeight() const { return FFields[MinTrackHeightIndex]; }
    void SetMinTrackHeight(int v) { SetField(MinTrackHeightIndex, v); }
    int MinTrackWidth() const { return FFields[MinTrackWidthIndex]; }
    void SetMinTrackWidth(int v) { SetField(MinTrackWidthIndex, v); }

private:
    friend class TZvFormPlacement;
    TZvFormPlacement* FOwner = nullptr;
    int FFields[FieldCount] = {};
};

// An object that keeps values of its own with a placement's: linked to a
// placement, it is told to save when the placement saves and to restore
// when the placement restores, after the form's own values. Unlinked when
// either of the two is destroyed.
class TZvPlacementLink : public TObject {
public:
    TZvPlacementLink() = default;
    ~TZvPlacementLink() override;
    TZvPlacementLink(const TZvPlacementLink&) = delete;
    TZvPlacementLink& operator=(const TZvPlacementLink&) = delete;

    TZvFormPlacement* Placement() const { return FPlacement; }
    // Links to value (nullptr: to none), unlinking from the placement before.
    void SetPlacement(TZvFormPlacement* value);

    TNotifyEvent OnSave;
    TNotifyEvent OnLoad;

protected:
    friend class TZvFormPlacement;
    virtual void SaveToStorage() { OnSave(this); }
    virtual void LoadFromStorage() { OnLoad(this); }

private:
    TZvFormPlacement* FPlacement = nullptr;
};

class TZvFormPlacement : public TZvComponent {
    QL_CLASS(TZvFormPlacement, TZvComponent)
public:
    static constexpr const char* DefaultAppStoragePath = "%FORM_NAME%\\";
    explicit TZvFormPlacement(TComponent* owner);
    ~TZvFormPlacement() override;

    void Loaded() override;

    // ---- The public operations ----
    void Save();
    void Restore();
    virtual void StorePlacement();
    virtual void LoadPlacement();
    // Puts the maximised position just outside the screen by the frame, so
    // that a maximised window shows no border.
    void ReapplyPlacement();

    // ---- Values relative to AppStoragePath: nothing (or the default)
    // without a store or with an empty name ----
    String ReadString(const String& name, const String& defaultValue = String());
    int ReadInteger(const String& name, int defaultValue = 0);
    bool ReadBoolean(const String& name, bool defaultValue);
    double ReadFloat(const String& name, double defaultValue = 0.0);
    TDateTime ReadDateTime(const String& name, TDateTime defaultValue);
    void WriteString(const String& name, const String& value);
    void WriteInteger(const String& name, int value);
    void WriteBoolean(const String& name, bool value);
    void WriteFloat(const String& name, double value);
    void WriteDateTime(const String& name, TDateTime value);

    // ---- Properties ----
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    TZvCustomAppStorage* AppStorage() const { return FAppStorage; }
    void SetAppStorage(TZvCustomAppStorage* value);
    // Every non-empty value ends in "\". "%FORM_NAME%" (any case) is
    // replaced by the form's name before every save and restore.
    const String& AppStoragePath() const { return FAppStoragePath; }
    void SetAppStoragePath(const String& value);
    TZvWinMinMaxInfo* MinMaxInfo() const { return FMinMaxInfo; }
    void SetMinMaxInfo(TZvWinMinMaxInfo* value) { FMinMaxInfo->Assign(value); }
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions value) { FOptions = value; }
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool value);
    int Version() const { return FVersion; }
    void SetVersion(int value) { FVersion = value; }
    TZvFormPlacementVersionCheck VersionCheck() const { return FVersionCheck; }
    void SetVersionCheck(TZvFormPlacementVersionCheck value) { FVersionCheck = value; }

    TNotifyEvent BeforeSavePlacement;
    TNotifyEvent OnSavePlacement;
    TNotifyEvent AfterSavePlacement;
    TNotifyEvent BeforeRestorePlacement;
    TNotifyEvent OnRestorePlacement;
    TNotifyEvent AfterRestorePlacement;

    bool Saved() const { return FSaved; }
    bool Restored() const { return FRestored; }
    bool IsDestroyingPlacement() const { return FDestroying; }
    // The form that owns the placement, or nullptr.
    TCustomForm* Form() const;
    TZvWindowHook* WinHook() const { return FWinHook; }

    // Replaces "%FORM_NAME%" in AppStoragePath by the form's name.
    void ResolveAppStoragePath();
    // AppStoragePath joined with name.
    String StoragePath(const String& name) const;

    // Called by the limits object when one of them changes.
    void UpdatePlacement();

    // The linked listeners, in the order they were linked.
    int LinkCount() const { return int(FLinks.size()); }
    TZvPlacementLink* Links(int index) const { return FLinks[std::size_t(index)]; }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void SetRestored(bool value) { FRestored = value; }
    // Tells every linked listener to save (saving true) or to restore.
    void NotifyLinks(bool saving);

private:
    friend class TZvPlacementLink;
    void AddLink(TZvPlacementLink* link);
    void RemoveLink(TZvPlacementLink* link);
    bool IsOptionsStored() const;
    void SetHook();
    void ReleaseHook();
    void CheckToggleHook();
    void UpdatePreventResize();
    bool WndMessage(TMessage& msg);
    void WndMessageEvent(TObject* sender, TMessage& msg, bool& handled);

    // The form's handlers while the placement stands in for them.
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);

    bool FActive = true;
    TZvCustomAppStorage* FAppStorage = nullptr;
    String FAppStoragePath = DefaultAppStoragePath;
    TZvWinMinMaxInfo* FMinMaxInfo;
    TPlacementOptions FOptions;
    bool FPreventResize = false;
    int FVersion = 0;
    TZvFormPlacementVersionCheck FVersionCheck = fpvcCheckGreaterEqual;
    TZvWindowHook* FWinHook;
    TNotifyEvent FSaveFormShow;
    TCloseQueryEvent FSaveFormCloseQuery;
    TNotifyEvent FSaveFormDestroy;
    bool FHooked = false;
    bool FSaved = false;
    bool FRestored = false;
    bool FDestroying = false;
    bool FDefMaximize = false;
    std::vector<TZvPlacementLink*> FLinks;
};

class TZvFormStorage : public TZvFormPlacement {
    QL_CLASS(TZvFormStorage, TZvFormPlacement)
public:
    explicit TZvFormStorage(TComponent* owner);
    ~TZvFormStorage() override;

    void Loaded() override;
    // The lines take their components' current names (lines whose
    // component is gone are dropped) before the layout is written.
    void WriteState(TWriter* writer) override;
    void StorePlacement() override;
    void LoadPlacement() override;

    TZvFormStorageStringList* StoredProps() const { return FStoredProps; }
    void SetStoredProps(TZvFormStorageStringList* value);
    TZvStoredValues* StoredValues() const { return FStoredValues; }
    void SetStoredValues(TZvStoredValues* value) { FStoredValues->Assign(value); }
    const String& StoredPropsPath() const { return FStoredPropsPath; }
    void SetStoredPropsPath(const String& value) { FStoredPropsPath = value; }
    const String& StoredValuesPath() const { return FStoredValuesPath; }
    void SetStoredValuesPath(const String& value) { FStoredValuesPath = value; }

    void SaveProperties();
    void RestoreProperties();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TZvFormStorageStringList* FStoredProps;
    TZvStoredValues* FStoredValues;
    String FStoredPropsPath;
    String FStoredValuesPath;
};

// The settings store as the placement routines see it.
class TZvAppStoragePlacementStore : public TZvPlacementStore {
public:
    explicit TZvAppStoragePlacementStore(TZvCustomAppStorage* store) : FStore(store) {}
    bool ValueStored(const String& path) override;
    String ReadString(const String& path, const String& defaultValue) override;
    int ReadInteger(const String& path, int defaultValue) override;
    void WriteString(const String& path, const String& value) override;
    void WriteInteger(const String& path, int value) override;

private:
    TZvCustomAppStorage* FStore;
};

// A form as the placement routines see it.
class TZvFormPlacementTarget : public TZvPlacementTarget {
public:
    explicit TZvFormPlacementTarget(TCustomForm* form) : FForm(form) {}
    TZvWindowPlacement GetPlacement() override;
    void SetPlacement(const TZvWindowPlacement& placement) override;
    bool IsVisible() override;
    int Left() override { return FForm->Left(); }
    int Top() override { return FForm->Top(); }
    int Width() override { return FForm->Width(); }
    int Height() override { return FForm->Height(); }
    int Position() override { return int(FForm->Position()); }
    void SetPositionAsDesigned(int position) override;
    bool IsDesigning() override { return FForm->IsDesigning(); }
    bool IsMainForm() override;
    bool HasNoMainForm() override;
    bool IsApplicationMinimized() override;
    bool IsMDIForm() override { return FForm->FormStyle() == fsMDIForm; }
    bool IsMDIChild() override { return FForm->FormStyle() == fsMDIChild; }
    bool IsNormalStyle() override { return FForm->FormStyle() == fsNormal; }
    void SetWindowState(TZvPlacementState state) override { FForm->SetWindowState(TWindowState(state)); }
    void StoreWindowState(TZvPlacementState state) override { FForm->StoreWindowState(TWindowState(state)); }
    void MinimizeApplication() override;
    void Repaint() override { FForm->Repaint(); }
    int ScreenWidth() override;
    int ScreenHeight() override;
    int ScreenPixelsPerInch() override;

private:
    TCustomForm* FForm;
};

// The placement routines on a real form and settings store.
void StoreWindowPlacement(TCustomForm* form, TZvCustomAppStorage* store, const String& path, TPlacementOptions options);
void LoadWindowPlacement(TCustomForm* form, TZvCustomAppStorage* store, const String& path, TPlacementOptions options);

// The unit of the form placement: registers its classes for stored layouts
// (TZvWindowHook, TZvFormPlacement, TZvFormStorage); its end frees the hook
// manager and the releaser.
void ZvFormPlacementInitialize();
void ZvFormPlacementFinalize();

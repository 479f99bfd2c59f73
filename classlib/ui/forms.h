// Forms, the screen and the application object.
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/scopes.h"
#include "classlib/ui/controls.h"
#include "classlib/ui/hints.h"

class TMainMenu;
class TTimer;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
QL_DECLARE_ENUM(TBorderIcon);
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
QL_DECLARE_ENUM(TPosition);

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
QL_DECLARE_ENUM(TWindowState);

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
QL_DECLARE_ENUM(TFormStyle);

enum TCloseAction { caNone, caHide, caFree, caMinimize };
QL_DECLARE_ENUM(TCloseAction);

using TCloseEvent = TEvent<TObject* /*Sender*/, TCloseAction& /*Action*/>;
using TCloseQueryEvent = TEvent<TObject* /*Sender*/, bool& /*CanClose*/>;

using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO
};

class TCustomForm : public TWinControl {
    QL_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form's stored layout: the RCDATA resource named after the
    // form's class in the program, or the given text.
    void ReadLayoutResource();
    void ReadLayout(const String& text, const String& sourceName = String());
    // Runs OnCreate (the form's creation is complete).
    void DoCreate();

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    // Records the state without showing the window in it: the form shows
    // its window in that state when it next shows it (MDI forms take a
    // restored state this way).
    void StoreWindowState(TWindowState state) { FWindowState = state; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle style) { FFormStyle = style; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool scaled) { FScaled = scaled; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }
    bool Active() const { return FActive; }
    // The form's menu bar: attached to the form's window while both exist
    // (and again when the window is made afresh), taken off when another
    // menu or none is set and when the menu is freed. Its sub-menus about
    // to open and its commands go to its items (DispatchPopup,
    // DispatchCommand); the client size counts the bar out.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);

    // The control that has (or last had) the focus on this form.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Moves the form's focus to control: CM_EXIT to the controls left,
    // CM_ENTER to the ones entered. False when the form refuses.
    virtual bool SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);

    void Show();
    void Hide();
    // Asks OnCloseQuery, then OnClose; the main form's close ends the program.
    void Close();
    bool CloseQuery();
    TModalResult ShowModal();
    // Frees the form once the messages already queued have been handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;

    TCanvas* Canvas() const { return FCanvas; }
    void WndProc(TMessage& message) override;
    void SetVisible(bool visible) override;
    void SetClientSize(int width, int height) override;
    TRect ClientRect() const override;
    bool Showing() const override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;
    // OnDestroy runs here, before the form's own destructors.
    void BeforeDestruction() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Message handlers ----
    void CMShowingChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMRelease(TMessage& message);
    void WMClose(TMessage& message);
    void WMActivate(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMSysCommand(TMessage& message);
    void WMInitMenuPopup(TMessage& message);
    void WMCommand(TMessage& message);
    void WMDestroy(TMessage& message);

private:
    void ApplyPosition();

    TBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TFormStyle FFormStyle = fsNormal;
    int FPixelsPerInch = 96;
    bool FScaled = true;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    bool FActive = false;
    bool FPositionApplied = false;
    int FClientWidthPending = -1, FClientHeightPending = -1;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TMainMenu* FMenu = nullptr;
    TControlCanvas* FCanvas;
    int FModalLevel = 0;
};

class TForm : public TCustomForm {
    QL_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TScreen : public TComponent {
    QL_CLASS(TScreen, TComponent)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    int DesktopLeft() const;
    int DesktopTop() const;
    int DesktopWidth() const;
    int DesktopHeight() const;
    // The work area of the primary monitor (without the task bar).
    TRect WorkAreaRect() const;
    int PixelsPerInch() const { return FPixelsPerInch; }
    HCURSOR Cursors(TCursor cursor) const;
    void SetCursors(TCursor cursor, HCURSOR handle);
    // A cursor for the whole program (crDefault: each control's own).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);
    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int index) const;

private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    int FPixelsPerInch = 96;
    TCursor FCursor = crDefault;
    mutable std::vector<std::pair<TCursor, HCURSOR>> FCursorList;
    std::vector<TCustomForm*> FForms;
    TWinControl* FActiveControl = nullptr;
    TCustomForm* FActiveForm = nullptr;
};

using TExceptionEvent = TEvent<TObject* /*Sender*/, const Exception& /*E*/>;
// May change the hint about to show, or refuse it (CanShow false).
using TShowHintEvent = TEvent<String& /*HintStr*/, bool& /*CanShow*/, THintInfo& /*HintInfo*/>;
// Shows a message box; returns the button pressed (IDOK...). Replaceable so
// that tests can answer message boxes.
using TMessageBoxFunction = std::function<int(HWND owner, const String& text, const String& caption, UINT flags)>;

class TApplication : public TComponent {
    QL_CLASS(TApplication, TComponent)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Creates a form of class T owned by the application, sets reference
    // before the form's OnCreate runs, and makes the first form created
    // the main form.
    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        TOnFailure undo([&] {
            if (FMainForm == form) FMainForm = nullptr;
            reference = nullptr;
            delete form;
        });
        form->ReadLayoutResource();
        if (!FMainForm) FMainForm = form;
        form->DoCreate();
    }
    // Runs the message loop until the main form closes or Terminate.
    void Run();
    void ProcessMessages();
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Reports the exception being handled (call inside a catch block):
    // OnException when assigned, else a message box; EAbort is silent.
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    int MessageBox(const String& text, const String& caption, UINT flags);

    HWND Handle() const { return FHandle; }
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool v) { FMainFormOnTaskBar = v; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& title);
    String ExeName() const;

    // Hints (hints.h).
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor c) { FHintColor = c; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int ms) { FHintPause = ms; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int ms) { FHintHidePause = ms; }
    // Hides the hint, or stops waiting for it; the control under the cursor
    // is asked again after a new pause.
    void CancelHint();
    // Shows the hint of the control under the mouse now.
    void ActivateHint(TPoint cursorPos);
    TShowHintEvent OnShowHint;
    // The control the mouse is over, as the last idle check found it.
    TControl* MouseControl() const { return FMouseControl; }

    TExceptionEvent OnException;
    TNotifyEvent OnIdle;
    // The message box function every message box of the program goes
    // through (the default shows the system's box).
    TMessageBoxFunction MessageBoxFunction;

    // Called by the message loop between messages: mouse enter and leave,
    // hints, releasing forms.
    void Idle();
    bool ProcessMessage(MSG& msg);

protected:
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Message handlers ----
    void WMSysCommand(TMessage& message);
    void WMClose(TMessage& message);

private:
    friend class TControl;
    friend class TWinControl;
    static LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The application window's messages.
    void WndProc(TMessage& message);
    void DefaultHandler(TMessage& message);
    bool IsKeyMsg(MSG& msg);
    void DoMouseIdle();
    void HintMouseAt(TControl* control, TPoint pos);
    // The mouse moved to p in window's client area (a WM_MOUSEMOVE).
    void MouseMoved(TWinControl* window, TPoint p);
    // The cursor left a window that asked to be told (WM_MOUSELEAVE).
    void MouseLeftWindow(HWND window);
    // The mouse is over target now: leave and enter. While a control
    // holds the mouse captured, only it is entered and left.
    void SetMouseControl(TControl* target);
    void HintTimerExpired(TObject* sender);
    void ApplyHintStep(const THintStep& step);
    void ShowHintNow();
    THintWindow* HintWindowOfClass(TClass cls);

    HWND FHandle = nullptr;
    TCustomForm* FMainForm = nullptr;
    bool FMainFormOnTaskBar = true;
    bool FTerminated = false;
    String FTitle;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TControl* FMouseControl = nullptr;
    TControl* FCaptureControl = nullptr;  // a control that has the mouse captured
    HWND FMouseTrackWindow = nullptr;     // the window that reports when the cursor leaves it
    THintState FHint;
    THintWindow* FHintWindow = nullptr;
    TTimer* FHintTimer = nullptr;
    bool FHandleException = false;
};

extern TApplication* Application;
extern TScreen* Screen;

// The units of the visual class library: make and free Application and Screen.
void ClasslibUiInitialize();
void ClasslibUiFinalize();

// Message boxes through the application.
void ShowMessage(const String& text);

// Dragging a control onto another one.
//
// A control starts a drag with BeginDrag (or by itself on a left press when
// its DragMode is dmAutomatic). Unless the drag starts at once, it starts
// when the mouse has moved more than the threshold from where it began.
// While it runs, the control under the cursor is asked whether it takes the
// drop: CM_DRAG with dmDragEnter, dmDragMove and dmDragLeave reaches its
// DragOver (and OnDragOver), and the cursor shows the dragged control's
// DragCursor over a control that accepts, crNoDrop elsewhere. Releasing the
// left button ends the drag: the last target gets dmDragLeave, then, when it
// accepted, dmDragDrop (DragDrop, OnDragDrop); the dragged control hears of
// the end with the target that took the drop, or none (EndDrag, OnEndDrag).
// The right button, or losing the mouse capture, cancels the drag.
//
// The source a target sees in DragOver and DragDrop is the dragged control
// itself, unless the control's OnStartDrag supplied a drag object of its
// own: then it is that object (which its maker frees).
//
// A control whose DragKind is dkDock drags to dock instead (docking.cpp):
// the target is the nearest window control under the cursor whose DockSite
// is set (never the control itself or one inside it), asked through its
// DockOver (OnDockOver); dropped there, the site docks the control
// (CM_DOCKCLIENT, DockDrop, OnDockDrop) after the old site let it go
// (OnUnDock, CM_UNDOCKCLIENT, DoRemoveDockClient); dropped elsewhere, the
// control floats where the drag left it. OnStartDock and OnEndDock stand
// for OnStartDrag and OnEndDrag. A docked client tells its site of a new
// text or visibility with CM_DOCKNOTIFICATION.
//
// What docking leaves out: dock managers (UseDockManager is only stored:
// a site places its clients itself), tab and split dock hosts, the drawn
// outline of the dock rectangle while dragging (the cursor shows whether
// a site takes the drop), dragging the floating host by its caption to
// dock it, the Ctrl key that stops docking, and OnGetSiteInfo.
#pragma once

#include "classlib/core/classes.h"
#include "classlib/os/win.h"
#include "classlib/ui/geometry.h"

class TControl;
class TWinControl;

enum TDragMode { dmManual, dmAutomatic };
QL_DECLARE_ENUM(TDragMode);
enum TDragKind { dkDrag, dkDock };
QL_DECLARE_ENUM(TDragKind);
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
QL_DECLARE_ENUM(TDragState);
// What a CM_DRAG message asks (its WParam).
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

// What a drag carries. The drag sets the position, the target and whether
// it was dropped as it goes.
class TDragObject : public TObject {
public:
    // The cursor's last position in screen coordinates.
    TPoint DragPos() const { return FDragPos; }
    // The control under the cursor that was last asked, or nullptr.
    TControl* DragTarget() const { return FDragTarget; }
    // True once the target accepted the drop.
    bool Dropped() const { return FDropped; }
    void SetDragPos(TPoint pos) { FDragPos = pos; }

private:
    friend class TDragSession;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    bool FDropped = false;
};

// A drag object that names the dragged control.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* control) : FControl(control) {}
    TControl* Control() const { return FControl; }

private:
    TControl* FControl;
};

// The object of a docking drag: the control to dock and the rectangle (in
// screen coordinates) where it would go.
class TDragDockObject : public TDragControlObject {
public:
    using TDragControlObject::TDragControlObject;
    TRect DockRect;
};

// The LParam of CM_DRAG.
struct TDragRec {
    TPoint Pos;  // the cursor, in screen coordinates
    TDragObject* Object = nullptr;
    TObject* Source = nullptr;  // what DragOver and DragDrop see as the source
    TControl* Target = nullptr;
};

// The LParam of CM_DOCKCLIENT.
struct TDockClientRec {
    TDragDockObject* DockSource = nullptr;
    TPoint MousePos;
};

// The LParam of CM_DOCKNOTIFICATION: a message that reached a docked client.
struct TDockNotifyRec {
    UINT ClientMsg = 0;
    WPARAM MsgWParam = 0;
    LPARAM MsgLParam = 0;
};

using TDragOverEvent =
    TEvent<TObject* /*Sender*/, TObject* /*Source*/, int /*X*/, int /*Y*/, TDragState /*State*/, bool& /*Accept*/>;
using TDragDropEvent = TEvent<TObject* /*Sender*/, TObject* /*Source*/, int /*X*/, int /*Y*/>;
using TStartDragEvent = TEvent<TObject* /*Sender*/, TDragObject*& /*DragObject*/>;
// Also the type of an end-of-docking event.
using TEndDragEvent = TEvent<TObject* /*Sender*/, TObject* /*Target*/, int /*X*/, int /*Y*/>;
using TStartDockEvent = TEvent<TObject* /*Sender*/, TDragDockObject*& /*DragObject*/>;
using TDockOverEvent = TEvent<TObject* /*Sender*/, TDragDockObject* /*Source*/, int /*X*/, int /*Y*/,
                              TDragState /*State*/, bool& /*Accept*/>;
using TDockDropEvent = TEvent<TObject* /*Sender*/, TDragDockObject* /*Source*/, int /*X*/, int /*Y*/>;
using TUnDockEvent = TEvent<TObject* /*Sender*/, TControl* /*Client*/, TWinControl* /*NewTarget*/, bool& /*Allow*/>;

// The distance the mouse must move before a drag that does not start at
// once starts, when the caller gives none (a negative threshold).
constexpr int DefaultDragThreshold = 5;

// The control under pos (screen coordinates): a windowless child of the
// window there (a disabled one only with allowDisabled), or that window's
// control; nullptr over windows of other programs or none.
TControl* FindDragTarget(TPoint pos, bool allowDisabled);

// The dock site a docking drag of client at pos (screen coordinates) would
// ask: the nearest enabled window control there, or a parent of it, whose
// DockSite is set, outside client; nullptr for none.
TWinControl* FindDockSite(TPoint pos, TControl* client);

// A control is being freed: a drag that involves it forgets it (the
// control's destructor calls this).
void DragControlDestroyed(TControl* control);

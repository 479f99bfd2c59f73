// Scope objects: a temporary change that is undone when the scope ends,
// however it ends. They replace the pattern
//
//   BeginUpdate();
//   try { ... } catch (...) { EndUpdate(); throw; }
//   EndUpdate();
//
// with one line at the top of the scope:
//
//   TUpdateScope update(*list);             // BeginUpdate now, EndUpdate at the end
//   TTempChange busy(FBusy, true);          // FBusy = true now, its old value back at the end
//   TScopeExit close([&] { CloseHandle(h); });  // any clean-up
//   TOnFailure undo([&] { FShowing = !show; }); // only when an exception leaves the scope
//
// Which error wins when the undoing itself throws:
// - the scope ends normally: the undo's exception leaves the scope (the
//   work succeeded, the clean-up did not, and the caller must hear of it);
// - an exception is already leaving the scope: that first exception wins and
//   the undo's exception is dropped. The first error is the one that says
//   what went wrong; a second one from the clean-up is usually its echo, and
//   C++ cannot carry two at once.
#pragma once

#include <exception>
#include <utility>

namespace scopes_detail {
// Runs action at the end of a scope that began with `exceptions` uncaught
// exceptions, by the rule above.
template <class F>
void RunAtScopeEnd(F& action, int exceptions) noexcept(false) {
    if (std::uncaught_exceptions() > exceptions) {
        try {
            action();
        } catch (...) {
            // The exception already on its way out wins.
        }
    } else {
        action();
    }
}
}  // namespace scopes_detail

// Runs an action when the scope ends, normally or by an exception.
template <class F>
class [[nodiscard]] TScopeExit {
public:
    explicit TScopeExit(F action) : FAction(std::move(action)), FExceptions(std::uncaught_exceptions()) {}
    ~TScopeExit() noexcept(false) {
        if (FActive) scopes_detail::RunAtScopeEnd(FAction, FExceptions);
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;

    // The action will not run.
    void Dismiss() { FActive = false; }

private:
    F FAction;
    int FExceptions;
    bool FActive = true;
};

// Runs an action only when the scope ends by an exception: the undo of a
// change that is meant to stay when everything succeeds.
template <class F>
class [[nodiscard]] TOnFailure {
public:
    explicit TOnFailure(F action) : FAction(std::move(action)), FExceptions(std::uncaught_exceptions()) {}
    ~TOnFailure() {
        if (std::uncaught_exceptions() > FExceptions) {
            try {
                FAction();
            } catch (...) {
                // The exception already on its way out wins.
            }
        }
    }
    TOnFailure(const TOnFailure&) = delete;
    TOnFailure& operator=(const TOnFailure&) = delete;

private:
    F FAction;
    int FExceptions;
};

// Sets a variable for the length of a scope and gives it its old value back
// at the end.
template <class T>
class [[nodiscard]] TTempChange {
public:
    TTempChange(T& variable, T value) : FVariable(variable), FOld(std::exchange(variable, std::move(value))) {}
    ~TTempChange() { FVariable = std::move(FOld); }
    TTempChange(const TTempChange&) = delete;
    TTempChange& operator=(const TTempChange&) = delete;

private:
    T& FVariable;
    T FOld;
};

// BeginUpdate now, EndUpdate when the scope ends, on anything that counts
// updates that way (string lists, collections, settings objects).
template <class T>
class [[nodiscard]] TUpdateScope {
public:
    explicit TUpdateScope(T& target) : FTarget(target), FExceptions(std::uncaught_exceptions()) {
        FTarget.BeginUpdate();
    }
    ~TUpdateScope() noexcept(false) {
        auto end = [this] { FTarget.EndUpdate(); };
        scopes_detail::RunAtScopeEnd(end, FExceptions);
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    T& FTarget;
    int FExceptions;
};

// Events: method references that are an object plus one of its member
// functions, possibly empty, and comparable.
//
//   TNotifyEvent e = TNotifyEvent::Bind<&TfrmMain::FormCreate>(form);
//   e(sender);            // calls form->FormCreate(sender); empty: nothing
//
// The code of a reference is a small thunk generated once per member
// function, so two references to the same member of the same object compare
// equal, and a reference can be made from a name through the class's
// published methods (the stored layout binds "OnClick = FormCreate" so).
#pragma once

#include <typeinfo>

#include "classlib/core/object.h"

using TMethodCode = void (*)();

struct TMethod {
    TMethodCode Code = nullptr;
    TObject* Data = nullptr;

    bool operator==(const TMethod&) const = default;
    explicit operator bool() const { return Code != nullptr; }
};

template <class... Args>
class TEvent {
public:
    using Thunk = void (*)(TObject*, Args...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    explicit TEvent(const TMethod& method) : FMethod(method) {}

    // A reference to Member of object. Member's class must derive from TObject.
    template <auto Member, class C>
    static TEvent Bind(C* object) {
        TMethod m;
        m.Code = reinterpret_cast<TMethodCode>(&Call<Member, C>);
        m.Data = object;
        return TEvent(m);
    }

    // The thunk that calls Member on its object; published methods keep it.
    template <auto Member, class C>
    static void Call(TObject* self, Args... args) {
        (static_cast<C*>(self)->*Member)(args...);
    }

    // The type of thunk this event calls; binding by name checks it.
    static const std::type_info& Signature() { return typeid(Thunk); }

    void operator()(Args... args) const {
        if (FMethod.Code) reinterpret_cast<Thunk>(FMethod.Code)(FMethod.Data, args...);
    }

    explicit operator bool() const { return FMethod.Code != nullptr; }
    bool operator==(const TEvent& other) const { return FMethod == other.FMethod; }
    bool operator==(std::nullptr_t) const { return !FMethod.Code; }

    const TMethod& Method() const { return FMethod; }
    void SetMethod(const TMethod& method) { FMethod = method; }

private:
    TMethod FMethod;
};

using TNotifyEvent = TEvent<TObject* /*Sender*/>;

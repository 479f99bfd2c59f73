// Functions bound by name from a library (GetProcAddress): the address
// comes back untyped and takes the function-pointer type the caller writes.
// That type must carry the library's calling convention, WINAPI (stdcall):
// on 32 bits a pointer without it calls with the caller cleaning the stack,
// which corrupts the stack on every call, while on 64 bits there is one
// convention and the mistake goes unseen. So every such type goes through
// DllFunctionCast, which compiles only for WINAPI function pointers (the
// check bites in the 32-bit build).
#pragma once

#include <type_traits>

#include "classlib/os/win.h"

namespace QmDllDetail {
struct TNotWinApiPointer {};
template <class F>
struct TWinApiPointer {
    using Type = TNotWinApiPointer;
};
template <class R, class... Args>
struct TWinApiPointer<R(WINAPI*)(Args...)> {
    using Type = R(WINAPI*)(Args...);
};
}  // namespace QmDllDetail

// F is a pointer to a WINAPI function (CALLBACK and STDAPI are the same
// convention).
template <class F>
inline constexpr bool IsWinApiFunctionPointer = std::is_same_v<typename QmDllDetail::TWinApiPointer<F>::Type, F>;

static_assert(IsWinApiFunctionPointer<HRESULT(WINAPI*)(HWND, LPWSTR, int)>);
static_assert(IsWinApiFunctionPointer<decltype(&GetProcAddress)>);
static_assert(!IsWinApiFunctionPointer<FARPROC*> && !IsWinApiFunctionPointer<void*>);
#ifndef _WIN64
// The mistake the check is for: on 32 bits a pointer without WINAPI is
// another type.
static_assert(!IsWinApiFunctionPointer<BOOL (*)()>);
#endif

// address as a pointer of type F; nullptr stays nullptr.
template <class F>
F DllFunctionCast(FARPROC address) {
    static_assert(IsWinApiFunctionPointer<F>, "a function bound by name from a library is declared WINAPI");
    // Through void*: the looked-up address has the type the caller wrote.
    return reinterpret_cast<F>(reinterpret_cast<void*>(address));
}

// The function name of module as F; nullptr when the library lacks it.
template <class F>
F GetDllFunction(HMODULE module, const char* name) {
    return DllFunctionCast<F>(GetProcAddress(module, name));
}

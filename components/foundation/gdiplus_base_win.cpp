#include "components/foundation/gdiplus_base_win.h"

#include "classlib/core/exceptions.h"
#include "classlib/core/typinfo.h"

TGdiplusApi& GdiplusApi() {
    static TGdiplusApi api;
    return api;
}

ARGB ColorToARGB(TColor color) {
    return ColorToARGBWith(color, [](int index) { return LongWord(GetSysColor(index)); });
}

std::wstring GdipWideString(const String& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

// ---- TGdiplusSession ------------------------------------------------------------

TStatus TGdiplusSession::Startup() {
    if (FUseCount++ != 0) return FStartupStatus;
    FInput = TGdiplusStartupInput{1, nullptr, TRUE, FALSE};
    FOutput = TGdiplusStartupOutput{};
    FStartupStatus = FApi.GdiplusStartup(&FStartupToken, &FInput, &FOutput);
    FStarted = FStartupStatus == TStatus::Ok;
    // Only a start that succeeded hands out a hook worth calling.
    if (FStarted && FOutput.NotificationHook && FOutput.NotificationUnhook) {
        FHooked = FOutput.NotificationHook(&FHookToken) == TStatus::Ok;
        if (FHooked) FUnhook = FOutput.NotificationUnhook;
    }
    return FStartupStatus;
}

void TGdiplusSession::Shutdown() {
    if (FUseCount == 0 || --FUseCount != 0) return;
    if (FHooked) FUnhook(FHookToken);
    if (FStarted) FApi.GdiplusShutdown(FStartupToken);
    FHooked = FStarted = false;
    FUnhook = nullptr;
    FStartupToken = FHookToken = 0;
    FStartupStatus = TStatus::GdiplusNotInitialized;
}

TStatus TGdiplusSession::Restart() {
    TStatus status = FApi.GdiplusStartup(&FStartupToken, &FInput, &FOutput);
    if (status == TStatus::Ok) {
        FStarted = true;
        FStartupStatus = status;
    }
    return status;
}

TGdiplusSession& GdiplusSession() {
    static TGdiplusSession session;
    return session;
}

// ---- TGdiplusBase ---------------------------------------------------------------

TClass TGdiplusBase::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGdiplusBase>("TGdiplusBase").Build();
    return &info;
}

void* TGdiplusBase::operator new(std::size_t size) {
    void* memory = GdiplusApi().GdipAlloc(size);
    if (!memory) {
        // GDI+ gives nothing before it is started: start it and try again.
        GdiplusSession().Restart();
        memory = GdiplusApi().GdipAlloc(size);
    }
    if (!memory) throw EOutOfMemory("Out of memory");
    return memory;
}

void TGdiplusBase::operator delete(void* memory) noexcept {
    if (memory) GdiplusApi().GdipFree(memory);
}

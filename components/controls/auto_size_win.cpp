#include "components/controls/auto_size_win.h"

#include "components/controls/lum_panel_win.h"

TClass TAutoSize::StaticClass() {
    using C = TAutoSize;
    static const TClassInfo info = TClassBuilder<C>("TAutoSize")
                                       .Prop("Enabled", &C::Enabled, &C::SetEnabled)
                                       .Default(false)
                                       .Prop("Height", &C::Height, &C::SetHeight)
                                       .Default(true)
                                       .Prop("Width", &C::Width, &C::SetWidth)
                                       .Default(true)
                                       .Build();
    return &info;
}

void TAutoSize::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TAutoSize*>(source);
    if (!s) return TPersistent::Assign(source);
    FHeight = s->FHeight;
    FWidth = s->FWidth;
    SetEnabled(s->FEnabled);
}

void TAutoSize::SetEnabled(bool value) {
    FEnabled = value;
    if (value && FPanel) FPanel->DoAutoSize();
}

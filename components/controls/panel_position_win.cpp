#include "components/controls/panel_position_win.h"

TClass TPanelPosition::StaticClass() {
    using C = TPanelPosition;
    static const TClassInfo info = TClassBuilder<C>("TPanelPosition")
                                       .Prop("Key", &C::Key, &C::SetKey)
                                       .Prop("Location", &C::Location, &C::SetLocation)
                                       .Default(clRegistry)
                                       .Prop("Save", &C::Save, &C::SetSave)
                                       .Default(false)
                                       .Prop("Section", &C::Section, &C::SetSection)
                                       .Build();
    return &info;
}

void TPanelPosition::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TPanelPosition*>(source);
    if (!s) return TPersistent::Assign(source);
    FSave = s->FSave;
    FKey = s->FKey;
    FSection = s->FSection;
    FLocation = s->FLocation;
}

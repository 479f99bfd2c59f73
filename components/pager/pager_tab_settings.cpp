#include "components/pager/pager_tab_settings.h"

QL_DEFINE_ENUM(TImagePosition, "ipLeft", "ipTop", "ipRight", "ipBottom")
QL_DEFINE_ENUM(TLumTabShape, "tsRectangle", "tsLeftRamp", "tsRightRamp", "tsLeftRightRamp")

const TTypeInfo* TypeInfoTabRounding() {
    static const TTypeInfo info = MakeOrdinalTypeInfo(tkInteger, "TTabRounding", 0, MaxTabRounding);
    return &info;
}

TClass TPagerTabSettings::StaticClass() {
    using C = TPagerTabSettings;
    static const TClassInfo info = TClassBuilder<C>("TPagerTabSettings")
                                       .Prop("Alignment", &C::Alignment, &C::SetAlignment)
                                       .Default(taLeftJustify)
                                       .Prop("LeftMargin", &C::LeftMargin, &C::SetLeftMargin)
                                       .Default(4)
                                       .Prop("RightMargin", &C::RightMargin, &C::SetRightMargin)
                                       .Default(4)
                                       .Prop("StartMargin", &C::StartMargin, &C::SetStartMargin)
                                       .Default(4)
                                       .Prop("Height", &C::Height, &C::SetHeight)
                                       .Default(26)
                                       .Prop("Spacing", &C::Spacing, &C::SetSpacing)
                                       .Default(4)
                                       .Prop("Width", &C::Width, &C::SetWidth)
                                       .Default(0)
                                       .Prop("WordWrap", &C::WordWrap, &C::SetWordWrap)
                                       .Default(false)
                                       .Prop("ImagePosition", &C::ImagePosition, &C::SetImagePosition)
                                       .Default(ipLeft)
                                       .Prop("Shape", &C::Shape, &C::SetShape)
                                       .Default(tsRectangle)
                                       .Prop("Rounding", &C::Rounding, &C::SetRounding)
                                       .Type(&TypeInfoTabRounding)
                                       .Default(1)
                                       .Build();
    return &info;
}

void TPagerTabSettings::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TPagerTabSettings*>(source);
    if (!s) return TPersistent::Assign(source);
    SetAlignment(s->FAlignment);
    SetLeftMargin(s->FLeftMargin);
    SetRightMargin(s->FRightMargin);
    SetStartMargin(s->FStartMargin);
    SetEndMargin(s->FEndMargin);
    SetHeight(s->FHeight);
    SetWidth(s->FWidth);
    SetWordWrap(s->FWordWrap);
    SetImagePosition(s->FImagePosition);
    SetShape(s->FShape);
    SetRounding(s->FRounding);
}

TClass TPagerTabScroller::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPagerTabScroller>("TPagerTabScroller").Build();
    return &info;
}

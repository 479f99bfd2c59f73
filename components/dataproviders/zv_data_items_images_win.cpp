#include "components/dataproviders/zv_data_items_images_win.h"

TClass TZvCustomDataItemsImages::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvCustomDataItemsImages>("TZvCustomDataItemsImages")
            .Implements<IZvDataItemsImages>()
            .QL_EXTENSION_CONSTRUCTOR
            .Prop("Images", &TZvCustomDataItemsImages::FImages, &TZvCustomDataItemsImages::SetImages)
            .Prop("HotImages", &TZvCustomDataItemsImages::FHotImages, &TZvCustomDataItemsImages::SetHotImages)
            .Prop("DisabledImages", &TZvCustomDataItemsImages::FDisabledImages,
                  &TZvCustomDataItemsImages::SetDisabledImages)
            .Build();
    return &info;
}

void TZvCustomDataItemsImages::Change(TCustomImageList*& field, TCustomImageList* value) {
    if (field == value) return;
    TZvBaseDataItems* list = ItemsObject();
    IZvDataProvider* provider = list ? list->Provider() : nullptr;
    if (provider) provider->Changing(pcrUpdateItems, Items());
    FNotifier.ReplaceReference(field, value);
    if (provider) provider->Changed(pcrUpdateItems, Items());
}

void TZvCustomDataItemsImages::ImageListFreed(TComponent* component) {
    if (component == FImages) SetImages(nullptr);
    if (component == FHotImages) SetHotImages(nullptr);
    if (component == FDisabledImages) SetDisabledImages(nullptr);
}

TClass TZvDataItemImageImpl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataItemImageImpl>("TZvDataItemImageImpl")
            .Implements<IZvDataItemImage>()
            .QL_EXTENSION_CONSTRUCTOR
            .Prop("Alignment", &TZvDataItemImageImpl::FAlignment, &TZvDataItemImageImpl::SetAlignment)
            .Default(taLeftJustify)
            .Prop("ImageIndex", &TZvDataItemImageImpl::FImageIndex, &TZvDataItemImageImpl::SetImageIndex)
            .Default(0)
            .Prop("SelectedIndex", &TZvDataItemImageImpl::FSelectedIndex, &TZvDataItemImageImpl::SetSelectedIndex)
            .Default(0)
            .Build();
    return &info;
}

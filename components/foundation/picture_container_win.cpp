#include "components/foundation/picture_container_win.h"

#include "components/foundation/version_text.h"

namespace {

constexpr LongWord kContainerVersion = 0x01000000;

}  // namespace

// ---- TPictureItem ------------------------------------------------------------------

TClass TPictureItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureItem>("TPictureItem")
                                       .Prop("Picture", &TPictureItem::Picture, &TPictureItem::SetPicture)
                                       .Prop("Name", &TPictureItem::Name, &TPictureItem::SetName)
                                       .Prop("Tag", &TPictureItem::Tag, &TPictureItem::SetTag)
                                       .Default(0)
                                       .Build();
    return &info;
}

TPictureItem::TPictureItem(TCollection* collection) : TCollectionItem(collection), FPicture(new THTMLPicture) {}

TPictureItem::~TPictureItem() { delete FPicture; }

void TPictureItem::Assign(TPersistent* source) {
    if (auto* item = dynamic_cast<TPictureItem*>(source)) {
        FName = item->FName;
        FTag = item->FTag;
        FPicture->Assign(item->FPicture);
        return;
    }
    TCollectionItem::Assign(source);
}

String TPictureItem::GetDisplayName() { return FName.empty() ? TCollectionItem::GetDisplayName() : FName; }

// ---- TPictureCollection -----------------------------------------------------------

TClass TPictureCollection::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureCollection>("TPictureCollection").Build();
    return &info;
}

// ---- TPictureContainer -------------------------------------------------------------

TClass TPictureContainer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureContainer>("TPictureContainer")
                                       .Prop("Items", &TPictureContainer::Items, &TPictureContainer::SetItems)
                                       .Prop("Version", &TPictureContainer::Version, &TPictureContainer::SetVersion)
                                       .Stored(false)
                                       .Build();
    return &info;
}

TPictureContainer::TPictureContainer(TComponent* owner) : TComponent(owner), FItems(new TPictureCollection(this)) {}

TPictureContainer::~TPictureContainer() { delete FItems; }

String TPictureContainer::Version() const { return PackedVersionText(kContainerVersion); }

THTMLPicture* TPictureContainer::PictureByName(const String& name) const {
    for (int i = 0; i < FItems->Count(); ++i) {
        TPictureItem* item = FItems->Items(i);
        if (SamePictureName(item->Name(), name)) return item->Picture();
    }
    return nullptr;
}

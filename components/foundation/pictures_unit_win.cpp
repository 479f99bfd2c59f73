#include "components/foundation/pictures_unit_win.h"

#include <vector>

#include "components/foundation/gdip_picture_win.h"
#include "components/foundation/lum_hint_info_win.h"
#include "components/foundation/lum_image_win.h"
#include "components/foundation/picture_container_win.h"

namespace {

const std::vector<TClass>& PictureClasses() {
    static const std::vector<TClass> classes = {TGDIPPicture::StaticClass(),       TLumImage::StaticClass(),
                                                THTMLPicture::StaticClass(),       TPictureContainer::StaticClass(),
                                                TPictureCollection::StaticClass(), TPictureItem::StaticClass(),
                                                TLumHintInfo::StaticClass()};
    return classes;
}

}  // namespace

void PicturesInitialize() {
    for (TClass cls : PictureClasses()) RegisterClass(cls);
}

void PicturesFinalize() {
    for (TClass cls : PictureClasses()) UnregisterClass(cls);
}

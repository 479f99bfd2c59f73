#include "storage/storage_component.h"

#include "classlib/core/typinfo.h"

TClass TZvComponent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvComponent>("TZvComponent").Build();
    return &info;
}

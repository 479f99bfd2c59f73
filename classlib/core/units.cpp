#include "classlib/core/units.h"

#include "classlib/core/classes.h"
#include "classlib/core/scopes.h"

void TUnitList::InitializeAll() {
    while (FInitialized < int(FUnits.size())) {
        const TUnitEntry& unit = FUnits[size_t(FInitialized)];
        {
            // A unit that fails to start takes down those started before it.
            TOnFailure finalize([this] { FinalizeAll(); });
            if (unit.Initialize) unit.Initialize();
        }
        ++FInitialized;
    }
}

void TUnitList::FinalizeAll() {
    while (FInitialized > 0) {
        const TUnitEntry& unit = FUnits[size_t(--FInitialized)];
        // A failing finaliser must not keep the others from running.
        try {
            if (unit.Finalize) unit.Finalize();
        } catch (...) {}
    }
}

void ClasslibCoreInitialize() {
    RegisterClasses({TComponent::StaticClass(), TCollection::StaticClass(), TCollectionItem::StaticClass()});
}

void ClasslibCoreFinalize() {
    UnregisterClass(TCollectionItem::StaticClass());
    UnregisterClass(TCollection::StaticClass());
    UnregisterClass(TComponent::StaticClass());
}

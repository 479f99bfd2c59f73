// The order in which the program's units start and stop.
//
// C++ leaves the order of static initialisation across files open, so
// nothing here depends on it: each library offers an initialise and a
// finalise function, and the program entry lists them in link order, the
// class library first. Finalisation runs in reverse, and only for the units
// whose initialisation completed.
#pragma once

#include <initializer_list>
#include <vector>

struct TUnitEntry {
    const char* Name;
    void (*Initialize)();  // may be null
    void (*Finalize)();    // may be null
};

class TUnitList {
public:
    TUnitList(std::initializer_list<TUnitEntry> units) : FUnits(units) {}
    ~TUnitList() { FinalizeAll(); }
    TUnitList(const TUnitList&) = delete;
    TUnitList& operator=(const TUnitList&) = delete;

    // Initialises every unit in order. When one raises, the units already
    // initialised are finalised (in reverse) and the exception passes on.
    void InitializeAll();
    // Finalises the initialised units in reverse order; safe to call twice.
    void FinalizeAll();
    int InitializedCount() const { return FInitialized; }

private:
    std::vector<TUnitEntry> FUnits;
    int FInitialized = 0;
};

// The class library's own unit: registers its classes for streaming.
void ClasslibCoreInitialize();
void ClasslibCoreFinalize();

// The check that every registered class's declared defaults are what a new
// instance holds, for the test program of each library: a default that
// drifts from the constructor makes the layout writer drop a value that
// then reads back as something else.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/core/classes.h"

// Creates one instance of every registered class that can be made without
// a context (components without an owner, collection items in a collection
// of their class, other objects by their factory) and expects no drift.
// Returns how many classes it checked.
inline int ExpectRegisteredClassesHoldTheirDefaults(std::initializer_list<TClass> skip = {}) {
    int checked = 0;
    for (TClass cls : GetRegisteredClasses()) {
        if (std::find(skip.begin(), skip.end(), cls) != skip.end()) continue;
        TObject* instance = nullptr;
        TCollection* items = nullptr;
        if (cls->CreateComponent)
            instance = cls->CreateComponent(nullptr);
        else if (cls->CreateItem)
            instance = (items = new TCollection(cls))->Add();
        else if (cls->Create)
            instance = cls->Create();
        if (!instance) continue;
        EXPECT_EQ(FindDefaultDrifts(instance), std::vector<String>{}) << cls->Name;
        ++checked;
        if (items)
            delete items;
        else
            instance->Free();
    }
    return checked;
}

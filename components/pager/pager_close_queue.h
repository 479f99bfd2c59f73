// The tab close buttons waiting to be freed. A close button is never freed
// inside its own click: the pager lists it and posts "OPDESTROYCLOSEBTN"
// to its own window with the button as the message's parameter. Any
// process can post a registered message, so the handler frees only a
// button this list holds (Take), and the pager frees whatever is still
// listed when it is destroyed (TakeAll).
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

template <class T>
class TPendingFreeList {
public:
    void Add(T* item) {
        if (item && !Contains(item)) FItems.push_back(item);
    }
    bool Contains(const T* item) const { return std::find(FItems.begin(), FItems.end(), item) != FItems.end(); }
    // Removes item from the list; true when it was listed.
    bool Take(const T* item) {
        auto it = std::find(FItems.begin(), FItems.end(), item);
        if (it == FItems.end()) return false;
        FItems.erase(it);
        return true;
    }
    std::vector<T*> TakeAll() { return std::exchange(FItems, {}); }
    int Count() const { return int(FItems.size()); }

private:
    std::vector<T*> FItems;
};

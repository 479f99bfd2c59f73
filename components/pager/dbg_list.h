// TDbgList: the class library's pointer list with its own index test on
// reading and writing an item: an index at or past the end raises the
// general exception with a message that says which access failed. The
// pager keeps its pages in one, the pager styler its pagers.
#pragma once

#include "classlib/core/lists.h"

template <class T>
class TDbgList : public TList<T> {
public:
    // Raises Exception "Index out of bounds in list read access" for an
    // index at or past Count; a negative index meets the base list's
    // EListError.
    T* Items(int index) const {
        if (index >= this->Count()) throw Exception("Index out of bounds in list read access");
        return TList<T>::Items(index);
    }
    // Raises "Index out of bounds in list write access" in the same way.
    void SetItems(int index, T* item) {
        if (index >= this->Count()) throw Exception("Index out of bounds in list write access");
        TList<T>::SetItems(index, item);
    }
    T* operator[](int index) const { return Items(index); }
};

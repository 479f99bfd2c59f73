// Lists of object pointers with the class library's checks: TList keeps
// pointers, TObjectList may own what it holds, TThreadList guards a list
// with a lock.
#pragma once

#include <algorithm>
#include <functional>
#include <mutex>
#include <vector>

#include "classlib/core/classes.h"

template <class T>
class TList {
public:
    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    virtual ~TList() = default;

    int Count() const { return int(FItems.size()); }
    // Raises EListError "List index out of bounds (%d)" for a bad index.
    T* Items(int index) const {
        Check(index);
        return FItems[size_t(index)];
    }
    void SetItems(int index, T* item) {
        Check(index);
        FItems[size_t(index)] = item;
    }
    T* operator[](int index) const { return Items(index); }

    int Add(T* item) {
        FItems.push_back(item);
        return Count() - 1;
    }
    void Insert(int index, T* item) {
        if (index < 0 || index > Count()) RaiseListIndexError(index);
        FItems.insert(FItems.begin() + index, item);
    }
    virtual void Delete(int index) {
        Check(index);
        FItems.erase(FItems.begin() + index);
    }
    // Takes item out of the list without freeing it; nullptr when absent.
    T* Extract(T* item) {
        int i = IndexOf(item);
        if (i < 0) return nullptr;
        FItems.erase(FItems.begin() + i);
        return item;
    }
    int Remove(T* item) {
        int i = IndexOf(item);
        if (i >= 0) Delete(i);
        return i;
    }
    int IndexOf(const T* item) const {
        auto it = std::find(FItems.begin(), FItems.end(), item);
        return it == FItems.end() ? -1 : int(it - FItems.begin());
    }
    void Exchange(int a, int b) {
        Check(a);
        Check(b);
        std::swap(FItems[size_t(a)], FItems[size_t(b)]);
    }
    void Move(int from, int to) {
        Check(from);
        Check(to);
        // The item goes to index to; those between shift by one place.
        auto first = FItems.begin();
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
    }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }
    // Drops the null entries.
    void Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }
    virtual void Clear() { FItems.clear(); }
    void Sort(const std::function<bool(T*, T*)>& less) { std::stable_sort(FItems.begin(), FItems.end(), less); }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

protected:
    void Check(int index) const {
        if (index < 0 || index >= Count()) RaiseListIndexError(index);
    }
    std::vector<T*> FItems;
};

// A list that frees what it holds when OwnsObjects is on (the default).
template <class T>
class TObjectList : public TList<T> {
public:
    explicit TObjectList(bool ownsObjects = true) : FOwnsObjects(ownsObjects) {}
    ~TObjectList() override { Clear(); }

    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

    void Delete(int index) override {
        T* item = this->Items(index);
        TList<T>::Delete(index);
        if (FOwnsObjects) delete item;
    }
    void Clear() override {
        while (this->Count() > 0) Delete(this->Count() - 1);
    }

private:
    bool FOwnsObjects;
};

// A list shared between threads: use it between LockList and UnlockList.
template <class T>
class TThreadList {
public:
    TList<T>& LockList() {
        FLock.lock();
        return FList;
    }
    void UnlockList() { FLock.unlock(); }
    void Add(T* item) {
        std::lock_guard guard(FLock);
        if (FList.IndexOf(item) < 0) FList.Add(item);
    }
    void Remove(T* item) {
        std::lock_guard guard(FLock);
        FList.Remove(item);
    }
    void Clear() {
        std::lock_guard guard(FLock);
        FList.Clear();
    }

private:
    std::recursive_mutex FLock;
    TList<T> FList;
};

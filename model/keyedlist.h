#pragma once

// An ordered collection of owned objects found by their record key, as the model's
// list modules keep them. Pointers handed out stay valid until Clear(): an object removed
// from the list is parked, not destroyed, so a stale pointer held by a worksheet cannot dangle.

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace model {

// The key text under which a collection holds an object: "k" followed by the key.
inline QString KeyText(int key) { return QStringLiteral("k%1").arg(key); }

// What both keyed collections do with a key they hold already: the object held stays and the
// new one is dropped, without an error. A damaged file can hold two rows that read as one key:
// it still loads, and an object that others already point to (a category with the objectives
// it has gathered) is never swapped from under them.

template <class T>
class KeyedList {
public:
    // Appends and returns the object now held under the key: a key already present keeps its
    // object and item is dropped.
    T* Add(int key, std::unique_ptr<T> item)
    {
        const auto [it, added] = mOwned.try_emplace(key);
        if (added) {
            it->second = std::move(item);
            mOrder.push_back(it->second.get());
        }
        return it->second.get();
    }

    bool Contains(int key) const { return mOwned.count(key) != 0; }
    // Throws std::out_of_range for a key that is not in the list.
    T* Get(int key) const
    {
        auto it = mOwned.find(key);
        if (it == mOwned.end())
            throw std::out_of_range(("no member " + KeyText(key) + " in the collection").toStdString());
        return it->second.get();
    }
    T* Find(int key) const
    {
        auto it = mOwned.find(key);
        return it == mOwned.end() ? nullptr : it->second.get();
    }
    // 1-based position, as the callers count.
    T* At(int position) const
    {
        if (position < 1 || position > int(mOrder.size()))
            throw std::out_of_range("position out of range");
        return mOrder[position - 1];
    }
    void Remove(int key)
    {
        auto it = mOwned.find(key);
        if (it == mOwned.end()) return;
        T* raw = it->second.get();
        mOrder.removeAll(raw);
        mParked.push_back(std::move(it->second));
        mOwned.erase(it);
    }
    void Clear()
    {
        mOrder.clear();
        mOwned.clear();
        mParked.clear();
    }

    int Count() const { return int(mOrder.size()); }
    bool IsEmpty() const { return mOrder.empty(); }
    const QList<T*>& Items() const { return mOrder; }
    auto begin() const { return mOrder.begin(); }
    auto end() const { return mOrder.end(); }

private:
    QList<T*> mOrder;
    std::map<int, std::unique_ptr<T>> mOwned;   // by key
    std::vector<std::unique_ptr<T>> mParked;
};

} // namespace model

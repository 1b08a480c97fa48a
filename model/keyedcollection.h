#pragma once

#include <QHash>
#include <QList>

#include <memory>

namespace model {

// An ordered collection of shared model objects, each also found by its record key.
template <class T>
class KeyedCollection {
public:
    // Appends and returns the object now held under the key: a key already present keeps its
    // object and item is dropped, as in KeyedList (keyedlist.h says why).
    T* Add(int key, std::shared_ptr<T> item)
    {
        if (const auto it = mByKey.constFind(key); it != mByKey.constEnd())
            return it->get();
        T* added = item.get();
        mByKey.insert(key, item);
        mKeys.append(key);
        mItems.append(std::move(item));
        return added;
    }
    void Reserve(int count)
    {
        mByKey.reserve(count);
        mKeys.reserve(count);
        mItems.reserve(count);
    }
    bool Contains(int key) const { return mByKey.contains(key); }
    // nullptr when the key is not in the collection.
    std::shared_ptr<T> Find(int key) const { return mByKey.value(key); }
    // The same without taking a share, for a lookup in a loop over many keys.
    T* FindRaw(int key) const
    {
        const auto it = mByKey.constFind(key);
        return it == mByKey.constEnd() ? nullptr : it->get();
    }
    void Remove(int key)
    {
        const int i = mKeys.indexOf(key);
        if (i < 0)
            return;
        mKeys.removeAt(i);
        mItems.removeAt(i);
        mByKey.remove(key);
    }
    int Count() const { return int(mItems.size()); }
    bool IsEmpty() const { return mItems.isEmpty(); }
    // 0-based position.
    const std::shared_ptr<T>& At(int i) const { return mItems.at(i); }
    int KeyAt(int i) const { return mKeys.at(i); }
    const QList<std::shared_ptr<T>>& Items() const { return mItems; }

    auto begin() const { return mItems.begin(); }
    auto end() const { return mItems.end(); }

private:
    QList<std::shared_ptr<T>> mItems;
    QList<int> mKeys;
    QHash<int, std::shared_ptr<T>> mByKey;
};

} // namespace model

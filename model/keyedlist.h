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

template <class T>
class KeyedList {
public:
    // Appends; a key already present is replaced in place (its old object is parked).
    T* Add(int key, std::unique_ptr<T> item)
    {
        T* raw = item.get();
        auto it = mByKey.find(key);
        if (it != mByKey.end()) {
            for (auto& p : mOrder)
                if (p == it->second) p = raw;
            mParked.push_back(std::move(mOwned[key]));
        } else {
            mOrder.push_back(raw);
        }
        mOwned[key] = std::move(item);
        mByKey[key] = raw;
        return raw;
    }

    bool Contains(int key) const { return mByKey.count(key) != 0; }
    // Throws std::out_of_range for a key that is not in the list.
    T* Get(int key) const
    {
        auto it = mByKey.find(key);
        if (it == mByKey.end())
            throw std::out_of_range(("no member " + KeyText(key) + " in the collection").toStdString());
        return it->second;
    }
    T* Find(int key) const
    {
        auto it = mByKey.find(key);
        return it == mByKey.end() ? nullptr : it->second;
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
        auto it = mByKey.find(key);
        if (it == mByKey.end()) return;
        T* raw = it->second;
        mOrder.removeAll(raw);
        mParked.push_back(std::move(mOwned[key]));
        mOwned.erase(key);
        mByKey.erase(it);
    }
    void Clear()
    {
        mOrder.clear();
        mByKey.clear();
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
    std::map<int, T*> mByKey;
    std::map<int, std::unique_ptr<T>> mOwned;
    std::vector<std::unique_ptr<T>> mParked;
};

} // namespace model

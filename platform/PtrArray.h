// Growable array of object pointers, the base of the page's object lists. It never
// deletes what it points to.
#pragma once

#include <cstddef>
#include <vector>

namespace kestrum {

template <class T>
class CPtrArray {
public:
    using iterator = typename std::vector<T*>::iterator;
    using const_iterator = typename std::vector<T*>::const_iterator;

    int GetSize() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    T* GetAt(int i) const { return items_[static_cast<size_t>(i)]; }
    T*& operator[](int i) { return items_[static_cast<size_t>(i)]; }
    T* operator[](int i) const { return items_[static_cast<size_t>(i)]; }
    int Add(T* item) { items_.push_back(item); return GetSize() - 1; }
    // Appends every pointer of another list; the two lists must differ.
    void Append(const CPtrArray& other) { items_.insert(items_.end(), other.items_.begin(), other.items_.end()); }
    void RemoveAt(int i) { items_.erase(items_.begin() + i); }
    void RemoveAll() { items_.clear(); items_.shrink_to_fit(); }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    std::vector<T*>& Items() { return items_; }
    const std::vector<T*>& Items() const { return items_; }

private:
    std::vector<T*> items_;
};

}  // namespace kestrum

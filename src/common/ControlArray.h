#pragma once
// A control array: controls of one kind reached by index, as (i) or [i].
// Indexes need not be contiguous; an absent index gives nullptr.

#include <map>

namespace zq {

template <class T>
class ControlArray {
public:
    T* operator()(int index) const
    {
        auto it = items_.find(index);
        return it == items_.end() ? nullptr : it->second;
    }
    T* operator[](int index) const { return (*this)(index); }
    void set(int index, T* control) { items_[index] = control; }
    bool contains(int index) const { return items_.count(index) != 0; }
    int count() const { return static_cast<int>(items_.size()); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::map<int, T*> items_;
};

} // namespace zq

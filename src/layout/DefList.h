#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace pavlora {

// An owning list of definitions: removing an item frees it.
template <class T>
class TDefList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    bool InRange(int index) const { return index >= 0 && index < Count(); }

    T& operator[](int index) { return *items_[static_cast<std::size_t>(index)]; }
    const T& operator[](int index) const { return *items_[static_cast<std::size_t>(index)]; }
    T& Last() { return *items_.back(); }
    const T& Last() const { return *items_.back(); }

    // Inserts at `index`, or appends when it is outside 0..Count-1. Returns
    // the index the item got.
    int Insert(int index, std::unique_ptr<T> item)
    {
        if (!InRange(index)) {
            items_.push_back(std::move(item));
            return Count() - 1;
        }
        items_.insert(items_.begin() + index, std::move(item));
        return index;
    }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    std::unique_ptr<T> Take(int index)
    {
        std::unique_ptr<T> item = std::move(items_[static_cast<std::size_t>(index)]);
        items_.erase(items_.begin() + index);
        return item;
    }
    int IndexOf(const T* item) const
    {
        for (int i = 0; i < Count(); ++i) {
            if (items_[static_cast<std::size_t>(i)].get() == item)
                return i;
        }
        return -1;
    }

    // Iteration over the items as references.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = T*;
        using reference = T&;
        using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit Iterator(Inner it)
            : it_(it)
        {
        }
        T& operator*() const { return **it_; }
        Iterator& operator++()
        {
            ++it_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++it_;
            return before;
        }
        bool operator==(const Iterator& other) const { return it_ == other.it_; }
        bool operator!=(const Iterator& other) const { return it_ != other.it_; }

    private:
        Inner it_;
    };
    Iterator begin() const { return Iterator(items_.cbegin()); }
    Iterator end() const { return Iterator(items_.cend()); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

} // namespace pavlora

#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace ep {

// A list addressed from 1, as answer slots, papers and questions are numbered.
// Every access is range-checked: index 0 or past the end throws std::out_of_range,
// so a slip between 0- and 1-based counting fails loudly instead of reading a neighbour.
template <typename T>
class List {
public:
    List() = default;
    explicit List(std::size_t count) : items_(count) {}
    List(std::size_t count, const T& value) : items_(count, value) {}
    List(std::initializer_list<T> init) : items_(init) {}
    explicit List(std::vector<T> items) : items_(std::move(items)) {}

    T& operator[](std::size_t index) { return items_.at(index - 1); }
    const T& operator[](std::size_t index) const { return items_.at(index - 1); }

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    void push_back(T value) { items_.push_back(std::move(value)); }
    void resize(std::size_t count) { items_.resize(count); }
    void clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    const std::vector<T>& items() const { return items_; }

    friend bool operator==(const List&, const List&) = default;

private:
    std::vector<T> items_;
};

using TextList = List<std::string>;

}  // namespace ep

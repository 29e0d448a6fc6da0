// An array of plain values that grows and shrinks with realloc: a large
// block is moved by the system's page tables rather than copied, so a text
// that grows to megabytes is never held twice, as a std::string holds it
// while it copies it to a larger block or a smaller one.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

namespace wh {

template <typename T>
class GrowingArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  GrowingArray() = default;
  GrowingArray(const GrowingArray& other) { Append(std::span<const T>(other.data(), other.size())); }
  GrowingArray(GrowingArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  GrowingArray& operator=(GrowingArray other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
    return *this;
  }
  ~GrowingArray() { std::free(data_); }

  const T* data() const { return data_; }
  T* data() { return data_; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& operator[](std::size_t i) { return data_[i]; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }

  void Append(std::span<const T> values) {
    if (size_ + values.size() > capacity_) {
      Resize(std::max(size_ + values.size(), capacity_ * 2));
    }
    if (!values.empty()) std::memcpy(data_ + size_, values.data(), values.size_bytes());
    size_ += values.size();
  }
  void AppendCopies(std::size_t count, const T& value) {
    if (size_ + count > capacity_) Resize(std::max(size_ + count, capacity_ * 2));
    std::fill_n(data_ + size_, count, value);
    size_ += count;
  }
  void clear() { size_ = 0; }
  void reserve(std::size_t capacity) {
    if (capacity > capacity_) Resize(capacity);
  }
  void shrink_to_fit() {
    if (size_ < capacity_) Resize(size_);
  }

 private:
  void Resize(std::size_t capacity) {
    if (capacity == 0) {
      std::free(data_);
      data_ = nullptr;
    } else {
      T* moved = static_cast<T*>(std::realloc(data_, capacity * sizeof(T)));
      if (moved == nullptr) throw std::bad_alloc();
      data_ = moved;
    }
    capacity_ = capacity;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace wh

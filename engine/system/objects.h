// Numbered engine objects: every kind (sprites, images, fonts, sounds,
// windows, packs) lives in one of these tables. A caller names an object by a
// small number of its own choosing, or passes -1 and gets a handle back.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// Handles start here, far above any number a caller would choose, so a
// handle can never be mistaken for a fixed number.
constexpr int kObjectHandleBase = 0x40000000;
// Fixed numbers at or above this are refused rather than grown into: a
// mistaken number must not make the table eat all memory.
constexpr int kObjectNumberLimit = 1 << 20;

template <typename T>
class ObjectTable {
 public:
  // growth_step: how far beyond a new fixed number the table grows
  // (sprites 64; images, fonts, windows, packs 16).
  explicit ObjectTable(int growth_step) : growth_step_(growth_step) {}

  // Stores obj under number id (>= 0), freeing any object already there, or
  // under a new handle when id is -1. Returns the number or handle used, or
  // -2 when id is neither (the object is then dropped).
  int put(int id, std::unique_ptr<T> obj) {
    if (id == -1) {
      int handle = next_handle_++;
      if (next_handle_ <= kObjectHandleBase) next_handle_ = kObjectHandleBase + 1;
      by_handle_[handle] = std::move(obj);
      return handle;
    }
    if (id < 0 || id >= kObjectNumberLimit) return -2;
    if (static_cast<size_t>(id) >= slots_.size()) {
      slots_.resize(static_cast<size_t>(id) + static_cast<size_t>(growth_step_));
    }
    slots_[static_cast<size_t>(id)].reset();  // the old object goes first
    slots_[static_cast<size_t>(id)] = std::move(obj);
    return id;
  }

  // The object named by a number or handle, or nullptr.
  T* get(int id) const {
    if (id >= kObjectHandleBase) {
      auto it = by_handle_.find(id);
      return it == by_handle_.end() ? nullptr : it->second.get();
    }
    if (id < 0 || static_cast<size_t>(id) >= slots_.size()) return nullptr;
    return slots_[static_cast<size_t>(id)].get();
  }

  bool exists(int id) const { return get(id) != nullptr; }

  // Frees one object, or every object of the kind for -1. Returns whether
  // anything was freed.
  bool free(int id) {
    if (id == -1) {
      bool any = count() > 0;
      slots_.clear();
      by_handle_.clear();
      return any;
    }
    if (id >= kObjectHandleBase) return by_handle_.erase(id) > 0;
    if (id < 0 || static_cast<size_t>(id) >= slots_.size() || !slots_[static_cast<size_t>(id)]) return false;
    slots_[static_cast<size_t>(id)].reset();
    return true;
  }

  // Current size of the numbered part (grows by the growth step).
  int capacity() const { return static_cast<int>(slots_.size()); }

  // How many objects exist, numbered and by handle together.
  int count() const {
    int n = static_cast<int>(by_handle_.size());
    for (const auto& s : slots_) n += s ? 1 : 0;
    return n;
  }

  // Calls f(id, object&) for every object, numbered ones first.
  template <typename F>
  void for_each(F f) const {
    for (size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i]) f(static_cast<int>(i), *slots_[i]);
    for (const auto& kv : by_handle_) f(kv.first, *kv.second);
  }

 private:
  int growth_step_;
  int next_handle_ = kObjectHandleBase;
  std::vector<std::unique_ptr<T>> slots_;
  std::unordered_map<int, std::unique_ptr<T>> by_handle_;
};

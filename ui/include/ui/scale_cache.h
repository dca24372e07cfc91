#pragma once

#include <cmath>
#include <cstddef>
#include <list>
#include <utility>

// Pictures kept for the few table scales last shown: a window dragged
// between two sizes, or maximised and given back, shows sizes it has
// already drawn, and drawing them again from the artwork is most of a
// resize's cost. The oldest scale goes when a new one comes.
template <typename Pictures>
class ScaleCache {
 public:
  explicit ScaleCache(size_t scales) : Capacity(scales) {}

  // The pictures of `scale`, made empty when the scale is new (and the
  // oldest scale dropped to make room).
  Pictures& At(double scale) {
    for (auto entry = Entries.begin(); entry != Entries.end(); ++entry) {
      if (std::abs(entry->first - scale) < 1e-9) {
        Entries.splice(Entries.begin(), Entries, entry);
        return Entries.front().second;
      }
    }
    if (Entries.size() >= Capacity) Entries.pop_back();
    Entries.emplace_front(scale, Pictures{});
    return Entries.front().second;
  }
  void Clear() { Entries.clear(); }

 private:
  size_t Capacity;
  std::list<std::pair<double, Pictures>> Entries;  // most recently used first
};

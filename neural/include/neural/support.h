#pragma once

/// @file support.h
/// @brief The growable arrays the library keeps its nodes, layers and values in.
///
/// Growable arrays. Capacity grows only in whole multiples of the growth step
/// chosen at construction; a step of 0 means a fixed capacity.

#include "neural/check.h"
#include "neural/export.h"

/// The arrays' helpers.
namespace nx_detail {
/// The capacity an array of `initialSize` elements starts with: the next
/// whole multiple of `growBy` above it (exactly `initialSize` for a fixed
/// array); 0 for 0.
inline unsigned InitialCapacity(unsigned initialSize, unsigned growBy) {
  if (initialSize == 0) return 0;
  return growBy > 0 ? (initialSize / growBy + 1) * growBy : initialSize;
}
}  // namespace nx_detail

/// An untyped array of pointers. Never deletes what it points to.
class NX_EXPORT NxVoidPtrArray {
 public:
  /// Room for `initialSize` pointers (see nx_detail::InitialCapacity()),
  /// growing by `growBy` (0: never). The array starts empty.
  NxVoidPtrArray(unsigned initialSize, unsigned growBy);
  /// Frees the block, not what it points to.
  virtual ~NxVoidPtrArray();

  /// The block has one owner: arrays cannot be copied.
  ///@{
  NxVoidPtrArray(const NxVoidPtrArray&) = delete;
  NxVoidPtrArray& operator=(const NxVoidPtrArray&) = delete;
  ///@}

  /// Makes room for at least `newSize` elements (0: one more than held),
  /// growing in whole steps; false when a fixed array lacks the room.
  bool Reallocate(unsigned newSize);
  /// Appends `item`. A full fixed-capacity array stops the program
  /// (NX_CHECK); otherwise true.
  bool Add(void* item);
  /// Removes element `index`, moving the later ones down; false past the end.
  bool Remove(unsigned index);

  unsigned GetNumElements() const { return NumElements; }  ///< elements held
  unsigned GetCapacity() const { return Capacity; }  ///< elements that fit without growing
  unsigned GetGrowBy() const { return GrowBy; }  ///< the growth step; 0 for a fixed array
  /// Element `location`; past the end stops the program (NX_CHECK).
  void* GetAt(unsigned location) const {
    NX_CHECK(location < NumElements);
    return Array[location];
  }

 protected:
  void** Array;  ///< the block, nullptr before any room is made
  unsigned GrowBy;  ///< the growth step
  unsigned Capacity;  ///< elements the block holds
  unsigned NumElements;  ///< elements in use
};

/// A typed pointer array that may own its (polymorphic) elements.
template <class T>
class NxPtrArray : public NxVoidPtrArray {
 public:
  /// As NxVoidPtrArray's; with `ownsElements` the array deletes its elements
  /// when it is destroyed.
  NxPtrArray(unsigned initialSize, unsigned growBy, bool ownsElements)
      : NxVoidPtrArray(initialSize, growBy), OwnsElements(ownsElements) {}
  /// Deletes the elements when the array owns them.
  ~NxPtrArray() override {
    if (OwnsElements) ReleaseAll();
  }

  /// Deletes every element, highest index first. The slots keep their
  /// pointers: callers follow this with Flush or destruction.
  void ReleaseAll() {
    for (unsigned i = NumElements; i-- > 0;) delete static_cast<T*>(Array[i]);
  }

  /// Empties the array, deleting the elements first when it owns them and `release` is set.
  void Flush(bool release) {
    if (OwnsElements && release) ReleaseAll();
    NumElements = 0;
  }

  /// Removes element `index`, deleting it when `release` is set (whether or
  /// not the array owns its elements); past the end stops the program.
  bool Remove(unsigned index, bool release) {
    NX_CHECK(index < NumElements);
    T* item = static_cast<T*>(Array[index]);
    NxVoidPtrArray::Remove(index);
    if (release) delete item;
    return true;
  }

  /// Appends `item`, as NxVoidPtrArray::Add().
  bool Add(T* item) { return NxVoidPtrArray::Add(item); }

  /// Element `location`, assignable; past the end stops the program (NX_CHECK).
  T*& operator[](unsigned location) const {
    NX_CHECK(location < NumElements);
    return reinterpret_cast<T*&>(Array[location]);
  }

  /// The block itself, for inner loops; the program stops when no room was
  /// ever made.
  operator T**() const {
    NX_CHECK(Array);
    return reinterpret_cast<T**>(Array);
  }

  bool IsOwner() const { return OwnsElements; }  ///< whether the array deletes its elements

 private:
  bool OwnsElements;
};

/// A value array with the same growth discipline. Elements are copied one by
/// one (T's assignment) when the block moves.
template <class T>
class NxArray {
 public:
  /// Room for `initialSize` elements (see nx_detail::InitialCapacity()),
  /// growing by `growBy` (0: never). The array starts empty.
  NxArray(unsigned initialSize, unsigned growBy)
      : GrowBy(growBy), Capacity(nx_detail::InitialCapacity(initialSize, growBy)) {
    if (Capacity > 0) Array = new T[Capacity];
  }
  /// A copy with the same capacity and growth step.
  NxArray(const NxArray& other) : GrowBy(other.GrowBy), Capacity(other.Capacity), NumElements(other.NumElements) {
    if (Capacity > 0) Array = new T[Capacity];
    for (unsigned i = 0; i < NumElements; ++i) Array[i] = other.Array[i];
  }
  /// Copies the elements; the block grows to the other's capacity when it is
  /// too small, and the growth step stays.
  NxArray& operator=(const NxArray& other) {
    if (this == &other) return *this;
    NumElements = 0;
    if (other.NumElements > Capacity) {
      delete[] Array;
      Array = new T[other.Capacity];
      Capacity = other.Capacity;
    }
    for (unsigned i = 0; i < other.NumElements; ++i) Array[i] = other.Array[i];
    NumElements = other.NumElements;
    return *this;
  }
  ~NxArray() { delete[] Array; }

  /// Makes room for at least `newSize` elements (0: one more than held),
  /// growing in whole steps; false when a fixed array lacks the room.
  bool Reallocate(unsigned newSize) {
    if (newSize == 0) newSize = NumElements + 1;
    if (newSize <= Capacity) return true;
    if (GrowBy == 0) return false;
    unsigned newCapacity = Capacity + ((newSize - Capacity) / GrowBy + 1) * GrowBy;
    T* block = new T[newCapacity];
    for (unsigned i = 0; i < NumElements; ++i) block[i] = Array[i];
    delete[] Array;
    Array = block;
    Capacity = newCapacity;
    return true;
  }

  /// A full fixed-capacity array adds nothing.
  bool Add(const T& item) {
    if (!Reallocate(0)) return false;
    Array[NumElements++] = item;
    return true;
  }

  /// Element `location`; past the end stops the program (NX_CHECK).
  ///@{
  T& operator[](unsigned location) {
    NX_CHECK(location < NumElements);
    return Array[location];
  }
  const T& operator[](unsigned location) const {
    NX_CHECK(location < NumElements);
    return Array[location];
  }
  ///@}

  /// Assigns value to lower..upper (never beyond the capacity); true when
  /// upper lies inside the capacity.
  bool SetRange(unsigned lower, unsigned upper, const T& value) {
    NX_CHECK(upper < NumElements);
    for (unsigned i = lower; i <= upper; ++i) Array[i] = value;
    return true;
  }

  /// Empties the array; the room stays.
  void Flush() { NumElements = 0; }

  /// Elements held; the two names are the same.
  ///@{
  unsigned GetNumItems() const { return NumElements; }
  unsigned GetNumElements() const { return NumElements; }
  ///@}
  unsigned GetCapacity() const { return Capacity; }  ///< elements that fit without growing
  /// Unchecked storage for inner loops that have already validated their range.
  ///@{
  T* Data() { return Array; }
  const T* Data() const { return Array; }
  ///@}

 private:
  T* Array = nullptr;
  unsigned GrowBy;
  unsigned Capacity;
  unsigned NumElements = 0;
};

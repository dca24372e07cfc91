#pragma once


#include "neural/check.h"
#include "neural/export.h"

/// Growable arrays. Capacity grows only in whole multiples of the growth step
/// chosen at construction; a step of 0 means a fixed capacity.

namespace nx_detail {
inline unsigned InitialCapacity(unsigned initialSize, unsigned growBy) {
  if (initialSize == 0) return 0;
  return growBy > 0 ? (initialSize / growBy + 1) * growBy : initialSize;
}
}  // namespace nx_detail

/// An untyped array of pointers. Never deletes what it points to.
class NX_EXPORT NxVoidPtrArray {
 public:
  NxVoidPtrArray(unsigned initialSize, unsigned growBy);
  virtual ~NxVoidPtrArray();

  NxVoidPtrArray(const NxVoidPtrArray&) = delete;
  NxVoidPtrArray& operator=(const NxVoidPtrArray&) = delete;

  bool Reallocate(unsigned newSize);
  bool Add(void* item);
  bool Remove(unsigned index);

  unsigned GetNumElements() const { return NumElements; }
  unsigned GetCapacity() const { return Capacity; }
  unsigned GetGrowBy() const { return GrowBy; }
  void* GetAt(unsigned location) const {
    NX_CHECK(location < NumElements);
    return Array[location];
  }

 protected:
  void** Array;
  unsigned GrowBy;
  unsigned Capacity;
  unsigned NumElements;
};

/// A typed pointer array that may own its (polymorphic) elements.
template <class T>
class NxPtrArray : public NxVoidPtrArray {
 public:
  NxPtrArray(unsigned initialSize, unsigned growBy, bool ownsElements)
      : NxVoidPtrArray(initialSize, growBy), OwnsElements(ownsElements) {}
  ~NxPtrArray() override {
    if (OwnsElements) ReleaseAll();
  }

  /// Deletes every element, highest index first. The slots keep their
  /// pointers: callers follow this with Flush or destruction.
  void ReleaseAll() {
    if (!Array || NumElements == 0) return;
    for (unsigned i = NumElements; i-- > 0;) delete static_cast<T*>(Array[i]);
  }

  void Flush(bool release) {
    if (OwnsElements && release) ReleaseAll();
    NumElements = 0;
  }

  bool Remove(unsigned index, bool release) {
    NX_CHECK(index < NumElements);
    T* item = static_cast<T*>(Array[index]);
    bool retVal = NxVoidPtrArray::Remove(index);
    NX_CHECK(retVal);
    if (retVal && release && item) delete item;
    return retVal;
  }

  bool Add(T* item) { return NxVoidPtrArray::Add(item); }

  T*& operator[](unsigned location) const {
    NX_CHECK(location < NumElements);
    return reinterpret_cast<T*&>(Array[location]);
  }

  operator T**() const {
    NX_CHECK(Array);
    return reinterpret_cast<T**>(Array);
  }

  bool IsOwner() const { return OwnsElements; }

 private:
  bool OwnsElements;
};

/// A value array with the same growth discipline. Elements are copied one by
/// one (T's assignment) when the block moves.
template <class T>
class NxArray {
 public:
  NxArray(unsigned initialSize, unsigned growBy)
      : Array(nullptr), GrowBy(growBy), Capacity(nx_detail::InitialCapacity(initialSize, growBy)),
        NumElements(0) {
    if (Capacity > 0) Array = new T[Capacity];
  }
  NxArray(const NxArray& other) : Array(nullptr), GrowBy(other.GrowBy), Capacity(other.Capacity), NumElements(0) {
    if (Capacity > 0) Array = new T[Capacity];
    for (unsigned i = 0; i < other.NumElements; ++i) Array[i] = other.Array[i];
    NumElements = other.NumElements;
  }
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
    NX_CHECK(Array || NumElements == 0);
    return true;
  }

  /// A full fixed-capacity array adds nothing.
  bool Add(const T& item) {
    if (!Reallocate(0)) return false;
    Array[NumElements++] = item;
    return true;
  }

  T& operator[](unsigned location) {
    NX_CHECK(location < NumElements);
    return Array[location];
  }
  const T& operator[](unsigned location) const {
    NX_CHECK(location < NumElements);
    return Array[location];
  }

  /// Assigns value to lower..upper (never beyond the capacity); true when
  /// upper lies inside the capacity.
  bool SetRange(unsigned lower, unsigned upper, const T& value) {
    NX_CHECK(upper < NumElements);
    unsigned end = upper + 1 < Capacity ? upper + 1 : Capacity;
    for (unsigned i = lower; i < end; ++i) Array[i] = value;
    return upper < Capacity;
  }

  void Flush() { NumElements = 0; }

  unsigned GetNumItems() const { return NumElements; }
  unsigned GetNumElements() const { return NumElements; }
  unsigned GetCapacity() const { return Capacity; }
  /// Unchecked storage for inner loops that have already validated their range.
  T* Data() { return Array; }
  const T* Data() const { return Array; }

 private:
  T* Array;
  unsigned GrowBy;
  unsigned Capacity;
  unsigned NumElements;
};

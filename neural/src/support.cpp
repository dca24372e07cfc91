#include "neural/support.h"

#include <cstring>

NxVoidPtrArray::NxVoidPtrArray(unsigned initialSize, unsigned growBy)
    : Array(nullptr), GrowBy(growBy), Capacity(nx_detail::InitialCapacity(initialSize, growBy)), NumElements(0) {
  if (Capacity > 0) Array = new void*[Capacity];
}

NxVoidPtrArray::~NxVoidPtrArray() { delete[] Array; }

bool NxVoidPtrArray::Reallocate(unsigned newSize) {
  if (newSize == 0) newSize = NumElements + 1;
  if (newSize <= Capacity) return true;
  if (GrowBy == 0) return false;
  unsigned newCapacity = Capacity + ((newSize - Capacity) / GrowBy + 1) * GrowBy;
  void** block = new void*[newCapacity];
  if (NumElements > 0) std::memcpy(block, Array, NumElements * sizeof(void*));
  delete[] Array;
  Array = block;
  Capacity = newCapacity;
  return true;
}

bool NxVoidPtrArray::Add(void* item) {
  // Adding to a full fixed-capacity array is a caller error.
  NX_CHECK_TEXT(Reallocate(0), "false");
  Array[NumElements++] = item;
  return true;
}

bool NxVoidPtrArray::Remove(unsigned index) {
  if (index >= NumElements) return false;
  std::memmove(Array + index, Array + index + 1, (NumElements - index - 1) * sizeof(void*));
  --NumElements;
  return true;
}

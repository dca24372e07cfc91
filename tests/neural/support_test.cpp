#include "neural/support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records the order in which elements are destroyed.
struct Tracked {
  Tracked(int id, std::vector<int>* log) : id(id), log(log) {}
  virtual ~Tracked() { log->push_back(id); }
  int id;
  std::vector<int>* log;
};

}  // namespace

TEST(PtrArrayCapacity, InitialCapacityRoundsUpToAWholeStep) {
  EXPECT_EQ(NxVoidPtrArray(10, 5).GetCapacity(), 15u);
  EXPECT_EQ(NxVoidPtrArray(16, 16).GetCapacity(), 32u);
  EXPECT_EQ(NxVoidPtrArray(16, 0).GetCapacity(), 16u);
  EXPECT_EQ(NxVoidPtrArray(0, 7).GetCapacity(), 0u);
}

TEST(PtrArrayCapacity, FirstAddOnEmptyArrayAllocatesOneStep) {
  NxVoidPtrArray a(0, 4);
  int x = 0;
  EXPECT_TRUE(a.Add(&x));
  EXPECT_EQ(a.GetCapacity(), 4u);
  EXPECT_EQ(a.GetNumElements(), 1u);
}

TEST(PtrArrayCapacity, ReallocateGrowsStrictlyPastExactMultiples) {
  NxVoidPtrArray a(0, 4);
  EXPECT_TRUE(a.Reallocate(8));  // shortfall 8 is two steps exactly: grows by three
  EXPECT_EQ(a.GetCapacity(), 12u);
  EXPECT_TRUE(a.Reallocate(12));
  EXPECT_EQ(a.GetCapacity(), 12u);
  NxVoidPtrArray fixed(3, 0);
  EXPECT_FALSE(fixed.Reallocate(4));
}

TEST(PtrArrayContents, GrowthKeepsElementsAndRemoveShifts) {
  NxVoidPtrArray a(2, 2);
  int v[10];
  for (int& x : v) ASSERT_TRUE(a.Add(&x));
  EXPECT_EQ(a.GetNumElements(), 10u);
  for (unsigned i = 0; i < 10; ++i) EXPECT_EQ(a.GetAt(i), &v[i]);
  EXPECT_TRUE(a.Remove(3));
  EXPECT_EQ(a.GetAt(3), &v[4]);
  EXPECT_TRUE(a.Remove(8));  // the last one: only the count changes
  EXPECT_EQ(a.GetNumElements(), 8u);
  EXPECT_FALSE(a.Remove(8));
}

TEST(PtrArrayDeathTest, FullFixedArrayRefusesAdd) {
  NxVoidPtrArray a(3, 0);
  int x;
  EXPECT_TRUE(a.Add(&x));
  EXPECT_TRUE(a.Add(&x));
  EXPECT_TRUE(a.Add(&x));
  EXPECT_DEATH(a.Add(&x), "Assertion failed: false");
}

TEST(PtrArrayDeathTest, IndexPastCountStops) {
  NxPtrArray<Tracked> a(4, 4, false);
  EXPECT_DEATH(a[0], "Assertion failed: location < NumElements");
  EXPECT_DEATH(a.Remove(0, false), "Assertion failed: index < NumElements");
}

TEST(PtrArrayOwnership, OwningArrayDeletesFromHighestIndexDown) {
  std::vector<int> log;
  {
    NxPtrArray<Tracked> a(0, 3, true);
    for (int i = 0; i < 5; ++i) a.Add(new Tracked(i, &log));
    a.Add(nullptr);
  }
  EXPECT_EQ(log, (std::vector<int>{4, 3, 2, 1, 0}));
}

TEST(PtrArrayOwnership, FlushDeletesOnlyWhenOwningAndReleasing) {
  std::vector<int> log;
  Tracked keep1(1, &log), keep2(2, &log);
  {
    NxPtrArray<Tracked> borrowed(2, 2, false);
    borrowed.Add(&keep1);
    borrowed.Flush(true);
    EXPECT_EQ(borrowed.GetNumElements(), 0u);
  }
  EXPECT_TRUE(log.empty());
  Tracked* leaked = new Tracked(3, &log);
  {
    NxPtrArray<Tracked> owning(2, 2, true);
    owning.Add(leaked);
    owning.Flush(false);  // emptied, element handed back to the caller
  }
  EXPECT_TRUE(log.empty());
  delete leaked;
  EXPECT_EQ(log, (std::vector<int>{3}));
}

TEST(PtrArrayOwnership, TypedRemoveWithReleaseDeletesEvenWhenNotOwning) {
  std::vector<int> log;
  NxPtrArray<Tracked> a(2, 2, false);
  a.Add(new Tracked(7, &log));
  a.Add(nullptr);
  EXPECT_TRUE(a.Remove(0, true));
  EXPECT_EQ(log, (std::vector<int>{7}));
  EXPECT_EQ(a.GetNumElements(), 1u);
  EXPECT_TRUE(a.Remove(0, true));  // a null element is just dropped
}

TEST(ValueArray, AddGrowsAndFixedArrayIgnoresExtraAdds) {
  NxArray<double> grow(0, 10);
  for (int i = 0; i < 25; ++i) grow.Add(i * 0.5);
  EXPECT_EQ(grow.GetNumItems(), 25u);
  EXPECT_EQ(grow.GetCapacity(), 30u);
  EXPECT_DOUBLE_EQ(grow[24], 12.0);

  NxArray<unsigned> fixed(2, 0);
  EXPECT_TRUE(fixed.Add(1));
  EXPECT_TRUE(fixed.Add(2));
  EXPECT_FALSE(fixed.Add(3));
  EXPECT_EQ(fixed.GetNumItems(), 2u);
}

TEST(ValueArray, SetRangeStopsAtCapacity) {
  NxArray<unsigned> a(4, 0);
  for (unsigned i = 0; i < 4; ++i) a.Add(i);
  EXPECT_TRUE(a.SetRange(1, 2, 9));
  EXPECT_EQ(a[0], 0u);
  EXPECT_EQ(a[1], 9u);
  EXPECT_EQ(a[2], 9u);
  EXPECT_EQ(a[3], 3u);
}

TEST(ValueArrayDeathTest, CheckedIndexing) {
  NxArray<unsigned> a(4, 4);
  a.Add(1);
  EXPECT_DEATH(a[1], "Assertion failed: location < NumElements");
  EXPECT_DEATH(a.SetRange(0, 1, 0), "Assertion failed: upper < NumElements");
}

// The one owner of handles: each handle is released exactly once, by whoever holds it last.
#include <gtest/gtest.h>

#include <vector>

#include "base/GlobalLock.h"
#include "base/Handle.h"

namespace {

// Handles 1, 2, 3...; 0 is none. Releasing 13 fails.
std::vector<int> g_released;

struct CCountingTraits {
    using Type = int;
    static constexpr Type Invalid() { return 0; }
    static bool IsValid(Type h) { return h != 0; }
    static bool Close(Type h) {
        g_released.push_back(h);
        return h != 13;
    }
};
using COwned = CHandle<CCountingTraits>;

class HandleTest : public ::testing::Test {
protected:
    void SetUp() override { g_released.clear(); }
};

TEST_F(HandleTest, EachHandleIsReleasedOnceByItsLastOwner) {
    struct Step {
        const char* what;
        void (*run)();
        std::vector<int> released;
    };
    const Step steps[] = {
        {"goes out of scope", [] { COwned a(1); }, {1}},
        {"moved into another", [] { COwned a(1), b(std::move(a)); }, {1}},
        {"moved over one it replaces",
         [] {
             COwned a(1), b(2);
             b = std::move(a);
             EXPECT_EQ(g_released, (std::vector<int>{2})) << "the replaced one goes at once";
         },
         {2, 1}},
        {"moved onto itself",
         [] {
             COwned a(1);
             COwned& same = a;
             a = std::move(same);
             EXPECT_TRUE(a);
         },
         {1}},
        {"attached over another",
         [] {
             COwned a(1);
             a.Attach(2);
         },
         {1, 2}},
        {"detached",
         [] {
             COwned a(1);
             EXPECT_EQ(a.Detach(), 1);
         },
         {}},
        {"closed, then goes",
         [] {
             COwned a(1);
             EXPECT_TRUE(a.Close());
             EXPECT_FALSE(a);
         },
         {1}},
        {"slot handed out for an out-parameter",
         [] {
             COwned a(1);
             *a.Receive() = 2;
             EXPECT_EQ(a.Get(), 2);
         },
         {1, 2}},
        {"empty",
         [] {
             COwned a;
             a.Close();
         },
         {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        g_released.clear();
        step.run();
        EXPECT_EQ(g_released, step.released);
    }
}

TEST_F(HandleTest, CloseTellsAFailedRelease) {
    COwned failing(13);
    EXPECT_FALSE(failing.Close());
    EXPECT_FALSE(failing) << "a failed release still leaves the owner empty";
    EXPECT_TRUE(failing.Close()) << "nothing left to release";
}

TEST(KernelHandle, NeitherNullNorInvalidHandleValueIsAHandle) {
    EXPECT_FALSE(CKernelHandle());
    EXPECT_FALSE(CKernelHandle(INVALID_HANDLE_VALUE));
    CKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.Get();
    EXPECT_TRUE(event.Close());
    EXPECT_EQ(::WaitForSingleObject(raw, 0), WAIT_FAILED) << "the event was not closed";
}

TEST(GlobalLock, LocksForTheScopeOnly) {
    CGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, 16));
    ASSERT_TRUE(block);
    {
        CGlobalLock lock(block.Get());
        ASSERT_TRUE(lock.IsLocked());
        EXPECT_EQ(::GlobalFlags(block.Get()) & GMEM_LOCKCOUNT, 1u);
        CGlobalLock moved(std::move(lock));
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_EQ(::GlobalFlags(block.Get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(::GlobalFlags(block.Get()) & GMEM_LOCKCOUNT, 0u);
}

} // namespace

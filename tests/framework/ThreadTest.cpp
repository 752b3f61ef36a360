// The worker-thread starter: the procedure gets its argument, a suspended start waits for
// ResumeThread, and the thread object goes away by itself.
#include "framework/WinApp.h"
#include <gtest/gtest.h>
#include <atomic>

namespace {

struct Shared {
    std::atomic<int> runs{0};
    LPVOID seen = nullptr;
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Shared() { ::CloseHandle(done); }
};

UINT __cdecl Proc(LPVOID param) {
    auto* shared = static_cast<Shared*>(param);
    shared->seen = param;
    ++shared->runs;
    ::SetEvent(shared->done);
    return 0;
}

TEST(ThreadTest, SuspendedThreadRunsOnlyAfterResume) {
    Shared shared;
    CWinThread* thread = AfxBeginThread(Proc, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(::WaitForSingleObject(shared.done, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(shared.runs.load(), 0);
    // Keep our own handle: the object (and its handle) is gone once the thread ends.
    HANDLE handle = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread, ::GetCurrentProcess(), &handle, 0,
                      FALSE, DUPLICATE_SAME_ACCESS);
    thread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(handle, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(shared.runs.load(), 1);
    EXPECT_EQ(shared.seen, &shared);
    ::CloseHandle(handle);
}

TEST(ThreadTest, NullProcedureMakesNoThread) {
    EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

} // namespace

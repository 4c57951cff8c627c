// Starting the worker thread of a run.
#include <gtest/gtest.h>

#include "app/worker_start.h"

using namespace orvkit;

TEST(WorkerStart, TheWorkerThreadHasRoomForADeepWalk) {
    static ULONG_PTR low = 0, high = 0;
    auto routine = [](LPVOID) -> DWORD {
        GetCurrentThreadStackLimits(&low, &high);
        return 0;
    };
    HANDLE thread = create_worker_thread(routine, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_GE(high - low, 60u << 20) << "reserved stack, bytes";
}

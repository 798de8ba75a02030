// The physics allocator's bookkeeping, statistics and leak dump, and the error stream's texts.

#include "Physics/ErrorStream.h"
#include "Physics/UserAllocator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

size_t slot_of(void* p)
{
    return UserAllocator::header_of(p)->index;
}

// Runs `body` with standard output captured and returns what it printed.
template <class F>
std::string printed(F body)
{
    testing::internal::CaptureStdout();
    body();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(UserAllocator, SixtyFourthLiveBlockGrowsTheTableAndFreedSlotsWaitForTheSearchToWrap)
{
    std::string out = printed([] {
        UserAllocator a;
        std::vector<void*> blocks;
        for (int i = 0; i < 63; ++i) blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(a.capacity, 64u);
        blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(slot_of(blocks.back()), 63u);
        EXPECT_EQ(a.capacity, 128u);
        for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(a.table[i], UserAllocator::header_of(blocks[i]));
        blocks.push_back(a.malloc(8, NX_MEMORY_PERSISTENT));
        EXPECT_EQ(slot_of(blocks.back()), 64u);
        // The next free slot moves on from 65; slot 3 is taken again only after the search
        // has wrapped past the end of the table.
        a.free(blocks[3]);
        blocks[3] = a.malloc(4, NX_MEMORY_TEMP);
        EXPECT_EQ(slot_of(blocks[3]), 65u);
        for (void* p : blocks) a.free(p);
        EXPECT_EQ(a.used, 0u);
    });
    EXPECT_EQ(out.find("leak"), std::string::npos);
}

TEST(UserAllocator, MovedReallocationRegistersTheNewBlock)
{
    std::string dump = printed([] {
        UserAllocator a;
        void* first = a.mallocDEBUG(16, "first.cpp", 1, "First", NX_MEMORY_PERSISTENT);
        void* keep = a.mallocDEBUG(32, "keep.cpp", 2, "Keep", NX_MEMORY_PERSISTENT);
        std::memset(first, 0x5a, 16);
        // Growing far past the block forces the C library to move it.
        void* grown = a.realloc(first, 4 << 20);
        ASSERT_NE(grown, nullptr);
        ASSERT_NE(grown, first);
        EXPECT_EQ(static_cast<unsigned char*>(grown)[15], 0x5a);
        AllocHeader* h = UserAllocator::header_of(grown);
        EXPECT_EQ(h->size, size_t(4 << 20));
        EXPECT_EQ(a.table[h->index], h);
        // Blocks in use, reallocations, bytes now and at most.
        EXPECT_EQ((std::vector<size_t>{a.used, a.reallocs, a.current_bytes, a.high_water}),
                  (std::vector<size_t>{2, 1, (4 << 20) + 32, (4 << 20) + 32}));
        // Freeing the moved block clears exactly its own slot.
        size_t slot = h->index;
        a.free(grown);
        EXPECT_EQ(a.table[slot], nullptr);
        EXPECT_EQ(a.table[slot_of(keep)], UserAllocator::header_of(keep));
        a.free(keep);
    });
    EXPECT_EQ(dump.find("leak"), std::string::npos) << dump;
}

TEST(UserAllocator, LeakDumpListsExactlyTheLiveBlocks)
{
    char address[32];
    void* live = nullptr;
    void* anon = nullptr;
    std::string dump = printed([&] {
        UserAllocator a;
        void* gone = a.mallocDEBUG(100, "gone.cpp", 10, "Gone", NX_MEMORY_PERSISTENT);
        live = a.mallocDEBUG(200, "live.cpp", 20, "Live", NX_MEMORY_PERSISTENT);
        anon = a.malloc(50, NX_MEMORY_TEMP);
        a.free(gone);
        std::snprintf(address, sizeof address, "0x%.8lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(live)));
    });
    // The leaked blocks outlive their allocator; hand them back to the C library.
    std::free(UserAllocator::header_of(live));
    std::free(UserAllocator::header_of(anon));
    for (const std::string& line :
         {std::string("Memory leak detected: 250 bytes non released\n"), std::string("Remaining allocs: 2\n"),
          std::string("Nb alloc: 3\n"), std::string("Nb realloc: 0\n"), std::string("High water mark: 0 Kb\n"),
          std::string("\n\n  ICE Message Memory leaks detected :\n\n"),
          " Address " + std::string(address) + ", 200 bytes (Live), allocated in: live.cpp(20):\n\n",
          std::string("bytes (Undefined), allocated in: unknown(0):"), std::string("\n  Dump complete (2 leaks)\n\n")})
        EXPECT_NE(dump.find(line), std::string::npos) << line << " in " << dump;
    EXPECT_EQ(dump.find("Gone"), std::string::npos);
}

TEST(UserAllocator, MisuseIsReportedAndRefused)
{
    std::string out = printed([] {
        UserAllocator a;
        EXPECT_EQ(a.malloc(0, NX_MEMORY_TEMP), nullptr);
        EXPECT_EQ(a.mallocDEBUG(8, "x", 1), nullptr);
        EXPECT_EQ(a.malloc(8), nullptr);
        a.free(nullptr);
        EXPECT_EQ(a.realloc(nullptr, 8), nullptr);
        // A block from elsewhere, with room for a header in front so the check reads owned memory.
        std::vector<unsigned char> foreign(sizeof(AllocHeader) + 16, 0);
        void* p = foreign.data() + sizeof(AllocHeader);
        a.free(p);
        EXPECT_EQ(a.realloc(p, 64), nullptr);
        void* q = a.malloc(8, NX_MEMORY_TEMP);
        q = a.realloc(q, 0);
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(a.current_bytes, 0u);
        a.free(q);
        EXPECT_EQ(a.total_allocs, 1u);
        // Reset clears what is in use now, not the count of allocations made.
        q = a.malloc(2048, NX_MEMORY_TEMP);
        a.reset();
        EXPECT_EQ((std::vector<size_t>{a.current_bytes, a.high_water, a.current_allocs, a.total_allocs}),
                  (std::vector<size_t>{0, 0, 0, 2}));
        a.free(q);
        a.reset();
    });
    for (const char* line : {"Warning: trying to allocate 0 bytes\n", "Obsolete code called!\nObsolete code called!\n",
                             "Warning: trying to free null pointer\n", "Warning: trying to realloc null pointer\n",
                             "Error: free unknown memory!!\n", "Error: realloc unknown memory!!\n",
                             "Warning: trying to realloc 0 bytes\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
    EXPECT_EQ(out.find("leak"), std::string::npos);
}

TEST(ErrorStream, NamesTheErrorCodes)
{
    const std::pair<int, const char*> names[] = {{1, "invalid parameter"}, {2, "invalid operation"},
                                                 {3, "out of memory"},     {4, "unknown error"},
                                                 {205, "info"},            {206, "warning"},
                                                 {0, "unknown error"}};
    for (auto [code, name] : names) EXPECT_STREQ(error_code_name(code), name) << code;
}

TEST(ErrorStream, PrintsReportsOnStandardOutput)
{
    ErrorStream s;
    std::string out = printed([&] {
        s.reportError(NXE_INVALID_OPERATION, "scene is busy", "NxScene.cpp", 42);
        s.reportError(NXE_INTERNAL_ERROR, "odd", nullptr, 7);
        s.print("plain text");
    });
    EXPECT_EQ(out, "NxScene.cpp (42) :invalid operation : scene is busy\nunknown (7) :unknown error : odd\nplain text");
    testing::internal::CaptureStderr();
    out = printed([&] { EXPECT_EQ(s.reportAssertViolation("bad pose", "NxActor.cpp", 9), NX_AR_CONTINUE); });
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "access violation : bad pose (NxActor.cpp line 9)\n");
    EXPECT_NE(err.find("AssertViolation, see console for details."), std::string::npos);
}

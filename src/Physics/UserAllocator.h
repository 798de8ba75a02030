// The physics engine's allocator: every block carries a header and is listed in a tracking
// table, so that the statistics and the leak dump printed at destruction are exact.
#pragma once

#include "Physics/NxPhysics.h"

#include <cstddef>
#include <cstdint>
#include <mutex>

// The header in front of every block. The game's original 32-bit layout (six 32-bit words)
// cannot hold 64-bit pointers, so the same six fields are laid out naturally; the struct
// is 16-byte aligned so the caller's address keeps malloc's alignment.
struct alignas(16) AllocHeader {
    uint32_t magic;          // ALLOC_MAGIC while the block is live
    uint32_t line;           // source line given by the caller
    size_t size;             // bytes requested
    const char* file;        // source file given by the caller (or null)
    size_t index;            // slot in the tracking table
    const char* class_name;  // class name given by the caller (or null)
};

const uint32_t ALLOC_MAGIC = 0xDEADBABEu;

class UserAllocator : public NxUserAllocator {
public:
    UserAllocator();
    ~UserAllocator() override; // prints the statistics and the leak dump

    void* mallocDEBUG(size_t size, const char* fileName, int line, const char* className,
                      NxMemoryType type) override;
    void* mallocDEBUG(size_t size, const char* fileName, int line) override; // obsolete
    void* malloc(size_t size, NxMemoryType type) override;
    void* malloc(size_t size) override;                                      // obsolete
    void* realloc(void* memory, size_t size) override;
    void free(void* memory) override;
    void check() override {}

    // Sets the current bytes, the high-water mark and the current allocations to 0.
    void reset();

    // The allocator created last and not yet destroyed (the physics world's), or null: for
    // the memory lines of long runs.
    static UserAllocator* latest();
    // The high-water mark and the bytes in use, read under the lock.
    void usage(size_t& high_water_bytes, size_t& current);

    // The header of a block handed out by this allocator.
    static AllocHeader* header_of(void* memory) { return static_cast<AllocHeader*>(memory) - 1; }

    AllocHeader** table = nullptr; // tracking table: the live blocks' headers
    size_t capacity = 64;
    size_t next_free = 0;
    size_t used = 0;
    size_t current_bytes = 0;
    size_t high_water = 0;
    size_t total_allocs = 0;
    size_t current_allocs = 0;
    size_t reallocs = 0;
    std::mutex lock;

private:
    void register_block(AllocHeader* h); // the caller holds the lock
    bool known(AllocHeader* h) const;    // the caller holds the lock
};

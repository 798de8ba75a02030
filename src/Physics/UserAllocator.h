// The physics engine's allocator: every block carries a header and is listed in a tracking
// table, so that the statistics and the leak dump printed at destruction are exact.
// Small blocks that are freed are kept, by size in steps of 16 bytes, and handed out again
// for the next request of their size: the engine makes and frees the same bodies, shapes
// and contact records over and over as crystals come and go, and once the game has warmed
// up those requests no longer reach the C library.
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

    // Blocks up to this size are kept for reuse when freed, up to kKeptBytesLimit in all.
    static constexpr size_t kKeptBlockLimit = 2048;
    static constexpr size_t kKeptBytesLimit = size_t(4) << 20;
    static constexpr size_t kSizeStep = 16;
    // The bytes a block made for `size` really holds: rounded up to the step while it may
    // be kept, so any kept block of a step serves any request of that step.
    static size_t room_for(size_t size);

    AllocHeader** table = nullptr; // tracking table: the live blocks' headers
    size_t capacity = 64;
    size_t next_free = 0;
    size_t used = 0;
    size_t current_bytes = 0;
    size_t high_water = 0;
    size_t total_allocs = 0;
    size_t current_allocs = 0;
    size_t reallocs = 0;
    // Freed blocks kept for reuse, one list per step of size, linked through their payload.
    AllocHeader* kept[kKeptBlockLimit / kSizeStep + 1] = {};
    size_t kept_bytes = 0;
    size_t reused = 0; // requests served from a kept block
    std::mutex lock;

private:
    void register_block(AllocHeader* h); // the caller holds the lock
    bool known(AllocHeader* h) const;    // the caller holds the lock
    AllocHeader** kept_list(size_t room); // the list a block of `room` bytes is kept in, or null
    // The link from a kept block to the next one of its list, in the block's payload.
    static AllocHeader*& next_kept(AllocHeader* h) { return *reinterpret_cast<AllocHeader**>(h + 1); }
    AllocHeader* take_block(size_t size); // the caller holds the lock
    void give_back(AllocHeader* h);       // the caller holds the lock
};

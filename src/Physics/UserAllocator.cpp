#include "Physics/UserAllocator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

UserAllocator* latest_allocator = nullptr;

} // namespace

UserAllocator::UserAllocator()
{
    table = static_cast<AllocHeader**>(std::calloc(capacity, sizeof(AllocHeader*)));
    latest_allocator = this;
}

UserAllocator* UserAllocator::latest() { return latest_allocator; }

void UserAllocator::usage(size_t& high_water_bytes, size_t& current)
{
    std::lock_guard<std::mutex> guard(lock);
    high_water_bytes = high_water;
    current = current_bytes;
}

UserAllocator::~UserAllocator()
{
    if (latest_allocator == this) latest_allocator = nullptr;
    for (AllocHeader*& list : kept)
        while (list) {
            AllocHeader* next = next_kept(list);
            std::free(list);
            list = next;
        }
    if (current_bytes) std::printf("Memory leak detected: %zu bytes non released\n", current_bytes);
    if (current_allocs) std::printf("Remaining allocs: %zu\n", current_allocs);
    std::printf("Nb alloc: %zu\n", total_allocs);
    std::printf("Nb realloc: %zu\n", reallocs);
    std::printf("High water mark: %zu Kb\n", high_water / 1024);
    if (used) {
        std::printf("\n\n  ICE Message Memory leaks detected :\n\n");
        for (size_t i = 0; i < capacity; ++i) {
            const AllocHeader* h = table[i];
            if (!h) continue;
            std::printf(" Address 0x%.8lX, %zu bytes (%s), allocated in: %s(%u):\n\n",
                        static_cast<unsigned long>(reinterpret_cast<uintptr_t>(h + 1)), h->size,
                        h->class_name ? h->class_name : "unknown", h->file ? h->file : "unknown", h->line);
        }
        std::printf("\n  Dump complete (%zu leaks)\n\n", used);
    }
    std::free(table);
}

void UserAllocator::register_block(AllocHeader* h)
{
    table[next_free] = h;
    h->index = next_free;
    ++used;
    if (used == capacity) {
        size_t grown = capacity + 64;
        AllocHeader** bigger = static_cast<AllocHeader**>(std::calloc(grown, sizeof(AllocHeader*)));
        std::memcpy(bigger, table, capacity * sizeof(AllocHeader*));
        std::free(table);
        table = bigger;
        next_free = capacity - 1;
        capacity = grown;
    }
    while (next_free < capacity && table[next_free]) ++next_free;
    if (next_free == capacity) {
        next_free = 0;
        while (table[next_free]) ++next_free; // used < capacity, so an empty slot exists
    }
}

bool UserAllocator::known(AllocHeader* h) const
{
    return h->magic == ALLOC_MAGIC && h->index < capacity && table[h->index] == h;
}

size_t UserAllocator::room_for(size_t size)
{
    if (size == 0 || size > kKeptBlockLimit) return size;
    return (size + kSizeStep - 1) / kSizeStep * kSizeStep;
}

AllocHeader** UserAllocator::kept_list(size_t room)
{
    return room == 0 || room > kKeptBlockLimit ? nullptr : &kept[room / kSizeStep];
}

AllocHeader* UserAllocator::take_block(size_t size)
{
    const size_t room = room_for(size);
    AllocHeader** list = kept_list(room);
    if (!list || !*list) return static_cast<AllocHeader*>(std::malloc(room + sizeof(AllocHeader)));
    AllocHeader* h = *list;
    *list = next_kept(h);
    kept_bytes -= room;
    ++reused;
    return h;
}

void UserAllocator::give_back(AllocHeader* h)
{
    const size_t room = room_for(h->size);
    AllocHeader** list = kept_list(room);
    h->size = 0;
    h->magic = 0;
    if (!list || kept_bytes + room > kKeptBytesLimit) {
        std::free(h);
        return;
    }
    next_kept(h) = *list;
    *list = h;
    kept_bytes += room;
}

void* UserAllocator::mallocDEBUG(size_t size, const char* fileName, int line, const char* className, NxMemoryType)
{
    if (size == 0) {
        std::printf("Warning: trying to allocate 0 bytes\n");
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(lock);
    AllocHeader* h = take_block(size);
    if (!h) return nullptr; // nothing counted for a block that does not exist
    ++total_allocs;
    ++current_allocs;
    h->magic = ALLOC_MAGIC;
    h->size = size;
    h->file = fileName;
    h->line = static_cast<uint32_t>(line);
    current_bytes += size;
    if (current_bytes > high_water) high_water = current_bytes;
    register_block(h);
    h->class_name = className;
    return h + 1;
}

void* UserAllocator::mallocDEBUG(size_t, const char*, int)
{
    std::printf("Obsolete code called!\n");
    return nullptr;
}

void* UserAllocator::malloc(size_t size, NxMemoryType type)
{
    return mallocDEBUG(size, nullptr, 0, "Undefined", type);
}

void* UserAllocator::malloc(size_t)
{
    std::printf("Obsolete code called!\n");
    return nullptr;
}

void* UserAllocator::realloc(void* memory, size_t size)
{
    if (!memory) {
        std::printf("Warning: trying to realloc null pointer\n");
        return nullptr;
    }
    if (size == 0) std::printf("Warning: trying to realloc 0 bytes\n");

    std::lock_guard<std::mutex> guard(lock);
    AllocHeader* h = header_of(memory);
    if (!known(h)) {
        // Resizing a block that is not ours would corrupt the heap: refuse it.
        std::printf("Error: realloc unknown memory!!\n");
        return nullptr;
    }
    size_t old_size = h->size;
    // A block that may be kept later must hold its whole step, as a new one would.
    AllocHeader* moved = static_cast<AllocHeader*>(std::realloc(h, room_for(size) + sizeof(AllocHeader)));
    if (!moved) return nullptr; // the old block stays valid and registered
    current_bytes = current_bytes - old_size + size;
    if (current_bytes > high_water) high_water = current_bytes;
    ++reallocs;
    moved->size = size;
    if (moved == h) return memory;

    moved->magic = ALLOC_MAGIC;
    moved->file = nullptr;
    moved->line = 0;
    moved->class_name = nullptr;
    table[moved->index] = nullptr;
    --used;
    register_block(moved);
    return moved + 1;
}

void UserAllocator::free(void* memory)
{
    if (!memory) {
        std::printf("Warning: trying to free null pointer\n");
        return;
    }
    std::lock_guard<std::mutex> guard(lock);
    AllocHeader* h = header_of(memory);
    if (!known(h)) {
        // Releasing a block that is not ours (or not any more) would corrupt the heap.
        std::printf("Error: free unknown memory!!\n");
        return;
    }
    current_bytes -= h->size;
    --current_allocs;
    table[h->index] = nullptr;
    --used;
    give_back(h);
}

void UserAllocator::reset()
{
    std::lock_guard<std::mutex> guard(lock);
    current_bytes = 0;
    high_water = 0;
    current_allocs = 0;
}

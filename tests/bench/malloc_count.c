/* A counting allocator for the frame benchmark, preloaded into the game: every malloc,
 * calloc, realloc and aligned allocation of a thread adds one to that thread's count, which
 * the game reads through moorhold_malloc_calls(). The memory itself comes from the C
 * library's own allocator. */
#define _GNU_SOURCE
#include <stddef.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t n, size_t size);
extern void* __libc_realloc(void* p, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);
extern void __libc_free(void* p);

static __thread unsigned long calls;

unsigned long moorhold_malloc_calls(void)
{
    return calls;
}

void* malloc(size_t size)
{
    ++calls;
    return __libc_malloc(size);
}

void* calloc(size_t n, size_t size)
{
    ++calls;
    return __libc_calloc(n, size);
}

void* realloc(void* p, size_t size)
{
    ++calls;
    return __libc_realloc(p, size);
}

void* memalign(size_t alignment, size_t size)
{
    ++calls;
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size)
{
    ++calls;
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
    ++calls;
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12; /* ENOMEM */
    *out = p;
    return 0;
}

void free(void* p)
{
    __libc_free(p);
}

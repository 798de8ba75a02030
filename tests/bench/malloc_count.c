/* A counting allocator for the frame benchmark, preloaded into the game: every malloc,
 * calloc, realloc and aligned allocation of a thread adds one to that thread's count, which
 * the game reads through moorhold_malloc_calls(). Each call is also told apart by who made
 * it, from its return address: the game's own code (the executable and the physics library,
 * directly or through operator new, which is counted here for that reason) counts in
 * moorhold_game_malloc_calls(); the rest is the GL driver, its compiler, the window system
 * and the other system libraries, which on a software renderer allocate inside every draw
 * call and are not the game's to avoid. The memory itself comes from the C library's own
 * allocator. */
#define _GNU_SOURCE
#include <link.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t n, size_t size);
extern void* __libc_realloc(void* p, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);
extern void __libc_free(void* p);

static __thread unsigned long calls, game_calls;

unsigned long moorhold_malloc_calls(void) { return calls; }
unsigned long moorhold_game_malloc_calls(void) { return game_calls; }

/* The loaded objects' code ranges, looked up again when a caller lies in none of them and a
 * library has been loaded since (such as the GL driver). A caller outside every object (the
 * driver's compiled shaders) is not the game. */
struct range {
    uintptr_t begin, end;
    int game;
};
static struct range ranges[128];
static int range_count;
static unsigned long long objects_added; /* the loader's count when the ranges were taken */

static int is_game_object(const char* name)
{
    if (!name || !*name) return 1; /* the executable */
    return strstr(name, "libBullet") || strstr(name, "libLinearMath");
}

static int add_object(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    (void)data;
    objects_added = info->dlpi_adds;
    for (int i = 0; i < info->dlpi_phnum && range_count < 128; ++i) {
        const ElfW(Phdr)* ph = &info->dlpi_phdr[i];
        if (ph->p_type != PT_LOAD || !(ph->p_flags & PF_X)) continue;
        struct range* r = &ranges[range_count++];
        r->begin = info->dlpi_addr + ph->p_vaddr;
        r->end = r->begin + ph->p_memsz;
        r->game = is_game_object(info->dlpi_name);
    }
    return 0;
}

static int find(uintptr_t pc)
{
    for (int i = 0; i < range_count; ++i)
        if (pc >= ranges[i].begin && pc < ranges[i].end) return ranges[i].game;
    return -1;
}

static int read_added(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    *(unsigned long long*)data = info->dlpi_adds;
    return 1;
}

static __thread int looking_up;

static void count(void* caller)
{
    ++calls;
    if (looking_up) return;
    int game = find((uintptr_t)caller);
    if (game < 0) {
        looking_up = 1;
        unsigned long long added = 0;
        dl_iterate_phdr(read_added, &added);
        if (added != objects_added) {
            range_count = 0;
            dl_iterate_phdr(add_object, NULL);
            game = find((uintptr_t)caller);
        }
        looking_up = 0;
    }
    if (game > 0) ++game_calls;
}

/* The caller of the function this is written in, who allocates. */
#define CALLER __builtin_return_address(0)

void* malloc(size_t size) { count(CALLER); return __libc_malloc(size); }
void* calloc(size_t n, size_t size) { count(CALLER); return __libc_calloc(n, size); }
void* realloc(void* p, size_t size) { count(CALLER); return __libc_realloc(p, size); }
void* memalign(size_t alignment, size_t size) { count(CALLER); return __libc_memalign(alignment, size); }
void* aligned_alloc(size_t alignment, size_t size) { count(CALLER); return __libc_memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size)
{
    count(CALLER);
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12; /* ENOMEM */
    *out = p;
    return 0;
}

/* operator new and new[]: the caller is the one who allocates. Without exceptions in C a
 * failed new ends the process, as an uncaught bad_alloc would. */
extern void abort(void);

static void* new_or_abort(size_t size, void* caller)
{
    count(caller);
    void* p = __libc_malloc(size ? size : 1);
    if (!p) abort();
    return p;
}

void* _Znwm(size_t size) { return new_or_abort(size, CALLER); }
void* _Znam(size_t size) { return new_or_abort(size, CALLER); }
void free(void* p) { __libc_free(p); }

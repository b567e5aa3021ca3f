// Linked into fuzz targets whose code under test allocates large blocks for every input (the
// virtual keyboard's state is over half a megabyte). The sanitizer's allocator maps such a
// block fresh and unmaps it again each time, and on this machine the page faults of that were
// nearly all of a run's time (about 120 inputs a second). Blocks of 64 KiB and more are kept
// here instead and handed out again at the same size. A free block stays poisoned, and the
// bytes after each block are poisoned too, so a use after free or a read past a block's end is
// still reported. With new and delete replaced here, every block reaches the sanitizer through
// malloc, so its check that new pairs with delete and malloc with free has nothing to tell
// apart and is turned off for these targets.

#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kLargeBlock = 64 * 1024;
constexpr std::size_t kTailBytes = 256;  // poisoned after every block

struct Block {
    void* address;
    std::size_t size;
    bool inUse;
};

std::mutex& CacheLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

// Never freed: it lives as long as the process.
std::vector<Block>& Blocks() {
    static std::vector<Block>* blocks = new std::vector<Block>;
    return *blocks;
}

void* TakeLarge(std::size_t size) {
    std::lock_guard<std::mutex> hold(CacheLock());
    for (Block& block : Blocks()) {
        if (!block.inUse && block.size == size) {
            block.inUse = true;
            ASAN_UNPOISON_MEMORY_REGION(block.address, size);
            return block.address;
        }
    }
    void* address = std::malloc(size + kTailBytes);
    if (address == nullptr) throw std::bad_alloc();
    ASAN_POISON_MEMORY_REGION(static_cast<char*>(address) + size, kTailBytes);
    Blocks().reserve(64);
    Blocks().push_back(Block{address, size, true});
    return address;
}

// True when the block was one of ours (and is now free again).
bool GiveBackLarge(void* address) {
    std::lock_guard<std::mutex> hold(CacheLock());
    for (Block& block : Blocks()) {
        if (block.address == address && block.inUse) {
            block.inUse = false;
            ASAN_POISON_MEMORY_REGION(address, block.size);
            return true;
        }
    }
    return false;
}

void* Allocate(std::size_t size) {
    if (size >= kLargeBlock) return TakeLarge(size);
    void* address = std::malloc(size == 0 ? 1 : size);
    if (address == nullptr) throw std::bad_alloc();
    return address;
}

void Release(void* address) {
    if (address == nullptr || GiveBackLarge(address)) return;
    std::free(address);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* address) noexcept { Release(address); }
void operator delete[](void* address) noexcept { Release(address); }
void operator delete(void* address, std::size_t) noexcept { Release(address); }
void operator delete[](void* address, std::size_t) noexcept { Release(address); }

extern "C" const char* __asan_default_options() { return "alloc_dealloc_mismatch=0"; }

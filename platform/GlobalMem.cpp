// Global memory handles for the host: a handle is the address of a header block
// that carries the size and lock count, the data follows it.
#include <kestrum/kestrum.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

struct alignas(std::max_align_t) GlobalBlock {
    size_t size;
    uint32_t locks;
};

GlobalBlock* BlockOf(HGLOBAL h) { return static_cast<GlobalBlock*>(h); }

}  // namespace

KESTRUM_API HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes) {
    if (dwBytes > std::numeric_limits<size_t>::max() - sizeof(GlobalBlock)) return nullptr;
    const size_t total = sizeof(GlobalBlock) + dwBytes;
    void* memory = (uFlags & GMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
    if (!memory) return nullptr;
    auto* block = static_cast<GlobalBlock*>(memory);
    block->size = dwBytes;
    block->locks = 0;
    return block;
}

KESTRUM_API void* GlobalLock(HGLOBAL hMem) {
    if (!hMem) return nullptr;
    GlobalBlock* block = BlockOf(hMem);
    if (block->locks < std::numeric_limits<uint32_t>::max()) ++block->locks;
    return block + 1;
}

// TRUE while the block is still locked after this call.
KESTRUM_API BOOL GlobalUnlock(HGLOBAL hMem) {
    if (!hMem) return 0;
    GlobalBlock* block = BlockOf(hMem);
    if (block->locks > 0) --block->locks;
    return block->locks > 0 ? 1 : 0;
}

KESTRUM_API size_t GlobalSize(HGLOBAL hMem) { return hMem ? BlockOf(hMem)->size : 0; }

KESTRUM_API HGLOBAL GlobalFree(HGLOBAL hMem) {
    std::free(hMem);
    return nullptr;
}

#include "pscontent/FontName.h"

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <unordered_map>

namespace kestrum {
namespace {

// Looks names up by view, so that finding one that is already pooled builds no string.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

constexpr size_t kChunkBits = 10;
constexpr size_t kChunkSize = size_t{1} << kChunkBits;  // names per chunk of the number table
constexpr size_t kMaxChunks = 4096;                     // room for four million names

// Names by text (under the lock) and by number. A number is handed out only after its
// entry is written, and entries and chunks never move or change afterwards, so a
// number held reads its text without the lock.
struct NamePool {
    // The paragraph mark comes first, at number 0.
    NamePool() { Add(kParagraphFont); }

    // Under the lock.
    uint32_t Add(std::string_view text) {
        const size_t id = ids.size();
        const size_t chunk = id >> kChunkBits;
        if (chunk >= kMaxChunks) throw std::bad_alloc();
        if (!chunks[chunk]) chunks[chunk] = std::make_unique<const std::string*[]>(kChunkSize);
        auto it = ids.emplace(text, static_cast<uint32_t>(id)).first;
        chunks[chunk][id & (kChunkSize - 1)] = &it->first;
        return it->second;
    }

    std::mutex lock;
    std::unordered_map<std::string, uint32_t, NameHash, std::equal_to<>> ids;
    std::array<std::unique_ptr<const std::string*[]>, kMaxChunks> chunks;
};

NamePool& Pool() {
    static NamePool pool;
    return pool;
}

}  // namespace

uint32_t FontName::Pooled(std::string_view text) {
    NamePool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.lock);
    auto it = pool.ids.find(text);
    return it != pool.ids.end() ? it->second : pool.Add(text);
}

const std::string& FontName::Text(uint32_t id) { return *Pool().chunks[id >> kChunkBits][id & (kChunkSize - 1)]; }

std::ostream& operator<<(std::ostream& out, const FontName& name) { return out << name.str(); }

}  // namespace kestrum

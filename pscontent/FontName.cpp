#include "pscontent/FontName.h"

#include <functional>
#include <mutex>
#include <ostream>
#include <unordered_set>

namespace kestrum {
namespace {

// Looks names up by view, so that finding one that is already pooled builds no string.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct NamePool {
    std::mutex lock;
    // Nodes never move and are never erased: the pointers the names hold stay valid.
    std::unordered_set<std::string, NameHash, std::equal_to<>> names;
};

NamePool& Pool() {
    static NamePool pool;
    return pool;
}

}  // namespace

const std::string& FontName::Pooled(std::string_view text) {
    NamePool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.lock);
    auto it = pool.names.find(text);
    if (it == pool.names.end()) it = pool.names.emplace(text).first;
    return *it;
}

std::ostream& operator<<(std::ostream& out, const FontName& name) { return out << name.str(); }

}  // namespace kestrum

#include "model/ComObject.h"

#include <atomic>

namespace kestrum::ModuleUsage {

namespace {
// LockServer may come from any thread; the objects themselves live in one apartment.
std::atomic<long> g_usage{0};
}  // namespace

void Acquire() { g_usage.fetch_add(1, std::memory_order_relaxed); }
void Release() { g_usage.fetch_sub(1, std::memory_order_relaxed); }
long Count() { return g_usage.load(std::memory_order_relaxed); }

}  // namespace kestrum::ModuleUsage

#include "CSkinPropertyCache.h"

namespace {
// Sub-keys stay below 2^26, so all bits set never names one.
constexpr uint32_t kEmpty = 0xFFFFFFFFu;
constexpr uintptr_t kUnpublished = 0, kNotFound = 1;
constexpr size_t kSlotBits = 11;  // a class handle meets a few hundred keys; 2048 slots keep probes short
constexpr size_t kSlotCount = size_t(1) << kSlotBits;
constexpr size_t kMaxProbe = 64;

size_t Home(uint32_t key) { return static_cast<size_t>((key * 2654435761u) >> (32 - kSlotBits)); }
}  // namespace

CSkinPropertyCache::CSkinPropertyCache() : m_slots(new Slot[kSlotCount]) {
    for (size_t i = 0; i < kSlotCount; ++i) {
        m_slots[i].key.store(kEmpty, std::memory_order_relaxed);
        m_slots[i].value.store(kUnpublished, std::memory_order_relaxed);
    }
}

bool CSkinPropertyCache::Find(uint32_t key, const CSkinProperty** value) const {
    const size_t home = Home(key);
    for (size_t i = 0; i < kMaxProbe; ++i) {
        const Slot& slot = m_slots[(home + i) & (kSlotCount - 1)];
        const uint32_t k = slot.key.load(std::memory_order_acquire);
        if (k == kEmpty) return false;
        if (k != key) continue;
        const uintptr_t v = slot.value.load(std::memory_order_acquire);
        if (v == kUnpublished) return false;  // being stored by another thread: look it up meanwhile
        *value = v == kNotFound ? nullptr : reinterpret_cast<const CSkinProperty*>(v);
        return true;
    }
    return false;
}

void CSkinPropertyCache::Store(uint32_t key, const CSkinProperty* value) {
    const uintptr_t encoded = value ? reinterpret_cast<uintptr_t>(value) : kNotFound;
    const size_t home = Home(key);
    for (size_t i = 0; i < kMaxProbe; ++i) {
        Slot& slot = m_slots[(home + i) & (kSlotCount - 1)];
        uint32_t expected = kEmpty;
        if (slot.key.compare_exchange_strong(expected, key, std::memory_order_acq_rel)) {
            slot.value.store(encoded, std::memory_order_release);
            m_count.fetch_add(1, std::memory_order_relaxed);
            return;
        }
        if (expected == key) return;  // stored by another reader of the same key: the same answer
    }
}

#pragma once
// The class handle's memory of lookups: sub-key -> the property found (or "none"). Every painting
// thread reads it on every property read, so finding costs no lock: slots are only ever added,
// each claimed by one atomic exchange of its key and published with its value.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

struct CSkinProperty;

class CSkinPropertyCache {
public:
    CSkinPropertyCache();
    // True when key was stored; *value is then the property or null ("not found" remembered).
    bool Find(uint32_t key, const CSkinProperty** value) const;
    // Remembers value for key; a full neighbourhood simply leaves the key uncached.
    void Store(uint32_t key, const CSkinProperty* value);
    size_t GetCount() const { return m_count.load(std::memory_order_relaxed); }

private:
    struct Slot {
        std::atomic<uint32_t> key;
        std::atomic<uintptr_t> value;  // 0 not yet published, 1 "not found", else the property
    };
    std::unique_ptr<Slot[]> m_slots;
    std::atomic<size_t> m_count{0};
};

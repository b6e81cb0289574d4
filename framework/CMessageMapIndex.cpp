#include "CMessageMapIndex.h"
#include <algorithm>
#include <memory>

CMessageMapIndex::CMessageMapIndex(const AFX_MSGMAP* map)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e)
            m_entries.push_back(e);
    }
    // Stable: among entries of one message the most derived still comes first.
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const AFX_MSGMAP_ENTRY* a, const AFX_MSGMAP_ENTRY* b) { return a->nMessage < b->nMessage; });
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        if (m_groups.empty() || m_groups.back().message != m_entries[i]->nMessage)
            m_groups.push_back({m_entries[i]->nMessage, i, i});
        m_groups.back().end = i + 1;
    }
}

const AFX_MSGMAP_ENTRY* CMessageMapIndex::Find(UINT message, UINT code, UINT id) const
{
    auto group = std::lower_bound(m_groups.begin(), m_groups.end(), message,
                                  [](const Group& g, UINT m) { return g.message < m; });
    if (group == m_groups.end() || group->message != message)
        return nullptr;
    for (std::uint32_t i = group->first; i < group->end; ++i) {
        const AFX_MSGMAP_ENTRY* e = m_entries[i];
        if (e->nCode == code && id >= e->nID && id <= e->nLastID)
            return e;
    }
    return nullptr;
}

const CMessageMapIndex& CMessageMapIndex::For(const AFX_MSGMAP* map)
{
    if (const CMessageMapIndex* index = map->pIndex.load(std::memory_order_acquire))
        return *index;
    auto built = std::make_unique<CMessageMapIndex>(map);
    const CMessageMapIndex* expected = nullptr;
    if (map->pIndex.compare_exchange_strong(expected, built.get(), std::memory_order_acq_rel,
                                            std::memory_order_acquire))
        return *built.release();  // owned by the static map from now on
    return *expected;             // another thread was first; ours goes
}

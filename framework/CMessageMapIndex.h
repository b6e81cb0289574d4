#pragma once
// A message map chain flattened once and grouped by message, so a dispatch finds its
// entry with a binary search instead of walking every table of the chain. Built on the
// first dispatch through a map and kept for the life of the process, as the map is.
#include <cstdint>
#include <vector>
#include "CCmdTarget.h"

class CMessageMapIndex {
public:
    explicit CMessageMapIndex(const AFX_MSGMAP* map);

    // The first entry matching the key, most derived map first; null when none does.
    const AFX_MSGMAP_ENTRY* Find(UINT message, UINT code, UINT id) const;

    // The index of a map's whole chain; threads racing to build it agree on one.
    static const CMessageMapIndex& For(const AFX_MSGMAP* map);

private:
    struct Group {
        UINT message;
        std::uint32_t first;  // range in m_entries, chain order kept inside
        std::uint32_t end;
    };
    std::vector<Group> m_groups;  // sorted by message
    std::vector<const AFX_MSGMAP_ENTRY*> m_entries;
};

#pragma once
// Nine-grid results of one image kept at the sizes it is drawn at, so that a repeated draw is one
// copy (or one blend) instead of nine stretched cells.
#include <windows.h>
#include <cstdint>
#include <memory>
#include <vector>

#include "SkinBlend.h"
#include "SkinGdi.h"

class CSkinComposeCache {
public:
    // What a composed picture was made from; equal keys give equal pictures.
    struct Key {
        RECT src{};
        int width = 0, height = 0;
        RECT margins{};
        int sizingType = 0;
        BOOL borderOnly = FALSE;
        COLORREF key = CLR_INVALID;
        BOOL mirrored = FALSE;
        bool operator==(const Key& o) const;
    };
    struct Entry {
        Key what;
        skin::Bitmap bitmap;
        uint32_t* bits = nullptr;
        std::unique_ptr<skin::MemoryDC> dc;  // keeps the bitmap selected: no selection per draw
        RECT hole{};                          // the centre a border-only draw leaves alone, else empty
        int opaqueTop = 0, opaqueBottom = 0;  // rows that need no blending, copied plainly
        skin::BlendRuns runs;                 // pixels that are not opaque, found once
        // The picture with its see-through rows blended over what was last read from a destination.
        skin::Bitmap stage;
        uint32_t* stageBits = nullptr;
        std::unique_ptr<skin::MemoryDC> stageDC;
    };

    // Larger pictures are composed for each draw and not kept.
    static bool IsKeepable(int width, int height);
    // The entry made from key, made the most recent; null when there is none.
    Entry* Find(const Key& key);
    // Keeps a new entry as the most recent; the oldest gives way when the cache is full.
    Entry* Insert(std::unique_ptr<Entry> entry);
    size_t GetCount() const { return m_entries.size(); }
    void Clear() { m_entries.clear(); }

    // Creates the entry's 32-bit picture (all zero, clear for alpha) selected into a context of its own.
    static bool PrepareSurface(Entry& entry);
    // After drawing an alpha picture: its opaque row band and its see-through runs.
    static void AnalyseAlpha(Entry& entry);

private:
    std::vector<std::unique_ptr<Entry>> m_entries;  // most recent first
};

#pragma once
// The see-through pieces of the theme's frame images, scanned once per frame size and shared by every
// window of that size: scanning draws each frame part twice, which a resize would otherwise repeat.
#include <map>
#include <mutex>
#include <tuple>

#include "SkinFrameGeometry.h"

class CSkinFrameRegionCache {
public:
    static CSkinFrameRegionCache& Instance();

    bool Find(int top, int border, bool tool, skin::FramePieces& pieces) const;
    void Store(int top, int border, bool tool, const skin::FramePieces& pieces);
    // The theme or its metrics changed.
    void Clear();
    size_t GetCount() const;

private:
    using Key = std::tuple<int, int, bool>;
    mutable std::mutex m_lock;
    std::map<Key, skin::FramePieces> m_pieces;
};

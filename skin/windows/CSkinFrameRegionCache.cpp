#include "CSkinFrameRegionCache.h"

CSkinFrameRegionCache& CSkinFrameRegionCache::Instance() {
    static CSkinFrameRegionCache cache;
    return cache;
}

bool CSkinFrameRegionCache::Find(int top, int border, bool tool, skin::FramePieces& pieces) const {
    std::lock_guard<std::mutex> guard(m_lock);
    const auto found = m_pieces.find(Key{top, border, tool});
    if (found == m_pieces.end()) return false;
    pieces = found->second;
    return true;
}

void CSkinFrameRegionCache::Store(int top, int border, bool tool, const skin::FramePieces& pieces) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pieces[Key{top, border, tool}] = pieces;
}

void CSkinFrameRegionCache::Clear() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pieces.clear();
}

size_t CSkinFrameRegionCache::GetCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pieces.size();
}

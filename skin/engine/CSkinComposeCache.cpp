#include "CSkinComposeCache.h"

#include <algorithm>

using namespace skin;

namespace {
constexpr size_t kMaxComposed = 8;           // per image: the sizes one part is drawn at
constexpr int64_t kMaxComposedArea = 512 * 512;
}  // namespace

bool CSkinComposeCache::Key::operator==(const Key& o) const {
    return EqualRect(&src, &o.src) && width == o.width && height == o.height && EqualRect(&margins, &o.margins) &&
           sizingType == o.sizingType && borderOnly == o.borderOnly && key == o.key && mirrored == o.mirrored;
}

bool CSkinComposeCache::IsKeepable(int width, int height) {
    return static_cast<int64_t>(width) * height <= kMaxComposedArea;
}

CSkinComposeCache::Entry* CSkinComposeCache::Find(const Key& key) {
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!(m_entries[i]->what == key)) continue;
        if (i)
            std::rotate(m_entries.begin(), m_entries.begin() + static_cast<long>(i),
                        m_entries.begin() + static_cast<long>(i) + 1);
        return m_entries[0].get();
    }
    return nullptr;
}

CSkinComposeCache::Entry* CSkinComposeCache::Insert(std::unique_ptr<Entry> entry) {
    if (m_entries.size() >= kMaxComposed) m_entries.pop_back();
    m_entries.insert(m_entries.begin(), std::move(entry));
    return m_entries[0].get();
}

bool CSkinComposeCache::PrepareSurface(Entry& c) {
    void* bits = nullptr;
    c.bitmap.Reset(CreateDib32(c.what.width, c.what.height, &bits));
    c.bits = static_cast<uint32_t*>(bits);
    if (!c.bitmap) return false;
    c.dc = std::make_unique<MemoryDC>(nullptr);
    if (!*c.dc) return false;
    c.dc->Select(c.bitmap.Get());
    return true;
}

void CSkinComposeCache::AnalyseAlpha(Entry& c) {
    const int width = c.what.width, height = c.what.height;
    // The longest run of fully opaque rows: most parts are opaque but for their rounded corners.
    auto opaqueRow = [&](int y) {
        const uint32_t* row = c.bits + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            if ((row[x] >> 24) != 255) return false;
        return true;
    };
    int bestTop = 0, bestBottom = 0;
    for (int y = 0; y < height;) {
        if (!opaqueRow(y)) {
            ++y;
            continue;
        }
        int end = y;
        while (end < height && opaqueRow(end)) ++end;
        if (end - y > bestBottom - bestTop) {
            bestTop = y;
            bestBottom = end;
        }
        y = end;
    }
    c.opaqueTop = bestTop;
    c.opaqueBottom = bestBottom;
    c.runs = FindBlendRuns(c.bits, width, height);
}

// A plain, obviously correct rendition of the wave step and the frame rendering, written straight from
// the description with (x, y) indexing and no shortcuts. The fast code must match it bit for bit.
#pragma once

#include <cstdint>
#include <vector>

namespace ripple_reference {

struct Surface {
    int width = 0, height = 0;
    std::vector<int32_t> cur, prev;

    Surface(int w, int h) : width(w), height(h), cur(size_t(w) * h), prev(size_t(w) * h) {}

    // Flat-array cell: the left neighbour of a row's first cell is the last cell of the row above.
    int64_t at(const std::vector<int32_t>& v, int64_t index) const { return v[size_t(index)]; }
};

inline int32_t wrap(int64_t v) { return int32_t(uint32_t(uint64_t(v))); }

inline void Step(Surface& s, bool wide) {
    const int w = s.width;
    for (int64_t i = w; i <= int64_t(s.height - 1) * w - 1; ++i) {
        int32_t sum;
        int shift;
        if (!wide) {
            sum = wrap(s.at(s.cur, i - 1) + s.at(s.cur, i + 1) + s.at(s.cur, i - w) + s.at(s.cur, i + w));
            shift = 1;
        } else {
            sum = wrap(3 * (s.at(s.cur, i - 1) + s.at(s.cur, i + 1) + s.at(s.cur, i - 2) + s.at(s.cur, i + 2)) +
                       2 * (s.at(s.cur, i - 3) + s.at(s.cur, i + 3)) + 8 * (s.at(s.cur, i - w) + s.at(s.cur, i + w)));
            shift = 4;
        }
        int32_t n = wrap(int64_t(sum >> shift) - s.prev[size_t(i)]);
        n = wrap(int64_t(n) - (n >> 5));
        s.prev[size_t(i)] = n;
    }
    s.cur.swap(s.prev);
}

struct Picture {
    int width = 0, height = 0, stride = 0;
    std::vector<uint8_t> bytes;

    Picture(int w, int h) : width(w), height(h), stride((w * 3 + 3) & ~3), bytes(size_t(stride) * h) {}
    uint8_t& at(int x, int y, int k) { return bytes[size_t(y) * stride + size_t(x) * 3 + k]; }
    uint8_t at(int x, int y, int k) const { return bytes[size_t(y) * stride + size_t(x) * 3 + k]; }
};

inline int clampi(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// Smoothing at a source point, neighbours outside the picture clamped to the edge pixel.
inline uint8_t Smoothed(const Picture& p, int x, int y, int k) {
    const int s = p.at(x, y, k);
    const int l = p.at(clampi(x - 1, 0, p.width - 1), y, k);
    const int r = p.at(clampi(x + 1, 0, p.width - 1), y, k);
    const int u = p.at(x, clampi(y - 1, 0, p.height - 1), k);
    const int d = p.at(x, clampi(y + 1, 0, p.height - 1), k);
    return uint8_t((4 * s + 3 * l + 3 * r + 3 * u + 3 * d) >> 4);
}

// Returns the moved marker.
inline bool Render(const Surface& s, const Picture& source, Picture& frame) {
    bool moved = false;
    const int w = s.width;
    for (int y = 1; y <= s.height - 2; ++y) {
        for (int x = 0; x <= w - 1; ++x) {
            const int64_t i = int64_t(y) * w + x;
            const int64_t sx = x + s.at(s.cur, i - 1) - s.at(s.cur, i + 1);
            const int64_t sy = y + s.at(s.cur, i - w) - s.at(s.cur, i + w);
            if (sx < 0 || sx >= s.width || sy < 0 || sy >= s.height) continue;
            if (sx == x && sy == y) {
                for (int k = 0; k < 3; ++k) frame.at(x, y, k) = source.at(x, y, k);
            } else {
                moved = true;
                for (int k = 0; k < 3; ++k) frame.at(x, y, k) = Smoothed(source, int(sx), int(sy), k);
            }
        }
    }
    return moved;
}

}  // namespace ripple_reference

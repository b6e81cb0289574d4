// One ripple tick (wave step + frame render) on the 204 x 208 banner while the surface moves:
// nanoseconds per cell for the program's code and for the plain reference, and a bit-for-bit check.
#include "../controls/RippleEffect.h"
#include "../tests/controls/RippleReference.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 204;
constexpr int kHeight = 208;

struct Rng {
    uint32_t s;
    uint32_t next() { return s = s * 1664525u + 1013904223u; }
    uint32_t below(uint32_t n) { return (next() >> 8) % n; }
};

ripple_reference::Picture MakePicture() {
    ripple_reference::Picture p(kWidth, kHeight);
    Rng rng{7};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            p.at(x, y, 0) = uint8_t(x + (rng.next() >> 29));
            p.at(x, y, 1) = uint8_t(y + (rng.next() >> 29));
            p.at(x, y, 2) = uint8_t((x ^ y) * 3);
        }
    return p;
}

struct Drops {
    struct One { int x, y; uint32_t size; int level; };
    std::vector<std::vector<One>> perTick;
};

// What the dialog does to the water: its rain (a one-in-five chance per tick of a stone 1 or 2 wide,
// level 50..229), the pointer gliding over the banner (a small stone per tick) and a click now and then.
Drops DialogDrops(int ticks) {
    Drops d;
    uint32_t state = 12345;
    d.perTick.resize(ticks);
    for (int t = 0; t < ticks; ++t) {
        auto& list = d.perTick[t];
        const double a = t * 0.05;
        list.push_back({int(kWidth / 2 + 80 * std::cos(a)), int(kHeight / 2 + 80 * std::sin(a * 1.3)), 1, 40});
        if (t % 100 == 0) list.push_back({int(40 + (t * 7) % 120), int(40 + (t * 13) % 120), 8, 256});
        if (ripple::RandomBelow(state, 5) == 0) {
            int x = int(ripple::RandomBelow(state, kWidth - 2)) + 1;
            int y = int(ripple::RandomBelow(state, kHeight - 2)) + 1;
            uint32_t size = ripple::RandomBelow(state, 2) + 1;
            int level = int(ripple::RandomBelow(state, 180)) + 50;
            list.push_back({x, y, size, level});
        }
    }
    return d;
}

// A storm far rougher than the dialog ever makes: a heavy shower, then a large stone every other tick;
// many points are displaced outside the picture, which is the slow path.
Drops StormDrops(int ticks) {
    Drops d;
    Rng rng{42};
    d.perTick.resize(ticks);
    for (int t = 0; t < ticks; ++t) {
        int count = t == 0 ? 40 : (t % 2 == 0 ? 1 : 0);
        for (int i = 0; i < count; ++i)
            d.perTick[t].push_back({int(rng.below(kWidth)), int(rng.below(kHeight)), rng.below(9) + 1,
                                    int(rng.below(256)) + 20});
    }
    return d;
}

double NowNs() {
    using namespace std::chrono;
    return double(duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

struct Result {
    double stepNs, renderNs, scalarNs, sse2Ns, plainNs;
    int movedTicks, mismatches;
};

Result Run(const ripple_reference::Picture& source, const Drops& drops, int ticks) {
    const int32_t stride = ripple::DibStride(kWidth);
    std::vector<int32_t> cur(size_t(kWidth) * kHeight), prev(cur.size());
    std::vector<uint32_t> lookup(ripple::LookupCells(kWidth, kHeight));
    std::vector<uint8_t> frame(source.bytes), scalarFrame(source.bytes), sse2Frame(source.bytes);
    ripple::BuildLookup(source.bytes.data(), lookup.data(), kWidth, kHeight, stride);
    std::vector<std::vector<uint8_t>> fastFrames;
    std::vector<uint8_t> fastMoved;
    Result res{};
    for (int t = 0; t < ticks; ++t) {
        for (const auto& d : drops.perTick[t])
            ripple::DropCells(cur.data(), kWidth, kHeight, false, d.x, d.y, d.size, d.level);
        double t0 = NowNs();
        ripple::StepCells(cur.data(), prev.data(), kWidth, kHeight, false);
        cur.swap(prev);
        double t1 = NowNs();
        bool moved = ripple::RenderCells(cur.data(), lookup.data(), frame.data(), kWidth, kHeight, stride);
        double t2 = NowNs();
        ripple::RenderCellsScalar(cur.data(), lookup.data(), scalarFrame.data(), kWidth, kHeight, stride);
        double t3 = NowNs();
        ripple::RenderCellsOn(ripple::RenderPath::Sse2, cur.data(), lookup.data(), sse2Frame.data(), kWidth, kHeight,
                              stride);
        double t4 = NowNs();
        res.stepNs += t1 - t0;
        res.renderNs += t2 - t1;
        res.scalarNs += t3 - t2;
        res.sse2Ns += t4 - t3;
        if (scalarFrame != frame || sse2Frame != frame) ++res.mismatches;
        fastMoved.push_back(moved);
        if (t % 10 == 0) fastFrames.push_back(frame);
    }

    ripple_reference::Surface surface(kWidth, kHeight);
    ripple_reference::Picture refFrame = source;
    for (int t = 0; t < ticks; ++t) {
        for (const auto& d : drops.perTick[t])
            ripple::DropCells(surface.cur.data(), kWidth, kHeight, false, d.x, d.y, d.size, d.level);
        double t0 = NowNs();
        ripple_reference::Step(surface, false);
        bool moved = ripple_reference::Render(surface, source, refFrame);
        res.plainNs += NowNs() - t0;
        res.movedTicks += moved;
        if (moved != bool(fastMoved[t])) ++res.mismatches;
        if (t % 10 == 0 && std::memcmp(refFrame.bytes.data(), fastFrames[t / 10].data(), refFrame.bytes.size()))
            ++res.mismatches;
    }
    if (surface.cur != cur) ++res.mismatches;
    return res;
}

void Print(const char* name, const Result& r, int ticks, double cells) {
    std::printf("%s: %d ticks, %d moving\n", name, ticks, r.movedTicks);
    std::printf("  fast  step   %6.3f ns/cell\n", r.stepNs / ticks / cells);
    std::printf("  fast  render %6.3f ns/cell\n", r.renderNs / ticks / cells);
    std::printf("  fast  tick   %6.3f ns/cell  (goal <= 2.000)\n", (r.stepNs + r.renderNs) / ticks / cells);
    std::printf("  sse2 render  %6.3f ns/cell  (processors without AVX2)\n", r.sse2Ns / ticks / cells);
    std::printf("  scalar render %5.3f ns/cell  (processors without SSE2)\n", r.scalarNs / ticks / cells);
    std::printf("  plain tick   %6.3f ns/cell\n", r.plainNs / ticks / cells);
    std::printf("  speed-up     %6.2fx\n", r.plainNs / (r.stepNs + r.renderNs));
    std::printf("  bit-identical: %s (%d mismatches)\n", r.mismatches ? "NO" : "yes", r.mismatches);
}

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 3000;
    const double cells = double(kWidth) * (kHeight - 2);
    const ripple_reference::Picture source = MakePicture();
    std::printf("ripple tick (step + render) on %dx%d, %.0f cells per pass; render path: %s\n", kWidth, kHeight,
                cells, ripple::RenderPathAvailable(ripple::RenderPath::Avx2) ? "AVX2" : "SSE2");
    const Result dialog = Run(source, DialogDrops(ticks), ticks);
    Print("dialog (rain 1/5/2/180, pointer moving, a click every 100 ticks)", dialog, ticks, cells);
    const Result storm = Run(source, StormDrops(ticks), ticks);
    Print("storm (40 stones, then a 1..9 wide stone every other tick)", storm, ticks, cells);
    return dialog.mismatches || storm.mismatches ? 1 : 0;
}

// Water-ripple effect over one window and one picture.
//
// Two layers: pure functions over plain buffers (height field, 24-bit top-down pixel rows) that do the
// simulation and rendering, and the record-level operations that own the buffers, the timer and the
// GDI objects. The pure layer is what the tests compare bit for bit.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace ripple {

enum : uint32_t {
    kMoving = 1,      // the surface may be disturbed: Step and Render work only while set
    kFrameReady = 2,  // Render made a frame that Paint has not drawn yet
    kAutoDrops = 4,   // SetAutoDrops chose a non-zero mode
    kWideKernel = 8,  // creation option: wide horizontal wave kernel, drops half as tall
};

// A plain record owned by value; its address is the timer id, so it must not move while running.
// Zero-initialised so that a record that was never created rejects drops and ticks harmlessly.
struct RippleEffect {
    HWND window = nullptr;
    uint32_t flags = 0;
    HDC frameDC = nullptr;
    HBITMAP frameBitmap = nullptr;
    uint8_t* sourcePixels = nullptr;
    uint8_t* framePixels = nullptr;
    int32_t* currentHeights = nullptr;
    int32_t* previousHeights = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    int32_t heightPitch = 0;
    uint32_t randomState = 0;
    int32_t autoMode = 0;
    int32_t autoP1 = 0;
    int32_t autoP2 = 0;
    int32_t autoP3 = 0;
    int32_t wanderX = 0;
    int32_t wanderY = 0;
    int32_t wanderDX = 0;
    int32_t wanderDY = 0;
    uint32_t tickCount = 0;
    BITMAPINFO header = {};
    // Pixel table built once at Create (see BuildLookup): a displaced frame pixel is the smoothed
    // source at the displaced point, so Render copies instead of filtering every tick.
    uint32_t* lookup = nullptr;
};

// ---- pure layer ---------------------------------------------------------------------------------

// Linear congruential generator modulo 2^31 - 1; returns the low 16 bits of the state before the step.
uint32_t Random16(uint32_t& state);
// Two draws combined (second << 16 | first), reduced modulo n unless n is 0.
uint32_t RandomBelow(uint32_t& state, uint32_t n);

// Bytes per 24-bit DIB row.
inline int32_t DibStride(int32_t width) { return (width * 3 + 3) & ~3; }

// Sets a (2r+1) x (2ry+1) block of cells to level, r = size / 2, ry = r (or r / 2 with the wide
// kernel); the whole drop is refused unless it lies within columns 1..width-2 and rows 1..height-2.
bool DropCells(int32_t* cells, int32_t width, int32_t height, bool wide, int x, int y, uint32_t size,
               int level);

// One damped wave step for rows 1..height-2 (flat-array neighbours): writes the new surface over prev.
void StepCells(const int32_t* cur, int32_t* prev, int32_t width, int32_t height, bool wide);

// Cells of the pixel table BuildLookup fills: width x height smoothed pixels, then the same number of
// untouched source pixels, each as 0x00RRGGBB.
inline size_t LookupCells(int32_t width, int32_t height) { return size_t(width) * size_t(height) * 2; }

// Smooths every source pixel, (4s + 3(l + r + u + d)) >> 4 per byte, into the first half of lookup and
// copies the source into the second half.
// In-bounds rule: a neighbour outside the picture (left of column 0, right of column width-1, above
// row 0, below row height-1) is replaced by the edge pixel, i.e. coordinates are clamped; padding bytes
// and the far edge of the neighbouring row never enter a pixel.
void BuildLookup(const uint8_t* source, uint32_t* lookup, int32_t width, int32_t height, int32_t stride);

// Renders rows 1..height-2 of frame from the heights and the table; returns whether any pixel was
// displaced. Displaced points outside the picture leave the frame pixel as it was.
bool RenderCells(const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width, int32_t height,
                 int32_t stride);
// The same without vector instructions.
bool RenderCellsScalar(const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width,
                       int32_t height, int32_t stride);
// RenderCells takes the best path the processor offers; tests and the benchmark name one. All paths
// give the same bytes; a path the processor lacks falls back to the scalar one.
enum class RenderPath { Scalar, Sse2, Avx2 };
bool RenderPathAvailable(RenderPath path);
bool RenderCellsOn(RenderPath path, const int32_t* heights, const uint32_t* lookup, uint8_t* frame, int32_t width,
                   int32_t height, int32_t stride);

// ---- record operations --------------------------------------------------------------------------

// 0 on success, 1 on failure (then nothing is allocated and no timer runs).
int Create(RippleEffect& effect, HWND window, HBITMAP picture, UINT intervalMs, BOOL wideKernel);
void SetAutoDrops(RippleEffect& effect, int mode, int a, int b, int c);
void Drop(RippleEffect& effect, int x, int y, UINT size, int level);
void Release(RippleEffect& effect);

void Step(RippleEffect& effect);
void Render(RippleEffect& effect);
void Paint(RippleEffect& effect, HDC target, BOOL force);
void CALLBACK OnTick(HWND window, UINT message, UINT_PTR id, DWORD time);
// The automatic drops of one tick (step 4 of OnTick), separate so that tests can drive them.
void AutoDrop(RippleEffect& effect);
uint32_t Random16(RippleEffect& effect);
uint32_t RandomBelow(RippleEffect& effect, UINT n);

// Test seam: the buffer allocator Create uses (GlobalAlloc/GlobalFree with GMEM_ZEROINIT by default).
struct Allocator {
    void* (*allocate)(size_t bytes);
    void (*release)(void* block);
};
Allocator SetAllocator(Allocator allocator);
Allocator DefaultAllocator();

}  // namespace ripple

using ripple::RippleEffect;

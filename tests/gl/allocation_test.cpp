// The frame and the controls allocate nothing: the tables are fixed and every step works in place.
//
// What this proves: no C++ heap allocation (global operator new, hence also new[] and the
// standard containers) happens while 100 frames are drawn and 100 rounds of controls applied,
// with keys held that send particles down the respawn, burst and scatter paths, the latched keys
// pressed and the camera dragged. The counting operator new below replaces the global one for the
// whole test program, but counts only inside the measured window.
//
// What it does not prove: allocations through malloc itself. The scene code calls none (it has no
// C allocation anywhere outside the image loader), but the GL driver does, inside GL calls, and
// that is not ours to count. The driver's own C++ parts (the shader compiler) would show up here,
// so the scripted run is made once unmeasured first: every GL state it reaches is then known to
// the driver and compiled.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/virtual_keys.h"
#include "scene/controls.h"
#include "scene/frame.h"
#include "scene/random.h"
#include "scene/scene_state.h"
#include "support/scene_helpers.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<uint64_t> allocations{0};

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* AllocateOrThrow(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
} // namespace

// Every replaceable form but the aligned ones (left as a pair to the library), so that whatever a
// library allocates with one form and frees with another still meets the same allocator.
void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
// Out of line, so that the compiler does not mistake the pairing with malloc for a mismatch.
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace {

// Keys held over ranges of frames, latched keys pressed for one frame, a drag on every frame.
void ApplyInput(int frame) {
    auto hold = [&](uint32_t key, int from, int to) { scene.keyDown[key] = frame >= from && frame < to; };
    hold(VK_TAB, 0, 60);
    hold(VK_SHIFT, 30, 100);
    hold(VK_NUMPAD8, 0, 100);
    hold(VK_NUMPAD6, 0, 50);
    hold(VK_NUMPAD4, 50, 100);
    hold(VK_UP, 0, 100);
    hold(VK_RIGHT, 0, 100);
    hold(VK_ADD, 0, 100);
    hold(VK_PRIOR, 0, 100);
    hold('J', 0, 100);
    hold('A', 0, 100);
    hold('W', 0, 100);
    hold('Q', 0, 100);
    int pressAt = 10;
    for (uint32_t key :
         {uint32_t{'L'}, uint32_t{'F'}, uint32_t{'B'}, uint32_t{'T'}, uint32_t{'G'}, VK_RETURN, VK_SPACE}) {
        hold(key, pressAt, pressAt + 1);
        pressAt += 10;
    }
    scene.lookDeltaX += 3;
    scene.lookDeltaY -= 1;
}

void RunFrames() {
    for (int frame = 0; frame < 100; ++frame) {
        ApplyInput(frame);
        RenderFrame();
        HandleFrameControls();
        HandleMovementKeys();
    }
}

using AllocationTest = SceneTest;

TEST_F(AllocationTest, HundredFramesWithControlsAllocateNothing) {
    RunFrames();
    uint64_t drawn = RandomDrawCount();
    allocations = 0;
    counting = true;
    RunFrames();
    counting = false;
    EXPECT_EQ(allocations.load(), 0u);
    EXPECT_GT(RandomDrawCount(), drawn) << "particles were reborn in the measured frames";
}

} // namespace

#pragma once
// Skinned slider: a thumb that rests only on precomputed stops along a fixed bar. Its value is the
// index of the stop the thumb rests on.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/gfx.h"
#include "skin/skin_controls.h"
#include "skin/skin_image.h"
#include "skin/skin_rect.h"

namespace quelt {

struct SkinSlider {
    std::string thumbPath{};
    std::string barPath{};
    SkinRect thumbRect{};  // moves along the axis
    SkinRect barRect{};    // fixed
    std::int32_t minPos = 0;
    std::int32_t maxPos = 0;
    std::int32_t stopCount = 0;
    std::int32_t snapDistance = 0;
    std::int32_t visible = 0;
    SkinImageSlot thumbImage{};
    SkinImageSlot barImage{};
    std::vector<std::int32_t> stops{};  // thumb's leading edge per stop; empty until loaded
    std::int32_t pending = 0;
    std::int32_t message = 0;
    std::int32_t orientation = 0;  // 0 horizontal, 1 vertical
    ControlState state = 0;        // 0 normal, 1 dragging, 2 disabled

    // Copies the layout fields; the slider ends without images and stops.
    void Assign(const SkinSlider& descriptor);
    // Builds the stop table, loads both images and puts the thumb on stop 0. Returns 1 when both
    // images are usable; 0 (changing nothing) when already loaded or when there are no stops.
    int Load();
    void Unload();
    // Thumb slice for the state, then the bar slice over it.
    void Draw(gfx::Canvas* dc);
    // Pointer update: while dragging, moves the thumb to the first stop within snap distance of
    // the (clamped) pointer. Returns 1 when the pointer is over the slider or it is dragging.
    int Track(int x, int y);
    void SetStop(int index);
    // Lowest stop index at the thumb's leading edge, -1 when it rests on none.
    int GetStop() const;
    // Replaces `out` with the stop table; 0 (leaving `out` alone) when there is none.
    int GetStops(std::vector<std::int32_t>& out) const;

    bool Hits(int x, int y) const {
        return visible != 0 && (PtInRect(thumbRect, x, y) || PtInRect(barRect, x, y));
    }
    std::int32_t LeadingEdge() const { return orientation == 0 ? thumbRect.left : thumbRect.top; }
    void MoveThumb(std::int32_t position);
};

}  // namespace quelt

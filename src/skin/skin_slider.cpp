#include "skin/skin_slider.h"

#include <cstdlib>

namespace quelt {

namespace {
constexpr int kStripSlices = 3;
}

void SkinSlider::Assign(const SkinSlider& d) {
    *this = d;
    stops.clear();
}

int SkinSlider::Load() {
    // A negative count is treated like 0: no table can be built from it.
    if (thumbImage || barImage || !stops.empty() || stopCount <= 0) {
        return 0;
    }
    LoadSkinImage(thumbImage, thumbPath);
    LoadSkinImage(barImage, barPath);

    const std::int32_t half = orientation == 0 ? (thumbRect.right - thumbRect.left) / 2
                                               : (thumbRect.bottom - thumbRect.top) / 2;
    const std::int32_t gaps = stopCount > 1 ? stopCount - 1 : 1;
    const std::int32_t step = std::abs(maxPos - minPos) / gaps;
    stops.resize(static_cast<std::size_t>(stopCount));
    for (std::int32_t i = 0; i < stopCount; ++i) {
        std::int32_t position = minPos + i * step - half;
        if (i == 0) {
            position = minPos - half;
        } else if (i == stopCount - 1) {
            position = maxPos - half;
        }
        stops[static_cast<std::size_t>(i)] = position;
    }
    MoveThumb(stops[0]);
    return thumbImage->Width() != 0 && barImage->Width() != 0 ? 1 : 0;
}

void SkinSlider::Unload() {
    thumbImage.reset();
    barImage.reset();
    stops.clear();
    stops.shrink_to_fit();
}

void SkinSlider::MoveThumb(std::int32_t position) {
    if (orientation == 0) {
        thumbRect.right += position - thumbRect.left;
        thumbRect.left = position;
    } else {
        thumbRect.bottom += position - thumbRect.top;
        thumbRect.top = position;
    }
}

void SkinSlider::Draw(gfx::Canvas* dc) {
    if (visible == 0 || dc == nullptr || !thumbImage || !barImage || thumbImage->Width() == 0 ||
        barImage->Width() == 0) {
        return;
    }
    DrawSlice(dc, thumbImage.get(), kStripSlices, state, thumbRect);
    DrawSlice(dc, barImage.get(), kStripSlices, state, barRect);
}

int SkinSlider::Track(int x, int y) {
    if (visible == 0) {
        return 0;
    }
    const bool hot = (PtInRect(thumbRect, x, y) || PtInRect(barRect, x, y)) && state != 2;
    bool moved = false;
    if (state == 1) {
        int c = orientation == 0 ? x : y;
        if (c < minPos) {
            c = minPos;
        } else if (c >= maxPos) {
            c = maxPos;
        }
        for (const std::int32_t stop : stops) {
            if (std::abs(static_cast<long long>(c) - stop) <= snapDistance) {
                MoveThumb(stop);
                break;
            }
        }
        moved = true;
    }
    return hot || moved ? 1 : 0;
}

void SkinSlider::SetStop(int index) {
    if (index >= 0 && index < stopCount && static_cast<std::size_t>(index) < stops.size()) {
        MoveThumb(stops[static_cast<std::size_t>(index)]);
    }
}

int SkinSlider::GetStop() const {
    const std::int32_t edge = LeadingEdge();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i] == edge) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SkinSlider::GetStops(std::vector<std::int32_t>& out) const {
    if (stopCount <= 0 || stops.empty()) {
        return 0;
    }
    out = stops;
    return 1;
}

}  // namespace quelt

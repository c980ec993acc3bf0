#include "platform/window/alpha_shape.h"

#include <cstddef>

namespace quelt {

namespace {

struct Run {
    int start;
    int end;  // exclusive
    bool operator==(const Run&) const = default;
};

void rowRuns(const std::uint32_t* row, int width, std::uint8_t minimumAlpha,
             std::vector<Run>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] >> 24) < minimumAlpha) {
            ++x;
        }
        const int start = x;
        while (x < width && (row[x] >> 24) >= minimumAlpha) {
            ++x;
        }
        if (x > start) {
            runs.push_back(Run{start, x});
        }
    }
}

}  // namespace

std::vector<ShapeRect> alphaShape(const std::uint32_t* premultipliedArgb, int width, int height,
                                  int strideBytes, std::uint8_t minimumAlpha) {
    std::vector<ShapeRect> rects;
    if (premultipliedArgb == nullptr || width <= 0 || height <= 0) {
        return rects;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(premultipliedArgb);
    std::vector<Run> previous;
    std::vector<Run> current;
    std::size_t previousFirst = 0;  // index in `rects` of the previous row's first rectangle
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            bytes + static_cast<std::ptrdiff_t>(y) * strideBytes);
        rowRuns(row, width, minimumAlpha, current);
        if (y > 0 && !current.empty() && current == previous) {
            for (std::size_t i = 0; i < current.size(); ++i) {
                ++rects[previousFirst + i].height;
            }
            continue;
        }
        previousFirst = rects.size();
        for (const Run& run : current) {
            rects.push_back(ShapeRect{run.start, y, run.end - run.start, 1});
        }
        previous.swap(current);
    }
    return rects;
}

}  // namespace quelt

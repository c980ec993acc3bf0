#include "panel/resolution_lists.h"

namespace quelt {
namespace {

struct Size {
    int width;
    int height;
};

// One monitor's resolution per index; the layouts multiply it.
constexpr Size kMonitorSizes[kResolutionEntries60Hz] = {
    {1024, 768}, {1280, 720},  {1280, 768}, {1280, 800},  {1280, 1024}, {1366, 768},  {1400, 1050},
    {1440, 900}, {1440, 1050}, {1600, 900}, {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200},
};

// Width and height factors of Stretch 1 x 2, Stretch 1 x 4, Stretch 2 x 2 and Clone.
constexpr Size kLayoutFactors[4] = {{2, 1}, {4, 1}, {2, 2}, {1, 1}};

ResolutionList buildList(int layout, std::size_t count) {
    ResolutionList list;
    list.reserve(count);
    const Size factor = kLayoutFactors[layout];
    for (std::size_t i = 0; i < count; ++i) {
        const Size monitor = kMonitorSizes[i];
        list.push_back(
            {static_cast<std::uint8_t>(i), std::to_string(monitor.width * factor.width) + " x " +
                                               std::to_string(monitor.height * factor.height)});
    }
    return list;
}

}  // namespace

ResolutionLists buildResolutionLists() {
    ResolutionLists lists;
    for (int layout = 0; layout < 4; ++layout) {
        lists[static_cast<std::size_t>(layout)] = buildList(layout, kResolutionEntries60Hz);
    }
    for (int layout = 0; layout < 4; ++layout) {
        lists[static_cast<std::size_t>(4 + layout)] = buildList(layout, kResolutionEntries120Hz);
    }
    return lists;
}

int resolutionListIndex(const DeviceFrame& frame) {
    const int layout = frame.clone() ? 3 : static_cast<int>(frame.stretch());
    return frame.is120Hz() ? 4 + layout : layout;
}

std::size_t resolutionEntryCount(const DeviceFrame& frame) {
    return frame.is120Hz() ? kResolutionEntries120Hz : kResolutionEntries60Hz;
}

const ResolutionList& selectResolutionList(const ResolutionLists& lists, const DeviceFrame& frame) {
    return lists[static_cast<std::size_t>(resolutionListIndex(frame))];
}

}  // namespace quelt

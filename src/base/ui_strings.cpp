#include "base/ui_strings.h"

namespace quelt {
namespace {

constexpr const char* kLabelTexts[ui_label::kCount] = {
    "QueltControlCenter Vx.xx - FWVer: Vx.xx",
    "Device List",
    "FW:30\nCOM:10\nID:20",
    "DP1",
    "DP2",
    "Mode",
    "Stretch 1 x 2",
    "Stretch 1 x 4",
    "Stretch 2 x 2",
    "Clone",
    "Clock Sync",
    "DP1",
    "DP2",
    "OFF",
    "FrameRate",
    "60 Hz",
    "120 Hz",
    "H Limit",
    "0",
    "50",
    "100",
    "150",
    "200",
    "250",
    "V Limit",
    "15",
    "30",
    "45",
    "60",
    "Set DeviceID",
    "ID 1",
    "ID 2",
    "ID 3",
    "ID 4",
    "ID 5",
    "ID 6",
    "Device Setting Sync",
};

constexpr const char* kErrorTexts[ui_error::kCount] = {
    "The Serial COM initialize fail.\nPlease check again.",
    "It found that is disconnect with Serial COM.",
    "Panoril initialize fail.",
    "Switch to pattern on is fail.",
    "Switch to pattern off is fail.",
    "Switch to device fail.",
    "Panoril hardware reset fail.\nErrorCode = 0xA001",
    "Panoril hardware reset fail.\nErrorCode = 0xA002",
    "Panoril software reset fail.\nErrorCode = 0xA001",
    "Panoril software reset fail.\nErrorCode = 0xA002",
    "Panoril apply fail.\nErrorCode = 0xA001",
    "Panoril apply fail.\nErrorCode = 0xA002",
    "Panoril apply fail.\nErrorCode = 0xA003",
    "Panoril apply fail.\nErrorCode = 0xA004",
};

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}

}  // namespace

UiStringTable::UiStringTable() {
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i] = kLabelTexts[i];
    }
    for (std::size_t i = 0; i < errors_.size(); ++i) {
        errors_[i] = kErrorTexts[i];
    }
}

const std::string& UiStringTable::label(int index) const {
    if (index < 0 || index >= ui_label::kCount) {
        return emptyText();
    }
    return labels_[static_cast<std::size_t>(index)];
}

const std::string& UiStringTable::error(int index) const {
    if (index < 0 || index >= ui_error::kCount) {
        return emptyText();
    }
    return errors_[static_cast<std::size_t>(index)];
}

const UiStringTable& uiStrings() {
    static const UiStringTable table;
    return table;
}

}  // namespace quelt

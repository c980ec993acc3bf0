// The guard is a named mutex created without ownership; it is only tested for existence and the
// system removes it with the last process holding a handle to it.
#include "platform/instance/single_instance.h"

#include <windows.h>

#include "platform/os/win32/unique_handle.h"
#include "platform/os/win32/wide_string.h"

namespace quelt {

struct SingleInstance::Handle {
    win32::UniqueHandle mutex;
};

SingleInstance::SingleInstance(const std::string& name, const std::string& /*lockFolder*/)
    : handle_(std::make_unique<Handle>()) {
    const std::wstring wideName = win32::widen(name);
    handle_->mutex = win32::UniqueHandle(CreateMutexW(nullptr, FALSE, wideName.c_str()));
    if (handle_->mutex.valid() && GetLastError() == ERROR_ALREADY_EXISTS) {
        anotherCopy_ = true;
    }
}

SingleInstance::~SingleInstance() = default;

}  // namespace quelt

// The viewer is found among the top-level windows (and, under a window manager, the client
// windows inside their frames) by its title, _NET_WM_NAME or else WM_NAME.
#include "platform/debug_viewer/debug_viewer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

#include "base/unique_with.h"

namespace quelt {

namespace {

using DisplayOwner = UniqueWith<Display, &XCloseDisplay>;
// Memory that Xlib handed out.
template <class T>
using XMemory = UniqueWith<T, &XFree>;

bool hasTitle(Display* display, Window window, const char* title) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 256, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        const XMemory<unsigned char> owned(data);
        if (type == utf8) {
            return std::strlen(title) == count && std::memcmp(data, title, count) == 0;
        }
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        const XMemory<char> owned(name);
        return std::strcmp(name, title) == 0;
    }
    return false;
}

Window findTitled(Display* display, Window parent, const char* title, int depth) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, parent, &root, &parentOut, &children, &count) == 0) {
        return 0;
    }
    const XMemory<Window> owned(children);
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        if (hasTitle(display, children[i], title)) {
            found = children[i];
        } else if (depth > 0) {
            found = findTitled(display, children[i], title, depth - 1);
        }
    }
    return found;
}

}  // namespace

bool sendToDebugViewer(const std::string& text) {
    const DisplayOwner display(XOpenDisplay(nullptr));
    if (!display) {
        return false;
    }
    const Window viewer =
        findTitled(display.get(), DefaultRootWindow(display.get()), kDebugViewerTitle, 1);
    if (viewer == 0) {
        return false;
    }
    XChangeProperty(display.get(), viewer, XInternAtom(display.get(), "_QUELT_DEBUG_TEXT", False),
                    XInternAtom(display.get(), "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    XSync(display.get(), False);
    return true;
}

}  // namespace quelt

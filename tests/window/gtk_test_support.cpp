#include <gtk/gtk.h>

#include "native_test_support.h"

namespace quelt::testing {

ErrorBoxSeen dismissOpenErrorBox() {
    ErrorBoxSeen seen;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        if (!GTK_IS_DIALOG(window) || !gtk_widget_get_visible(GTK_WIDGET(window))) {
            continue;
        }
        const char* title = gtk_window_get_title(window);
        seen.found = true;
        seen.title = title != nullptr ? title : "";
        seen.owned = gtk_window_get_transient_for(window) != nullptr;
        seen.modal = gtk_window_get_modal(window) != FALSE;
        gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_OK);
        break;
    }
    g_list_free(windows);
    return seen;
}

void failOnToolkitCriticals() {
    g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_FATAL_MASK | G_LOG_LEVEL_CRITICAL));
}

std::uint32_t screenPixel(int x, int y) {
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), x, y, 1, 1);
    if (pixbuf == nullptr) {
        return 0xDEADBEEFu;
    }
    const guchar* p = gdk_pixbuf_get_pixels(pixbuf);
    const std::uint32_t rgb = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    g_object_unref(pixbuf);
    return rgb;
}

}  // namespace quelt::testing

#include <gdk/gdkx.h>

namespace quelt::testing {

TitledWindow::TitledWindow(const std::string& title) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), title.c_str());
    gtk_widget_show(window);
    gdk_display_sync(gtk_widget_get_display(window));
    window_ = window;
}

TitledWindow::~TitledWindow() {
    gtk_widget_destroy(static_cast<GtkWidget*>(window_));
}

std::string TitledWindow::receivedText() const {
    GdkWindow* window = gtk_widget_get_window(static_cast<GtkWidget*>(window_));
    Display* display = GDK_WINDOW_XDISPLAY(window);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, GDK_WINDOW_XID(window),
                           XInternAtom(display, "_QUELT_DEBUG_TEXT", False), 0, 4096, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        text.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return text;
}

}  // namespace quelt::testing

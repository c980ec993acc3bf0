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

#pragma once
// Owners of the GTK and GLib objects of the window host, beside the cairo and GObject owners.
#include <gtk/gtk.h>

#include "base/unique_with.h"
#include "platform/gfx/cairo/cairo_owners.h"

namespace quelt {

// A toplevel widget: destroying it closes its window.
using GtkWidgetOwner = UniqueWith<GtkWidget, &gtk_widget_destroy>;

// A main-loop source: detached from its context and its reference dropped. Destroying a source
// that already ended (its callback returned G_SOURCE_REMOVE) is harmless.
struct SourceCloser {
    void operator()(GSource* source) const {
        g_source_destroy(source);
        g_source_unref(source);
    }
};
using GSourceOwner = std::unique_ptr<GSource, SourceCloser>;

}  // namespace quelt

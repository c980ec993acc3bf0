#pragma once
// Owners of the cairo, pango and GLib objects the Linux backends create: each one frees its
// object when it goes out of scope.
#include <cairo.h>
#include <glib-object.h>
#include <pango/pango.h>

#include "base/unique_with.h"

namespace quelt {

using CairoSurface = UniqueWith<cairo_surface_t, &cairo_surface_destroy>;
using CairoContext = UniqueWith<cairo_t, &cairo_destroy>;
using CairoPattern = UniqueWith<cairo_pattern_t, &cairo_pattern_destroy>;
using CairoRegion = UniqueWith<cairo_region_t, &cairo_region_destroy>;
using PangoFont = UniqueWith<PangoFontDescription, &pango_font_description_free>;
using GErrorOwner = UniqueWith<GError, &g_error_free>;

// A GObject (pixbuf, pango layout, cursor) that drops its reference.
template <class T>
using GObjectOwner = UniqueWith<T, &g_object_unref>;

// Memory that GLib allocated.
template <class T>
using GMemory = UniqueWith<T, &g_free>;

}  // namespace quelt

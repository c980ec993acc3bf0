#include "platform/window/gtk/gtk_error_box.h"

#include "base/unique_with.h"
#include "platform/window/window_host.h"

namespace quelt {

namespace {

// The box goes with its owner window when that is destroyed while it is open; the reference held
// here keeps the object valid for the final destroy, which is then harmless.
void destroyAndRelease(GtkWidget* widget) {
    gtk_widget_destroy(widget);
    g_object_unref(widget);
}
using HeldWidget = UniqueWith<GtkWidget, &destroyAndRelease>;

}  // namespace

void runGtkErrorBox(GtkWindow* owner, const std::string& text) {
    const auto flags =
        static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT);
    const HeldWidget box(GTK_WIDGET(g_object_ref(gtk_dialog_new_with_buttons(
        kErrorBoxCaption, owner, flags, "_OK", GTK_RESPONSE_OK, nullptr))));
    GtkWidget* dialog = box.get();
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog),
                            owner != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);

    // GTK 3.24 message dialogs show no icon by default, so the icon is placed explicitly.
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
    gtk_container_set_border_width(GTK_CONTAINER(row), 16);
    GtkWidget* icon = gtk_image_new_from_icon_name("dialog-error", GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_box_pack_start(GTK_BOX(content), row, TRUE, TRUE, 0);
    gtk_widget_show_all(row);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);

    gtk_dialog_run(GTK_DIALOG(dialog));
}

}  // namespace quelt

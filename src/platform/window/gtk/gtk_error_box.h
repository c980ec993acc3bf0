#pragma once
// The modal error box on GTK: caption "QueltError...", an error icon, the text and one OK button.
#include <gtk/gtk.h>

#include <string>

namespace quelt {

// Shows the box transient for `owner` (may be null) and returns when it is dismissed. Runs a
// nested main loop, so queued work of the thread keeps being handled meanwhile.
void runGtkErrorBox(GtkWindow* owner, const std::string& text);

}  // namespace quelt

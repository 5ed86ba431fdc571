#include "app/gtk_dialogs.h"

#include "pages/gtk_ref.h"

namespace pbz {

namespace {

// Keeps a dialog alive until we destroy it, even if something else already did.
RefPtr<GtkWidget> HoldDialog(GtkWidget* dialog) {
  return RefPtr<GtkWidget>::Share(dialog);
}

}  // namespace

std::string ChooseMainFileDialog(GtkWindow* parent, const std::string& folder) {
  const RefPtr<GtkWidget> dialog = HoldDialog(gtk_file_chooser_dialog_new(
      "Datei w\xC3\xA4hlen", parent, GTK_FILE_CHOOSER_ACTION_OPEN, GTK_STOCK_CANCEL,
      GTK_RESPONSE_CANCEL, GTK_STOCK_OPEN, GTK_RESPONSE_ACCEPT, nullptr));
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
  gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_select_multiple(chooser, FALSE);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  if (!folder.empty()) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, "PureBasic ");
  gtk_file_filter_add_pattern(filter, "*.pb");
  gtk_file_chooser_add_filter(chooser, filter);  // the chooser owns it now

  std::string result;
  if (gtk_dialog_run(GTK_DIALOG(dialog.get())) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
      result = name;
      g_free(name);
    }
  }
  gtk_widget_destroy(dialog.get());
  return result;
}

std::string AskTextDialog(GtkWindow* parent, const std::string& title, const std::string& prompt,
                          const std::string& current) {
  const RefPtr<GtkWidget> dialog = HoldDialog(gtk_dialog_new_with_buttons(
      title.c_str(), parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_STOCK_OK, GTK_RESPONSE_OK, nullptr));
  gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_OK);
  GtkWidget* box = gtk_hbox_new(FALSE, 6);
  gtk_container_set_border_width(GTK_CONTAINER(box), 8);
  GtkWidget* label = gtk_label_new(prompt.c_str());
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(entry), current.c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_entry_set_width_chars(GTK_ENTRY(entry), 30);
  gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), entry, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog.get()))), box, TRUE,
                     TRUE, 0);
  gtk_widget_show_all(box);
  gtk_widget_grab_focus(entry);

  std::string result;
  if (gtk_dialog_run(GTK_DIALOG(dialog.get())) == GTK_RESPONSE_OK) {
    result = gtk_entry_get_text(GTK_ENTRY(entry));
  }
  gtk_widget_destroy(dialog.get());
  return result;
}

void ShowMessageDialog(GtkWindow* parent, const std::string& title, const std::string& text) {
  const RefPtr<GtkWidget> dialog = HoldDialog(gtk_message_dialog_new(
      parent, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO, GTK_BUTTONS_OK, "%s", text.c_str()));
  gtk_window_set_title(GTK_WINDOW(dialog.get()), title.c_str());
  gtk_dialog_run(GTK_DIALOG(dialog.get()));
  gtk_widget_destroy(dialog.get());
}

void SetClipboardText(const std::string& text) {
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clipboard, text.data(), static_cast<gint>(text.size()));
  gtk_clipboard_set_can_store(clipboard, nullptr, 0);
  gtk_clipboard_store(clipboard);
}

void StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return;
  std::vector<gchar*> arguments;
  arguments.reserve(argv.size() + 1);
  for (const auto& argument : argv) arguments.push_back(const_cast<gchar*>(argument.c_str()));
  arguments.push_back(nullptr);
  // Without DO_NOT_REAP_CHILD GLib forks twice, so the IDE is no child of ours.
  GError* error = nullptr;
  g_spawn_async(nullptr, arguments.data(), nullptr, GSpawnFlags(0), nullptr, nullptr, nullptr,
                &error);
  if (error) g_error_free(error);
}

}  // namespace pbz

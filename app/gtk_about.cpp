#include "app/gtk_about.h"

#include "pages/gtk_ref.h"

namespace pbz {

namespace {

constexpr const char* kLicence =
    "MIT License\n"
    "\n"
    "Copyright (c) 2026 The PB Zetrolin developers\n"
    "\n"
    "Permission is hereby granted, free of charge, to any person obtaining a copy\n"
    "of this software and associated documentation files (the \"Software\"), to deal\n"
    "in the Software without restriction, including without limitation the rights\n"
    "to use, copy, modify, merge, publish, distribute, sublicense, and/or sell\n"
    "copies of the Software, and to permit persons to whom the Software is\n"
    "furnished to do so, subject to the following conditions:\n"
    "\n"
    "The above copyright notice and this permission notice shall be included in all\n"
    "copies or substantial portions of the Software.\n"
    "\n"
    "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR\n"
    "IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,\n"
    "FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE\n"
    "AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER\n"
    "LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,\n"
    "OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE\n"
    "SOFTWARE.\n";

RefPtr<GdkPixbuf> ReadLogo(const std::vector<std::string>& files) {
  for (const auto& file : files) {
    GError* error = nullptr;
    GdkPixbuf* image = gdk_pixbuf_new_from_file(file.c_str(), &error);
    if (error) g_error_free(error);
    if (image) return RefPtr<GdkPixbuf>::Adopt(image);
  }
  return {};
}

}  // namespace

std::vector<std::string> DefaultLogoFiles() {
  // Beside the program (the working folder), then where a package or
  // `cmake --install` under any prefix puts it relative to bin/.
  std::vector<std::string> files{kLogoFileName,
                                 std::string("../share/pbzetrolin/") + kLogoFileName};
#ifdef PBZ_DATA_DIR
  files.push_back(std::string(PBZ_DATA_DIR) + "/" + kLogoFileName);
#endif
  return files;
}

void ShowAboutBox(GtkWindow* parent, const std::vector<std::string>& logoFiles) {
  const RefPtr<GdkPixbuf> logo = ReadLogo(logoFiles);
  auto dialog = RefPtr<GtkWidget>::Share(gtk_about_dialog_new());
  GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog.get());
  gtk_window_set_transient_for(GTK_WINDOW(about), parent);
  gtk_window_set_modal(GTK_WINDOW(about), TRUE);
  gtk_about_dialog_set_program_name(about, "PB Zetrolin");
  gtk_about_dialog_set_version(about, "0.20\xC3\x9F");
  gtk_about_dialog_set_copyright(about, "\xC2\xA9 2026 The PB Zetrolin developers");
  gtk_about_dialog_set_comments(about, "Lists PB-Terms recursive & more\nA PureBasic-Linux-Tool");
  gtk_about_dialog_set_license(about, kLicence);
  gtk_about_dialog_set_website(about, "https://example.org/pbzetrolin");
  if (logo) gtk_about_dialog_set_logo(about, logo.get());
  gtk_dialog_run(GTK_DIALOG(about));
  gtk_widget_destroy(dialog.get());
}

}  // namespace pbz

// The About box opened by the logo button.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace pbz {

inline constexpr const char* kLogoFileName = "LinuxZetrolinLogo.png";

// Where the About box looks for its logo, in order: the working folder (the
// program's own folder), then the installed data folder.
std::vector<std::string> DefaultLogoFiles();

// Runs the about dialog modally over parent; the logo is read anew from the
// first readable file of logoFiles, none when no file can be read.
void ShowAboutBox(GtkWindow* parent, const std::vector<std::string>& logoFiles);

}  // namespace pbz

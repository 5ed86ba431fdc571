// The modal dialogs, the clipboard and the IDE start, each a plain function.
// The window reaches them through ShellServices so tests can script them.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace pbz {

// "Datei wählen": one *.pb file, starting in folder. Empty when cancelled.
std::string ChooseMainFileDialog(GtkWindow* parent, const std::string& folder);

// The input box: title, prompt, a text field holding current, OK. Return
// confirms; closing gives empty text. Texts are UTF-8.
std::string AskTextDialog(GtkWindow* parent, const std::string& title, const std::string& prompt,
                          const std::string& current);

// A modal message box with an OK button; text is UTF-8.
void ShowMessageDialog(GtkWindow* parent, const std::string& title, const std::string& text);

// Puts text (UTF-8) on the CLIPBOARD selection and asks the clipboard manager
// to keep it after the program ends.
void SetClipboardText(const std::string& text);

// Starts argv[0] with the given arguments as a detached process, without a
// shell; failure is ignored.
void StartDetached(const std::vector<std::string>& argv);

}  // namespace pbz

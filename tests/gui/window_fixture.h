// What the GUI tests share: the event pump, the dialog answerer and the
// fixture that builds the real window over a scratch folder.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/gtk_main_window.h"
#include "pages/gtk_page_stack.h"

namespace pbz {

inline constexpr int kDialogTimeoutMs = 5000;

// Lets the toolkit run for about ms milliseconds.
inline void Pump(int ms) {
  const gint64 end = g_get_monotonic_time() + ms * 1000;
  do {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(2000);
  } while (g_get_monotonic_time() < end);
}

// One event through the event loop, as any user input would be.
inline void SendEvent() {
  GdkEvent* event = gdk_event_new(GDK_NOTHING);
  gdk_event_put(event);
  gdk_event_free(event);
  Pump(20);
}

template <typename Test>
inline GtkWidget* FindChild(GtkWidget* widget, Test test) {
  if (test(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  GtkWidget* found = nullptr;
  for (GList* item = children; item && !found; item = item->next) {
    found = FindChild(GTK_WIDGET(item->data), test);
  }
  g_list_free(children);
  return found;
}

inline std::string StringProperty(gpointer object, const char* name) {
  gchar* value = nullptr;
  g_object_get(object, name, &value, nullptr);
  std::string text = value ? value : "";
  g_free(value);
  return text;
}

// Answers modal dialogs from a timer, as a user would. A dialog that is not
// answered in time fails the test and is destroyed, so nothing can hang.
class DialogScript {
 public:
  using Match = std::function<bool(GtkWidget*)>;
  // Returns true once it has answered the dialog (it may need a few ticks).
  using Answer = std::function<bool(GtkWidget*)>;

  DialogScript(Match match, Answer answer, int expected = 1)
      : match_(std::move(match)), answer_(std::move(answer)), expected_(expected) {
    started_ = g_get_monotonic_time();
    source_ = g_timeout_add(20, Tick, this);
  }
  ~DialogScript() {
    if (source_) g_source_remove(source_);
  }
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  int Answered() const { return answered_; }

 private:
  static gboolean Tick(gpointer data) {
    auto* self = static_cast<DialogScript*>(data);
    GList* windows = gtk_window_list_toplevels();
    std::vector<GtkWidget*> dialogs;
    for (GList* item = windows; item; item = item->next) {
      GtkWidget* widget = GTK_WIDGET(item->data);
      if (GTK_IS_DIALOG(widget) && gtk_widget_get_visible(widget) &&
          !g_object_get_data(G_OBJECT(widget), "pbz-answered") && self->match_(widget)) {
        dialogs.push_back(widget);
      }
    }
    g_list_free(windows);
    for (GtkWidget* dialog : dialogs) {
      g_object_set_data(G_OBJECT(dialog), "pbz-answered", nullptr);
      if (self->answer_(dialog)) {
        g_object_set_data(G_OBJECT(dialog), "pbz-answered", dialog);
        ++self->answered_;
        self->started_ = g_get_monotonic_time();
      }
    }
    if (self->expected_ > 0 && self->answered_ >= self->expected_) {
      self->source_ = 0;
      return FALSE;
    }
    if (g_get_monotonic_time() - self->started_ > kDialogTimeoutMs * 1000) {
      if (self->expected_ > 0) {
        ADD_FAILURE() << "dialog not answered in time (" << self->answered_ << " of "
                      << self->expected_ << ")";
      }
      for (GtkWidget* dialog : dialogs) gtk_widget_destroy(dialog);
      self->source_ = 0;
      return FALSE;
    }
    return TRUE;
  }

  Match match_;
  Answer answer_;
  int expected_;
  int answered_ = 0;
  gint64 started_ = 0;
  guint source_ = 0;
};

inline bool IsMessageBox(GtkWidget* widget) {
  return GTK_IS_MESSAGE_DIALOG(widget);
}
inline bool IsFileChooser(GtkWidget* widget) {
  return GTK_IS_FILE_CHOOSER_DIALOG(widget);
}
inline bool IsAboutBox(GtkWidget* widget) {
  return GTK_IS_ABOUT_DIALOG(widget);
}
inline bool IsInputBox(GtkWidget* widget) {
  return !IsMessageBox(widget) && !IsFileChooser(widget) && !IsAboutBox(widget);
}

// Types text into the input box and confirms it; records the text it offered.
inline DialogScript::Answer TypeIntoInputBox(std::string text, std::vector<std::string>* offered) {
  return [text, offered](GtkWidget* dialog) {
    GtkWidget* entry = FindChild(dialog, [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    if (!entry) return false;
    if (offered) offered->push_back(gtk_entry_get_text(GTK_ENTRY(entry)));
    gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
    gtk_widget_activate(entry);  // Return confirms
    return true;
  };
}

// Records a message box's title and text and presses OK.
inline DialogScript::Answer ConfirmMessage(std::vector<std::string>* texts) {
  return [texts](GtkWidget* dialog) {
    if (texts) {
      texts->push_back(std::string(gtk_window_get_title(GTK_WINDOW(dialog))) + "|" +
                       StringProperty(dialog, "text"));
    }
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    return true;
  };
}

// Picks path in the file chooser and presses Open once the chooser has it.
inline DialogScript::Answer ChooseFile(std::string path) {
  return [path, asked = false](GtkWidget* dialog) mutable {
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    if (!asked) {
      gtk_file_chooser_set_filename(chooser, path.c_str());
      asked = true;
      return false;
    }
    gchar* chosen = gtk_file_chooser_get_filename(chooser);
    const bool ready = chosen && path == chosen;
    g_free(chosen);
    if (!ready) return false;
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    return true;
  };
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// ---------------------------------------------------------------------------

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "pbz_gui_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    state_.Config.PureBasicHome = "/nonexistent/";
    state_.Config.IdeProgramPath = (folder_ / "fake-ide").string();
    std::ofstream(folder_ / "fake-ide") << "#!/bin/sh\n"
                                           "out=\"$(dirname \"$0\")/ide-args\"\n"
                                           "printf '%s\\n' \"$@\" > \"$out.tmp\"\n"
                                           "mv \"$out.tmp\" \"$out\"\n";
    std::filesystem::permissions(folder_ / "fake-ide", std::filesystem::perms::owner_all);
  }
  void TearDown() override {
    window_.reset();
    Pump(20);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Build(ShellServices services = DefaultShellServices()) {
    window_ = std::make_unique<MainWindow>(state_, std::move(services));
    ASSERT_TRUE(window_->Build());
    Pump(150);
  }

  std::string Write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = folder_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // The IDE arguments the fake IDE recorded, waiting up to waitMs for them.
  std::vector<std::string> IdeArguments(int waitMs = 5000) {
    const std::filesystem::path file = folder_ / "ide-args";
    const gint64 end = g_get_monotonic_time() + waitMs * 1000;
    while (!std::filesystem::exists(file) && g_get_monotonic_time() < end) Pump(20);
    std::vector<std::string> args;
    std::istringstream lines(ReadFile(file));
    for (std::string line; std::getline(lines, line);) args.push_back(line);
    std::filesystem::remove(file);
    return args;
  }

  GtkWidget* Button(ButtonId id) { return window_->Button(id); }
  PageStack& Pages() { return window_->Pages(); }
  ResultPage& Current() { return *window_->Pages().CurrentPage(); }
  std::size_t CurrentIndex() { return window_->Pages().Current().value_or(999); }

  std::filesystem::path folder_;
  AppState state_;
  std::unique_ptr<MainWindow> window_;
};

inline std::string ExampleMain() {
  return std::string(PBZ_EXAMPLES) + "/main.pb";
}

}  // namespace pbz

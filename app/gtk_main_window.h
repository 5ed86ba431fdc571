// The main window: the button row, the page selector, the result pages, the
// actions behind them, and the abort poll that every listing calls.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tool_arguments.h"
#include "calls/all_calls.h"
#include "core/scan_control.h"
#include "pages/gtk_page_stack.h"
#include "scan/procedures.h"
#include "scan/source_set.h"

namespace pbz {

// Everything the program keeps for the whole run.
struct AppState {
  Settings Config;
  std::string MainFile;
  SourceSet Sources;
  ProcedureIndex Procedures;
  DeclareList Declares;
  std::string LastSearchTerm;
};

// The window's ways out to dialogs, the clipboard and other programs.
struct ShellServices {
  // The chosen main file, empty when cancelled.
  std::function<std::string(GtkWindow* parent)> ChooseMainFile;
  // The search input box: the typed term, empty when closed.
  std::function<std::string(GtkWindow* parent, const std::string& current)> AskSearchTerm;
  // A message box titled "PB Zetrolin".
  std::function<void(GtkWindow* parent, const std::string& text)> ShowMessage;
  // Receives the declaration block (8-bit text).
  std::function<void(const std::string& text)> SetClipboard;
  // Starts a program (argv[0]) detached; failure ignored.
  std::function<void(const std::vector<std::string>& argv)> StartProgram;
  std::function<void(GtkWindow* parent)> ShowAbout;
};

// The real dialogs, clipboard and process start.
ShellServices DefaultShellServices();

enum class ButtonId : std::size_t { kOpen, kBack, kJumpToLine, kAllCalls, kSearch, kStop };
inline constexpr std::size_t kButtonCount = 6;

class MainWindow : public ScanControl {
 public:
  MainWindow(AppState& state, ShellServices services);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds and shows the window with its first page "Procedures"; false when
  // the window cannot be created.
  bool Build();

  // Start-up after the window is built: the selector, the main file (asking
  // when state.MainFile is empty), the procedure listing and the first lookup
  // of cursorWord. False when the user cancelled the file chooser.
  bool StartUp(const std::string& cursorWord);

  // Runs until the window is closed.
  void RunEventLoop();

  // The actions, as the widgets trigger them. Each does nothing while a
  // listing runs.
  void OpenAction();
  void BackAction();
  void JumpToLineAction();
  void AllProcedureCallsAction();
  void SearchAction();
  void RowDoubleClickAction();
  void AboutAction();
  // The page selector's choice: entry k is page k.
  void PageSelectorAction(int entry);

  // Runs a listing as the actions do: every other action is dropped until it
  // returns, and the list shows its newest row afterwards.
  void RunListing(const std::function<void()>& listing);

  // ScanControl: the Stop button and the poll of the running listing.
  void ScanStarted() override;
  void ScanEnded() override;
  bool AbortCheck() override;
  void KeepAlive() override;

  GtkWindow* Window() const { return GTK_WINDOW(window_); }
  GtkWidget* Button(ButtonId id) const { return buttons_[static_cast<std::size_t>(id)]; }
  GtkWidget* Selector() const { return selector_; }
  GtkWidget* LogoButton() const { return logoButton_; }
  GtkWidget* ListLabel() const { return listLabel_; }
  PageStack& Pages() { return *pages_; }
  bool QuitRequested() const { return quitRequested_; }
  bool ListingRunning() const { return busy_; }

 private:
  // Lets the toolkit draw and take clicks, at most every few tens of
  // milliseconds; true when it ran.
  bool RunPendingEvents();
  class BusyScope;

  // CollectSourceSet, ListProcedures into the current page, RefreshPageSelector.
  void LoadMainFile();
  void FirstLookup(const std::string& cursorWord);
  void FitToWindow();
  std::pair<int, int> InnerSize() const;
  // Back is enabled when the current page is not page 0.
  void UpdateBackButton();

  static void OnGdkEvent(GdkEvent* event, gpointer self) noexcept;
  static void OnDestroy(GtkWidget*, gpointer self) noexcept;
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self) noexcept;
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) noexcept;
  static void OnButtonClicked(GtkButton* button, gpointer self) noexcept;
  static void OnSelectorChanged(GtkComboBox* combo, gpointer self) noexcept;

  AppState& state_;
  ShellServices services_;
  GtkWidget* window_ = nullptr;
  // References of our own on every widget we point to, so none dangles even
  // when the window is destroyed from outside.
  std::vector<RefPtr<GtkWidget>> held_;
  bool windowGone_ = false;  // destroyed from outside (its X window killed)
  GtkWidget* area_ = nullptr;
  std::array<GtkWidget*, kButtonCount> buttons_{};
  GtkWidget* listLabel_ = nullptr;
  GtkWidget* selector_ = nullptr;
  GtkWidget* logoButton_ = nullptr;
  std::unique_ptr<PageStack> pages_;
  std::pair<int, int> fittedSize_{0, 0};

  bool quitRequested_ = false;
  bool busy_ = false;           // a listing action runs: every other action is dropped
  bool stopRequested_ = false;  // Stop was clicked during the running listing
  std::uint32_t pollCounter_ = 0;
  std::int64_t lastPoll_ = 0;  // monotonic microseconds
};

}  // namespace pbz

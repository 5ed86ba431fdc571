#include "app/gtk_main_window.h"

#include <unistd.h>

#include <string>
#include <utility>

#include "app/gtk_about.h"
#include "app/gtk_dialogs.h"
#include "app/gtk_logo.h"
#include "calls/calls.h"
#include "core/text.h"
#include "match/term_search.h"

namespace pbz {

namespace {

constexpr const char* kTitle = "PB Zetrolin";
constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 610;
// How often a running listing lets the toolkit draw and take clicks.
constexpr std::int64_t kPollMicroseconds = 30000;
// Lines between two clock reads in AbortCheck.
constexpr std::uint32_t kLinesPerClockRead = 16;
// Bound on the events handled in one poll, so a flood cannot stall a scan.
constexpr int kMaxEventsPerPoll = 1000;

struct ButtonLayout {
  const char* label;
  int x, y, width, height;
  const char* stock;
  const char* tooltip;  // UTF-8; nullptr for none
};

const ButtonLayout kButtons[kButtonCount] = {
    {"Open", 5, 2, 80, 28, GTK_STOCK_OPEN,
     "L\xC3\xB6scht vorherige Liste und \xC3\xB6"
     "ffnet neue Hauptdatei..."},
    {"Back", 90, 2, 80, 28, GTK_STOCK_GO_BACK,
     "Zeigt vorherige und schlie\xC3\x9Ft aktuelle Liste"},
    {"Jump to Line", 175, 2, 110, 28, GTK_STOCK_JUMP_TO,
     "\xC3\x96"
     "ffnet bei Bedarf den PureBasic-Editor und setzt Cursor auf Zeile der akt. "
     "Selektion..."},
    {"All Proc-Calls", 290, 2, 110, 28, GTK_STOCK_INDEX,
     "Listet aus aktueller Hauptdatei und Includes alle Proceduren und deren Aufrufe"},
    {"Search...", 405, 2, 80, 28, GTK_STOCK_FIND,
     "Sucht und listet aus aktueller Datei alle Proceduren bzw. Variablen"},
    {"Stop", 490, 2, 80, 28, GTK_STOCK_STOP, nullptr},
};

std::string WorkingFolder() {
  gchar* folder = g_get_current_dir();
  std::string result = folder ? folder : "";
  g_free(folder);
  return result;
}

// A GtkFixed asks for the union of its children; the window must still be
// able to shrink below the pages' current size, so the area asks for nothing.
void RequestNothing(GtkWidget*, GtkRequisition* requisition, gpointer) noexcept {
  requisition->width = 0;
  requisition->height = 0;
}

void SetFrameFunctions(GtkWidget* window, gpointer) noexcept {
  GdkWindow* frame = gtk_widget_get_window(window);
  if (!frame) return;
  gdk_window_set_functions(frame, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_RESIZE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(frame, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_RESIZEH |
                                                    GDK_DECOR_TITLE | GDK_DECOR_MENU));
}

void ForwardToGtk(GdkEvent* event, gpointer) noexcept {
  gtk_main_do_event(event);
}

std::string StripTrailingParens(std::string text) {
  while (!text.empty() && text.back() == '(') text.pop_back();
  return text;
}

}  // namespace

ShellServices DefaultShellServices() {
  ShellServices services;
  services.ChooseMainFile = [](GtkWindow* parent) {
    return ChooseMainFileDialog(parent, WorkingFolder());
  };
  services.AskSearchTerm = [](GtkWindow* parent, const std::string& current) {
    return AskTextDialog(parent, kTitle, "Suche Term: ", ToDisplay(current));
  };
  services.ShowMessage = [](GtkWindow* parent, const std::string& text) {
    ShowMessageDialog(parent, kTitle, ToDisplay(text));
  };
  services.SetClipboard = [](const std::string& text) { SetClipboardText(ToDisplayByLine(text)); };
  services.StartProgram = [](const std::vector<std::string>& argv) { StartDetached(argv); };
  services.ShowAbout = [](GtkWindow* parent) { ShowAboutBox(parent, DefaultLogoFiles()); };
  return services;
}

// Marks a listing action: other actions are dropped meanwhile, and the list
// shows its newest row when the action ends.
class MainWindow::BusyScope {
 public:
  explicit BusyScope(MainWindow& window) : window_(window) { window_.busy_ = true; }
  ~BusyScope() {
    window_.busy_ = false;
    window_.stopRequested_ = false;
    if (!window_.windowGone_) window_.pages_->FlushSelection();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  MainWindow& window_;
};

MainWindow::MainWindow(AppState& state, ShellServices services)
    : state_(state), services_(std::move(services)) {}

MainWindow::~MainWindow() {
  if (window_) gdk_event_handler_set(ForwardToGtk, nullptr, nullptr);
  pages_.reset();
  if (window_) gtk_widget_destroy(window_);
}

void MainWindow::OnDestroy(GtkWidget*, gpointer self) noexcept {
  auto* window = static_cast<MainWindow*>(self);
  // Killed from outside: stop a running listing and end the loop.
  window->windowGone_ = true;
  window->quitRequested_ = true;
  window->stopRequested_ = true;
}

bool MainWindow::Build() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!window_) return false;
  held_.push_back(RefPtr<GtkWidget>::Share(window_));
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, kTitle);
  gtk_window_set_default_size(window, kInitialWidth, kInitialHeight);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_window_set_resizable(window, TRUE);
  GdkGeometry hints{};
  hints.min_width = 800;
  hints.min_height = 300;
  gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MIN_SIZE);
  g_signal_connect(window_, "realize", G_CALLBACK(SetFrameFunctions), nullptr);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
  // Stock images on buttons even where a desktop setting would hide them.
  g_object_set(gtk_settings_get_default(), "gtk-button-images", TRUE, nullptr);

  area_ = gtk_fixed_new();
  g_signal_connect_after(area_, "size-request", G_CALLBACK(RequestNothing), nullptr);
  gtk_container_add(GTK_CONTAINER(window_), area_);

  selector_ = gtk_combo_box_new_text();
  pages_ = std::make_unique<PageStack>(GTK_FIXED(area_), GTK_COMBO_BOX(selector_),
                                       [this] { return InnerSize(); });
  pages_->SetRowDoubleClickHandler([this] { RowDoubleClickAction(); });
  pages_->OpenResultPage("", "Procedures");

  for (std::size_t k = 0; k < kButtonCount; ++k) {
    const ButtonLayout& layout = kButtons[k];
    GtkWidget* button = gtk_button_new_with_label(layout.label);
    gtk_widget_set_size_request(button, layout.width, layout.height);
    gtk_fixed_put(GTK_FIXED(area_), button, layout.x, layout.y);
    g_signal_connect(button, "clicked", G_CALLBACK(OnButtonClicked), this);
    buttons_[k] = button;
  }
  listLabel_ = gtk_label_new("List:");
  gtk_misc_set_alignment(GTK_MISC(listLabel_), 1.0f, 0.5f);
  gtk_widget_set_size_request(listLabel_, 30, 24);
  gtk_fixed_put(GTK_FIXED(area_), listLabel_, 572, 8);
  gtk_widget_set_size_request(selector_, 150, 28);
  gtk_fixed_put(GTK_FIXED(area_), selector_, 605, 2);
  pages_->SetSelectorHandler(
      g_signal_connect(selector_, "changed", G_CALLBACK(OnSelectorChanged), this));

  if (const RefPtr<GdkPixbuf> logo = DrawLogo(16)) {
    logoButton_ = gtk_button_new();
    gtk_button_set_image(GTK_BUTTON(logoButton_), gtk_image_new_from_pixbuf(logo.get()));
    gtk_widget_set_size_request(logoButton_, 26, 26);
    gtk_fixed_put(GTK_FIXED(area_), logoButton_, 765, 2);
    g_signal_connect(logoButton_, "clicked", G_CALLBACK(OnButtonClicked), this);
  }

  for (std::size_t k = 0; k < kButtonCount; ++k) {
    GtkButton* button = GTK_BUTTON(buttons_[k]);
    gtk_button_set_image(button, gtk_image_new_from_stock(kButtons[k].stock, GTK_ICON_SIZE_MENU));
    gtk_button_set_image_position(button, GTK_POS_LEFT);
  }
  for (std::size_t k = 0; k < kButtonCount; ++k) {
    if (kButtons[k].tooltip) {
      gtk_widget_set_tooltip_text(buttons_[k], kButtons[k].tooltip);
    }
  }
  gtk_widget_set_sensitive(Button(ButtonId::kStop), FALSE);
  for (GtkWidget* widget : {area_, listLabel_, selector_, logoButton_}) {
    if (widget) held_.push_back(RefPtr<GtkWidget>::Share(widget));
  }
  for (GtkWidget* widget : buttons_) held_.push_back(RefPtr<GtkWidget>::Share(widget));

  // Every event passes here first, so Back shows the state the previous
  // action left.
  gdk_event_handler_set(OnGdkEvent, this, nullptr);
  gtk_widget_show_all(window_);
  fittedSize_ = InnerSize();
  return true;
}

std::pair<int, int> MainWindow::InnerSize() const {
  int width = kInitialWidth;
  int height = kInitialHeight;
  if (window_) gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
  return {width, height};
}

bool MainWindow::StartUp(const std::string& cursorWord) {
  pages_->RefreshPageSelector();
  if (state_.MainFile.empty()) {
    state_.MainFile = services_.ChooseMainFile(Window());
    if (state_.MainFile.empty() || windowGone_) return false;
  }
  LoadMainFile();
  FirstLookup(cursorWord);
  return !windowGone_;
}

void MainWindow::LoadMainFile() {
  BusyScope busy(*this);
  state_.Sources = CollectSourceSet(state_.MainFile, SourceSetOptions{state_.Config.PureBasicHome});
  ListProcedures(state_.Sources, pages_->CurrentList(), *this, state_.Procedures);
  pages_->RefreshPageSelector();
}

void MainWindow::FirstLookup(const std::string& cursorWord) {
  if (cursorWord == "(" || cursorWord.empty()) return;
  {
    BusyScope busy(*this);
    if (ShowProcedureCalls(cursorWord, state_.Sources, *pages_, *this) != 0) return;
  }
  if (windowGone_) return;
  services_.ShowMessage(Window(), "Procedure '" + cursorWord + "' not found!\nSearch for terms...");
  const std::string term = StripTrailingParens(cursorWord);
  if (term.empty()) return;
  BusyScope busy(*this);
  TermSearchListing(term, state_.Sources, *pages_, *this);
}

void MainWindow::RunEventLoop() {
  while (!quitRequested_) gtk_main_iteration_do(TRUE);
}

// --- actions ---------------------------------------------------------------

void MainWindow::OpenAction() {
  if (busy_) return;
  const std::string chosen = services_.ChooseMainFile(Window());
  if (chosen.empty()) return;
  if (windowGone_) return;
  state_.MainFile = chosen;
  pages_->CloseAllPages();
  pages_->OpenResultPage("", "Procedures");
  LoadMainFile();
}

void MainWindow::BackAction() {
  if (busy_) return;
  const auto current = pages_->Current();
  if (!current || *current == 0) return;
  pages_->CloseCurrentPage();
  pages_->RefreshPageSelector();
  pages_->ShowCurrentPage();
  // The page shown may have been hidden while the window changed its size.
  const auto [width, height] = InnerSize();
  pages_->FitCurrentPage(width, height);
  pages_->FocusCurrentPage();
}

void MainWindow::JumpToLineAction() {
  if (busy_) return;
  ResultPage* page = pages_->CurrentPage();
  if (!page) return;
  const auto index = page->List->SelectedIndex();
  if (!index) return;
  const Row& row = page->List->Rows()[*index];
  const std::string name(FileNamePart(row.cells[kFile]));
  if (name.empty()) return;
  const std::int64_t line = TextToInteger(row.cells[kLine]);
  const auto path = FindSourceByFileName(state_.Sources, name);
  if (!path) return;
  services_.StartProgram({state_.Config.IdeProgramPath, *path, "-l", std::to_string(line)});
}

void MainWindow::AllProcedureCallsAction() {
  RunListing([this] {
    pages_->OpenResultPage("", "All Procedure-Calls...");
    pages_->RefreshPageSelector();
    ListAllProcedureCalls(state_.Procedures, state_.Sources, *pages_, *this, state_.Declares,
                          services_.SetClipboard);
  });
}

void MainWindow::SearchAction() {
  if (busy_ || windowGone_) return;
  state_.LastSearchTerm = services_.AskSearchTerm(Window(), state_.LastSearchTerm);
  if (state_.LastSearchTerm.empty() || windowGone_) return;
  BusyScope busy(*this);
  if (ShowProcedureCalls(state_.LastSearchTerm, state_.Sources, *pages_, *this) != 0) return;
  state_.LastSearchTerm = StripTrailingParens(state_.LastSearchTerm);
  if (windowGone_) return;
  TermSearchListing(state_.LastSearchTerm, state_.Sources, *pages_, *this);
}

void MainWindow::RowDoubleClickAction() {
  RunListing([this] { ShowProcedureCalls("", state_.Sources, *pages_, *this); });
}

void MainWindow::AboutAction() {
  if (busy_) return;
  services_.ShowAbout(Window());
}

void MainWindow::PageSelectorAction(int entry) {
  if (busy_ || entry < 0) {
    // A choice made while a listing runs is dropped: the selector goes back.
    pages_->SyncSelector();
    return;
  }
  pages_->SwitchTo(static_cast<std::size_t>(entry));
  const auto [width, height] = InnerSize();
  pages_->FitCurrentPage(width, height);
}

void MainWindow::RunListing(const std::function<void()>& listing) {
  if (busy_) return;
  BusyScope busy(*this);
  listing();
}

// --- scan control ----------------------------------------------------------

void MainWindow::ScanStarted() {
  stopRequested_ = false;
  pollCounter_ = 0;
  lastPoll_ = 0;
  gtk_widget_set_sensitive(Button(ButtonId::kStop), TRUE);
}

void MainWindow::ScanEnded() {
  gtk_widget_set_sensitive(Button(ButtonId::kStop), FALSE);
  if (!windowGone_) pages_->FlushSelection();
}

bool MainWindow::RunPendingEvents() {
  const std::int64_t now = g_get_monotonic_time();
  if (now - lastPoll_ < kPollMicroseconds) return false;
  pages_->FlushSelection();
  for (int n = 0; n < kMaxEventsPerPoll && gtk_events_pending(); ++n) {
    gtk_main_iteration_do(FALSE);
  }
  lastPoll_ = g_get_monotonic_time();
  return true;
}

void MainWindow::KeepAlive() {
  if (!windowGone_) RunPendingEvents();
}

bool MainWindow::AbortCheck() {
  if (windowGone_) return true;
  if (++pollCounter_ % kLinesPerClockRead != 0) return false;
  if (!RunPendingEvents()) return false;
  if (windowGone_) return true;
  if (!stopRequested_) return false;
  stopRequested_ = false;
  services_.ShowMessage(Window(), "Abbruch!");
  return true;
}

// --- callbacks -------------------------------------------------------------

void MainWindow::UpdateBackButton() {
  if (windowGone_) return;
  const auto current = pages_->Current();
  gtk_widget_set_sensitive(Button(ButtonId::kBack), current && *current != 0);
}

void MainWindow::OnGdkEvent(GdkEvent* event, gpointer self) noexcept {
  auto* window = static_cast<MainWindow*>(self);
  if (!window->busy_) window->UpdateBackButton();
  gtk_main_do_event(event);
}

gboolean MainWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) noexcept {
  auto* window = static_cast<MainWindow*>(self);
  // The window stays; the loop ends after this event unless a listing runs.
  if (!window->busy_) window->quitRequested_ = true;
  return TRUE;
}

gboolean MainWindow::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) noexcept {
  auto* window = static_cast<MainWindow*>(self);
  const std::pair<int, int> size{event->width, event->height};
  if (size != window->fittedSize_) {
    window->fittedSize_ = size;
    window->pages_->FitCurrentPage(size.first, size.second);
  }
  return FALSE;
}

void MainWindow::OnButtonClicked(GtkButton* button, gpointer self) noexcept {
  auto* window = static_cast<MainWindow*>(self);
  GtkWidget* widget = GTK_WIDGET(button);
  if (widget == window->Button(ButtonId::kStop)) {
    if (window->busy_) window->stopRequested_ = true;
  } else if (widget == window->Button(ButtonId::kOpen)) {
    window->OpenAction();
  } else if (widget == window->Button(ButtonId::kBack)) {
    window->BackAction();
  } else if (widget == window->Button(ButtonId::kJumpToLine)) {
    window->JumpToLineAction();
  } else if (widget == window->Button(ButtonId::kAllCalls)) {
    window->AllProcedureCallsAction();
  } else if (widget == window->Button(ButtonId::kSearch)) {
    window->SearchAction();
  } else if (widget == window->logoButton_) {
    window->AboutAction();
  }
}

void MainWindow::OnSelectorChanged(GtkComboBox* combo, gpointer self) noexcept {
  static_cast<MainWindow*>(self)->PageSelectorAction(gtk_combo_box_get_active(combo));
}

}  // namespace pbz

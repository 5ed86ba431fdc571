// PB Zetrolin: the batch command line, or the window started by the IDE with
// the file, the selection and the word under the cursor.
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/gtk_main_window.h"
#include "app/tool_arguments.h"
#include "batch/batch.h"
#include "core/text.h"

namespace {

std::string CurrentFolder() {
  gchar* folder = g_get_current_dir();
  std::string result = folder ? folder : "";
  g_free(folder);
  return result;
}

// Relative include folders and the logo file are looked up in the program's
// own folder.
void ChangeToProgramFolder() {
  gchar* program = g_file_read_link("/proc/self/exe", nullptr);
  if (!program) return;
  const std::string folder(pbz::FolderPart(program));
  g_free(program);
  if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
    // Staying in the start folder only changes where the logo is found.
  }
}

// GDK's own handler, which ends the program on any X error. A C callback
// without user data, so it has to live here.
XErrorHandler& GdkErrorHandler() {
  static XErrorHandler handler = nullptr;
  return handler;
}

// The window can be destroyed from outside (xkill, a session that ends):
// requests already on their way then fail with BadWindow or BadDrawable. The
// destroy signal ends the program cleanly; those errors must not end it first.
int OnXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  return GdkErrorHandler() ? GdkErrorHandler()(display, error) : 0;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (auto status = pbz::RunBatchCommandLine(args, std::cout, std::cerr)) return *status;

  pbz::AppState state;
  state.Config = pbz::SettingsFromEnvironment();
  const pbz::ToolArguments arguments = pbz::ReadToolArguments(args, CurrentFolder());
  state.MainFile = arguments.MainFile;
  ChangeToProgramFolder();

  // GTK sees only the program name: the IDE's arguments are ours.
  int gtkArgc = 1;
  char* gtkArgvStorage[] = {argv[0], nullptr};
  char** gtkArgv = gtkArgvStorage;
  if (!gtk_init_check(&gtkArgc, &gtkArgv)) {
    std::cerr << "pbzetrolin: cannot open the display (is DISPLAY set?); "
                 "see --help for the batch command line\n";
    return 0;
  }
  GdkErrorHandler() = XSetErrorHandler(OnXError);

  // PBZ_BENCH=startup|allcalls: print the seconds taken and quit, for benchmarks.
  const char* benchEnv = std::getenv("PBZ_BENCH");
  const std::string bench = benchEnv ? benchEnv : "";

  pbz::MainWindow window(state, pbz::DefaultShellServices());
  if (!window.Build()) return 0;
  if (!window.StartUp(arguments.CursorWord)) return 0;
  if (bench == "startup") {
    std::printf("startup %.3f s\n", SecondsSince(started));
    return 0;
  }
  if (bench == "allcalls") {
    const auto allCallsStarted = std::chrono::steady_clock::now();
    window.AllProcedureCallsAction();
    std::printf("allcalls %.3f s\n", SecondsSince(allCallsStarted));
    return 0;
  }
  window.RunEventLoop();
  return 0;
}

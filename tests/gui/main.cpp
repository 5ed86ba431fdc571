// The GUI tests drive the real window in-process; they need an X display
// (CTest runs them under xvfb-run).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
  // gtest first, so --gtest_list_tests works without a display.
  ::testing::InitGoogleTest(&argc, argv);
  if (!gtk_init_check(&argc, &argv)) {
    std::fprintf(stderr, "gui_tests: no display; run under xvfb-run\n");
    return 1;
  }
  // The file chooser records recent files under HOME (a private one in CTest).
  gchar* share = g_build_filename(g_get_home_dir(), ".local", "share", nullptr);
  g_mkdir_with_parents(share, 0700);
  g_free(share);
  return RUN_ALL_TESTS();
}

#include "app/gtk_logo.h"

#include <algorithm>
#include <cstdint>

namespace pbz {

namespace {

constexpr int kSamples = 4;  // per axis, for smooth edges

bool InDisc(double x, double y, double cx, double cy, double r) {
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

}  // namespace

RefPtr<GdkPixbuf> DrawLogo(int size) {
  if (size < 1) return {};
  auto image = RefPtr<GdkPixbuf>::Adopt(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, size, size));
  if (!image) return {};
  const double s = size;
  const double centre = s / 2.0;
  const double radius = s / 2.0 - 0.25;
  guchar* pixels = gdk_pixbuf_get_pixels(image.get());
  const int stride = gdk_pixbuf_get_rowstride(image.get());
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      int disc = 0;
      int letter = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = px + (sx + 0.5) / kSamples;
          const double y = py + (sy + 0.5) / kSamples;
          if (!InDisc(x, y, centre, centre, radius)) continue;
          ++disc;
          const bool dot = InDisc(x, y, centre, 0.27 * s, 0.1 * s);
          const bool stem = x >= 0.41 * s && x <= 0.59 * s && y >= 0.42 * s && y <= 0.80 * s;
          if (dot || stem) ++letter;
        }
      }
      const double all = kSamples * kSamples;
      const double white = disc ? letter / static_cast<double>(disc) : 0.0;
      const auto mix = [white](double blue) {
        return static_cast<guchar>(std::clamp(blue + (255.0 - blue) * white, 0.0, 255.0) + 0.5);
      };
      guchar* p = pixels + py * stride + px * 4;
      p[0] = mix(30.0);
      p[1] = mix(90.0);
      p[2] = mix(200.0);
      p[3] = static_cast<guchar>(255.0 * disc / all + 0.5);
    }
  }
  return image;
}

}  // namespace pbz

// Resizing pictures with an area-averaging filter, for the contact sheet
// and for judging cards at their on-screen size.
#include <algorithm>

#include "tools/contentgen/picture.h"

Picture picture_resize(const Picture& source, int w, int h) {
  Picture out;
  out.width = w;
  out.height = h;
  out.alpha = source.alpha;
  out.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
  const double sx = static_cast<double>(source.width) / w;
  const double sy = static_cast<double>(source.height) / h;
  for (int y = 0; y < h; ++y) {
    const double y0 = y * sy, y1 = std::max(y0 + 1e-9, (y + 1) * sy);
    for (int x = 0; x < w; ++x) {
      const double x0 = x * sx, x1 = std::max(x0 + 1e-9, (x + 1) * sx);
      double acc[4] = {0, 0, 0, 0};
      double area = 0;
      for (int yy = static_cast<int>(y0); yy < source.height && yy < y1; ++yy) {
        const double wy = std::min<double>(yy + 1, y1) - std::max<double>(yy, y0);
        for (int xx = static_cast<int>(x0); xx < source.width && xx < x1; ++xx) {
          const double wx = std::min<double>(xx + 1, x1) - std::max<double>(xx, x0);
          const uint8_t* p = source.at(xx, yy);
          const double weight = wx * wy;
          const double a = p[3] * weight;
          acc[0] += p[0] * a;
          acc[1] += p[1] * a;
          acc[2] += p[2] * a;
          acc[3] += a;
          area += weight;
        }
      }
      uint8_t* d = out.at(x, y);
      if (acc[3] > 0) {
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(std::clamp(acc[c] / acc[3] + 0.5, 0.0, 255.0));
      }
      d[3] = static_cast<uint8_t>(std::clamp(acc[3] / std::max(area, 1e-9) + 0.5, 0.0, 255.0));
    }
  }
  return out;
}

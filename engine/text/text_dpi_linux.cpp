// The display's dots per inch on Linux: the resource "Xft.dpi" that X
// desktops set on the display for the size of fonts (96 unless the player
// scaled text up or down), read once from the X server at start-up.
#include "engine/text/text_dpi_linux.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cmath>
#include <cstdlib>

#include "engine/text/text_backend.h"

namespace {

// What the menus are laid out for, and the value where none can be read
// (no X display, as on Wayland without X, or no such resource).
constexpr int kDefaultDpi = 96;
constexpr double kMostDpi = 10000;

// A decimal number such as "96" or "120.5" (not the locale's form: the
// server's resources always use a point), or -1.
double parse_number(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  double value = 0;
  bool digits = false;
  for (; *text >= '0' && *text <= '9'; ++text, digits = true) value = value * 10 + (*text - '0');
  if (*text == '.') {
    double scale = 0.1;
    for (++text; *text >= '0' && *text <= '9'; ++text, scale /= 10, digits = true) value += (*text - '0') * scale;
  }
  while (*text == ' ' || *text == '\t') ++text;
  return digits && *text == '\0' ? value : -1;
}

}  // namespace

int text_dpi_from_resources(const std::string& resources) {
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources.c_str());
  if (!database) return 0;
  char* type = nullptr;
  XrmValue value{};
  int dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
    double number = parse_number(value.addr);
    if (number >= 0.5 && number <= kMostDpi) dpi = static_cast<int>(std::lround(number));
  }
  XrmDestroyDatabase(database);
  return dpi;
}

int text_display_dpi() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return kDefaultDpi;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return kDefaultDpi;
  const char* resources = XResourceManagerString(display);
  int dpi = resources ? text_dpi_from_resources(resources) : 0;
  XCloseDisplay(display);
  return dpi > 0 ? dpi : kDefaultDpi;
}

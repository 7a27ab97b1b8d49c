// The list strips of the settings screen: every value of a setting one below
// the other in a sprite, and the 30-pixel window that shows one of them.
#include <string>
#include <vector>

#include "engine/screen/screen.h"
#include "game/sprites.h"
#include "ui/languages.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/settings_layout.h"
#include "ui/text_render.h"
#include "ui/text_sprites.h"

namespace {

constexpr int kStripFont = 1;

void MakeStrip(int number, const std::vector<std::string>& values, unsigned rgba, int row) {
  // An empty list has a strip of height 0: nothing is shown, not even what
  // an earlier pass left under the number.
  if (values.empty() || !text_render::Render(number, kSettingsStripWidth, kSettingsStripHeight * static_cast<int>(values.size()), [&] {
        text_render::UseFont(kStripFont, rgba);
        for (size_t i = 0; i < values.size(); ++i)
          text_render::DrawCentred(values[i], kSettingsStripWidth, kSettingsStripHeight * static_cast<double>(i));
      })) {
    sprite_free(number);
    return;
  }
  CutStrip(number, row);
}

}  // namespace

void CutStrip(int sprite, int row) { sprite_clip(sprite, 0, kSettingsStripHeight * row, kSettingsStripWidth, kSettingsStripHeight); }

void RenderListStrips() {
  std::vector<std::string> names;
  for (const LanguageEntry* entry : CatalogueEntries()) names.push_back(entry->name);
  MakeStrip(kLanguageStrip, names, kTextColour, LanguageIndexOf(Language));
  const int row = ScreenModeIndexOf(ScreenMode);
  MakeStrip(kScreenModeStrip, ScreenModeList, kTextColour, row);
  MakeStrip(kScreenModeDimStrip, ScreenModeList, kDimTextColour, row);
}

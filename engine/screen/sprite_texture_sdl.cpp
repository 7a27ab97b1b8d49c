// Sprite textures for the renderers that draw through SDL: one texture per
// sprite, drawn with SDL_RenderCopy in SDL's blend modes.
#include "engine/screen/screen_sdl.h"

bool sprite_texture_load(Sprite* sp) {
  ScreenContext& s = screen_state();
  const ImageBuffer& px = sp->pixels;
  if (sp->texture) {
    int w = 0, h = 0;
    SDL_QueryTexture(sp->texture, nullptr, nullptr, &w, &h);
    if (w != px.width || h != px.height) {
      SDL_DestroyTexture(sp->texture);
      sp->texture = nullptr;
    }
  }
  if (!sp->texture) {
    sp->texture = SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, px.width,
                                    px.height);
    if (!sp->texture) return false;
    SDL_SetTextureScaleMode(sp->texture, s.filtering ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  return SDL_UpdateTexture(sp->texture, nullptr, px.pixels.data(), px.width * 4) == 0;
}

void sprite_texture_draw(Sprite* sp, const SDL_Rect& dst, bool blended, int intensity) {
  if (!sp->texture) return;
  SDL_SetTextureBlendMode(sp->texture, blended ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(sp->texture, static_cast<Uint8>(blended ? intensity : 255));
  SDL_RenderCopy(screen_state().renderer, sp->texture, &sp->clip, &dst);
}

// Sprite textures on a renderer: one texture per sprite, drawn with
// SDL_RenderCopy in SDL's blend modes. Once a sprite has been drawn its
// pixels live in the texture alone; they are read back from it in the rare
// case that the sprite is changed or saved afterwards.
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
  }
  return SDL_UpdateTexture(sp->texture, nullptr, px.pixels.data(), px.width * 4) == 0;
}

void sprite_texture_draw(const DrawItem& item) {
  Sprite* sp = item.sprite;
  if (!sp || !sp->texture) return;
  const bool blended = item.intensity != 0;
  SDL_SetTextureBlendMode(sp->texture, blended ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(sp->texture, static_cast<Uint8>(blended ? item.intensity : 255));
  SDL_SetTextureScaleMode(sp->texture, item.filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  const SDL_Rect dst{item.x, item.y, item.width, item.height};
  SDL_RenderCopy(screen_state().renderer, sp->texture, &item.part, &dst);
  // The texture was filled from the pixels when they last changed (SDL
  // copies them at once), so they are not needed beside it any more.
  if (!sp->pixels.pixels.empty()) sp->pixels = ImageBuffer();
}

bool sprite_texture_read(Sprite* sp) {
  ScreenContext& s = screen_state();
  if (!s.renderer || !sp->texture) return false;
  // Textures cannot be read directly: the sprite is copied onto a target
  // texture of its size, texel for texel, and that is read.
  SDL_Texture* target =
      SDL_CreateTexture(s.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, sp->width, sp->height);
  if (!target) return false;
  SDL_Texture* before = SDL_GetRenderTarget(s.renderer);
  ImageBuffer px;
  px.width = sp->width;
  px.height = sp->height;
  px.depth = 32;
  bool ok = pixels_resize(&px.pixels, static_cast<size_t>(sp->width) * static_cast<size_t>(sp->height) * 4) &&
            SDL_SetRenderTarget(s.renderer, target) == 0;
  if (ok) {
    SDL_SetTextureBlendMode(sp->texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureAlphaMod(sp->texture, 255);
    SDL_SetTextureScaleMode(sp->texture, SDL_ScaleModeNearest);
    ok = SDL_RenderCopy(s.renderer, sp->texture, nullptr, nullptr) == 0 &&
         SDL_RenderReadPixels(s.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, px.pixels.data(), sp->width * 4) == 0;
    SDL_SetRenderTarget(s.renderer, before);
  }
  SDL_DestroyTexture(target);
  if (ok) sp->pixels = std::move(px);
  return ok;
}

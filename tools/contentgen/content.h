// What the content generator makes: every picture of the data pack under its
// entry name, the language flags, the pointer file and the contact sheet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/picture.h"

// The four board backgrounds, 1920x1080, opaque ("background 1.png" ...).
std::vector<GeneratedFile> make_backgrounds();
// The title and studio logo splash pictures, 1920x1080 ("title.png", "ogs.png").
std::vector<GeneratedFile> make_splashes();
// Both card sets: backs and 24 faces each, 256x256 with alpha.
std::vector<GeneratedFile> make_card_sets();
// The menu, shadows, well-done picture, pointer, arrows, boxes and bar.
std::vector<GeneratedFile> make_interface_pictures();
// One ".flag" picture per shipped language (small, under 16,000 bytes).
std::vector<GeneratedFile> make_flags();

// Every picture of the data pack, in pack order.
std::vector<GeneratedFile> make_data_pictures();

// The pointer picture's hotspot: its tip, at the top-left corner.
constexpr int kPointerHotX = 0;
constexpr int kPointerHotY = 0;

// A Windows cursor file (.cur) holding one 32-bit image with its AND mask.
std::vector<uint8_t> cursor_file(const Picture& picture, int hot_x, int hot_y);

// One PNG-ready picture that shows every given picture small, labelled.
Picture contact_sheet(const std::vector<GeneratedFile>& files);

// Encodes a picture for the pack at the level that inflates fastest.
GeneratedFile finish_picture(const std::string& name, Picture picture);

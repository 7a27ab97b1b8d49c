// Shared by the content generator's tests: one generation of all pictures
// per test run, and lookups in it.
#pragma once

#include <string>
#include <vector>

#include "tools/contentgen/content.h"

// Every picture of the data pack, generated once for the whole run.
const std::vector<GeneratedFile>& generated_pictures();
// The language flags, generated once.
const std::vector<GeneratedFile>& generated_flags();
// The generated file of that entry name, or nullptr.
const GeneratedFile* find_generated(const std::string& name);
// The entry names the game reads from the data pack, built from its naming
// rules: four backgrounds, two card sets of a back and 24 zero-padded
// faces, then the fixed pictures.
std::vector<std::string> expected_picture_names();
// Decodes a generated file's PNG bytes (what the game will read).
Picture decode_or_fail(const GeneratedFile& file, int* color_type);

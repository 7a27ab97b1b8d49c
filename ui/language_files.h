// Reading language files out of the language pack (a ZIP file) or out of a
// folder of the same name; shared by the catalogue and the loading of texts.
#pragma once

#include <string>

#include "engine/keyvalue/keyvalue.h"

// Whether packPath names a folder of loose language files rather than a pack.
bool LanguagePackIsFolder(const std::string& packPath);

// Whether a name is a file right in a folder: after any leading "./" (or
// ".\") it is not empty, not "." or ".." and has no "/" or "\" left. Pack
// entries and codes that fail this are never extracted or opened, so nothing
// can be written or read outside the folder, nor in a folder beneath it.
bool LanguageFileNameIsSafe(const std::string& name);

// The code of a language file: its name without folder and without the last
// extension ("en_GB.language" gives "en_GB").
std::string LanguageCodeOf(const std::string& fileName);

// The path of a file in a folder of language files: the name as given, or
// else the one entry whose name differs from it in ASCII letter case only
// (the listing matches the extension that way, so every listed language can
// be loaded). Empty when there is none.
std::string FindLanguageFile(const std::string& folder, const std::string& fileName);

// Extracts an entry of an open pack (empty name: the current listed entry)
// into the run's private temporary folder, reads it with the key-value
// reader and deletes the extracted file again. False when the name is not
// safe, the entry cannot be extracted or the file cannot be read.
bool ReadLanguageEntry(int pack, const std::string& entryName, KeyValueFile* out);

// Empties the catalogue and the list (ResetLanguages).
void ClearLanguageCatalogue();

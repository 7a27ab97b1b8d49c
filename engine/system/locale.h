// The player's locale as the system tells it, for the first guess of the
// game's language.
#pragma once

#include <string>

// The user's locale name with "-" separators ("de-AT", "sr-Latn-RS"); empty
// when the system names none (or only the plain "C"/"POSIX" locale).
std::string system_locale_name();

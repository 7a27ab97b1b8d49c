// How the Linux back end reads the display's dots per inch from the X
// resources the desktop publishes.
#pragma once

#include <string>

// The dots per inch that X resources in the server's text form give
// ("Xft.dpi: 120", one resource a line), rounded to whole dots; 0 when they
// name none or something that is not a positive number.
int text_dpi_from_resources(const std::string& resources);

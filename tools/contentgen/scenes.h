// Landscape pieces shared by the backgrounds and the splash pictures.
#pragma once

#include <cairo.h>

#include <vector>

#include "tools/contentgen/canvas.h"

// One sine wave of a ridge line.
struct Wave {
  double amplitude, length, phase;
};

// Fills everything below a wavy ridge line (hills) in a colour, from the
// ridge down to the bottom edge.
void fill_ridge(cairo_t* cr, double width, double height, double base,
                const std::vector<Wave>& waves, Rgb colour, double alpha = 1.0);

// A row of pine silhouettes standing on the line y = base.
void fill_pines(cairo_t* cr, Rng* rng, double width, double base, double min_h, double max_h,
                double spacing, Rgb colour);

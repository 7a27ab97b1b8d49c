// The motifs that give the game its look, drawn as vectors so that every
// picture shares them: the owl, the moth, the paper lantern, the crescent
// moon and twinkling stars.
#pragma once

#include <cairo.h>

#include "tools/contentgen/canvas.h"

struct OwlColours {
  Rgb body, face, eye, pupil, beak;
};

// A front-facing owl, `size` tall, centred on (cx, cy).
void draw_owl(cairo_t* cr, double cx, double cy, double size, const OwlColours& c);

// A moth seen from above with open wings, `span` wide, turned by `angle`
// (radians) around its centre.
void draw_moth(cairo_t* cr, double cx, double cy, double span, double angle, Rgb wing,
               Rgb mark, double alpha = 1.0);

// A round paper lantern, `size` wide, its string going up to the top of the
// picture when `string_to` is above it (string_to < cy).
void draw_lantern(cairo_t* cr, double cx, double cy, double size, Rgb paper, Rgb rim,
                  double string_to);

// A warm round glow (for lanterns and the moon), drawn additively.
void draw_glow(cairo_t* cr, double cx, double cy, double radius, Rgb colour, double alpha);

// A crescent moon of radius r; the dark bite is offset toward +x by `bite`
// radii (turned by `angle`).
void draw_crescent(cairo_t* cr, double cx, double cy, double r, double bite, double angle,
                   Rgb colour, double alpha = 1.0);

// A four-pointed twinkle with concave sides.
void draw_twinkle(cairo_t* cr, double cx, double cy, double r, Rgb colour, double alpha = 1.0);

// Scatters small stars (dots and a few twinkles) over a rectangle.
void scatter_stars(cairo_t* cr, Rng* rng, double x, double y, double w, double h, int count,
                   Rgb colour, double max_alpha);

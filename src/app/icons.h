// The window's own pictures, drawn as vector paths so that they stay crisp at
// any device pixel ratio: the logo and the glyphs of the picture buttons.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QRectF>

namespace yz {

enum class Glyph { Search, History, Menu, Minimise, Close };

// Draws `glyph` centred in `box` with strokes of `colour`.
void PaintGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

// The program's logo filling `box`.
void PaintLogo(QPainter& painter, const QRectF& box);

// The logo as the windows' icon.
QIcon LogoIcon();

// One frame of the loading picture: `step` of 12 marks the brightest spoke.
void PaintSpinner(QPainter& painter, const QRectF& box, int step);

}  // namespace yz

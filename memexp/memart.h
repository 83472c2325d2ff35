// Drawing the HP 9101A: the panel (switches down, lamps out), the lever up and a lit lamp that
// the window lays over it, and the instruction card. The build's picture generator and the
// window use the same code and the same table (memlayout.h).
#pragma once

#include <QImage>
#include <QPainter>
#include <string>

#include "memexp/memlayout.h"

namespace orrindale::memart {

// At scale 2 (for screens that scale by two) the same drawing has twice the pixels and device
// pixel ratio 2.
QImage RenderPanel(int scale = 1);
QImage RenderCard(int scale = 1);
// The lever of a switch in its ON position, drawn into its place.
void DrawLeverUp(QPainter& painter, const memlayout::Rect& lever);
// A lamp: red when lit, dark otherwise.
void DrawLamp(QPainter& painter, const memlayout::Rect& lamp, bool lit);
// A 24-bit bottom-up BMP of the picture, as the panel's bitmap reader takes it.
std::string Bmp24(const QImage& picture);

} // namespace orrindale::memart

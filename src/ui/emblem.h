#pragma once

#include <QIcon>
#include <QPixmap>

// Quorvel's emblem, drawn rather than loaded: a globe with its graticule and
// a triangulation mark. `size` is the side in pixels.
QPixmap DrawEmblem(int size);
// The window icon at the usual sizes (16 pixels first).
QIcon EmblemIcon();

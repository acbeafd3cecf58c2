// Pictures from bytes that came off the network: decoded with a bounded
// amount of memory, never throwing; what is no picture stays a null image.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

#include "text/text.h"

namespace yz {

// Largest picture decoded, in pixels; a larger one (a decompression bomb) is
// refused before any pixel is allocated.
inline constexpr qint64 kMaxPicturePixels = 4096LL * 4096LL;

// The first frame of `bytes`, stretched to `scaledTo` when it is valid; a
// null image when the bytes are no picture or too large.
QImage DecodePicture(const Bytes& bytes, QSize scaledTo = QSize());

// A neutral picture for rows whose poster is missing or undecodable.
QPixmap PlaceholderPicture(QSize size, qreal devicePixelRatio = 1.0);

// `bytes` as a poster of `size` (logical pixels) at `devicePixelRatio`, or
// the placeholder.
QPixmap PosterPixmap(const Bytes& bytes, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace yz

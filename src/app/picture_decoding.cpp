#include "app/picture_decoding.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace yz {

QImage DecodePicture(const Bytes& bytes, QSize scaledTo) {
  if (bytes.empty()) return {};
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  reader.setAllocationLimit(static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)));
  QSize size = reader.size();
  if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels) return {};
  if (scaledTo.isValid() && !scaledTo.isEmpty()) reader.setScaledSize(scaledTo);
  QImage image = reader.read();
  if (image.isNull()) return {};
  if (scaledTo.isValid() && !scaledTo.isEmpty() && image.size() != scaledTo) {
    image = image.scaled(scaledTo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return image;
}

QPixmap PlaceholderPicture(QSize size, qreal devicePixelRatio) {
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0, QColor(0x3A, 0x3D, 0x46));
  fill.setColorAt(1, QColor(0x30, 0x32, 0x3A));
  p.setPen(QPen(QColor(0x4A, 0x4D, 0x57), 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, 3, 3);
  // A film frame: a rounded rectangle with a play triangle.
  qreal w = size.width() * 0.44, h = w * 0.72;
  QRectF frame(r.center().x() - w / 2, r.center().y() - h / 2, w, h);
  p.setPen(QPen(QColor(0x5C, 0x60, 0x6B), 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame, 3, 3);
  QPainterPath play;
  qreal t = h * 0.36;
  play.moveTo(frame.center().x() - t * 0.45, frame.center().y() - t / 2);
  play.lineTo(frame.center().x() + t * 0.55, frame.center().y());
  play.lineTo(frame.center().x() - t * 0.45, frame.center().y() + t / 2);
  play.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x5C, 0x60, 0x6B));
  p.drawPath(play);
  return pixmap;
}

QPixmap PosterPixmap(const Bytes& bytes, QSize size, qreal devicePixelRatio) {
  QImage image = DecodePicture(bytes, size * devicePixelRatio);
  if (image.isNull()) return PlaceholderPicture(size, devicePixelRatio);
  QPixmap pixmap = QPixmap::fromImage(std::move(image));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

}  // namespace yz

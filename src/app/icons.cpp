#include "app/icons.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <algorithm>

namespace yz {
namespace {

QPen GlyphPen(const QColor& colour, qreal width) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// The glyphs are designed on a 16 x 16 grid.
QRectF Square(const QRectF& box, qreal side) {
  return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

}  // namespace

void PaintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  qreal side = std::min({box.width(), box.height(), 16.0});
  QRectF g = Square(box, side);
  qreal u = side / 16.0;
  p.translate(g.topLeft());
  p.scale(u, u);
  p.setBrush(Qt::NoBrush);
  switch (glyph) {
    case Glyph::Search:
      p.setPen(GlyphPen(colour, 1.8));
      p.drawEllipse(QPointF(6.8, 6.8), 4.8, 4.8);
      p.setPen(GlyphPen(colour, 2.2));
      p.drawLine(QPointF(10.4, 10.4), QPointF(14.4, 14.4));
      break;
    case Glyph::History:
      p.setPen(GlyphPen(colour, 1.6));
      p.drawEllipse(QPointF(8, 8), 6.4, 6.4);
      p.drawPolyline(QPolygonF({QPointF(8, 4.2), QPointF(8, 8.3), QPointF(10.8, 10)}));
      break;
    case Glyph::Menu:
      p.setPen(GlyphPen(colour, 1.7));
      for (qreal y : {3.6, 8.0, 12.4}) p.drawLine(QPointF(2.2, y), QPointF(13.8, y));
      break;
    case Glyph::Minimise:
      p.setPen(GlyphPen(colour, 1.7));
      p.drawLine(QPointF(3, 9.5), QPointF(13, 9.5));
      break;
    case Glyph::Close:
      p.setPen(GlyphPen(colour, 1.7));
      p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
      p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      break;
  }
  p.restore();
}

void PaintLogo(QPainter& p, const QRectF& box) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  qreal side = std::min(box.width(), box.height()) - 4;
  QRectF r(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
  QLinearGradient fill(r.topLeft(), r.bottomRight());
  fill.setColorAt(0, QColor(0xF0, 0x4E, 0x45));
  fill.setColorAt(1, QColor(0xB3, 0x1B, 0x2A));
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(r, side * 0.24, side * 0.24);

  // A boat: a sail that is also a play mark, over a hull and a wave.
  qreal u = side / 24.0;
  p.translate(r.topLeft());
  p.scale(u, u);
  QPainterPath sail;
  sail.moveTo(9.0, 4.5);
  sail.lineTo(17.5, 11.5);
  sail.lineTo(9.0, 14.5);
  sail.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(sail);
  QPainterPath hull;
  hull.moveTo(4.0, 15.5);
  hull.lineTo(20.0, 15.5);
  hull.quadTo(18.0, 19.5, 12.0, 19.5);
  hull.quadTo(6.0, 19.5, 4.0, 15.5);
  hull.closeSubpath();
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawPath(hull);
  p.restore();
}

QIcon LogoIcon() {
  QIcon icon;
  for (int side : {16, 32, 64, 128}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintLogo(p, QRectF(0, 0, side, side));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void PaintSpinner(QPainter& p, const QRectF& box, int step) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  qreal side = std::min(box.width(), box.height());
  qreal outer = side / 2 - 1, inner = outer * 0.5;
  p.translate(box.center());
  for (int i = 0; i < 12; ++i) {
    int age = (step - i + 12) % 12;  // 0 = brightest
    QColor c(0xE8, 0x45, 0x3C);
    c.setAlphaF(std::max(0.15, 1.0 - age / 10.0));
    p.setPen(GlyphPen(c, std::max(1.5, side / 14)));
    qreal a = qDegreesToRadians(i * 30.0 - 90.0);
    p.drawLine(QPointF(qCos(a) * inner, qSin(a) * inner), QPointF(qCos(a) * outer, qSin(a) * outer));
  }
  p.restore();
}

}  // namespace yz

#include "ui/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace valmerin {
namespace {

const QColor kGreen(0, 255, 0);
const QColor kDarkGreen(0, 110, 0);

// A little game pad: the program's mark, used for the window icon.
void DrawPad(QPainter& p, const QRectF& r) {
  QPainterPath body;
  body.addRoundedRect(r.adjusted(0, r.height() * 0.2, 0, -r.height() * 0.2), r.width() * 0.25,
                      r.height() * 0.25);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(90, 255, 90));
  g.setColorAt(1, QColor(0, 120, 0));
  p.setPen(QPen(Qt::black, r.width() / 32.0));
  p.setBrush(g);
  p.drawPath(body);
  const double u = r.width() / 32.0;
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  // Cross on the left, two buttons on the right.
  p.drawRect(QRectF(r.left() + 6 * u, r.top() + 14.5 * u, 8 * u, 3 * u));
  p.drawRect(QRectF(r.left() + 8.5 * u, r.top() + 12 * u, 3 * u, 8 * u));
  p.drawEllipse(QRectF(r.left() + 19 * u, r.top() + 15 * u, 4 * u, 4 * u));
  p.drawEllipse(QRectF(r.left() + 24 * u, r.top() + 12 * u, 4 * u, 4 * u));
}

void DrawGear(QPainter& p, QPointF c, double radius) {
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    double a0 = M_PI * 2 * i / (teeth * 2);
    double a1 = M_PI * 2 * (i + 1) / (teeth * 2);
    double rr = (i % 2 == 0) ? radius : radius * 0.78;
    QPointF p0 = c + QPointF(std::cos(a0) * rr, std::sin(a0) * rr);
    QPointF p1 = c + QPointF(std::cos(a1) * rr, std::sin(a1) * rr);
    if (i == 0)
      gear.moveTo(p0);
    else
      gear.lineTo(p0);
    gear.lineTo(p1);
  }
  gear.closeSubpath();
  gear.addEllipse(c, radius * 0.32, radius * 0.32);
  gear.setFillRule(Qt::OddEvenFill);
  p.drawPath(gear);
}

}  // namespace

QFont CatalogueFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Liberation Sans Narrow")});
  font.setPointSizeF(8.25);
  return font;
}

QIcon WindowIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPad(p, QRectF(0.5, 0.5, size - 1, size - 1));
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

QImage BannerImage() {
  QImage img(640, 118, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 118);
  sky.setColorAt(0, QColor(0, 0, 0));
  sky.setColorAt(0.55, QColor(0, 40, 10));
  sky.setColorAt(1, QColor(0, 0, 0));
  p.fillRect(img.rect(), sky);
  // Scan lines, for the look of an old screen.
  p.setPen(QColor(0, 0, 0, 90));
  for (int y = 0; y < 118; y += 3) p.drawLine(0, y, 640, y);
  // A perspective floor grid under the title.
  p.setPen(QPen(QColor(0, 160, 0, 120), 1));
  for (int x = -640; x <= 1280; x += 64) p.drawLine(QPointF(320, 70), QPointF(x, 118));
  for (double y = 78; y < 118; y = y + (y - 66) * 0.35) p.drawLine(QPointF(0, y), QPointF(640, y));

  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(70);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
  QPainterPath title;
  title.addText(0, 0, font, QStringLiteral("VALMERIN"));
  title.translate(320 - title.boundingRect().center().x(), 50 - title.boundingRect().center().y());
  const QRectF box = title.boundingRect();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 70, 0));
  p.drawPath(title.translated(4, 4));
  // Chrome-like fill: light at the top, a hard horizon in the middle.
  QLinearGradient fill(0, box.top(), 0, box.bottom());
  fill.setColorAt(0, QColor(230, 255, 220));
  fill.setColorAt(0.48, kGreen);
  fill.setColorAt(0.52, QColor(0, 150, 0));
  fill.setColorAt(1, QColor(120, 255, 120));
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(fill);
  p.drawPath(title);

  QFont small(QStringLiteral("DejaVu Sans Mono"));
  small.setPixelSize(13);
  small.setBold(true);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  p.setFont(small);
  p.setPen(QColor(128, 255, 128));
  p.drawText(QRect(0, 92, 640, 20), Qt::AlignCenter,
             QStringLiteral("ZSNES \u00b7 KGEN \u00b7 NESTICLE \u00b7 MAGIC ENGINE"));
  p.end();
  return img;
}

QPixmap BarButtonImage(BarImage image, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  QPen outline(Qt::black, 1.5);
  outline.setJoinStyle(Qt::RoundJoin);
  p.setPen(outline);
  switch (image) {
    case BarImage::Options:
      p.setBrush(QColor(200, 200, 210));
      DrawGear(p, QPointF(16, 16), 13);
      break;
    case BarImage::Run: {
      p.setBrush(kGreen);
      QPolygonF play({QPointF(8, 4), QPointF(28, 16), QPointF(8, 28)});
      p.drawPolygon(play);
      break;
    }
    case BarImage::Description: {
      p.setBrush(QColor(255, 250, 220));
      p.drawRect(QRectF(4, 3, 19, 26));
      p.setPen(QPen(QColor(60, 60, 60), 1.5));
      for (int y = 9; y <= 23; y += 4) p.drawLine(QPointF(7, y), QPointF(19, y));
      // A pencil across the sheet.
      p.setPen(outline);
      p.setBrush(QColor(255, 200, 0));
      QPolygonF pencil(
          {QPointF(27, 6), QPointF(31, 10), QPointF(17, 24), QPointF(12, 26), QPointF(13, 20)});
      p.drawPolygon(pencil);
      break;
    }
    case BarImage::Print:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(QColor(170, 170, 180));
      p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 19, 14, 10));
      p.setBrush(kGreen);
      p.drawEllipse(QRectF(24, 14.5, 3, 3));
      break;
    case BarImage::Export: {
      p.setBrush(QColor(240, 240, 240));
      QPolygonF sheet(
          {QPointF(6, 3), QPointF(20, 3), QPointF(26, 9), QPointF(26, 29), QPointF(6, 29)});
      p.drawPolygon(sheet);
      p.setPen(QPen(kDarkGreen, 2));
      for (int y = 12; y <= 24; y += 4) p.drawLine(QPointF(10, y), QPointF(22, y));
      p.setPen(outline);
      p.setBrush(kGreen);
      QPolygonF arrow({QPointF(20, 20), QPointF(26, 20), QPointF(26, 17), QPointF(31, 23),
                       QPointF(26, 29), QPointF(26, 26), QPointF(20, 26)});
      p.drawPolygon(arrow);
      break;
    }
  }
  p.end();
  return pm;
}

}  // namespace valmerin

#include "ui/info_page.h"

#include <QLabel>
#include <QResizeEvent>
#include <algorithm>

#include "ui/artwork.h"

namespace valmerin {
namespace {

// The page's designed size in twips: the tab control less its row of tabs.
constexpr int kDesignWidth = 5325;
constexpr int kDesignHeight = 3105;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QColor& color) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

}  // namespace

InfoPage::InfoPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Informazioni"));
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);

  auto* banner = new QLabel(this);
  banner->setObjectName(QStringLiteral("Image1"));
  banner->setPixmap(QPixmap::fromImage(BannerImage()));
  banner->setScaledContents(true);
  placed_.push_back({banner, QRect(45, 0, 5250, 1230), false});

  const QColor green(0, 255, 0);
  auto* credit = MakeLabel(this, "Label2",
                           QStringLiteral("Valmerin \u00e8 stato scritto dal gruppo di sviluppo "
                                          "Valmerin."),
                           green);
  credit->setAutoFillBackground(true);
  credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  placed_.push_back({credit, QRect(45, 1215, 5250, 1830), true});

  auto* rights = MakeLabel(this, "Label3", QStringLiteral("Tutti i diritti riservati."),
                           QColor(128, 255, 128));
  rights->setAlignment(Qt::AlignCenter);
  placed_.push_back({rights, QRect(30, 1485, 5265, 345), true});

  auto* empty = MakeLabel(this, "Label4", QString(), green);
  placed_.push_back({empty, QRect(45, 1725, 5160, 525), true});

  auto* owner = MakeLabel(this, "Label5", QStringLiteral("\u00a9 2026 Gruppo Valmerin"), green);
  owner->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  placed_.push_back({owner, QRect(2280, 2835, 3030, 195), true});
}

void InfoPage::resizeEvent(QResizeEvent* event) {
  const double sx = event->size().width() / static_cast<double>(kDesignWidth);
  const double sy = event->size().height() / static_cast<double>(kDesignHeight);
  for (const Placed& p : placed_) {
    const QRect& t = p.twips;
    QRect r(qRound(t.x() * sx), qRound(t.y() * sy), qRound(t.width() * sx),
            qRound(t.height() * sy));
    if (p.isText) {
      // A line of text keeps its own height, and a right-aligned one grows to the
      // left rather than lose its first characters.
      const QSize needed = p.widget->sizeHint();
      r.setHeight(std::max(r.height(), needed.height()));
      const auto* label = qobject_cast<QLabel*>(p.widget);
      if (label && (label->alignment() & Qt::AlignRight) && needed.width() > r.width())
        r.setLeft(std::max(0, r.right() - needed.width()));
    }
    p.widget->setGeometry(r);
  }
  QWidget::resizeEvent(event);
}

}  // namespace valmerin

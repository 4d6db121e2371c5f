#include "ui/button_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTextOption>

namespace valmerin {
namespace {

constexpr int kImageSize = 32;
constexpr int kPadding = 3;
constexpr int kLabelFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

struct ButtonSpec {
  BarImage image;
  const char* label;
};

// Left to right; the number reported is the position plus one.
constexpr std::array<ButtonSpec, 5> kButtons = {{
    {BarImage::Options, "Opzioni..."},
    {BarImage::Run, "Esegui l'emulatore"},
    {BarImage::Description, "Cambia descrizione..."},
    {BarImage::Print, "Stampa lista/e..."},
    {BarImage::Export, "Compila lista"},
}};

}  // namespace

BarButton::BarButton(const QPixmap& image, const QString& label, QWidget* parent)
    : QAbstractButton(parent), image_(image) {
  setText(label);
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  setToolTip(label);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFont(CatalogueFont());
}

QSize BarButton::sizeHint() const {
  // Room for the image and two lines of text: long labels wrap.
  const int lineHeight = fontMetrics().height();
  return {fontMetrics().horizontalAdvance(QStringLiteral("descrizione...")) + 2 * kPadding,
          kImageSize + 2 * lineHeight + 3 * kPadding};
}

QSize BarButton::minimumSizeHint() const {
  return {kImageSize + 2 * kPadding, sizeHint().height()};
}

QRect BarButton::LabelRect(QSize size) const {
  const int imageBottom = kPadding + kImageSize - 1;
  return {kPadding, imageBottom + kPadding, size.width() - 2 * kPadding,
          size.height() - imageBottom - 2 * kPadding};
}

bool BarButton::LabelFits(QSize size) const {
  const QRect room = LabelRect(size);
  const QRect needed = fontMetrics().boundingRect(room, kLabelFlags, text());
  // The leading below the last line is blank and may fall outside.
  return needed.width() <= room.width() &&
         needed.height() <= room.height() + fontMetrics().leading();
}

void BarButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void BarButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void BarButton::keyPressEvent(QKeyEvent* event) {
  // Space presses a button already; Enter does too, as on a push button.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    event->accept();
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void BarButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
  QLinearGradient face(r.topLeft(), r.bottomLeft());
  if (isDown()) {
    face.setColorAt(0, QColor(10, 30, 10));
    face.setColorAt(1, QColor(30, 60, 30));
  } else if (hovered_) {
    face.setColorAt(0, QColor(50, 90, 50));
    face.setColorAt(1, QColor(20, 45, 20));
  } else {
    face.setColorAt(0, QColor(40, 48, 40));
    face.setColorAt(1, QColor(12, 16, 12));
  }
  p.setBrush(face);
  // A keyboard user has no pointer to follow: the focused button stands out.
  p.setPen(QPen(hasFocus() ? QColor(0, 255, 0) : QColor(70, 110, 70), hasFocus() ? 2 : 1));
  p.drawRoundedRect(r, 4, 4);

  const int shift = isDown() ? 1 : 0;
  QRect imageRect((width() - kImageSize) / 2 + shift, kPadding + shift, kImageSize, kImageSize);
  if (isEnabled()) {
    p.drawPixmap(imageRect, image_);
  } else {
    p.setOpacity(0.35);
    p.drawPixmap(imageRect, image_);
    p.setOpacity(1);
  }
  const QRect textRect = LabelRect(size()).translated(shift, shift);
  p.setPen(isEnabled() ? QColor(200, 255, 200) : QColor(90, 110, 90));
  p.setFont(font());
  p.drawText(textRect, kLabelFlags, text());
}

ButtonBar::ButtonBar(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    auto* button = new BarButton(BarButtonImage(kButtons[i].image, kImageSize),
                                 QString::fromUtf8(kButtons[i].label), this);
    button->setObjectName(QStringLiteral("Brisk1_%1").arg(number));
    connect(button, &QAbstractButton::clicked, this, [this, number] { emit clicked(number); });
    layout->addWidget(button);
    buttons_[i] = button;
  }
}

BarButton* ButtonBar::Button(int number) const {
  if (number < 1 || number > static_cast<int>(buttons_.size())) return nullptr;
  return buttons_[static_cast<std::size_t>(number) - 1];
}

}  // namespace valmerin

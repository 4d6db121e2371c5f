#pragma once
// Brisk1: a row of five buttons, each an image above its text label; a click
// reports the button's number, 1 to 5.
#include <QAbstractButton>
#include <QWidget>
#include <array>

#include "ui/artwork.h"

namespace valmerin {

class BarButton : public QAbstractButton {
  Q_OBJECT
 public:
  BarButton(const QPixmap& image, const QString& label, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // Where the label is drawn in a button of `size`, and whether it shows whole
  // there, wrapped at its blanks.
  QRect LabelRect(QSize size) const;
  bool LabelFits(QSize size) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPixmap image_;
  bool hovered_ = false;
};

class ButtonBar : public QWidget {
  Q_OBJECT
 public:
  explicit ButtonBar(QWidget* parent = nullptr);
  // Button 1..5; nullptr for any other number.
  BarButton* Button(int number) const;

 signals:
  void clicked(int number);

 private:
  std::array<BarButton*, 5> buttons_{};
};

}  // namespace valmerin

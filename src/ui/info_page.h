#pragma once
// The "Informazioni" tab: banner, credit and notices, placed at their designed
// spots and scaled with the tab when the window grows.
#include <QWidget>
#include <vector>

namespace valmerin {

class InfoPage : public QWidget {
  Q_OBJECT
 public:
  explicit InfoPage(QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Placed {
    QWidget* widget;
    QRect twips;
    bool isText;
  };
  std::vector<Placed> placed_;
};

}  // namespace valmerin

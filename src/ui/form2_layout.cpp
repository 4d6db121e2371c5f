// Where the options window's controls stand, in pixels (15 twips a pixel).
#include <QCheckBox>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <algorithm>
#include <initializer_list>

#include "ui/form2_pages.h"

namespace valmerin {
namespace {

constexpr int kMargin = 6;
constexpr int kStack = 16;     // 240 twips between stacked ZSnes check boxes
constexpr int kBesideGap = 7;  // 105 twips between a check box and its value box
constexpr int kCheckHeight = 16;
constexpr int kBoxHeight = 18;
constexpr int kComboHeight = 20;
constexpr int kValueBoxWidth = 28;
constexpr int kScrollWidth = 15;
constexpr int kResultHeight = 20;

class Placer {
 public:
  explicit Placer(QWidget* page) : page_(page) {}

  QWidget* operator()(const char* name) const {
    return page_->findChild<QWidget*>(QString::fromLatin1(name));
  }
  // Width 0 takes the widget's natural width.
  QRect Put(const char* name, int x, int y, int width, int height) const {
    QWidget* widget = (*this)(name);
    if (width == 0) width = widget->sizeHint().width();
    widget->setGeometry(x, y, width, height);
    return widget->geometry();
  }
  int Right(const char* name) const {
    const QRect r = (*this)(name)->geometry();
    return r.x() + r.width();
  }
  int RightOf(std::initializer_list<const char*> names) const {
    int right = 0;
    for (const char* name : names) right = std::max(right, Right(name));
    return right;
  }
  // A value box right of its check box and its scroll bar right of the box.
  void PutValuePair(const char* check, const char* box, const char* bar) const {
    const QRect c = (*this)(check)->geometry();
    const QRect b = Put(box, Right(check) + kBesideGap, c.y(), kValueBoxWidth, kCheckHeight);
    Put(bar, b.x() + b.width() + 1, c.y(), kScrollWidth, kCheckHeight);
  }

 private:
  QWidget* page_;
};

struct Frame {
  QSize page;
  QRect reserved;
  int ResultTop() const { return page.height() - kMargin - kResultHeight; }
  // Result boxes run along the bottom, up to the OK button.
  QRect ResultBox() const {
    return {kMargin, ResultTop(), reserved.left() - 2 * kMargin, kResultHeight};
  }
};

void LayOutZSnes(const Placer& p, const Frame& frame) {
  static const char* const kFirstColumn[] = {"Check1",  "Check2",  "Check3",  "Check4",  "Check5",
                                             "Check6",  "Check7",  "Check8",  "Check9",  "Check10",
                                             "Check11", "Check12", "Check13", "Check14", "Check15",
                                             "Check16", "Check17"};
  int y = kMargin;
  for (const char* name : kFirstColumn) {
    p.Put(name, kMargin, y, 0, kCheckHeight);
    y += kStack;
  }
  p.PutValuePair("Check11", "Text1", "VScroll1");
  p.PutValuePair("Check12", "Text2", "VScroll2");
  p.PutValuePair("Check16", "Text3", "VScroll3");
  const int firstBottom = y;

  int right = 0;
  for (const char* name : kFirstColumn) right = std::max(right, p.Right(name));
  right = std::max(right, p.RightOf({"VScroll1", "VScroll2", "VScroll3"}));

  static const char* const kSecondColumn[] = {
      "Check18", "Check19", "Check20", "Check21", "Check22", "Check23", "Check24", "Check25",
      "Check26", "Check27", "Check28", "Check29", "Check30", "Check31", "Check32"};
  const int x = right + 10;
  y = kMargin;
  for (const char* name : kSecondColumn) {
    const bool withCombo = qstrcmp(name, "Check23") == 0 || qstrcmp(name, "Check25") == 0;
    const int rowHeight = withCombo ? kComboHeight + 2 : kStack;
    p.Put(name, x, y + (rowHeight - kCheckHeight) / 2, 0, kCheckHeight);
    if (withCombo) {
      const char* combo = qstrcmp(name, "Check23") == 0 ? "Combo3" : "Combo4";
      p.Put(combo, p.Right(name) + kBesideGap, y + 1, qstrcmp(combo, "Combo3") == 0 ? 96 : 168,
            kComboHeight);
    }
    y += rowHeight;
  }
  p.PutValuePair("Check21", "Text4", "VScroll4");

  // The two input devices share one row above the result box.
  const int inputTop = std::max(firstBottom, y) + 4;
  const QRect label1 = p.Put("Label1", kMargin, inputTop + 3, 0, kCheckHeight);
  const QRect combo1 =
      p.Put("Combo1", label1.x() + label1.width() + 6, inputTop, 110, kComboHeight);
  const QRect label2 =
      p.Put("Label2", combo1.x() + combo1.width() + 24, inputTop + 3, 0, kCheckHeight);
  p.Put("Combo2", label2.x() + label2.width() + 6, inputTop, 110, kComboHeight);
  p("Text5")->setGeometry(frame.ResultBox());
}

void LayOutKGen(const Placer& p, const Frame& frame) {
  p.Put("Frame1", 8, kMargin, 220, 104);
  static const char* const kOptions[] = {"Option1", "Option2", "Option3", "Option4"};
  int y = 20;
  for (const char* name : kOptions) {
    p.Put(name, 12, y, 0, kBoxHeight);
    y += 20;
  }
  static const char* const kChecks[] = {"Check33", "Check34", "Check35",
                                        "Check36", "Check37", "Check38"};
  y = 122;
  for (const char* name : kChecks) {
    p.Put(name, 8, y, 0, kCheckHeight);
    y += 20;
  }
  p.PutValuePair("Check33", "Text7", "VScroll5");
  p("Text8")->setGeometry(frame.ResultBox());
}

// Places the port, IRQ and DMA boxes of one sound card row from `x` on.
void PutHardwareRow(const Placer& p, int x, int top, const char* const (&row)[6]) {
  static const int kWidths[] = {36, 26, 26};
  for (int i = 0; i < 3; ++i) {
    const QRect label = p.Put(row[2 * i], x, top + 1, 0, kCheckHeight);
    const QRect box =
        p.Put(row[2 * i + 1], label.x() + label.width() + 3, top, kWidths[i], kBoxHeight);
    x = box.x() + box.width() + 10;
  }
}

// Check54's caption leaves ten blanks after "n." for the device number box.
void PutBoxInCaptionGap(const Placer& p, const char* checkName, const char* boxName) {
  auto* check = static_cast<QCheckBox*>(p(checkName));
  QStyleOptionButton option;
  option.initFrom(check);
  option.text = check->text();
  const QRect contents =
      check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
  const QString text = check->text();
  const int gapStart = text.indexOf(QLatin1String("n.")) + 2;
  const QFontMetrics metrics = check->fontMetrics();
  const int before = metrics.horizontalAdvance(text.left(gapStart + 1));
  const int width = metrics.horizontalAdvance(QString(8, QLatin1Char(' ')));
  const QRect c = check->geometry();
  p.Put(boxName, c.x() + contents.x() + before, c.y(), width, kCheckHeight);
  p(boxName)->raise();
}

void LayOutNESticle(const Placer& p, const Frame& frame) {
  constexpr int kRowStep = 20;
  auto rowTop = [](int row) { return kMargin + row * kRowStep; };
  p.Put("Check39", kMargin, rowTop(0) + 1, 0, kCheckHeight);
  p.Put("Check40", kMargin, rowTop(1) + 1, 0, kCheckHeight);
  const int hardwareX = p.RightOf({"Check39", "Check40"}) + 10;
  PutHardwareRow(p, hardwareX, rowTop(0),
                 {"Label3", "Text9", "Label4", "Text10", "Label5", "Text11"});
  PutHardwareRow(p, hardwareX, rowTop(1),
                 {"Label6", "Text12", "Label7", "Text13", "Label8", "Text14"});

  struct Row {
    const char* check;
    const char* box;  // beside the check box
    int width;        // 0: up to the page's right margin
  };
  static const Row kLeft[] = {
      {"Check41", nullptr, 0},   {"Check42", nullptr, 0},   {"Check43", nullptr, 0},
      {"Check44", nullptr, 0},   {"Check45", nullptr, 0},   {"Check46", nullptr, 0},
      {"Check47", "Text16", 34}, {"Check48", nullptr, 0},   {"Check50", "Text17", 140},
      {"Check51", "Text18", 44}, {"Check52", "Text19", 36}, {"Check53", nullptr, 0}};
  static const Row kRight[] = {
      {"Check54", nullptr, 0},   {"Check55", "Text21", 50}, {"Check56", "Text22", 50},
      {"Check57", "Text23", 50}, {"Check58", "Text24", 50}, {"Check59", nullptr, 0},
      {"Check60", "Text25", 0},  {"Check61", "Text26", 0},  {"Check62", "Text27", 0},
      {"Check63", "Text28", 0},  {"Check64", "Text29", 0}};

  // Left: each box right after its own check box. Right: the boxes aligned.
  int leftRight = 0;
  for (size_t i = 0; i < std::size(kLeft); ++i) {
    const int top = rowTop(2 + static_cast<int>(i));
    const QRect check = p.Put(kLeft[i].check, kMargin, top + 1, 0, kCheckHeight);
    leftRight = std::max(leftRight, check.x() + check.width());
    if (kLeft[i].box == nullptr) continue;
    const QRect box = p.Put(kLeft[i].box, check.x() + check.width() + kBesideGap, top,
                            kLeft[i].width, kBoxHeight);
    leftRight = std::max(leftRight, box.x() + box.width());
  }
  // Resolution: width, "X", height.
  const QRect text16 = p("Text16")->geometry();
  const QRect x = p.Put("Label9", text16.x() + text16.width() + 4, text16.y() + 1, 0, kCheckHeight);
  const QRect text15 = p.Put("Text15", x.x() + x.width() + 4, text16.y(), 34, kBoxHeight);
  leftRight = std::max(leftRight, text15.x() + text15.width());

  const int rightX = leftRight + 12;
  const int pageRight = frame.page.width() - kMargin;
  int boxX = 0;
  for (size_t i = 0; i < std::size(kRight); ++i) {
    const QRect check =
        p.Put(kRight[i].check, rightX, rowTop(2 + static_cast<int>(i)) + 1, 0, kCheckHeight);
    if (kRight[i].box != nullptr) boxX = std::max(boxX, check.x() + check.width() + kBesideGap);
  }
  for (size_t i = 0; i < std::size(kRight); ++i) {
    if (kRight[i].box == nullptr) continue;
    const int width = kRight[i].width != 0 ? kRight[i].width : pageRight - boxX;
    p.Put(kRight[i].box, boxX, rowTop(2 + static_cast<int>(i)), width, kBoxHeight);
  }
  PutBoxInCaptionGap(p, "Check54", "Text20");
  const QRect check54 = p("Check54")->geometry();
  const int typeX = check54.x() + check54.width() + 2;
  p.Put("Text31", typeX, check54.y() - 1, std::min(80, pageRight - typeX), kBoxHeight);

  p.Put("Check49", kMargin, rowTop(2 + static_cast<int>(std::size(kLeft))) + 1, 0, kCheckHeight);
  p("Text30")->setGeometry(frame.ResultBox());
}

void LayOutGeneral(const Placer& p, const Frame&) {
  static const char* const kFolders[][2] = {
      {"Label10", "Text32"}, {"Label11", "Text33"}, {"Label12", "Text34"}, {"Label13", "Text35"}};
  int labelRight = 0;
  for (int i = 0; i < 4; ++i) {
    p.Put(kFolders[i][0], 12, 16 + i * 30 + 2, 0, kCheckHeight);
    labelRight = std::max(labelRight, p.Right(kFolders[i][0]));
  }
  int boxRight = 0;
  for (int i = 0; i < 4; ++i) {
    const QRect box = p.Put(kFolders[i][1], labelRight + 8, 16 + i * 30, 250, kComboHeight);
    boxRight = box.x() + box.width();
  }
  p.Put("Frame2", boxRight + 24, 8, 170, 116);
  static const char* const kAvailable[] = {"Check71", "Check72", "Check73", "Check74"};
  for (int i = 0; i < 4; ++i) p.Put(kAvailable[i], 12, 24 + i * 22, 0, kCheckHeight);
}

void LayOutMagicEngine(const Placer& p, const Frame& frame) {
  static const char* const kChecks[] = {"Check65", "Check66", "Check67",
                                        "Check68", "Check69", "Check70"};
  for (int i = 0; i < 6; ++i) p.Put(kChecks[i], 8, 8 + i * 22, 0, kCheckHeight);
  p("Text36")->setGeometry(frame.ResultBox());
}

// Every control inside its page (or frame) and clear of the OK button.
bool Fits(QWidget* page, const Frame& frame) {
  const QRect area(QPoint(0, 0), frame.page);
  for (QWidget* child : page->findChildren<QWidget*>()) {
    if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_"))) {
      continue;
    }
    QWidget* parent = child->parentWidget();
    if (parent != page && qobject_cast<QGroupBox*>(parent) == nullptr) continue;
    if (parent != page) {
      if (!parent->rect().contains(child->geometry())) return false;
      continue;
    }
    if (!area.contains(child->geometry()) || child->geometry().intersects(frame.reserved)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool LayOutOptionsPages(QTabWidget* tabs, QSize page, QRect reserved) {
  using LayOut = void (*)(const Placer&, const Frame&);
  static const LayOut kPages[] = {LayOutZSnes, LayOutKGen, LayOutNESticle, LayOutGeneral,
                                  LayOutMagicEngine};
  const Frame frame{page, reserved};
  bool fits = true;
  for (int i = 0; i < tabs->count(); ++i) {
    kPages[i](Placer(tabs->widget(i)), frame);
    fits = Fits(tabs->widget(i), frame) && fits;
  }
  return fits;
}

}  // namespace valmerin

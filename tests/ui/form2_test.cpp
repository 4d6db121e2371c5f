// The options window against a real options model, offscreen.
#include "ui/form2.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolTip>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

// Events as a person's keys and mouse would deliver them.
void KeyClick(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}
void KeyClicks(QWidget* widget, const QString& text) {
  for (QChar c : text) KeyClick(widget, c.toUpper().unicode(), QString(c));
}

class Form2Test : public FreshFolderTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    FreshFolderTest::SetUp();
    model_.RunWindowStartup();
    form_ = std::make_unique<Form2>(model_, dialogs_);
  }
  void TearDown() override {
    form_.reset();
    FreshFolderTest::TearDown();
  }

  template <class W>
  W* Get(const char* name) {
    W* widget = form_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void ShowTab(const char* caption) {
    auto* tabs = Get<QTabWidget>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
      if (tabs->tabText(i) == QLatin1String(caption)) tabs->setCurrentIndex(i);
    }
    form_->show();
    QApplication::processEvents();
  }

  OptionsModel model_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<Form2> form_;
};

TEST_F(Form2Test, EveryControlHasItsNamedWidget) {
  const std::pair<const char*, int> kFamilies[] = {
      {"Check", kCheckCount}, {"Option", kOptionCount},  {"Text", kTextCount},
      {"Combo", kComboCount}, {"VScroll", kScrollCount}, {"Label", 13}};
  for (const auto& [prefix, count] : kFamilies) {
    for (int n = 1; n <= count; ++n) {
      if (QLatin1String(prefix) == QLatin1String("Text") && n == 6) continue;  // none
      const QString name = QString::fromLatin1(prefix) + QString::number(n);
      EXPECT_NE(form_->findChild<QWidget*>(name), nullptr) << name.toStdString();
    }
  }
}

TEST_F(Form2Test, WindowTabsAndOkButtonAreAsDesigned) {
  EXPECT_EQ(form_->objectName(), "Form2");
  EXPECT_EQ(form_->windowTitle(), "Opzioni");
  EXPECT_TRUE(form_->isWindow());
  EXPECT_FALSE(form_->isVisible());
  auto* tabs = Get<QTabWidget>("SSTab1");
  const QStringList captions = {"ZSnes", "KGen", "NESticle", "Generali", "Magic Engine"};
  ASSERT_EQ(tabs->count(), captions.size());
  for (int i = 0; i < tabs->count(); ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
  EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Generali");
  auto* ok = Get<QPushButton>("Command1");
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(ok->parentWidget(), form_.get());  // outside the pages: seen on every tab
}

TEST_F(Form2Test, CaptionsKeepAccentsQuotesAndBlanks) {
  const std::pair<const char*, const char*> kSample[] = {
      {"Check1", "Disabilita modificazione del colore 0 in modalità 256 colori"},
      {"Check2", "Disabilita hack della velocità \"SPC700\""},
      {"Check12", "Abilità correzione gamma:"},
      {"Check42", "Forza modalità video \"banked\""},
      {"Check54", "La periferica di input n.          è del tipo"},
      {"Check60", "Imposta cartella dei file \".NES\":"},
      {"Option2", "Stati Uniti d'America (USA)"},
      {"Label13", "Cartella di PCEngine:"},
      {"Frame1", "Seleziona versione"},
      {"Frame2", "Emulatori disponibili:"},
  };
  for (const auto& [name, text] : kSample) {
    QWidget* widget = Get<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    QString shown;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) shown = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) shown = frame->title();
    EXPECT_EQ(shown, QString::fromUtf8(text)) << name;
  }
  // The availability boxes and the version buttons sit in their frames.
  EXPECT_EQ(Get<QWidget>("Check72")->parentWidget(), Get<QWidget>("Frame2"));
  EXPECT_EQ(Get<QWidget>("Option3")->parentWidget(), Get<QWidget>("Frame1"));
}

TEST_F(Form2Test, WidgetsShowTheStartUpState) {
  EXPECT_EQ(Get<QLineEdit>("Text3")->text(), "100");
  EXPECT_EQ(Get<QLineEdit>("Text4")->text(), "100");
  EXPECT_EQ(Get<QLineEdit>("Text7")->text(), "0");
  EXPECT_EQ(Get<QLineEdit>("Text5")->text(), "Text5");
  EXPECT_EQ(Get<QLineEdit>("Text32")->text(), "C:\\ZSnes\\");
  for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text7"}) {
    EXPECT_TRUE(Get<QLineEdit>(box)->isReadOnly()) << box;
  }
  EXPECT_EQ(Get<QCheckBox>("Check30")->checkState(), Qt::Unchecked);
  EXPECT_TRUE(Get<QRadioButton>("Option4")->isChecked());
  EXPECT_FALSE(Get<QRadioButton>("Option1")->isChecked());

  auto* combo3 = Get<QComboBox>("Combo3");
  EXPECT_TRUE(combo3->isEditable());
  EXPECT_EQ(combo3->currentText(), "3 - 44100");
  ASSERT_EQ(combo3->count(), 6);
  EXPECT_EQ(combo3->itemText(2), "4 - 16000");
  EXPECT_EQ(combo3->itemText(5), "3 - 44100");
  auto* combo2 = Get<QComboBox>("Combo2");
  EXPECT_EQ(combo2->currentText(), "Tastiera");
  ASSERT_EQ(combo2->count(), 7);
  EXPECT_EQ(combo2->itemText(0), "Niente");
  EXPECT_EQ(combo2->itemText(6), "Sidewinder");
}

TEST_F(Form2Test, ClicksReachTheModelAndOnlyCheckOrUncheck) {
  auto* check = Get<QCheckBox>("Check13");
  check->click();
  EXPECT_EQ(model_.Check(13), 1);
  check->click();
  EXPECT_EQ(model_.Check(13), 0);

  // A greyed box shows greyed; the user's click makes it checked, never greyed again.
  ASSERT_TRUE(model_.SetCheck(40, 2));
  auto* greyed = Get<QCheckBox>("Check40");
  EXPECT_EQ(greyed->checkState(), Qt::PartiallyChecked);
  greyed->click();
  EXPECT_EQ(model_.Check(40), 1);
  EXPECT_EQ(greyed->checkState(), Qt::Checked);
  greyed->click();
  EXPECT_EQ(model_.Check(40), 0);
  EXPECT_EQ(greyed->checkState(), Qt::Unchecked);

  Get<QRadioButton>("Option2")->click();
  EXPECT_TRUE(model_.Option(2));
  EXPECT_FALSE(model_.Option(4));
  EXPECT_FALSE(Get<QRadioButton>("Option4")->isChecked());
  // Clicking the selected button again keeps it selected.
  Get<QRadioButton>("Option2")->click();
  EXPECT_TRUE(model_.Option(2));
  EXPECT_TRUE(Get<QRadioButton>("Option2")->isChecked());
}

TEST_F(Form2Test, ScrollArrowsStepToTheLimitsAndFillTheValueBox) {
  auto* bar1 = Get<QScrollBar>("VScroll1");
  for (int i = 0; i < 10; ++i) bar1->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(model_.Scroll(1), 9);
  EXPECT_EQ(Get<QLineEdit>("Text1")->text(), "9");

  auto* bar4 = Get<QScrollBar>("VScroll4");
  for (int i = 0; i < 50; ++i) bar4->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(model_.Scroll(4), 50);
  EXPECT_EQ(Get<QLineEdit>("Text4")->text(), "50");
  bar4->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(model_.Scroll(4), 50);
  // A click on the track moves by one as well.
  bar4->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(model_.Scroll(4), 51);
}

TEST_F(Form2Test, TopArrowRaisesTheValueAndTheTopEndIsTheHighest) {
  ShowTab("KGen");
  auto* bar = Get<QScrollBar>("VScroll5");
  ClickAt(bar, QPoint(bar->width() / 2, 2));
  EXPECT_EQ(model_.Scroll(5), 1);
  EXPECT_EQ(Get<QLineEdit>("Text7")->text(), "1");
  ClickAt(bar, QPoint(bar->width() / 2, bar->height() - 2));
  EXPECT_EQ(model_.Scroll(5), 0);
  // At its highest the bar sits at its top end.
  ASSERT_TRUE(model_.SetScroll(5, 3));
  EXPECT_EQ(bar->value(), bar->minimum());
}

TEST_F(Form2Test, TypedAndPickedTextsReachTheModel) {
  auto* combo = Get<QComboBox>("Combo1");
  combo->lineEdit()->selectAll();
  KeyClicks(combo->lineEdit(), "tastiera");
  // Enter must not turn it into the item "Tastiera": a text in another case is no item.
  Key(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(model_.ComboText(1), "tastiera");
  EXPECT_EQ(combo->currentText(), "tastiera");
  EXPECT_EQ(combo->count(), 7);  // a typed text is not added to the list
  combo->setCurrentIndex(3);
  EXPECT_EQ(model_.ComboText(1), "Gamepad");

  auto* folder = Get<QLineEdit>("Text33");
  folder->selectAll();
  KeyClicks(folder, "D:\\Giochi àè");
  EXPECT_EQ(model_.Text(33), "D:\\Giochi àè");
}

TEST_F(Form2Test, ModelChangesShowInTheWidgets) {
  ASSERT_TRUE(model_.SetCheck(5, 1));
  EXPECT_TRUE(Get<QCheckBox>("Check5")->isChecked());
  ASSERT_TRUE(model_.SetScroll(2, 4));
  EXPECT_EQ(Get<QLineEdit>("Text2")->text(), "4");
  model_.SetText(26, "E:\\Salvataggi\\");
  EXPECT_EQ(Get<QLineEdit>("Text26")->text(), "E:\\Salvataggi\\");
  model_.SetComboText(4, "qualcosa");
  EXPECT_EQ(Get<QComboBox>("Combo4")->currentText(), "qualcosa");
  model_.SetOption(1, true);
  EXPECT_TRUE(Get<QRadioButton>("Option1")->isChecked());
  EXPECT_FALSE(Get<QRadioButton>("Option4")->isChecked());
  // Deselected by the program, no button stays shown as selected.
  model_.SetOption(1, false);
  EXPECT_FALSE(Get<QRadioButton>("Option1")->isChecked());
}

TEST_F(Form2Test, UnstorableTypingIsRefusedWithAReason) {
  ShowTab("ZSnes");
  model_.SetText(26, "E:\\Salvataggi\\");
  auto* box = Get<QLineEdit>("Text26");
  box->setFocus();
  box->end(false);
  KeyClicks(box, "a\"b");
  EXPECT_EQ(box->text(), "E:\\Salvataggi\\ab");
  EXPECT_EQ(model_.Text(26), "E:\\Salvataggi\\ab");
  EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Le virgolette (\") non possono essere salvate."));

  QGuiApplication::clipboard()->setText("due\nrighe");
  box->paste();
  EXPECT_EQ(box->text(), "E:\\Salvataggi\\ab");
  QGuiApplication::clipboard()->setText(QString::fromUtf8("漢字"));
  box->paste();
  EXPECT_EQ(box->text(), "E:\\Salvataggi\\ab");
  EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("漢"))) << QToolTip::text().toStdString();
  EXPECT_EQ(model_.Text(26), "E:\\Salvataggi\\ab");

  auto* combo = Get<QComboBox>("Combo2");
  combo->lineEdit()->selectAll();
  KeyClicks(combo->lineEdit(), "\"");
  EXPECT_EQ(model_.ComboText(2), "Tastiera");
}

// A folder box keeps every letter typed or pasted, even one the folder file
// cannot hold: dropping it would leave another folder's name ready for OK. OK
// then refuses the text with the reason, and the folder file stays as it was.
TEST_F(Form2Test, AFolderTextThatCannotBeStoredStaysInTheBoxAndOkRefusesIt) {
  struct Case {
    const char* what;
    const char* typed;  // typed at the end of the box
    const char* pasted;
  };
  const Case cases[] = {
      {"Japanese letters typed", "/home/utente/ゲーム/", nullptr},
      {"a quote typed", "D:\\Giochi \"belli\"\\", nullptr},
      {"letters pasted", nullptr, "/home/utente/漢字/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs_.messages.clear();
    form_->show();
    ShowTab("Generali");
    auto* folder = Get<QLineEdit>("Text32");
    folder->setFocus();
    folder->selectAll();
    folder->del();
    const QString text = QString::fromUtf8(c.typed != nullptr ? c.typed : c.pasted);
    if (c.typed != nullptr) {
      KeyClicks(folder, c.typed);
    } else {
      QGuiApplication::clipboard()->setText(text);
      folder->paste();
    }
    EXPECT_EQ(folder->text(), text);
    Get<QPushButton>("Command1")->click();
    EXPECT_TRUE(form_->isVisible());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(QStringLiteral("Cartelle.cfg")));
  }
}

TEST_F(Form2Test, OkWritesTheFilesAndHides) {
  ShowTab("ZSnes");
  Get<QPushButton>("Command1")->click();
  EXPECT_FALSE(form_->isVisible());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(ReadBytes("parametri"), "\"-1 1 -2 1 \"\r\n\"-A \"\r\n\"-vsync OFF \"\r\n\r\n");
  EXPECT_FALSE(ReadBytes("disponibili.emu").empty());
  EXPECT_FALSE(ReadBytes("Cartelle.cfg").empty());
  EXPECT_EQ(Get<QLineEdit>("Text5")->text(), "-1 1 -2 1 ");
}

TEST_F(Form2Test, EnterInABoxPressesOk) {
  ShowTab("Generali");
  auto* folder = Get<QLineEdit>("Text35");
  folder->setFocus();
  KeyClick(folder, Qt::Key_Return, "\r");
  EXPECT_FALSE(form_->isVisible());
  EXPECT_FALSE(ReadBytes("parametri").empty());
}

TEST_F(Form2Test, FailedOkShowsTheMessageAndStaysOpen) {
  ASSERT_TRUE(QDir().mkdir("parametri"));
  ShowTab("Generali");
  Get<QPushButton>("Command1")->click();
  EXPECT_TRUE(form_->isVisible());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].contains("parametri")) << dialogs_.messages[0].toStdString();
}

TEST_F(Form2Test, TitleBarCloseOnlyHidesAndKeepsState) {
  ShowTab("NESticle");
  Get<QCheckBox>("Check45")->click();
  EXPECT_FALSE(form_->close());
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(model_.Check(45), 1);
  form_->show();
  EXPECT_TRUE(Get<QCheckBox>("Check45")->isChecked());
  EXPECT_EQ(Get<QTabWidget>("SSTab1")->tabText(Get<QTabWidget>("SSTab1")->currentIndex()),
            "NESticle");
  form_->CloseForExit();
  EXPECT_FALSE(form_->isVisible());
}

// The window shows in one of the faces it asks for, never in whatever face the
// system lists first (Windows falls back by name, not by the sans hint).
TEST_F(Form2Test, TheTextsShowInAFaceTheWindowAsksFor) {
  // The offscreen platform under Wine knows no face at all.
  if (QFontDatabase::families().isEmpty()) GTEST_SKIP() << "no fonts to choose from";
  const QWidget* shown[] = {form_.get(), Get<QWidget>("Check1"), Get<QWidget>("Label1")};
  for (const QWidget* widget : shown) {
    const QString family = QFontInfo(widget->font()).family();
    EXPECT_TRUE(widget->font().families().contains(family))
        << widget->objectName().toStdString() << ": " << family.toStdString();
  }
}

// Each control on its page, clear of the OK button and of its neighbours.
TEST_F(Form2Test, NoControlIsCutOffOrOverlapped) {
  auto* tabs = Get<QTabWidget>("SSTab1");
  const QRect ok = Get<QWidget>("Command1")->geometry();
  for (int i = 0; i < tabs->count(); ++i) {
    ShowTab(tabs->tabText(i).toLatin1().constData());
    QWidget* page = tabs->widget(i);
    QList<QWidget*> controls;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->objectName().isEmpty()) controls << child;
    }
    for (QWidget* control : controls) {
      const QString name = control->objectName();
      const QRect inWindow(control->mapTo(form_.get(), QPoint(0, 0)), control->size());
      EXPECT_TRUE(page->rect().contains(control->geometry())) << name.toStdString();
      EXPECT_FALSE(inWindow.intersects(ok)) << name.toStdString();
      for (QWidget* other : controls) {
        if (other == control) continue;
        // The device number box stands in the gap of Check54's caption.
        if (name == "Text20" && other->objectName() == "Check54") continue;
        if (name == "Check54" && other->objectName() == "Text20") continue;
        EXPECT_FALSE(control->geometry().intersects(other->geometry()))
            << name.toStdString() << " / " << other->objectName().toStdString();
      }
    }
    for (auto* frame : page->findChildren<QGroupBox*>()) {
      for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(frame->rect().contains(child->geometry())) << child->objectName().toStdString();
      }
    }
  }
}

TEST_F(Form2Test, StackedChecksAndValueBoxesFollowTheDesignedSteps) {
  for (int n = 3; n <= 17; ++n) {
    const QRect above = Get<QWidget>(QString("Check%1").arg(n - 1).toLatin1())->geometry();
    const QRect check = Get<QWidget>(QString("Check%1").arg(n).toLatin1())->geometry();
    EXPECT_EQ(check.top(), above.top() + 16) << n;
    EXPECT_EQ(check.left(), above.left()) << n;
  }
  const char* const kPairs[][3] = {{"Check11", "Text1", "VScroll1"},
                                   {"Check12", "Text2", "VScroll2"},
                                   {"Check16", "Text3", "VScroll3"},
                                   {"Check21", "Text4", "VScroll4"},
                                   {"Check33", "Text7", "VScroll5"}};
  for (const auto& pair : kPairs) {
    const QRect check = Get<QWidget>(pair[0])->geometry();
    const QRect box = Get<QWidget>(pair[1])->geometry();
    const QRect bar = Get<QWidget>(pair[2])->geometry();
    EXPECT_EQ(box.left(), check.left() + check.width() + 7) << pair[1];
    EXPECT_EQ(box.top(), check.top()) << pair[1];
    EXPECT_EQ(bar.top(), box.top()) << pair[2];
    EXPECT_GE(bar.left(), box.left() + box.width()) << pair[2];
  }
}

}  // namespace
}  // namespace valmerin::testing

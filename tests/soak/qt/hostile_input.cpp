#include "hostile_input.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QTest>
#include <QWindow>

#include "build_config.h"
#include "window/main_window.h"

namespace soak {
namespace {

using valdremo::kPaperCount;

// Posted events pile up until the loop handles them; this often it does.
constexpr std::uint64_t kHandleEvery = 250;
// The list grows with the items added; past this it loses them instead.
constexpr int kMaxItems = 60;

// Keys for the controls. Esc is left out (it closes the window) and so is
// Alt+F4.
constexpr Qt::Key kKeys[] = {
    Qt::Key_Tab,       Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Space,
    Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Left,   Qt::Key_Right,  Qt::Key_Up,
    Qt::Key_Down,      Qt::Key_Home,    Qt::Key_End,    Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_Insert,    Qt::Key_F1,      Qt::Key_F2,     Qt::Key_F4,     Qt::Key_Shift,
    Qt::Key_Control,   Qt::Key_A,       Qt::Key_E,      Qt::Key_K,      Qt::Key_V,
    Qt::Key_Z,         Qt::Key_0,       Qt::Key_7,      Qt::Key_Minus,  Qt::Key_Period,
};
constexpr Qt::KeyboardModifier kModifiers[] = {Qt::NoModifier,      Qt::NoModifier,
                                               Qt::NoModifier,      Qt::ShiftModifier,
                                               Qt::ControlModifier, Qt::AltModifier};

// The Chinese characters of random texts. A fixed few, and a few lone
// surrogates: the font engine keeps what it has looked up for every
// character it has drawn, and texts from all of Unicode would grow that
// cache through the whole soak, which the memory check would take for a
// leak.
const QString& Chinese() {
  static const QString text = QString::fromUtf8(
      "试卷教程祝大家完美通过考试论坛二级视频学习中文字体窗口按钮列表标签一二三四五六七八九十");
  return text;
}

}  // namespace

std::size_t AnonymousMemory() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("RssAnon:")) {
      return static_cast<std::size_t>(line.mid(8).trimmed().split(' ').first().toULongLong()) *
             1024;
    }
  }
  return 0;
}

QtHostileInput::QtHostileInput(valdremo::qt::testing::BuiltWindow& built, std::uint64_t seed)
    : built_(built),
      random_(seed),
      window_(built.window()),
      labels_{built.control(valdremo::kGreetingLabelId),
              built.control(valdremo::kCommunityNameLabelId),
              built.control(valdremo::kCommunityAddressLabelId)},
      buttons_{built.button(valdremo::kWordButtonId), built.button(valdremo::kExcelButtonId),
               built.button(valdremo::kPptButtonId)},
      list_(built.paperList()),
      elsewhere_(new QWidget) {
  // Whatever clicks a button (a click, Space, a key of the window), the
  // page it must open follows from the list as it is at that moment. The
  // program's own handler was connected first and runs first.
  for (int part = 0; part < 3; ++part) {
    QObject::connect(buttons_[part], &QPushButton::clicked, &context_,
                     [this, part] { Expect(part); });
  }
  expected_.reserve(1024);  // grows no more during a soak, which counts memory
  elsewhere_->setWindowTitle(QStringLiteral("elsewhere"));
  elsewhere_->resize(100, 100);
}

void QtHostileInput::Expect(int part) {
  ++clicks_;
  const int index = list_->currentIndex();
  const int paper = index >= 0 && index < list_->count() ? list_->itemData(index).toInt() : 0;
  if (paper >= 1 && paper <= static_cast<int>(kPaperCount)) {
    expected_ << QString::fromUtf8(valdremo::build::kTutorialAddresses[paper - 1][part]);
  }
}

void QtHostileInput::Run(std::uint64_t actions, std::uint64_t clicks) {
  const std::uint64_t clickEvery = clicks > 0 ? actions / clicks : 0;
  for (std::uint64_t i = 1; i <= actions; ++i) {
    if (clickEvery > 0 && i % clickEvery == 0) {
      Click();
    } else {
      OneAction();
    }
    ++actions_;
    if (i % kHandleEvery == 0) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
}

void QtHostileInput::EveryRareActionOnce() {
  LongFieldText();
  PaletteChange();
  RefillPaperList();
  list_->showPopup();
  QCoreApplication::processEvents();
  list_->hidePopup();
  for (int part = 0; part < 3; ++part) {
    list_->setCurrentIndex(part);
    buttons_[part]->click();
  }
  QCoreApplication::processEvents();
}

void QtHostileInput::OneAction() {
  struct Kind {
    std::uint32_t perMille;
    void (QtHostileInput::*act)();
  };
  static constexpr Kind kKinds[] = {
      {280, &QtHostileInput::CustomEvent}, {110, &QtHostileInput::KeyToWindow},
      {150, &QtHostileInput::KeyToWidget}, {150, &QtHostileInput::ListEdit},
      {40, &QtHostileInput::FieldText},    {60, &QtHostileInput::MoveFocus},
      {209, &QtHostileInput::Repaint},     {1, &QtHostileInput::RareAction},
  };
  (this->*random_.PickPerMille(kKinds).act)();
}

void QtHostileInput::CustomEvent() {
  // The private range of event types, posted or sent: the counterpart of a
  // window's private messages.
  QWidget* widget = AnyWidget();
  const auto type = static_cast<QEvent::Type>(
      QEvent::User + static_cast<int>(random_.Below(QEvent::MaxUser - QEvent::User)));
  if (random_.OneIn(2)) {
    QCoreApplication::postEvent(widget, new QEvent(type));
  } else {
    QEvent event(type);
    QCoreApplication::sendEvent(widget, &event);
  }
}

void QtHostileInput::KeyToWindow() { PressKey(nullptr, true); }

void QtHostileInput::KeyToWidget() { PressKey(AnyWidget(), false); }

void QtHostileInput::PressKey(QWidget* target, bool throughWindow) {
  const Qt::Key key = kKeys[random_.Below(sizeof kKeys / sizeof kKeys[0])];
  Qt::KeyboardModifier modifier =
      kModifiers[random_.Below(sizeof kModifiers / sizeof kModifiers[0])];
  if (modifier == Qt::AltModifier && key == Qt::Key_F4) modifier = Qt::NoModifier;
  if (throughWindow) {
    // As the window system delivers it: to the native window with the
    // keyboard, the dropped list while it is open, and on to the focus.
    QWidget* top = QApplication::activePopupWidget();
    if (top == nullptr) top = window_;
    const QPointer<QWindow> handle = top->windowHandle();
    if (handle == nullptr) return;
    QTest::keyPress(handle, key, modifier);
    if (handle != nullptr) QTest::keyRelease(handle, key, modifier);
  } else {
    QTest::keyClick(target, key, modifier);
  }
}

void QtHostileInput::ListEdit() {
  const int count = list_->count();
  // Indices from a little below 0 to a little past the end.
  const int index = static_cast<int>(random_.Below(static_cast<std::uint32_t>(count) + 5)) - 2;
  switch (random_.Below(11)) {
    case 0:
    case 1:
    case 2: {
      // Mostly paper numbers, so that clicks open pages; also the values
      // next to them and anything at all.
      constexpr int kBeside[] = {-1, 0, static_cast<int>(kPaperCount) + 1, INT32_MIN, INT32_MAX};
      const std::uint32_t kind = random_.Below(10);
      const int value = kind < 5   ? static_cast<int>(1 + random_.Below(kPaperCount))
                        : kind < 8 ? kBeside[random_.Below(5)]
                                   : random_.Any();
      list_->setItemData(index, value);
      break;
    }
    case 3:
    case 4:
      if (count >= kMaxItems) {
        list_->removeItem(0);
      } else if (random_.OneIn(2)) {
        list_->addItem(RandomText(static_cast<int>(random_.Below(24))));
      } else {
        list_->insertItem(index, RandomText(static_cast<int>(random_.Below(24))),
                          static_cast<int>(random_.Below(30)));
      }
      break;
    case 5:
    case 6:
      list_->removeItem(index);
      break;
    case 7:
    case 8:
    case 9:
      list_->setCurrentIndex(random_.OneIn(4) ? random_.Any() : index);
      break;
    default:
      if (random_.OneIn(10)) {
        if (random_.OneIn(2)) {
          list_->showPopup();
        } else {
          list_->hidePopup();
        }
      } else if (random_.OneIn(10)) {
        list_->clear();
        if (!random_.OneIn(4)) RefillPaperList();
      } else {
        QLineEdit* field = list_->lineEdit();
        const auto length = static_cast<std::uint32_t>(field->text().size());
        field->setSelection(static_cast<int>(random_.Below(length + 1)),
                            static_cast<int>(random_.Below(40)) - 20);
      }
      break;
  }
}

void QtHostileInput::FieldText() {
  list_->setEditText(RandomText(static_cast<int>(random_.Below(32))));
}

void QtHostileInput::LongFieldText() {
  // 64 KiB of text, a key typed into it, and gone again.
  list_->setEditText(RandomText(65536));
  QTest::keyClick(list_->lineEdit(), Qt::Key_A);
  list_->repaint();
  FieldText();
}

void QtHostileInput::MoveFocus() {
  QWidget* controls[] = {buttons_[0],       buttons_[1], buttons_[2], list_,
                         list_->lineEdit(), labels_[0],  window_};
  switch (random_.Below(4)) {
    case 0:
      controls[random_.Below(sizeof controls / sizeof controls[0])]->setFocus(Qt::OtherFocusReason);
      break;
    case 1:
      if (random_.OneIn(8)) {
        // Away to another window and back, as when the user switches.
        elsewhere_->show();
        elsewhere_->activateWindow();
        QCoreApplication::processEvents();
        window_->activateWindow();
        QCoreApplication::processEvents();
      } else {
        controls[random_.Below(sizeof controls / sizeof controls[0])]->clearFocus();
      }
      break;
    default: {
      const QPointer<QWindow> handle = window_->windowHandle();
      if (handle != nullptr)
        QTest::keyClick(handle, random_.OneIn(3) ? Qt::Key_Backtab : Qt::Key_Tab);
      break;
    }
  }
}

void QtHostileInput::Repaint() {
  // Painted at once, as a window system asks: every label, now and then
  // the window or the list too. A label that leaked a few bytes on each
  // paint would show in the memory check after the some sixty thousand
  // paints of a soak.
  for (QWidget* label : labels_) label->repaint();
  const std::uint32_t which = random_.Below(8);
  if (which == 0) window_->repaint();
  if (which == 1) list_->repaint();
}

void QtHostileInput::RareAction() {
  switch (random_.Below(4)) {
    case 0:
      PaletteChange();
      break;
    case 1:
      LongFieldText();
      break;
    case 2:
      RefillPaperList();
      break;
    default:
      list_->showPopup();
      break;
  }
}

void QtHostileInput::PaletteChange() {
  // The desktop's colours change, every widget repaints, and they change
  // back.
  const QPalette original = QApplication::palette();
  QPalette changed = original;
  changed.setColor(QPalette::Window, original.color(QPalette::Window).darker(120));
  changed.setColor(QPalette::ButtonText, original.color(QPalette::ButtonText).lighter(150));
  QApplication::setPalette(changed);
  window_->repaint();
  QApplication::setPalette(original);
}

void QtHostileInput::Click() {
  QPushButton* button = buttons_[random_.Below(3)];
  if (random_.OneIn(2)) {
    button->click();
  } else {
    QTest::mouseClick(button, Qt::LeftButton);
  }
}

void QtHostileInput::RefillPaperList() {
  list_->clear();
  for (int paper = 1; paper <= static_cast<int>(kPaperCount); ++paper) {
    list_->addItem(QStringLiteral("Kestrune试卷%1").arg(paper), paper);
  }
}

QWidget* QtHostileInput::AnyWidget() {
  QWidget* widgets[] = {window_,     labels_[0],  labels_[1], labels_[2],        buttons_[0],
                        buttons_[1], buttons_[2], list_,      list_->lineEdit(), list_->view()};
  return widgets[random_.Below(sizeof widgets / sizeof widgets[0])];
}

QString QtHostileInput::RandomText(int length) {
  QString text(length, QLatin1Char(' '));
  for (QChar& c : text) {
    const std::uint32_t kind = random_.Below(16);
    c = kind < 9    ? QChar(static_cast<ushort>(0x20 + random_.Below(0x5F)))
        : kind < 14 ? Chinese().at(static_cast<int>(
                          random_.Below(static_cast<std::uint32_t>(Chinese().size()))))
        : kind < 15 ? QChar(static_cast<ushort>(u"\t\r\n\x7F"[random_.Below(4)]))
                    : QChar(static_cast<ushort>(0xD800 + random_.Below(8)));  // lone surrogate
  }
  return text;
}

}  // namespace soak

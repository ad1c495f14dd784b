// Random input against the Qt program's window, in its own process: the
// kinds of event that the platform, other code of the process or the user
// may deliver to its widgets, in a sequence fixed by a seed so that a
// failure can be replayed.
#pragma once

#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "qt_fixture.h"
#include "random.h"

namespace soak {

class QtHostileInput {
 public:
  QtHostileInput(valdremo::qt::testing::BuiltWindow& built, std::uint64_t seed);
  QtHostileInput(const QtHostileInput&) = delete;
  QtHostileInput& operator=(const QtHostileInput&) = delete;

  // Runs `actions` random actions, `clicks` of them button clicks spread
  // evenly; posted events are handled as the program's loop would, every
  // few hundred actions.
  void Run(std::uint64_t actions, std::uint64_t clicks);

  // Does once each of the actions that come rarely at random, so that what
  // the program and Qt allocate for them is in place.
  void EveryRareActionOnce();

  // Empties the paper list and adds the 23 papers again, values 1 to 23.
  void RefillPaperList();

  // The tutorial addresses that the clicks had to open, read from the list
  // as each click happened.
  const QStringList& expected() const { return expected_; }
  std::uint64_t actions() const { return actions_; }
  std::uint64_t clicks() const { return clicks_; }

 private:
  void OneAction();
  void CustomEvent();
  void KeyToWindow();
  void KeyToWidget();
  void ListEdit();
  void FieldText();
  void MoveFocus();
  void Repaint();
  void RareAction();
  void PaletteChange();
  void LongFieldText();
  void Click();

  QWidget* AnyWidget();
  QString RandomText(int length);
  void PressKey(QWidget* target, bool throughWindow);
  void Expect(int part);

  valdremo::qt::testing::BuiltWindow& built_;
  Random random_;
  QWidget* window_;
  QWidget* labels_[3];
  QPushButton* buttons_[3];
  QComboBox* list_;
  // A window of its own to switch to and back, as a user does.
  std::unique_ptr<QWidget> elsewhere_;
  // Holds the connections to the buttons: they end with this object.
  QObject context_;
  QStringList expected_;
  std::uint64_t actions_ = 0;
  std::uint64_t clicks_ = 0;
};

// The process's anonymous resident memory in bytes (RssAnon): what its heap
// holds, without the mapped files that come and go.
std::size_t AnonymousMemory();

}  // namespace soak

// A label that paints itself: filled with its background colour, its text
// on one line in the window's font, placed by its alignment and cut off at
// its edges. It never takes the keyboard focus.
#pragma once

#include <QString>
#include <QWidget>

#include "window/definition.h"

namespace valdremo::qt {

class LabelWidget : public QWidget {
 public:
  LabelWidget(const LabelProperties& properties, QWidget* parent);

  const QString& text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const LabelProperties& properties_;
  QString text_;
};

}  // namespace valdremo::qt

#include "qt/label_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include "qt/colours.h"

namespace valdremo::qt {
namespace {

int AlignmentFlags(const LabelProperties& properties) {
  int flags = 0;
  switch (properties.horizontalAlignment) {
    case 1:
      flags |= Qt::AlignHCenter;
      break;
    case 2:
      flags |= Qt::AlignRight;
      break;
    default:
      flags |= Qt::AlignLeft;
      break;
  }
  switch (properties.verticalAlignment) {
    case 0:
      flags |= Qt::AlignTop;
      break;
    case 2:
      flags |= Qt::AlignBottom;
      break;
    default:
      flags |= Qt::AlignVCenter;
      break;
  }
  // One line unless the label wraps: line breaks in the text (the greeting
  // ends in one) are drawn as spaces and start no second line.
  flags |= properties.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
  return flags;
}

}  // namespace

LabelWidget::LabelWidget(const LabelProperties& properties, QWidget* parent)
    : QWidget(parent), properties_(properties), text_(QString::fromUtf8(properties.text)) {
  setFocusPolicy(Qt::NoFocus);
  // Every pixel is painted here, so Qt need not fill the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QColor face = palette().color(QPalette::Window);
  painter.fillRect(event->rect(), ColourOf(properties_.backgroundColour, face));
  if (text_.isEmpty()) return;
  painter.setClipRect(rect());
  painter.setFont(font());
  painter.setPen(ColourOf(properties_.textColour, face));
  painter.drawText(rect(), AlignmentFlags(properties_), text_);
}

}  // namespace valdremo::qt

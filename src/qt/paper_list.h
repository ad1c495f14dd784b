// The combo box kind: an editable field with a drop-down list whose items
// carry their values beside them, in stored order.
#pragma once

#include <QComboBox>
#include <QRect>

#include "window/definition.h"

namespace valdremo::qt {

// Makes a combo box of `list` whose field takes `field`. `dropped` is the
// height meant for the field together with its dropped list; the list
// shows as many items as fit into it.
QComboBox* CreateComboBox(const ComboBoxProperties& list, QRect field, int dropped,
                          QWidget* parent);

}  // namespace valdremo::qt

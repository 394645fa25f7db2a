#pragma once

#include <QStringList>

class QEvent;

namespace pellwerk {

// Lets a widget take files dropped on it from a file manager: this answers the drag events
// of the widget (call it from an event filter) and returns the local files of a drop, in the
// order given, once the drop happens; it accepts only drags that carry local files.
QStringList handleFileDrop(QEvent *event);

} // namespace pellwerk

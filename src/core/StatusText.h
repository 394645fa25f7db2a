#pragma once

#include <QPoint>
#include <QString>

namespace pellwerk {

// What the main window's status line says, and when.
namespace StatusText {

// The pointer over the canvas, or a press on it: " x=12,  y=40 " (negative numbers with a minus).
QString position(QPoint pixel);
// Every five seconds.
QString productLine();
// The pointer over the user-file list.
QString userFileList();
// A user file was picked: "User File  " followed by its name and one space.
QString userFile(const QString &name);
// A user file was picked while a coordinate box holds no number: it waits in the preview.
QString userFileWithoutPlace(const QString &name, bool xIsNumber, bool yIsNumber);

} // namespace StatusText

} // namespace pellwerk

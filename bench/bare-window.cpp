// The yardstick of the start-up benchmark: a bare Qt Widgets window, a main window with a menu
// bar and a label, started the way the editor starts (QApplication, one window shown).

#include "ExitWhenShown.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    for (const char *title : {"Datei", "Bearbeiten", "Ansicht", "Hilfe"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Eintrag"));
    window.setCentralWidget(new QLabel(QStringLiteral("Bare"), &window));
    window.resize(262, 360);
    window.move(7, 7);
    pellwerk::exitWhenFirstShown(application);
    window.show();
    return QApplication::exec();
}

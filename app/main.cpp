#include "ui/App.h"
#include "ui/QtDialogs.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellwerk"));
    // Windows are closed one by one during the shutdown; the program ends only when it says so.
    QApplication::setQuitOnLastWindowClosed(false);

    pellwerk::QtMessageSink messages;
    pellwerk::App app(QApplication::applicationDirPath(), messages, std::make_shared<pellwerk::QtFileDialogBackend>());
    QObject::connect(&app, &pellwerk::App::ended, &application, &QApplication::quit, Qt::QueuedConnection);
    app.start();
    return QApplication::exec();
}

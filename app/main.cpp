#include "ExitWhenShown.h"
#include "ui/App.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellwerk"));
    // Windows are closed one by one during the shutdown; the program ends only when it says so.
    QApplication::setQuitOnLastWindowClosed(false);
    // The program speaks German; Qt's own dialogs and buttons should too, whatever the locale.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    pellwerk::QtMessageSink messages;
    pellwerk::App app(QApplication::applicationDirPath(), messages, std::make_shared<pellwerk::QtFileDialogBackend>());
    QObject::connect(&app, &pellwerk::App::ended, &application, &QApplication::quit, Qt::QueuedConnection);
    pellwerk::exitWhenFirstShown(application);
    app.start();
    return QApplication::exec();
}

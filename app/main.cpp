#include "ExitWhenShown.h"
#include "compose/RecoveryStore.h"
#include "core/FileResolver.h"
#include "core/PartFolders.h"
#include "editor/EditorOptions.h"
#include "ui/App.h"
#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {
constexpr int ExitUsage = 2;

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

// --help and --version answer before anything else and without a display, as on a server or in
// a package build. Both win over every other argument, so Qt's own options need not be known.
bool answeredWithoutWindows(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const pellwerk::CommandLineResult<pellwerk::EditorOptions> options = pellwerk::parseEditorOptions(arguments);
    if (!options || options->mode == pellwerk::EditorOptions::Mode::Edit)
        return false;
    if (options->mode == pellwerk::EditorOptions::Mode::Help)
        print(stdout, pellwerk::editorHelpText());
    else
        print(stdout, QStringLiteral("pellwerk %1\n").arg(QStringLiteral(PELLWERK_VERSION)));
    return true;
}

// A part library of thousands of files takes as long to read as the toolkit takes to start: the
// part lists' folders are read on another core meanwhile. The lists take that read only if
// nothing changed since; a wrong guess at the folders costs the spare core, not the start.
void readPartLibraryAhead()
{
    // Where QCoreApplication::applicationDirPath() will place the program on Linux.
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty())
        return;
    const QString programFolder = QFileInfo(program).path();
    pellwerk::FolderIndex::readAhead(
        pellwerk::FileResolver::forKind(QStringLiteral("Image"), pellwerk::programPartFolder(programFolder)).folders());
}
} // namespace

int main(int argc, char **argv)
{
    if (answeredWithoutWindows(argc, argv))
        return 0;
    readPartLibraryAhead();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellwerk"));
    QApplication::setApplicationVersion(QStringLiteral(PELLWERK_VERSION));
    // The desktop entry's name: Wayland compositors match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pellwerk.Pellwerk"));
    // Windows are closed one by one during the shutdown; the program ends only when it says so.
    QApplication::setQuitOnLastWindowClosed(false);
    // The program speaks German; Qt's own dialogs and buttons should too, whatever the locale.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // QApplication has taken Qt's own options (-platform, -style, ...) out already.
    const pellwerk::CommandLineResult<pellwerk::EditorOptions> options =
        pellwerk::parseEditorOptions(QCoreApplication::arguments().mid(1));
    if (!options) {
        print(stderr, QStringLiteral("pellwerk: %1\nHilfe: pellwerk --help\n")
                          .arg(pellwerk::CommandLineText::describe(options.error())));
        return ExitUsage;
    }
    pellwerk::QtMessageSink messages;
    pellwerk::App app(QApplication::applicationDirPath(), messages, std::make_shared<pellwerk::QtFileDialogBackend>());
    QObject::connect(&app, &pellwerk::App::ended, &application, &QApplication::quit, Qt::QueuedConnection);
    pellwerk::exitWhenFirstShown(application);
    app.start();
    // Unsaved work left by an editor that did not end normally is offered before a file named on
    // the command line is opened.
    app.startRecovery(pellwerk::RecoveryStore::defaultFolder());
    if (options->file)
        app.openSkinFile(*options->file);
    return QApplication::exec();
}

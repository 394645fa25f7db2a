// The main window as a user meets it: start-up state, the file commands on real files,
// the canvas's mouse input, the status label and the shutdown.

#include "TestProgram.h"

#include "ui/QtDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

using namespace pellwerk;
using namespace testsupport;

// Stands in for the file manager: records what the desktop was asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void startUp_data()
    {
        QTest::addColumn<bool>("withImageFolder");
        QTest::newRow("with Image/") << true;
        QTest::newRow("without Image/ the parts are missed") << false;
    }

    void startUp()
    {
        QFETCH(bool, withImageFolder);
        TestProgram p(withImageFolder);
        const AppState &s = p.app().state;
        QCOMPARE(s.ImageFolder, p.folder() + "/Image/");
        QCOMPARE(s.SkinFolder, QDir::homePath() + "/Velmora/skins/");
        QVERIFY(p.app().mainWindow().window()->isVisible());
        QCOMPARE(p.app().mainWindow().status(), p.folder());
        QCOMPARE(p.canvas(), imageOf(decodeBitmap(fileBytes(PELLWERK_ASSETS "/DefaultSkin.bmp"))));
        // The parts window is loaded, but hidden, with every list on the image folder.
        QVERIFY(p.parts().isLoaded() && !p.parts().window()->isVisible());
        for (FileListBox *list : p.parts().fileLists())
            QCOMPARE(list->path(), s.ImageFolder);
        QVERIFY(!p.app().hasSettingsDialog() && !p.app().hasAboutDialog() && !p.app().hasTintWindow());
        QCOMPARE(p.messages.messages.size(), withImageFolder ? 0 : 1);
        QVERIFY(withImageFolder || p.messages.messages.first().contains("Teile"));
        // The parts window opens by the button and by the menu (the other windows' tests open theirs).
        QTest::mouseClick(p.main().partsButton, Qt::LeftButton);
        QVERIFY(p.parts().isVisible());
        p.parts().hide();
        p.main().partsAction->trigger();
        QVERIFY(p.parts().isVisible());
    }

    // Started from elsewhere, "neu" and a skin named on the command line look in the working directory.
    void newSkinSource_data()
    {
        QTest::addColumn<bool>("inWorkingDirectory");
        QTest::addColumn<bool>("inProgramFolder");
        QTest::addColumn<QRgb>("expected"); // 0: nothing read, the canvas unchanged
        const QRgb cwdSkin = qRgb(200, 100, 50), programSkin = qRgb(10, 20, 30);
        QTest::newRow("working directory's first") << true << true << cwdSkin;
        QTest::newRow("program folder's when the working directory has none") << false << true << programSkin;
        QTest::newRow("neither") << false << false << QRgb(0);
    }

    void newSkinSource()
    {
        QFETCH(bool, inWorkingDirectory);
        QFETCH(bool, inProgramFolder);
        QFETCH(QRgb, expected);
        TestProgram p(true, TestProgram::WorkingDirectory::Elsewhere);
        if (inWorkingDirectory)
            writeBmp(p.elsewhere.path() + "/SkinNEW.bmp", filled(256, 256, qRgb(200, 100, 50)));
        if (!inProgramFolder)
            QFile::remove(p.folder() + "/SkinNEW.bmp");
        const QImage before = p.canvas();
        p.main().newAction->trigger();
        QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
        QCOMPARE(p.canvas(), expected ? filled(256, 256, expected) : before);
        QCOMPARE(p.messages.messages.size(), expected ? 0 : 1);
        // Both places named; the working directory's file recorded as it is, for a recipe to replay.
        const QString own = p.elsewhere.path() + "/SkinNEW.bmp";
        QVERIFY(expected
                || p.messages.messages.first().contains(QString("„%1“, „%2/SkinNEW.bmp“").arg(own, p.folder())));
        QVERIFY(!expected
                || p.app().skin().history().composition().base
                       == (inWorkingDirectory ? CompositionBase{CompositionBase::Kind::File, own}
                                              : CompositionBase{CompositionBase::Kind::New, {}}));
        QVERIFY(writeBmp(p.elsewhere.path() + "/mine.bmp", crossedPart(256, 256, 0)));
        QVERIFY(p.app().openSkinFile("mine.bmp"));
        QCOMPARE(p.canvas(), crossedPart(256, 256, 0));
        // What was just opened is nothing unsaved: "neu" does not ask.
        p.main().newAction->trigger();
        QVERIFY(p.messages.questions.isEmpty());
    }

    void ownPartsFolder_data()
    {
        QTest::addColumn<QString>("dataHome"); // inside a temporary folder that holds a file "file"
        QTest::newRow("created when missing") << "data";
        QTest::newRow("cannot be created") << "file/data";
    }

    void ownPartsFolder()
    {
        QFETCH(QString, dataHome);
        QTemporaryDir home;
        QVERIFY(writeFile(home.path() + "/file", {}));
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/" + dataHome));
        const QString folder = home.path() + "/" + dataHome + "/pellwerk/Image/";
        UrlRecorder desktop;
        QDesktopServices::setUrlHandler("file", &desktop, "open");
        TestProgram p;
        p.main().ownPartsAction->trigger();
        QDesktopServices::unsetUrlHandler("file");
        qputenv("XDG_DATA_HOME", oldDataHome);

        const bool created = dataHome == "data";
        QCOMPARE(QFileInfo(folder).isDir(), created);
        QCOMPARE(desktop.opened, created ? QList<QUrl>{QUrl::fromLocalFile(folder)} : QList<QUrl>{});
        QCOMPARE(p.messages.messages.size(), created ? 0 : 1);
        QVERIFY(created || p.messages.messages.first().contains(QDir::toNativeSeparators(folder)));
    }

    // Saving itself is proved in tst_savefaults; here what "öffnen" shows and what "speichern" offers.
    void openAndSave_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("512 x 512 shows its top-left quarter") << 512;
        QTest::newRow("64 x 64 leaves the rest black") << 64;
        QTest::newRow("256 x 256") << 256;
    }

    void openAndSave()
    {
        QFETCH(int, size);
        TestProgram p;
        const QString in = p.folder() + "/in.bmp";
        QVERIFY(writeBmp(in, crossedPart(size, size, 0)));
        // Cancelled dialogs change nothing.
        const QImage before = p.canvas();
        p.dialogs->answer(std::nullopt);
        p.main().openAction->trigger();
        QCOMPARE(p.canvas(), before);

        p.dialogs->answer(in);
        p.main().openAction->trigger();
        QCOMPARE(p.canvas(), crossedPart(size, size, 0).copy(0, 0, 256, 256)); // black beyond a small one

        // The save dialog offers the file last opened.
        p.dialogs->answer(std::nullopt);
        p.main().saveAction->trigger();
        QCOMPARE(p.dialogs->requests.back().kind, FileDialogRequest::Kind::Save);
        QCOMPARE(p.dialogs->requests.back().fileName, in);
        QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
        QCOMPARE(QDir(p.folder()).entryList(QDir::Files), (QStringList{"in.bmp", "SkinNEW.bmp"}));
        QVERIFY(p.messages.messages.isEmpty());
    }

    // The folder menu and the settings dialog's button choose the same folder.
    void folderChoice()
    {
        TestProgram p;
        const QString start = p.app().state.SkinFolder, a = p.folder() + "/skins/a/", b = p.folder() + "/skins/b/";
        QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
        p.dialogs->answer(std::nullopt);
        p.main().skinFolderAction->trigger();
        QCOMPARE(p.app().state.SkinFolder, start);
        p.dialogs->answer(a + "x.bmp");
        p.main().skinFolderAction->trigger();
        QCOMPARE(p.app().state.SkinFolder, a);
        // The settings dialog was loaded for its folder label, but not shown.
        SettingsDialog &settings = p.app().settingsDialog();
        QVERIFY(!settings.isVisible());
        QCOMPARE(settings.ui().skinFolderLabel->text(), a);

        p.main().settingsAction->trigger();
        p.dialogs->answer(b + "y.bmp");
        QTest::mouseClick(settings.ui().skinFolderButton, Qt::LeftButton);
        QCOMPARE(p.app().state.SkinFolder, b);
        QCOMPARE(settings.ui().skinFolderLabel->text(), b);
        QVERIFY(settings.isVisible());
        // Each choice starts in the folder the one before reported.
        QCOMPARE(p.dialogs->requests.size(), size_t(3));
        QCOMPARE(p.dialogs->requests[1].initDir, start);
        QCOMPARE(p.dialogs->requests[2].initDir, a);
    }

    void canvasPressWritesCoordinates_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("at"); // in widget coordinates: the frame is 2 pixels wide
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("left button") << int(Qt::LeftButton) << QPoint(12, 22) << QPoint(10, 20);
        QTest::newRow("right button") << int(Qt::RightButton) << QPoint(12, 22) << QPoint(10, 20);
        // A press on the frame means the nearest skin pixel, never one off the skin.
        QTest::newRow("frame, top left") << int(Qt::LeftButton) << QPoint(0, 1) << QPoint(0, 0);
        QTest::newRow("frame, bottom right") << int(Qt::LeftButton) << QPoint(259, 259) << QPoint(255, 255);
        QTest::newRow("frame, left edge") << int(Qt::LeftButton) << QPoint(1, 100) << QPoint(0, 98);
    }

    void canvasPressWritesCoordinates()
    {
        QFETCH(int, button);
        QFETCH(QPoint, at);
        QFETCH(QPoint, pixel);
        TestProgram p;
        const QImage before = p.canvas();
        QTest::mouseClick(&p.app().mainWindow().canvas(), Qt::MouseButton(button), {}, at);
        QCOMPARE(p.parts().userPlaceX()->text(), QString::number(pixel.x()));
        QCOMPARE(p.parts().userPlaceY()->text(), QString::number(pixel.y()));
        // The click completed: the press's position text stays.
        QCOMPARE(p.app().mainWindow().status(), StatusText::position(pixel));
        QCOMPARE(p.canvas(), before);
        QVERIFY(!p.parts().window()->isVisible());
    }

    void statusLabelTexts()
    {
        TestProgram p;
        MainWindow &main = p.app().mainWindow();
        PictureBox &canvas = main.canvas();
        QTest::mouseMove(&canvas, canvas.contentsRect().topLeft() + QPoint(100, 37));
        QCOMPARE(main.status(), StatusText::position({100, 37}));
        // From the canvas onto the bare window: the program folder again.
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 250), QPointF(5, 250), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(main.ui().centralwidget, &move);
        QCOMPARE(main.status(), p.folder());
        // The timer puts the product line there every five seconds.
        QTimer *timer = main.window()->findChild<QTimer *>("productLineTimer");
        QVERIFY(timer && timer->isActive());
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
        QCOMPARE(main.status(), StatusText::productLine());
    }

    void shutdownClosesEveryWindow()
    {
        TestProgram p;
        App &app = p.app();
        const std::initializer_list<Form *> forms{&app.mainWindow(),  &app.partsWindow(), &app.settingsDialog(),
                                                  &app.aboutDialog(), &app.tintWindow(),  &app.zoomWindow()};
        for (Form *f : forms)
            f->show();
        QSignalSpy ended(&app, &App::ended);
        app.mainWindow().window()->close();
        QCOMPARE(ended.count(), 1);
        for (Form *f : forms)
            QVERIFY(!f->isLoaded());
        flushDeletes();
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void fileDialogsStartInTheirFolderAndWriteNothing()
    {
        QTemporaryDir other;
        const QString skins = QDir::homePath() + "/Velmora/skins/";
        QVERIFY(QDir().mkpath(skins));
        QtFileDialogBackend backend;
        // After "öffnen" elsewhere, the folder choice starts in the skins folder, offering the name.
        FileDialogRequest request{FileDialogRequest::Kind::Open, "Velmora-Skin-Folder", "Bilder |*.bmp|", skins,
                                  other.path() + "/opened.bmp"};
        QFileDialog configured;
        QtFileDialogBackend::configure(configured, request);
        QCOMPARE(QDir(configured.directory()).canonicalPath(), QDir(skins).canonicalPath());
        QCOMPARE(QFileInfo(configured.selectedFiles().value(0)).fileName(), QStringLiteral("opened.bmp"));

        // A dialog shown and closed leaves no settings behind.
        const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        const auto files = [&] { return config.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
        const QStringList before = files();
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QCOMPARE(backend.run(request), std::nullopt);
        QCOMPARE(files(), before);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

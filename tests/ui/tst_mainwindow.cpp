// The main window as a user meets it: start-up state, the file commands on real files,
// the canvas's mouse input, the status label and the shutdown.

#include "TestProgram.h"

#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "core/StatusText.h"
#include "ui/AboutDlg.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/Lupe.h"
#include "ui/PictureBox.h"
#include "ui/QtDialogs.h"
#include "ui/RGB_Frm.h"
#include "ui/SetupDlg.h"
#include "ui/TeileFrm.h"
#include "ui_Form1.h"
#include "ui_TeileFrm.h"

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace pellwerk;
using namespace testsupport;

namespace {

// A skin whose pixels all differ from their neighbours, so shifted or flipped rows show.
QImage patterned(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * 7 + y * 3) & 0xFF));
    return img;
}

QPoint widgetPos(PictureBox &box, QPoint pixel)
{
    return box.contentsRect().topLeft() + pixel;
}
} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void startUpState();
    void startUpWithoutImageFolder();
    void newSkinSource_data();
    void newSkinSource();
    void skinNamedOnCommandLine();
    void ownPartsFolder_data();
    void ownPartsFolder();
    void openShowsTopLeftAndSaveWritesExactly_data();
    void openShowsTopLeftAndSaveWritesExactly();
    void cancelledDialogsTouchNothing();
    void saveOffersLastOpenedFile();
    void folderChoice();
    void canvasPressWritesCoordinates_data();
    void canvasPressWritesCoordinates();
    void statusLabelTexts();
    void showCommandsOpenTheirWindows();
    void shutdownClosesEveryWindow();
    void fileDialogsStartInTheirFolderAndWriteNothing();
    void labelsAreNamedByTheirText();
};

void MainWindowTest::startUpState()
{
    TestProgram p;
    const AppState &s = p.app().state;
    QCOMPARE(s.ProgramFolder, p.folder());
    QCOMPARE(s.ImageFolder, p.folder() + "/Image/");
    QCOMPARE(s.SkinName, QStringLiteral("NeuerSkin"));
    QCOMPARE(s.SkinFolder, QDir::homePath() + "/Velmora/skins/");
    QCOMPARE(s.TransparentColour, Colours::Black);
    QCOMPARE(s.LanguageFile, QStringLiteral("deutsch.zlf"));
    QVERIFY(s.LanguageLine.isEmpty());
    QVERIFY(s.TransparentColourName.isEmpty());
    QCOMPARE(s.PartRect, (Rect32{0, 0, 148, 191}));
    QCOMPARE(s.UserColour, UserRgb{});

    Form1 &main = p.app().form1();
    QVERIFY(main.window()->isVisible());
    QCOMPARE(main.window()->windowTitle(), QStringLiteral("Pellwerk V1.2"));
    QCOMPARE(main.status(), p.folder());
    QCOMPARE(p.canvas(), imageOf(decodeBitmap(fileBytes(PELLWERK_ASSETS "/DefaultSkin.bmp"))));

    // The parts window is loaded, but hidden, with every list on the image folder.
    TeileFrm &parts = p.app().teileFrm();
    QVERIFY(parts.isLoaded() && !parts.window()->isVisible());
    QCOMPARE(parts.fileLists().size(), 11);
    for (FileListBox *list : parts.fileLists())
        QCOMPARE(list->path(), s.ImageFolder);
    QVERIFY(!p.app().hasSetupDlg() && !p.app().hasAboutDlg() && !p.app().hasRgbFrm());
    QVERIFY(p.messages.messages.isEmpty());
}

void MainWindowTest::startUpWithoutImageFolder()
{
    TestProgram p(/*withImageFolder*/ false);
    QCOMPARE(p.messages.messages.size(), 1);
    QVERIFY(p.messages.messages.first().contains("Teile"));
    for (FileListBox *list : p.app().teileFrm().fileLists())
        QCOMPARE(list->count(), 0);
    QVERIFY(p.app().form1().window()->isVisible());
}

void MainWindowTest::newSkinSource_data()
{
    QTest::addColumn<bool>("startedElsewhere");
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::addColumn<bool>("inProgramFolder");
    QTest::addColumn<QRgb>("expected"); // 0: nothing read, the canvas unchanged
    const QRgb cwdSkin = qRgb(200, 100, 50), programSkin = qRgb(10, 20, 30);
    QTest::newRow("working directory's first") << true << true << true << cwdSkin;
    QTest::newRow("program folder's when the working directory has none") << true << false << true << programSkin;
    QTest::newRow("started in the program folder") << false << true << true << programSkin;
    QTest::newRow("neither") << true << false << false << QRgb(0);
}

void MainWindowTest::newSkinSource()
{
    QFETCH(bool, startedElsewhere);
    QFETCH(bool, inWorkingDirectory);
    QFETCH(bool, inProgramFolder);
    QFETCH(QRgb, expected);
    using Cwd = TestProgram::WorkingDirectory;
    TestProgram p(true, true, startedElsewhere ? Cwd::Elsewhere : Cwd::ProgramFolder);
    if (startedElsewhere && inWorkingDirectory)
        writeBmp(p.elsewhere.path() + "/SkinNEW.bmp", filled(256, 256, qRgb(200, 100, 50)));
    if (!inProgramFolder)
        QFile::remove(p.folder() + "/SkinNEW.bmp");
    const QImage before = p.canvas();
    p.app().form1().ui().dneu->trigger();
    QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
    if (expected) {
        QCOMPARE(p.canvas(), filled(256, 256, expected));
        QVERIFY(p.messages.messages.isEmpty());
    } else {
        QCOMPARE(p.canvas(), before);
        QCOMPARE(p.messages.messages.size(), 1);
        QVERIFY(p.messages.messages.first().contains(QDir::toNativeSeparators(p.folder() + "/SkinNEW.bmp")));
    }
}

void MainWindowTest::skinNamedOnCommandLine()
{
    TestProgram p(true, true, TestProgram::WorkingDirectory::Elsewhere);
    const QImage defaultSkin = p.canvas();
    const QImage mine = patterned(256, 256);
    QVERIFY(writeBmp(p.elsewhere.path() + "/mine.bmp", mine));
    QFile notes(p.elsewhere.path() + "/notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("BM but no bitmap") > 0);
    notes.close();

    // A file that is no bitmap is named in the message; the default skin stays.
    QVERIFY(!p.app().openSkinFile("notes.txt"));
    QCOMPARE(p.canvas(), defaultSkin);
    QCOMPARE(p.messages.messages.size(), 1);
    QVERIFY(p.messages.messages.first().contains(QDir::toNativeSeparators(notes.fileName())));
    QVERIFY(!p.app().form1().ui().MUndo->isEnabled());
    // A bitmap, relative to the working directory, opens like "öffnen": a step that undo takes back.
    QVERIFY(p.app().openSkinFile("mine.bmp"));
    QCOMPARE(p.canvas(), mine);
    p.app().form1().ui().MUndo->trigger();
    QCOMPARE(p.canvas(), defaultSkin);
    QCOMPARE(p.messages.messages.size(), 1);
}

// Stands in for the file manager: records what the desktop was asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

void MainWindowTest::ownPartsFolder_data()
{
    QTest::addColumn<QString>("dataHome"); // inside a temporary folder that holds a file "file"
    QTest::newRow("created when missing") << "data";
    QTest::newRow("cannot be created") << "file/data";
}

void MainWindowTest::ownPartsFolder()
{
    QFETCH(QString, dataHome);
    QTemporaryDir home;
    QFile blocker(home.path() + "/file");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/" + dataHome));
    const QString folder = home.path() + "/" + dataHome + "/pellwerk/Image/";
    UrlRecorder desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "open");

    TestProgram p;
    p.app().form1().ui().MEigeneTeile->trigger();
    QDesktopServices::unsetUrlHandler("file");
    qputenv("XDG_DATA_HOME", oldDataHome);

    if (dataHome == "data") {
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
        QVERIFY(p.messages.messages.isEmpty());
    } else {
        QVERIFY(desktop.opened.isEmpty());
        QCOMPARE(p.messages.messages.size(), 1);
        QVERIFY(p.messages.messages.first().contains(QDir::toNativeSeparators(folder)));
    }
}

void MainWindowTest::openShowsTopLeftAndSaveWritesExactly_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("512 x 512 shows its top-left quarter") << 512;
    QTest::newRow("64 x 64 leaves the rest black") << 64;
    QTest::newRow("256 x 256") << 256;
}

void MainWindowTest::openShowsTopLeftAndSaveWritesExactly()
{
    QFETCH(int, size);
    TestProgram p;
    const QString in = p.folder() + "/in.bmp";
    const QString out = p.folder() + "/out.bmp";
    const QImage source = patterned(size, size);
    QVERIFY(writeBmp(in, source));

    p.dialogs->answer(in);
    p.app().form1().ui().dopen->trigger();
    QImage expected = filled(256, 256, qRgb(0, 0, 0));
    for (int y = 0; y < qMin(size, 256); ++y)
        for (int x = 0; x < qMin(size, 256); ++x)
            expected.setPixel(x, y, source.pixel(x, y));
    QCOMPARE(p.canvas(), expected);

    p.dialogs->answer(out);
    p.app().form1().ui().speichern->trigger();
    QCOMPARE(p.app().state.SkinName, out);
    const QByteArray saved = fileBytes(out);
    QCOMPARE(saved.size(), 196662);
    QCOMPARE(imageOf(decodeBitmap(saved)), expected);
    QVERIFY(p.messages.messages.isEmpty());
}

void MainWindowTest::cancelledDialogsTouchNothing()
{
    TestProgram p;
    const QImage before = p.canvas();
    p.dialogs->answer(std::nullopt);
    p.app().form1().dopen_Click();
    QCOMPARE(p.canvas(), before);

    p.dialogs->answer(std::nullopt);
    p.app().form1().speichern_Click();
    QCOMPARE(p.app().state.SkinName, QStringLiteral("NeuerSkin"));
    QCOMPARE(QDir(p.folder()).entryList(QDir::Files), QStringList{"SkinNEW.bmp"});

    const QString folder = p.app().state.SkinFolder;
    p.dialogs->answer(std::nullopt);
    p.app().form1().MFolder_Click();
    QCOMPARE(p.app().state.SkinFolder, folder);
    QVERIFY(p.messages.messages.isEmpty());
}

void MainWindowTest::saveOffersLastOpenedFile()
{
    TestProgram p;
    const QString in = p.folder() + "/mine.bmp";
    QVERIFY(writeBmp(in, patterned(256, 256)));
    p.dialogs->answer(in);
    p.app().form1().dopen_Click();
    p.dialogs->answer(std::nullopt);
    p.app().form1().speichern_Click();
    QCOMPARE(p.dialogs->requests.size(), size_t(2));
    QCOMPARE(p.dialogs->requests.front().title, QStringLiteral("Skin öffnen"));
    const FileDialogRequest &save = p.dialogs->requests.back();
    QCOMPARE(save.kind, FileDialogRequest::Kind::Save);
    QCOMPARE(save.title, QStringLiteral("Skin speichern"));
    QCOMPARE(save.filter, QStringLiteral("Bilder |*.bmp|"));
    QCOMPARE(save.fileName, in);
}

void MainWindowTest::folderChoice()
{
    TestProgram p;
    QDir(p.folder()).mkpath("skins/a");
    QDir(p.folder()).mkpath("skins/b");
    const QString start = p.app().state.SkinFolder;
    p.dialogs->answer(p.folder() + "/skins/a/x.bmp");
    p.app().form1().ui().MFolder->trigger();
    QCOMPARE(p.app().state.SkinFolder, p.folder() + "/skins/a/");
    p.dialogs->answer(p.folder() + "/skins/b/y.bmp");
    p.app().form1().MFolder_Click();
    QCOMPARE(p.app().state.SkinFolder, p.folder() + "/skins/b/");

    QCOMPARE(p.dialogs->requests.size(), size_t(2));
    QCOMPARE(p.dialogs->requests[0].initDir, start);
    QCOMPARE(p.dialogs->requests[0].title, QStringLiteral("Velmora-Skin-Folder"));
    // The second choice starts in the folder the first one reported.
    QCOMPARE(p.dialogs->requests[1].initDir, p.folder() + "/skins/a/");
    // The settings dialog was loaded for its folder label, but not shown.
    QVERIFY(p.app().hasSetupDlg() && !p.app().setupDlg().isVisible());
}

void MainWindowTest::canvasPressWritesCoordinates_data()
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

void MainWindowTest::canvasPressWritesCoordinates()
{
    QFETCH(int, button);
    QFETCH(QPoint, at);
    QFETCH(QPoint, pixel);
    TestProgram p;
    PictureBox &canvas = p.app().form1().SkinPicture();
    const QImage before = p.canvas();
    QTest::mouseClick(&canvas, Qt::MouseButton(button), {}, at);
    QCOMPARE(p.app().teileFrm().EigBerX()->text(), QString::number(pixel.x()));
    QCOMPARE(p.app().teileFrm().EigBerY()->text(), QString::number(pixel.y()));
    // The click completed: the press's position text stays.
    QCOMPARE(p.app().form1().status(), StatusText::position(pixel));
    QCOMPARE(p.canvas(), before);
    QVERIFY(!p.app().teileFrm().window()->isVisible());
}

void MainWindowTest::statusLabelTexts()
{
    TestProgram p;
    Form1 &main = p.app().form1();
    PictureBox &canvas = main.SkinPicture();
    QTest::mouseMove(&canvas, widgetPos(canvas, QPoint(100, 37)));
    QCOMPARE(main.status(), StatusText::position({100, 37}));

    // From the canvas onto the bare window: the program folder again.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 250), QPointF(5, 250), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.ui().centralwidget, &move);
    QCOMPARE(main.status(), p.folder());

    // The timer puts the product line there every five seconds.
    QTimer *timer = main.window()->findChild<QTimer *>("Timer1");
    QVERIFY(timer && timer->isActive());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    QCOMPARE(main.status(), StatusText::productLine());
}

void MainWindowTest::showCommandsOpenTheirWindows()
{
    TestProgram p;
    Form1 &main = p.app().form1();
    QTest::mouseClick(main.ui().Command1, Qt::LeftButton);
    QVERIFY(p.app().teileFrm().isVisible());
    p.app().teileFrm().hide();
    main.ui().TeileMnu->trigger();
    QVERIFY(p.app().teileFrm().isVisible());
    main.ui().PrgSetup->trigger();
    QVERIFY(p.app().setupDlg().isVisible());
    main.ui().Mueber->trigger();
    QVERIFY(p.app().aboutDlg().isVisible());
    // Nothing is modal: the main window still takes commands.
    QVERIFY(main.window()->isEnabled());
}

void MainWindowTest::shutdownClosesEveryWindow()
{
    TestProgram p;
    App &app = p.app();
    app.teileFrm().show();
    app.setupDlg().show();
    app.aboutDlg().show();
    app.rgbFrm().show();
    app.lupe().show();
    QSignalSpy ended(&app, &App::ended);
    app.form1().window()->close();
    QCOMPARE(ended.count(), 1);
    QVERIFY(app.hasEnded());
    for (Form *f : std::initializer_list<Form *>{&app.form1(), &app.teileFrm(), &app.setupDlg(), &app.aboutDlg(),
                                                 &app.rgbFrm(), &app.lupe()})
        QVERIFY(!f->isLoaded());
    flushDeletes();
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void MainWindowTest::fileDialogsStartInTheirFolderAndWriteNothing()
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
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const auto files = [&] {
        QStringList found;
        for (QDirIterator it(config, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << it.next();
        return found;
    };
    const QStringList before = files();
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    QCOMPARE(backend.run(request), std::nullopt);
    QCOMPARE(files(), before);
}

void MainWindowTest::labelsAreNamedByTheirText()
{
    TestProgram p;
    App &app = p.app();
    const QList<QWidget *> windows{app.form1().window(),    app.teileFrm().window(), app.setupDlg().window(),
                                   app.aboutDlg().window(), app.rgbFrm().window(),   app.lupe().window()};
    app.setStatus(" x=12,  y=40 ");
    for (QWidget *window : windows) {
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(label);
            QVERIFY2(a->text(QAccessible::Name) == label->text(), qPrintable(label->objectName()));
        }
    }
    // The canvas says what it is; its designed tool-tip stays what it describes.
    QAccessibleInterface *canvas = QAccessible::queryAccessibleInterface(&app.form1().SkinPicture());
    QVERIFY(!canvas->text(QAccessible::Name).isEmpty());
    QCOMPARE(canvas->text(QAccessible::Description),
             QStringLiteral("click -> Koordinaten werden ins  User-Teile  eingetragen"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"

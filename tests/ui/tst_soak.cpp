// A long, seeded walk through all the windows: ten thousand random user actions from the table
// below, with the program's promises checked after every step. The seed is fixed;
// PELLWERK_SOAK_SEED picks another, and every failure names the seed, the step and the action, so
// any run can be repeated exactly. PELLWERK_SOAK_STEPS shortens or lengthens the walk.

#include "TestProgram.h"

#include "ui/ZoomView.h"

#include <algorithm>
#include <functional>
#include <random>

using namespace pellwerk;
using namespace testsupport;

namespace {

const QStringList Windows{"MainWindow", "PartsWindow", "SettingsDialog", "AboutDialog", "TintWindow", "ZoomWindow"};
const QStringList ColourNames{"", "schwarz", "weiss", "blau", "User"};
const QStringList Typed = QString("0|12|255|300|-20|-99999999999|1e300|abc|12.5|2,5|| 7 |0x10|½|٣|nan|inf|+5|--3|1 2"
                                  "|user|Face|*|[|ü|..|/")
                              .split('|')
                          << QString(300, 'x');
const QList<Qt::Key> Keys{Qt::Key_Down,     Qt::Key_Up,     Qt::Key_Home, Qt::Key_End,
                          Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Right};

// One run of the program with its windows reached as a user reaches them, and the skins saved.
struct Walk
{
    std::mt19937 random;
    QTemporaryDir saves;
    std::unique_ptr<TestProgram> p;
    QSet<QString> saved;
    qsizetype seen = 0; // messages already checked

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    template <class T> T any(const QList<T> &list) { return list[pick(int(list.size()))]; }
    template <class T> T any(std::initializer_list<T> list) { return list.begin()[pick(int(list.size()))]; }
    QPoint anywhere(QWidget *w) { return QPoint(pick(w->width()), pick(w->height())); }
    void click(QWidget *w, QPoint at = {}) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }
    App &app() { return p->app(); }
    Ui::MainWindow &main() { return app().mainWindow().ui(); }
    // The windows, opened first the way a user opens them (showing a shown window changes nothing).
    PartsWindow &partsWindow()
    {
        click(main().partsButton);
        return app().partsWindow();
    }
    Ui::PartsWindow &parts() { return partsWindow().ui(); }
    TintWindow &tint()
    {
        click(parts().tintButton);
        return app().tintWindow();
    }
    QList<QDial *> knobs() { return {tint().redKnob(), tint().greenKnob(), tint().blueKnob()}; }
    Ui::SettingsDialog &settings()
    {
        main().settingsAction->trigger();
        return app().settingsDialog().ui();
    }
    ZoomView *zoomView()
    {
        main().zoomAction->trigger();
        return app().zoomWindow().view();
    }
    void key(QWidget *w) { QTest::keyClick(w, any(Keys)); }
    void clickAny(FileListBox *list)
    {
        if (list->count() > 0)
            clickName(list, list->name(pick(list->count())));
    }
    void type(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) // as a keyboard layout delivers it, whatever the character
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Answers the next file dialog with `path`, or now and then cancels it; true for an answer.
    bool answer(const QString &path)
    {
        p->dialogs->answer(pick(10) ? std::optional(path) : std::nullopt);
        return p->dialogs->replies.back().has_value();
    }

    // The program folder as installed, with the shipped parts and languages, and bad files a user
    // might put there.
    void start()
    {
        if (p) // closing the main window ends the program
            app().mainWindow().window()->close();
        p.reset();
        flushDeletes();
        p = std::make_unique<TestProgram>();
        for (const QFileInfo &file : QDir(PELLWERK_ASSETS "/Image").entryInfoList(QDir::Files))
            QVERIFY(QFile::copy(file.filePath(), p->imagePath(file.fileName())));
        for (const QFileInfo &file : QDir(PELLWERK_ASSETS "/lang").entryInfoList({"*.zlf"}))
            QVERIFY(QFile::copy(file.filePath(), p->folder() + "/" + file.fileName()));
        QVERIFY(writeFile(p->folder() + "/leer.zlf", {}) && writeFile(p->imagePath("userEmpty.bmp"), {}));
        QVERIFY(writeFile(p->folder() + "/kaputt.zlf", "\xFF\xFE##LANGUAGE=\r\r\n#\n\x80\x81LANGUAGE=Kaputt#\r\n## x"));
        QVERIFY(writeFile(p->imagePath("Face_cut.bmp"), QByteArray("BM\x36\x00\x03\x00", 6)));
        QVERIFY(writeBmp(p->imagePath("userBig.bmp"), filled(300, 280, qRgb(200, 40, 90))));
        app().partsWindow().pointListsAtImageFolder();
        seen = 0;
    }
    // A saved skin holds what the canvas showed.
    void save()
    {
        const QString path = saves.filePath(QStringLiteral("skin%1.bmp").arg(pick(6)));
        const QImage canvas = p->canvas();
        const qsizetype before = p->messages.messages.size();
        const bool chosen = answer(path);
        main().saveAction->trigger();
        if (chosen && p->messages.messages.size() == before) {
            saved.insert(path);
            QVERIFY(isSkin(path) && decoded(path) == canvas);
        }
    }
    // Through "öffnen", or as files dropped on a window open; a skin saved here shows exactly its file.
    void open()
    {
        QStringList choices(saved.begin(), saved.end());
        choices.sort(); // a set's order is random
        choices << saves.filePath("nichtda.bmp") << p->imagePath("Face01.bmp") << p->imagePath("Face_cut.bmp")
                << p->imagePath("userBig.bmp");
        const QString path = any(choices);
        const qsizetype before = p->messages.messages.size();
        const bool dropped = pick(5) == 0, chosen = dropped || answer(path);
        dropped ? app().openDroppedFiles(QStringList{path}) : main().openAction->trigger();
        QCoreApplication::processEvents(); // a drop opens once its event has returned
        if (chosen && saved.contains(path) && p->messages.messages.size() == before)
            QVERIFY(p->canvas() == decoded(path));
    }

    // The promises kept after every step: what is broken, or nothing.
    QString broken()
    {
        if (!app().hasMainWindow() || !app().mainWindow().isVisible())
            return "the main window is gone";
        if (app().canvas().innerSize() != QSize(256, 256) || app().canvas().drawingImage().size() != QSize(256, 256))
            return "the canvas is not 256 x 256";
        const AppState &s = app().state;
        const auto [low, high] = std::minmax({s.UserColour.red, s.UserColour.green, s.UserColour.blue});
        if (low < 0 || high > 255 || !(s.PartRect == Rect32{0, 0, 148, 191})
            || !ColourNames.contains(s.TransparentColourName) || !s.LanguageFile.endsWith(".zlf"))
            return "a state field out of range";
        flushDeletes();
        const QWidgetList all = QApplication::topLevelWidgets();
        for (const QString &window : Windows)
            if (std::count_if(all.begin(), all.end(), [&](QWidget *w) { return w->objectName() == window; }) > 1)
                return "two windows " + window;
        for (const QStringList &messages = p->messages.messages; seen < messages.size(); ++seen)
            if (messages[seen].trimmed().isEmpty() || messages[seen].contains("%1"))
                return "message '" + messages[seen] + "'";
        return {};
    }
    static QImage decoded(const QString &path) { return imageOf(decodeBitmap(fileBytes(path))); }
    static bool isSkin(const QString &path)
    {
        return fileBytes(path).size() == 196'662 && decoded(path).size() == QSize(256, 256);
    }
};

struct Action
{
    const char *name;
    int weight; // roughly how often a user does it
    std::function<void(Walk &)> act;
};

const std::vector<Action> Actions{
    {"list pick by mouse", 14, [](Walk &w) { w.clickAny(w.any(w.partsWindow().fileLists())); }},
    {"list pick by keys", 10, [](Walk &w) { w.key(w.any(w.partsWindow().fileLists())); }},
    {"knob turn", 10, [](Walk &w) { w.pick(3) ? w.key(w.any(w.knobs())) : w.any(w.knobs())->setValue(w.pick(256)); }},
    {"canvas click", 6,
     [](Walk &w) { w.click(&w.app().mainWindow().canvas(), w.anywhere(&w.app().mainWindow().canvas())); }},
    {"canvas drag, also past its edge", 2,
     [](Walk &w) {
         PictureBox *canvas = &w.app().mainWindow().canvas();
         const QPoint to = w.anywhere(canvas) * 3 / 2 - QPoint(40, 40);
         QTest::mousePress(canvas, Qt::LeftButton, {}, w.anywhere(canvas));
         QTest::mouseMove(canvas, to);
         QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
     }},
    {"coordinates typed, junk included", 8,
     [](Walk &w) { w.type(w.pick(2) ? w.partsWindow().userPlaceX() : w.partsWindow().userPlaceY(), w.any(Typed)); }},
    {"prefix typed", 4, [](Walk &w) { w.type(w.parts().userPrefix, w.any(Typed)); }},
    {"colour pick", 6,
     [](Walk &w) { QTest::keyClick(w.settings().colourChoice, w.pick(2) ? Qt::Key_Down : Qt::Key_Up); }},
    {"language pick", 4, [](Walk &w) { w.clickAny(w.settings().languageList); }},
    {"copy", 2, [](Walk &w) { w.click(w.parts().pasteNow); }},
    {"auto-paste box", 2, [](Walk &w) { w.click(w.parts().autoPaste); }},
    {"preview click", 2, [](Walk &w) { w.click(w.parts().partPreview, w.anywhere(w.parts().partPreview)); }},
    {"parts window or settings by the menu", 2,
     [](Walk &w) { (w.pick(2) ? w.main().partsAction : w.main().settingsAction)->trigger(); }},
    {"about box or Lupe by the menu", 2,
     [](Walk &w) { (w.pick(2) ? w.main().aboutAction : w.main().zoomAction)->trigger(); }},
    {"window opened by a button", 2, [](Walk &w) { w.click(w.pick(2) ? w.main().partsButton : w.parts().tintButton); }},
    {"label double-click", 1, [](Walk &w) { QTest::mouseDClick(w.parts().transparentLabel, Qt::LeftButton); }},
    {"settings OK", 2, [](Walk &w) { w.click(w.settings().okButton); }},
    {"about OK", 1,
     [](Walk &w) {
         w.main().aboutAction->trigger();
         w.click(w.app().aboutDialog().ui().okButton);
     }},
    {"colour window OK", 1, [](Walk &w) { w.click(w.tint().ui().okButton); }},
    {"close box", 4,
     [](Walk &w) {
         QWidgetList open = QApplication::topLevelWidgets();
         open.removeIf([](QWidget *x) {
             return !x->isVisible() || x->objectName() == "MainWindow" || !Windows.contains(x->objectName());
         });
         if (!open.isEmpty())
             w.any(open)->close();
     }},
    {"save", 4, [](Walk &w) { w.save(); }},
    {"open", 4, [](Walk &w) { w.open(); }},
    {"neu", 2, [](Walk &w) { w.main().newAction->trigger(); }},
    {"undo or redo", 4, [](Walk &w) { (w.pick(3) ? w.main().undoAction : w.main().redoAction)->trigger(); }},
    {"recipe saved or opened", 2,
     [](Walk &w) {
         w.answer(w.saves.filePath(QStringLiteral("recipe%1.json").arg(w.pick(3))));
         (w.pick(2) ? w.main().saveRecipeAction : w.main().openRecipeAction)->trigger();
     }},
    {"Lupe opened and clicked", 2, [](Walk &w) { w.click(w.zoomView(), w.anywhere(w.zoomView())); }},
    {"skins-folder choice", 1,
     [](Walk &w) {
         w.answer(w.saves.filePath("skin0.bmp"));
         w.pick(2) ? w.main().skinFolderAction->trigger() : w.click(w.settings().skinFolderButton);
     }},
    {"parts window resized", 2, [](Walk &w) { w.partsWindow().window()->resize(w.pick(900) + 50, w.pick(900) + 50); }},
    {"idle", 2, [](Walk &) { QCoreApplication::processEvents(); }},
};
const Action Restart{"main window closed, program started again", 0, [](Walk &w) { w.start(); }};

// The offscreen platform says at every window that it cannot raise it or cut its shape; ten
// thousand steps of that would drown any real warning.
QtMessageHandler platformHandler = nullptr;
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtWarningMsg || !text.startsWith("This plugin does not support"))
        platformHandler(type, context, text);
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { platformHandler = qInstallMessageHandler(quietPlatform); }
    void tenThousandActions();
};

void SoakTest::tenThousandActions()
{
    const quint32 seed = qEnvironmentVariable("PELLWERK_SOAK_SEED", "20240611").toUInt();
    const int steps = qEnvironmentVariable("PELLWERK_SOAK_STEPS", "10000").toInt();
    Walk walk;
    walk.random.seed(seed);
    walk.start();
    // Action i is drawn with the weight that the function gives at i + 0.5.
    std::discrete_distribution<size_t> choose(Actions.size(), 0, double(Actions.size()),
                                              [](double i) { return Actions[size_t(i)].weight; });
    int restarts = 0;
    for (int step = 1; step <= steps; ++step) {
        // Closing the main window ends the program; now and then the user starts it again.
        const Action &action = walk.pick(500) == 0 ? Restart : Actions[choose(walk.random)];
        action.act(walk);
        restarts += &action == &Restart;
        const QString where = QStringLiteral("seed %1, step %2 (%3)").arg(seed).arg(step).arg(action.name);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(where));
        const QString broken = walk.broken();
        QVERIFY2(broken.isEmpty(), qPrintable(where + ": " + broken));
    }
    QVERIFY2(!walk.saved.isEmpty(), "the walk never saved a skin");
    for (const QString &path : walk.saved)
        QVERIFY2(Walk::isSkin(path), qPrintable(path + " is no 256 x 256 skin of 196,662 bytes"));
    qInfo("soak: seed %u, %d steps, %d restarts, %d skins saved", seed, steps, restarts, int(walk.saved.size()));
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"

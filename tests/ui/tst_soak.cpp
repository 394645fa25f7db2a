// A long, seeded walk through all five windows: ten thousand random user actions (list picks by
// mouse and keys, knob turns, canvas presses, typing, colour and language picks, "copy", windows
// opened, hidden and closed, skins saved, opened and renewed), with the program's promises
// checked after every step. The seed is fixed; PELLWERK_SOAK_SEED picks another, and every
// failure names the seed and the step, so any run can be repeated exactly. PELLWERK_SOAK_STEPS
// shortens or lengthens the walk; PELLWERK_SOAK_TRACE=1 (with -maxwarnings 0) prints each step.

#include "TestProgram.h"

#include "core/BitmapDecoder.h"
#include "ui/AboutDlg.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/RGB_Frm.h"
#include "ui/SetupDlg.h"
#include "ui/TeileFrm.h"
#include "ui_AboutDlg.h"
#include "ui_Form1.h"
#include "ui_RGB_Frm.h"
#include "ui_SetupDlg.h"
#include "ui_TeileFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <random>

using namespace pellwerk;
using namespace testsupport;

namespace {

constexpr quint32 DefaultSeed = 20240611;
constexpr int DefaultSteps = 10'000;
constexpr qint64 SkinFileSize = 196'662;

// The program folder as installed: the shipped parts and language files, plus a few bad ones a
// user might drop in.
void furnish(TestProgram &p)
{
    const QDir images(PELLWERK_ASSETS "/Image"), lang(PELLWERK_ASSETS "/lang");
    for (const QFileInfo &from : images.entryInfoList(QDir::Files) + lang.entryInfoList({"*.zlf"}, QDir::Files)) {
        const QString to = from.suffix() == "zlf" ? p.folder() + "/" + from.fileName() : p.imagePath(from.fileName());
        QFile::remove(to);
        QVERIFY2(QFile::copy(from.filePath(), to), qPrintable(to));
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    QVERIFY(writeFile(p.folder() + "/leer.zlf", QByteArray()));
    QVERIFY(writeFile(p.folder() + "/kaputt.zlf",
                      QByteArray("\xFF\xFE##LANGUAGE=\r\r\n#\n\x80\x81LANGUAGE=Kaputt#\r\n## x", 41)));
    QVERIFY(writeFile(p.imagePath("Face_cut.bmp"), QByteArray("BM\x36\x00\x03\x00", 6)));
    QVERIFY(writeFile(p.imagePath("userEmpty.bmp"), QByteArray()));
    QVERIFY(writeBmp(p.imagePath("userBig.bmp"), filled(300, 280, qRgb(200, 40, 90))));
    // The shipped parts already lie in the folder the lists read at start-up; read it again.
    p.app().teileFrm().pointListsAtImageFolder();
}

const QStringList WindowNames{"Form1", "TeileFrm", "SetupDlg", "AboutDlg", "RGB_Frm"};
const QStringList ColourNames{"", "schwarz", "weiss", "blau", "User"};
const QStringList CoordinateTexts{
    "0",    "12", "255", "256", "300", "-20", "-99999999999",         "1e300",  "abc", "12.5", "2,5", "", " 7 ",
    "0x10", "½",  "٣",   "-0",  "nan", "inf", "99999999999999999999", "1e-300", "+5",  "--3",  "1 2"};
const QStringList PrefixTexts{"",  "user",  "u", "F",  "Face", "*",     "?",
                              "[", "foot_", "ü", "..", "/",    "userB", QString(300, QLatin1Char('x'))};

class Soak
{
public:
    Soak(quint32 seed, QString saveFolder) : m_random(seed), m_saveFolder(std::move(saveFolder)) {}

    void start()
    {
        m_program.reset();
        flushDeletes();
        m_program = std::make_unique<TestProgram>();
        furnish(*m_program);
        m_seenMessages = 0;
    }

    App &app() { return m_program->app(); }
    TestProgram &program() { return *m_program; }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T> const T &any(const QList<T> &list) { return list[pick(int(list.size()))]; }

    // ---- Reaching the windows the way a user does. ----

    TeileFrm &parts()
    {
        if (!app().teileFrm().isVisible())
            QTest::mouseClick(app().form1().ui().Command1, Qt::LeftButton);
        return app().teileFrm();
    }

    RGB_Frm &rgb()
    {
        if (!app().hasRgbFrm() || !app().rgbFrm().isVisible())
            QTest::mouseClick(parts().ui().Command1, Qt::LeftButton);
        return app().rgbFrm();
    }

    SetupDlg &setup()
    {
        if (!app().hasSetupDlg() || !app().setupDlg().isVisible()) {
            if (chance(50))
                app().form1().ui().PrgSetup->trigger();
            else
                QTest::mouseDClick(parts().ui().Label1, Qt::LeftButton);
        }
        return app().setupDlg();
    }

    void clickRow(FileListBox *list, int row)
    {
        const QModelIndex item = list->model()->index(row, 0);
        list->scrollTo(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    }

    void typeInto(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            // QTest types ASCII only; other characters come as a keyboard layout delivers them.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
    }

    // ---- The actions. Each returns its name for the failure messages. ----

    QString listByMouse()
    {
        FileListBox *list = any(parts().fileLists());
        if (list->count() == 0)
            return "mouse pick in empty " + list->objectName();
        const int row = pick(list->count());
        clickRow(list, row);
        return QStringLiteral("mouse pick %1 in %2").arg(list->name(row), list->objectName());
    }

    QString listByKeys()
    {
        FileListBox *list = any(parts().fileLists());
        static const QList<int> keys{Qt::Key_Down, Qt::Key_Up,       Qt::Key_Home,
                                     Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp};
        const int key = any(keys);
        list->setFocus();
        QTest::keyClick(list, Qt::Key(key));
        return QStringLiteral("key %1 in %2").arg(key, 0, 16).arg(list->objectName());
    }

    QString knobTurn()
    {
        RGB_Frm &w = rgb();
        QDial *knob = QList<QDial *>{w.KnobR(), w.KnobG(), w.KnobB()}[pick(3)];
        if (chance(30)) {
            const int value = pick(256);
            knob->setValue(value);
            return QStringLiteral("turn %1 to %2").arg(knob->objectName()).arg(value);
        }
        static const QList<int> keys{Qt::Key_Up,   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                     Qt::Key_Home, Qt::Key_End,  Qt::Key_Left,   Qt::Key_Right};
        const int key = any(keys);
        QTest::keyClick(knob, Qt::Key(key));
        return QStringLiteral("key %1 on %2").arg(key, 0, 16).arg(knob->objectName());
    }

    QString canvasPress()
    {
        PictureBox &canvas = app().form1().SkinPicture();
        const QPoint at(pick(canvas.width()), pick(canvas.height()));
        if (chance(70)) {
            QTest::mouseClick(&canvas, Qt::LeftButton, {}, at);
            return QStringLiteral("canvas click at %1,%2").arg(at.x()).arg(at.y());
        }
        // A drag that may leave the canvas: positions then run negative or past its edge.
        const QPoint to(pick(canvas.width() + 80) - 40, pick(canvas.height() + 80) - 40);
        QTest::mousePress(&canvas, Qt::LeftButton, {}, at);
        QTest::mouseMove(&canvas, to);
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
        return QStringLiteral("canvas drag %1,%2 to %3,%4").arg(at.x()).arg(at.y()).arg(to.x()).arg(to.y());
    }

    QString coordinateTyping()
    {
        TeileFrm &w = parts();
        QLineEdit *box = chance(50) ? w.EigBerX() : w.EigBerY();
        QString text = any(CoordinateTexts);
        if (chance(20))
            text = QString::number(pick(600) - 200);
        typeInto(box, text);
        return QStringLiteral("type '%1' into %2").arg(text, box->objectName());
    }

    QString prefixTyping()
    {
        const QString text = any(PrefixTexts);
        typeInto(parts().ui().UserPrefix, text);
        return QStringLiteral("prefix '%1'").arg(text.left(20));
    }

    QString colourPick()
    {
        QComboBox *combo = setup().ui().Combo1;
        const bool down = chance(50);
        QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
        return QStringLiteral("colour %1 -> %2").arg(down ? "down" : "up", combo->currentText());
    }

    QString languagePick()
    {
        FileListBox *list = setup().ui().File1;
        if (list->count() == 0)
            return "language list empty";
        const int row = pick(list->count());
        clickRow(list, row);
        return "language " + list->name(row);
    }

    QString copyControls()
    {
        Ui::TeileFrm &u = parts().ui();
        switch (pick(3)) {
        case 0:
            QTest::mouseClick(u.TranspCheck, Qt::LeftButton);
            return QStringLiteral("auto-paste box now %1").arg(u.TranspCheck->isChecked());
        case 1:
            QTest::mouseClick(u.TranspBtn, Qt::LeftButton);
            return QStringLiteral("copy (enabled %1)").arg(u.TranspBtn->isEnabled());
        default:
            QTest::mouseClick(u.TeilPic, Qt::LeftButton, {},
                              QPoint(pick(u.TeilPic->width()), pick(u.TeilPic->height())));
            return "preview click";
        }
    }

    QString openWindow()
    {
        Ui::Form1 &m = app().form1().ui();
        switch (pick(6)) {
        case 0:
            QTest::mouseClick(m.Command1, Qt::LeftButton);
            return "Teile button";
        case 1:
            m.TeileMnu->trigger();
            return "Teile menu";
        case 2:
            m.PrgSetup->trigger();
            return "settings menu";
        case 3:
            m.Mueber->trigger();
            return "about menu";
        case 4:
            QTest::mouseClick(parts().ui().Command1, Qt::LeftButton);
            return "RGB button";
        default:
            QTest::mouseDClick(parts().ui().Label1, Qt::LeftButton);
            return "transparent label double-click";
        }
    }

    QString okButton()
    {
        switch (pick(3)) {
        case 0:
            QTest::mouseClick(setup().ui().OKButton, Qt::LeftButton);
            return "settings OK";
        case 1:
            app().form1().ui().Mueber->trigger();
            QTest::mouseClick(app().aboutDlg().ui().OKButton, Qt::LeftButton);
            return "about OK";
        default:
            QTest::mouseClick(rgb().ui().Command1, Qt::LeftButton);
            return "RGB OK";
        }
    }

    QString closeBox()
    {
        QList<Form *> open;
        if (app().teileFrm().isVisible())
            open << &app().teileFrm();
        if (app().hasSetupDlg() && app().setupDlg().isVisible())
            open << &app().setupDlg();
        if (app().hasAboutDlg() && app().aboutDlg().isVisible())
            open << &app().aboutDlg();
        if (app().hasRgbFrm() && app().rgbFrm().isVisible())
            open << &app().rgbFrm();
        if (open.isEmpty())
            return "close box: nothing open";
        QWidget *window = any(open)->window();
        const QString name = window->objectName();
        window->close();
        return "close box of " + name;
    }

    QString saveSkin()
    {
        const QString path = m_saveFolder + QStringLiteral("/skin%1.bmp").arg(pick(6));
        const bool cancel = chance(10);
        program().dialogs->answer(cancel ? std::nullopt : std::optional<QString>(path));
        const qsizetype before = program().messages.messages.size();
        const QImage shown = program().canvas();
        app().form1().ui().speichern->trigger();
        if (!cancel && program().messages.messages.size() == before) {
            m_saved.insert(path);
            m_lastSaved = path;
            m_lastSavedImage = shown;
        } else {
            m_lastSaved.clear();
        }
        return cancel ? "save cancelled" : "save " + QFileInfo(path).fileName();
    }

    QString openSkin()
    {
        // In a fixed order: the temporary folders' names are random, and so is a set's order.
        QStringList choices = QStringList(m_saved.begin(), m_saved.end());
        choices.sort();
        choices << m_saveFolder + "/nichtda.bmp" << program().imagePath("Face01.bmp")
                << program().imagePath("Face_cut.bmp") << program().imagePath("userBig.bmp");
        const bool cancel = chance(10);
        const QString path = any(choices);
        program().dialogs->answer(cancel ? std::nullopt : std::optional<QString>(path));
        m_lastOpened = cancel ? QString() : path;
        m_messagesBeforeOpen = program().messages.messages.size();
        app().form1().ui().dopen->trigger();
        return cancel ? "open cancelled" : "open " + QFileInfo(path).fileName();
    }

    QString newSkin()
    {
        app().form1().ui().dneu->trigger();
        return "neu";
    }

    QString skinFolder()
    {
        const bool cancel = chance(30);
        program().dialogs->answer(cancel ? std::nullopt : std::optional<QString>(m_saveFolder + "/skin0.bmp"));
        if (chance(50) || !app().hasSetupDlg() || !app().setupDlg().isVisible()) {
            app().form1().ui().MFolder->trigger();
            return "folder menu";
        }
        QTest::mouseClick(app().setupDlg().ui().Command1, Qt::LeftButton);
        return "folder button";
    }

    QString resizeParts()
    {
        QWidget *w = parts().window();
        w->resize(QSize(pick(900) + 50, pick(900) + 50));
        return QStringLiteral("parts window resized, now %1 x %2").arg(w->width()).arg(w->height());
    }

    QString idle()
    {
        QCoreApplication::processEvents();
        return "idle";
    }

    QString restart()
    {
        app().form1().window()->close();
        const bool ended = app().hasEnded();
        start();
        return QStringLiteral("main window closed (ended %1), program started again").arg(ended);
    }

    // ---- The promises, checked after every step. Returns what is broken, or nothing. ----

    QString brokenPromise()
    {
        App &a = app();
        if (!a.hasForm1() || !a.form1().isVisible())
            return "the main window is gone";
        PictureBoxModel &canvas = a.form1().SkinPicture().model();
        if (canvas.innerSize() != QSize(256, 256) || canvas.drawingImage().size() != QSize(256, 256))
            return "canvas is not 256 x 256";

        const AppState &s = a.state;
        for (int c : {s.UserColour.red, s.UserColour.green, s.UserColour.blue})
            if (c < 0 || c > 255)
                return QStringLiteral("user colour component %1").arg(c);
        if (!(s.PartRect == Rect32{0, 0, 148, 191}))
            return "the part rectangle moved";
        if (!ColourNames.contains(s.TransparentColourName))
            return "transparent colour name '" + s.TransparentColourName + "'";
        if (!s.LanguageFile.endsWith(QLatin1String(".zlf")))
            return "language file '" + s.LanguageFile + "'";

        flushDeletes();
        std::map<QString, int> count;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (WindowNames.contains(w->objectName()))
                ++count[w->objectName()];
        for (const auto &[name, n] : count)
            if (n > 1)
                return QStringLiteral("%1 top-level widgets for %2").arg(n).arg(name);

        const QStringList &messages = program().messages.messages;
        for (qsizetype i = m_seenMessages; i < messages.size(); ++i)
            if (messages[i].trimmed().isEmpty() || messages[i].contains(QLatin1String("%1")))
                return "message '" + messages[i] + "'";
        m_seenMessages = messages.size();

        if (!m_lastSaved.isEmpty()) {
            if (const QString bad = badSkinFile(m_lastSaved); !bad.isEmpty())
                return bad;
            if (imageOf(decodeBitmap(fileBytes(m_lastSaved))) != m_lastSavedImage)
                return m_lastSaved + " does not hold what the canvas showed";
            m_lastSaved.clear();
        }
        if (!m_lastOpened.isEmpty()) {
            // A skin saved here and opened again shows exactly its pixels.
            if (m_saved.contains(m_lastOpened) && messages.size() == m_messagesBeforeOpen
                && program().canvas() != imageOf(decodeBitmap(fileBytes(m_lastOpened))))
                return m_lastOpened + " opened differs from its file";
            m_lastOpened.clear();
        }
        return {};
    }

    static QString badSkinFile(const QString &path)
    {
        const QByteArray bytes = fileBytes(path);
        if (bytes.size() != SkinFileSize)
            return QStringLiteral("%1 has %2 bytes").arg(path).arg(bytes.size());
        const Result<QImage> read = decodeBitmap(bytes);
        if (imageOf(read).size() != QSize(256, 256))
            return path + " is no 256 x 256 skin: " + errorText(read);
        return {};
    }

    const QSet<QString> &saved() const { return m_saved; }

private:
    std::mt19937 m_random;
    QString m_saveFolder;
    std::unique_ptr<TestProgram> m_program;
    qsizetype m_seenMessages = 0;
    QSet<QString> m_saved;
    QString m_lastSaved;
    QImage m_lastSavedImage;
    QString m_lastOpened;
    qsizetype m_messagesBeforeOpen = 0;
};

// The offscreen platform says at every window that it cannot raise it or cut its shape; ten
// thousand steps of that would drown any real warning.
QtMessageHandler platformHandler = nullptr;

void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    platformHandler(type, context, text);
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        platformHandler = qInstallMessageHandler(quietPlatform);
    }
    void cleanupTestCase() { qInstallMessageHandler(platformHandler); }
    void tenThousandActions();
};

void SoakTest::tenThousandActions()
{
    bool given = false;
    quint32 seed = qEnvironmentVariable("PELLWERK_SOAK_SEED").toUInt(&given);
    seed = given ? seed : DefaultSeed;
    int steps = qEnvironmentVariableIntValue("PELLWERK_SOAK_STEPS");
    steps = steps > 0 ? steps : DefaultSteps;
    const bool trace = qEnvironmentVariableIsSet("PELLWERK_SOAK_TRACE");
    qInfo("soak: seed %u, %d steps", seed, steps);
    QTemporaryDir saveFolder;
    QVERIFY(saveFolder.isValid());
    Soak soak(seed, saveFolder.path());
    soak.start();
    if (QTest::currentTestFailed())
        return;

    // Weights roughly as often as a user does each thing.
    using Action = QString (Soak::*)();
    const std::vector<std::pair<int, Action>> actions{
        {14, &Soak::listByMouse},     {10, &Soak::listByKeys},  {10, &Soak::knobTurn},  {8, &Soak::canvasPress},
        {8, &Soak::coordinateTyping}, {4, &Soak::prefixTyping}, {6, &Soak::colourPick}, {4, &Soak::languagePick},
        {6, &Soak::copyControls},     {6, &Soak::openWindow},   {4, &Soak::okButton},   {4, &Soak::closeBox},
        {4, &Soak::saveSkin},         {4, &Soak::openSkin},     {2, &Soak::newSkin},    {1, &Soak::skinFolder},
        {2, &Soak::resizeParts},      {2, &Soak::idle}};
    int total = 0;
    for (const auto &a : actions)
        total += a.first;

    std::vector<int> tally(actions.size() + 1, 0); // the last one counts restarts
    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step <= steps; ++step) {
        // Closing the main window ends the program; now and then the user starts it again.
        size_t kind = actions.size(); // a restart
        if (soak.pick(1000) >= 2) {
            kind = 0;
            for (int roll = soak.pick(total); roll >= actions[kind].first; roll -= actions[kind++].first) {
            }
        }
        const QString action = kind < actions.size() ? (soak.*(actions[kind].second))() : soak.restart();
        ++tally[kind];
        if (trace)
            qInfo("%d: %s", step, qPrintable(action));
        const QString where = QStringLiteral("seed %1, step %2 (%3)").arg(seed).arg(step).arg(action);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(where));
        const QString broken = soak.brokenPromise();
        QVERIFY2(broken.isEmpty(), qPrintable(where + ": " + broken));
    }
    const qint64 ms = clock.elapsed();

    QVERIFY2(!soak.saved().isEmpty(), "the walk never saved a skin");
    for (const QString &path : soak.saved())
        QVERIFY2(Soak::badSkinFile(path).isEmpty(),
                 qPrintable(QStringLiteral("seed %1: ").arg(seed) + Soak::badSkinFile(path)));
    QStringList counts;
    for (int n : tally)
        counts << QString::number(n);
    qInfo("soak: %d steps in %lld ms, %d skins saved; actions per kind (in the order of the table, then restarts): %s",
          steps, ms, int(soak.saved().size()), qPrintable(counts.join(", ")));
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"

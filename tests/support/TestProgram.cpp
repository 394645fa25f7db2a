#include "TestProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLocale>
#include <QPainter>

namespace testsupport {

std::optional<QString> ScriptedDialogs::run(const pellwerk::FileDialogRequest &request)
{
    requests.push_back(request);
    if (replies.empty())
        return std::nullopt;
    // Swapped out rather than move-constructed: g++ 12 takes the moved-from optional for uninitialised.
    std::optional<QString> reply;
    reply.swap(replies.front());
    replies.pop_front();
    return reply;
}

TestProgram::TestProgram(bool withImageFolder, WorkingDirectory cwd)
{
    if (withImageFolder)
        QDir(dir.path()).mkpath("Image");
    writeBmp(dir.path() + "/SkinNEW.bmp", filled(256, 256, qRgb(10, 20, 30)));
    // Numbers typed into the windows read the same on every machine.
    QLocale::setDefault(QLocale::c());
    // "neu" reads SkinNEW.bmp from the working directory first.
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(cwd == WorkingDirectory::ProgramFolder ? dir.path() : elsewhere.path());
    m_app = std::make_unique<pellwerk::App>(dir.path(), messages, dialogs);
    m_app->start();
}

TestProgram::~TestProgram()
{
    m_app.reset();
    flushDeletes();
    QDir::setCurrent(m_oldCwd);
}

QImage TestProgram::canvas()
{
    return m_app->mainWindow().canvas().model().surface().copy(0, 0, 256, 256);
}

QImage TestProgram::shownPreview()
{
    pellwerk::PictureBox *box = partsUi().partPreview;
    return box->grab(box->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage TestProgram::previewOf(const QImage &part)
{
    QImage expected(shownPreview().size(), QImage::Format_RGB32);
    expected.fill(app().state.TransparentColour.toQColor());
    QPainter(&expected).drawImage(0, 0, part);
    return expected;
}

std::optional<pellwerk::PasteStep> TestProgram::pressCopy()
{
    const int before = m_app->skin().document().stepCount();
    QTest::mouseClick(partsUi().autoPaste, Qt::LeftButton);
    QTest::mouseClick(partsUi().pasteNow, Qt::LeftButton);
    // The history keeps whole documents: the one after the paste is another object.
    const pellwerk::Document &now = m_app->skin().document();
    return now.stepCount() == before + 1 ? std::optional(now.steps().back()) : std::nullopt;
}

void TestProgram::listParts(std::initializer_list<std::pair<QString, QImage>> files, bool show)
{
    for (const auto &[name, image] : files)
        addPart(name, image);
    parts().pointListsAtImageFolder();
    if (show)
        parts().show();
}

pellwerk::TintWindow &TestProgram::openTint()
{
    QTest::mouseClick(partsUi().tintButton, Qt::LeftButton);
    return m_app->tintWindow();
}

QImage crossedPart(int width, int height, int seed)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y,
                         x == width / 2 || y == height / 2
                             ? qRgb(0, 0, 0)
                             : qRgb((x * 5 + seed) % 250 + 1, (y * 3 + seed) % 250 + 1, (seed * 11) % 250 + 1));
    return img;
}

QImage pasted(QImage skin, const QImage &part, int x, int y)
{
    for (int j = 0; j < qMin(part.height(), 191); ++j)
        for (int i = 0; i < qMin(part.width(), 148); ++i)
            if ((part.pixel(i, j) & 0xFFFFFF) != 0 && skin.rect().contains(x + i, y + j))
                skin.setPixel(x + i, y + j, part.pixel(i, j));
    return skin;
}

void clickName(pellwerk::FileListBox *list, const QString &name)
{
    const int row = list->rowOf(name);
    QVERIFY2(row >= 0, qPrintable(name + " is not listed"));
    const QModelIndex item = list->model()->index(row, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace testsupport

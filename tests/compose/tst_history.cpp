#include "compose/CanvasDelta.h"
#include "compose/CompositionHistory.h"
#include "core/ZoomGeometry.h"
#include "parts/TransparentBlit.h"

#include <QRandomGenerator>
#include <QTest>

#include <cstring>

using namespace pellwerk;

namespace {

constexpr int Skin = 256;
const QSize PartArea(148, 191); // what the transfer takes of the preview

// Bit for bit, the reserved byte included.
bool sameBytes(const QImage &a, const QImage &b)
{
    return a.size() == b.size() && a.format() == b.format()
           && std::memcmp(a.constBits(), b.constBits(), size_t(a.sizeInBytes())) == 0;
}

// Blocks of random colours, some of them black (the transparent colour), as drawn parts look; or
// with `noise`, every pixel a random colour other than black, the most a paste can change.
QImage picture(QRandomGenerator &random, int width, int height, bool noise = false)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(random.bounded(2) ? 0xFF000000u : (0xFF000000u | random.generate()));
    for (int y = 0; noise && y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000001u | random.generate());
    for (int n = noise ? 0 : random.bounded(12); n > 0; --n) {
        const QRgb colour = random.bounded(3) ? 0xFF000000u | random.generate() : 0xFF000000u;
        const int x = random.bounded(width), y = random.bounded(height);
        for (int j = y; j < std::min(height, y + random.bounded(1, 60)); ++j)
            for (int i = x; i < std::min(width, x + random.bounded(1, 60)); ++i)
                image.setPixel(i, j, colour);
    }
    return image;
}

// Pastes `part` the way the editor does (at the preview's top-left, the rest transparent: copy()
// fills it with black) and records it.
void paste(CompositionHistory &history, QImage &canvas, const QImage &part, QPoint place, const QString &name)
{
    const QImage before = canvas;
    TransparentBlit(canvas, canvas, part.copy(QRect(QPoint(), PartArea)),
                    Rect32{0, 0, PartArea.width(), PartArea.height()}, place.x(), place.y(), Colours::Black);
    history.push(HistoryStep::pasted(PasteStep{PartKindId::User, name, place, Colours::Black, {}}), before, canvas,
                 landingRect(place, part.size()));
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void delta_data()
    {
        QTest::addColumn<QImage>("before");
        QTest::addColumn<QImage>("after");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("empty");
        QRandomGenerator random(7);
        const QImage base = picture(random, Skin, Skin);
        const auto changed = [&](auto change) {
            QImage after = base;
            change(after);
            return after;
        };
        const auto every = [&](int step) {
            return changed([step](QImage &i) {
                for (int p = 0; p < Skin * Skin; p += step)
                    i.setPixel(p % Skin, p / Skin, ~i.pixel(p % Skin, p / Skin));
            });
        };
        QTest::newRow("equal") << base << base << base.rect() << true;
        QTest::newRow("alpha byte only") << base << changed([](QImage &i) { i.scanLine(4)[3 * 4 + 3] = 0; })
                                         << base.rect() << true;
        QTest::newRow("one bit of blue") << base
                                         << changed([](QImage &i) { i.setPixel(255, 255, i.pixel(255, 255) ^ 1); })
                                         << base.rect() << false;
        QTest::newRow("noise, area cut to the skin")
            << base << picture(random, Skin, Skin, true) << QRect(-20, 200, 400, 99) << false;
        QTest::newRow("noise, a column left out either side")
            << base << picture(random, Skin, Skin, true) << QRect(1, 0, 254, 256) << false;
        QTest::newRow("every 3. pixel, part of the rows") << base << every(3) << QRect(1, 0, 254, 256) << false;
        QTest::newRow("every 4. pixel, whole rows") << base << every(4) << base.rect() << false;
    }

    // The delta toggles exactly the area between the states and stays within its size bound.
    void delta()
    {
        QFETCH(QImage, before);
        QFETCH(QImage, after);
        QFETCH(QRect, area);
        QFETCH(bool, empty);
        const QRect cut = area & before.rect();
        QImage expected = before; // after inside the area, before outside it
        for (int y = cut.top(); y <= cut.bottom(); ++y)
            for (int x = cut.left(); x <= cut.right(); ++x)
                expected.setPixel(x, y, after.pixel(x, y)); // setPixel keeps RGB32 pixels opaque

        const CanvasDelta delta = CanvasDelta::between(before, after, area);
        QCOMPARE(delta.isEmpty(), empty);
        QImage canvas = before;
        QVERIFY(delta.apply(canvas) && sameBytes(canvas, expected));
        QVERIFY(delta.apply(canvas) && sameBytes(canvas, before));
        const qint64 runs = cut.width() == Skin ? 1 : cut.height();
        QVERIFY2(delta.bytes() <= 3 * qint64(cut.width()) * cut.height() + 8 * runs + 100,
                 qPrintable(QString::number(delta.bytes())));
        QImage narrower = before.copy(0, 0, 255, 256);
        QCOMPARE(delta.apply(narrower), empty);
        QVERIFY(sameBytes(narrower, before.copy(0, 0, 255, 256)));
    }

    void againstEveryState_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("maxSteps");
        QTest::newRow("no limit reached") << 1u << 1000;
        QTest::newRow("step limit 7") << 2u << 7;
        QTest::newRow("step limit 1") << 3u << 1;
        QTest::newRow("no steps kept") << 4u << 0;
    }

    // Random pastes, base and recipe steps, undo, redo, saves and clears against a model that
    // keeps every canvas and composition it went through.
    void againstEveryState()
    {
        QFETCH(quint32, seed);
        QFETCH(int, maxSteps);
        QRandomGenerator random(seed);
        CompositionHistory history({maxSteps, qint64(48) << 20});
        QImage canvas = picture(random, Skin, Skin);
        std::vector<QImage> states{canvas};
        std::vector<Composition> compositions{Composition{}};
        qsizetype position = 0, oldest = 0;
        std::optional<qsizetype> saved = 0;
        const auto record = [&](Composition composition) {
            states.resize(position + 1);
            compositions.resize(position + 1);
            states.push_back(canvas);
            compositions.push_back(std::move(composition));
            saved = saved > position ? std::nullopt : saved;
            ++position;
            oldest = std::max(oldest, position - maxSteps);
        };

        for (int op = 0; op < 400; ++op) {
            const int choice = random.bounded(100);
            if (choice < 45) {
                const QPoint place(random.bounded(-150, 300), random.bounded(-200, 300));
                const QString name = QString::number(op);
                paste(history, canvas, picture(random, random.bounded(1, 200), random.bounded(1, 230)), place, name);
                QVERIFY(!history.redoStep());
                QCOMPARE(history.undoStep() ? history.undoStep()->paste.part : name, name);
                Composition composition = compositions[position];
                composition.steps.push_back(PasteStep{PartKindId::User, name, place, Colours::Black, {}});
                record(std::move(composition));
            } else if (choice < 60) { // a base skin or a recipe replaces the canvas
                const QImage before = canvas;
                canvas = picture(random, Skin, Skin);
                const bool recipe = choice >= 55;
                const PasteStep face{PartKindId::Face, "f", {128, 0}, Colours::Black, {}};
                const Composition made{{recipe ? CompositionBase::Kind::New : CompositionBase::Kind::File,
                                        recipe ? QString() : QString::number(op)},
                                       std::vector<PasteStep>(recipe ? 1 : 0, face)};
                history.push(recipe ? HistoryStep::rebuilt(made, "r.json") : HistoryStep::rebased(made.base), before,
                             canvas, canvas.rect());
                record(made);
            } else if (choice < 80) {
                QCOMPARE(history.undo(canvas), position > oldest);
                position -= position > oldest;
            } else if (choice < 92) {
                QCOMPARE(history.redo(canvas), position + 1 < qsizetype(states.size()));
                position += position + 1 < qsizetype(states.size());
            } else if (choice < 98) {
                history.markSaved();
                saved = position;
            } else {
                history.clear();
                states.resize(position + 1);
                compositions.resize(position + 1);
                saved = saved == position ? saved : std::nullopt;
                oldest = position;
            }
            saved = saved < oldest ? std::nullopt : saved;
            QVERIFY2(sameBytes(canvas, states[position]), qPrintable(QString("after operation %1").arg(op)));
            QCOMPARE(history.composition(), compositions[position]);
            QCOMPARE(history.isModified(), saved != position);
            QCOMPARE(history.canUndo(), position > oldest);
            QCOMPARE(history.canRedo(), position + 1 < qsizetype(states.size()));
            QCOMPARE(history.size(), int(states.size() - 1 - oldest));
        }
    }

    void byteLimit_data()
    {
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("pastes");
        QTest::newRow("default, 256 worst-case pastes fit") << (qint64(48) << 20) << 300;
        QTest::newRow("300 KiB") << (qint64(300) << 10) << 40;
        QTest::newRow("less than one paste") << (qint64(50) << 10) << 5;
    }

    // Noise pastes change every pixel they cover: memory stays within the bound, the oldest steps
    // go, and the ones kept still undo to the right canvas.
    void byteLimit()
    {
        QFETCH(qint64, maxBytes);
        QFETCH(int, pastes);
        QRandomGenerator random(11);
        CompositionHistory history({256, maxBytes});
        QImage canvas = picture(random, Skin, Skin, true);
        std::vector<QImage> states{canvas};
        for (int i = 0; i < pastes; ++i) {
            paste(history, canvas, picture(random, 148, 191, true), {random.bounded(0, 108), random.bounded(0, 65)},
                  "n");
            states.push_back(canvas);
            QVERIFY(history.memoryBytes() <= maxBytes);
        }
        QCOMPARE(history.composition().steps.size(), size_t(pastes));
        if (maxBytes == qint64(48) << 20)
            QCOMPARE(history.size(), 256);
        QCOMPARE(history.size() > 0, maxBytes > 100 << 10);
        while (history.undo(canvas)) {
        }
        QVERIFY(sameBytes(canvas, states[size_t(pastes - history.size())]));
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"

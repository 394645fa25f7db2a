// The editor's document against the composer: whatever the user does to the steps, the canvas is
// what pellwerk-compose makes of the recipe the editor would write, bit for bit.

#include "TestFiles.h"

#include "compose/Composer.h"
#include "compose/Recipe.h"
#include "compose/SkinCanvas.h"
#include "core/BitmapDecoder.h"
#include "parts/PlacementTable.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {

// Parts of every size around the 148 x 191 cut, with runs of black and white (the keys) and of
// colours one unit away from them.
QImage drawnPart(QRandomGenerator &random)
{
    QImage part(random.bounded(1, 220), random.bounded(1, 240), QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0, 0, 0),
                            qRgb(255, 255, 255),
                            qRgb(1, 0, 0),
                            qRgb(254, 255, 255),
                            0xFF000000u | random.generate(),
                            0xFF000000u | random.generate()};
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            part.setPixel(x, y, colours[(x / 7 + y / 5 * 3 + random.bounded(2)) % 6]);
    return part;
}

} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_parts;
    QStringList m_palettes; // the last one is a colour shorter than the others

    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    static QImage read(const QString &file) { return imageOf(readBitmapFile(file)); }

private slots:
    void initTestCase()
    {
        QRandomGenerator random(5);
        for (int i = 0; i < 8; ++i) {
            m_parts << path(QStringLiteral("part%1.bmp").arg(i));
            QVERIFY(writeBmp(m_parts.last(), drawnPart(random)));
        }
        // Swaps between the keys and their near colours, one colour listed twice.
        for (const char *colours : {"0 0 0\n255 255 255\n1 0 0\n254 255 255", "255 255 255\n0 0 0\n9 9 9\n1 0 0",
                                    "1 0 0\n0 0 0\n0 0 0\n200 0 0", "7 7 7\n0 0 0\n254 255 255"}) {
            m_palettes << path(QStringLiteral("p%1.gpl").arg(m_palettes.size()));
            QVERIFY(writeFile(m_palettes.last(), QByteArray("GIMP Palette\n") + colours));
        }
    }

    void againstTheComposer_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 4; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    // Random pastes, tints, moves, mirrors, hides, reorders, removals, part swaps, ramp swaps
    // (palettes of different lengths refused), undos and redos
    // against a model that keeps every composition the user made. A tint or place changed again,
    // less than a second after the last change of the same field of the same step and with
    // nothing else done in between, is still that change (one undo step).
    void againstTheComposer()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        const Composer composer({m_dir.path(), {}, m_dir.path()});
        SkinCanvas canvas;
        qint64 now = 0;
        canvas.setClock([&] { return now; });
        std::vector<Composition> states{Composition{}};
        size_t position = 0;
        struct Burst
        {
            int what, index;
            qint64 at;
        };
        std::optional<Burst> burst;
        const Colour keys[] = {Colours::Black, Colours::White, Colours::Blue};

        for (int op = 0; op < 200; ++op) {
            now += random.bounded(2) ? 300 : 1500;
            const int steps = int(states[position].steps.size());
            const int index = steps ? random.bounded(steps) : 0;
            const int choice = steps ? random.bounded(100) : random.bounded(24);
            Composition next = states[position];
            PasteStep *step = steps ? &next.steps[size_t(index)] : nullptr;
            int what = -1; // 0 tint, 1 place: the changes that form bursts
            bool changed = false;
            if (choice < 16) {
                const PartKind &kind = partKinds()[size_t(random.bounded(int(partKinds().size())))];
                PasteStep paste{kind.kind, m_parts[random.bounded(m_parts.size())],
                                kind.place.value_or(QPoint(random.bounded(-160, 260), random.bounded(-200, 260))),
                                keys[random.bounded(3)],
                                random.bounded(2) ? UserRgb{} : UserRgb{random.bounded(256), 1, random.bounded(256)}};
                canvas.paste(paste, read(paste.part));
                next.steps.push_back(paste);
                changed = true;
            } else if (choice < 24) {
                QCOMPARE(canvas.undo(), position > 0);
                position -= position > 0;
                burst.reset();
            } else if (choice < 32) {
                QCOMPARE(canvas.redo(), position + 1 < states.size());
                position += position + 1 < states.size();
                burst.reset();
            } else if (choice < 48) {
                step->tint = {random.bounded(256), random.bounded(3) * 100, 0};
                changed = canvas.setTint(index, step->tint);
                what = 0;
            } else if (choice < 60) {
                step->place = QPoint(random.bounded(-160, 260), random.bounded(-200, 260));
                changed = canvas.setPlace(index, step->place);
                if (step->kind != PartKindId::User)
                    next = states[position]; // a fixed kind pastes at its kind's place, as recipes say
                what = 1;
            } else if (choice < 68) {
                step->mirrored = !step->mirrored;
                changed = canvas.setMirrored(index, step->mirrored);
            } else if (choice < 76) {
                step->visible = !step->visible;
                changed = canvas.setVisible(index, step->visible);
            } else if (choice < 84) {
                const int to = random.bounded(steps);
                changed = canvas.moveStep(index, to);
                const PasteStep moved = next.steps[size_t(index)];
                next.steps.erase(next.steps.begin() + index);
                next.steps.insert(next.steps.begin() + to, moved);
            } else if (choice < 90) {
                changed = canvas.removeStep(index);
                next.steps.erase(next.steps.begin() + index);
            } else if (choice < 95) {
                const int from = random.bounded(-1, 4), to = random.bounded(4);
                const RampSwap ramp = from < 0 ? RampSwap{} : RampSwap{m_palettes[from], m_palettes[to]};
                const auto palette = [](const QString &file) {
                    return file.isEmpty() ? Palette{} : readPaletteFile(file).value();
                };
                changed = canvas.setRamp(index, ramp, palette(ramp.from), palette(ramp.to));
                if (from < 0 || (from == 3) == (to == 3))
                    step->ramp = ramp;
            } else {
                step->part = m_parts[random.bounded(m_parts.size())];
                changed = canvas.swapPart(index, step->part, read(step->part));
            }
            if (choice < 16 || choice >= 32) {
                QCOMPARE(changed, next != states[position]);
                if (changed && what >= 0 && burst && burst->what == what && burst->index == index
                    && now - burst->at < 1000) {
                    states[position] = next;
                } else if (changed) {
                    states.resize(position + 1);
                    states.push_back(next);
                    ++position;
                }
                if (changed)
                    burst = what >= 0 ? std::optional<Burst>({what, index, now}) : std::nullopt;
            }

            // The recipe the editor would write, read back as the composer reads it.
            QCOMPARE(canvas.document().composition(), states[position]);
            const Result<Recipe> recipe = readRecipe(writeRecipe({Colours::Black, canvas.document().composition()}));
            QVERIFY2(recipe && recipe->composition == states[position], qPrintable(errorText(recipe)));
            const Result<QImage> composed = composer.compose(recipe->composition);
            QVERIFY2(composed, qPrintable(errorText(composed)));
            QVERIFY2(sameBits(canvas.model().drawingImage(), composed.value()),
                     qPrintable(QString("after action %1").arg(op)));
        }
        // A recipe opened in the editor shows the same.
        QVERIFY(sameBits(composer.document(states[position]).value().render(), canvas.model().drawingImage()));
    }

    // The document keeps the pictures it was given: a part file changed on disk shows in a new
    // paste of it (and in every step that names it), while undo gives back the canvas before.
    void partFileChangedOnDisk()
    {
        QRandomGenerator random(9);
        const QString file = path("changing.bmp");
        QVERIFY(writeBmp(file, drawnPart(random)));
        SkinCanvas canvas;
        const PasteStep face{PartKindId::Face, file, {128, 0}, Colours::Black, {}};
        const PasteStep user{PartKindId::User, file, {3, 140}, Colours::Black, {}};
        canvas.paste(face, read(file));
        const QImage first = canvas.model().drawingImage();
        QVERIFY(writeBmp(file, drawnPart(random)));
        canvas.paste(user, read(file));
        const Result<QImage> composed = Composer({}, {}).compose(canvas.document().composition());
        QVERIFY(sameBits(canvas.model().drawingImage(), composed.value()));
        QVERIFY(canvas.undo());
        QVERIFY(sameBits(canvas.model().drawingImage(), first));
    }

    // What the steps window selects and the zoom window outlines follows the edits.
    void selectionFollowsTheEdits()
    {
        SkinCanvas canvas;
        for (int i = 0; i < 3; ++i)
            canvas.paste(PasteStep{PartKindId::User, m_parts[i], {i, i}, Colours::Black, {}}, read(m_parts[i]));
        QCOMPARE(canvas.selectedStep(), 2);
        QVERIFY(canvas.moveStep(2, 0) && canvas.selectedStep() == 0);
        QVERIFY(canvas.undo() && canvas.selectedStep() == 2);
        QVERIFY(canvas.setTint(1, {5, 5, 5}) && canvas.selectedStep() == 1);
        QVERIFY(canvas.removeStep(1) && canvas.selectedStep() == 0);
        QVERIFY(canvas.undo() && canvas.selectedStep() == 1);
        QVERIFY(canvas.undo() && canvas.selectedStep() == 1); // the tint taken back
        QVERIFY(canvas.redo() && canvas.redo() && canvas.selectedStep() == 0);
        QVERIFY(canvas.removeStep(0) && canvas.selectedStep() == 0);
        QVERIFY(canvas.open(m_parts[3], {CompositionBase::Kind::File, m_parts[3]}).ok());
        QCOMPARE(canvas.selectedStep(), -1);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"

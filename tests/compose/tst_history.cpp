#include "compose/CompositionHistory.h"
#include "compose/EditBurst.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pellwerk;

namespace {

QImage noise(QRandomGenerator &random, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | random.generate());
    return image;
}

PasteStep userStep(const QString &part, QPoint place = {})
{
    return PasteStep{PartKindId::User, part, place, Colours::Black, {}};
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void againstEveryState_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("maxSteps");
        QTest::newRow("no limit reached") << 1u << 1000;
        QTest::newRow("step limit 7") << 2u << 7;
        QTest::newRow("step limit 1") << 3u << 1;
        QTest::newRow("no steps kept") << 4u << 0;
    }

    // Random pastes, new documents, amended edits, undo, redo, saves and clears against a model
    // that keeps every document it went through.
    void againstEveryState()
    {
        QFETCH(quint32, seed);
        QFETCH(int, maxSteps);
        QRandomGenerator random(seed);
        CompositionHistory history({maxSteps, qint64(48) << 20});
        std::vector<Document> states{Document()};
        qsizetype position = 0, oldest = 0;
        std::optional<qsizetype> saved = 0;
        const auto record = [&](Document after) {
            states.resize(position + 1);
            states.push_back(std::move(after));
            saved = saved > position ? std::nullopt : saved;
            ++position;
            oldest = std::max(oldest, position - maxSteps);
        };

        for (int op = 0; op < 400; ++op) {
            const int choice = random.bounded(100);
            const QString name = QString::number(op);
            if (choice < 40) {
                Document after = history.document();
                after.append(userStep(name, {random.bounded(-150, 300), 0}), noise(random, 3, 2));
                history.push(HistoryStep::pasted(after.steps().back(), after.stepCount() - 1), after);
                record(after);
            } else if (choice < 50) {
                const Document after({CompositionBase::Kind::File, name}, noise(random, 4, 4));
                history.push(HistoryStep::rebased(after.base()), after);
                record(after);
            } else if (choice < 58) {
                // An edit going on: the last done state becomes another one, unless undone steps follow.
                Document after = states[position];
                after.append(userStep(name), noise(random, 2, 2));
                const bool amends = position > oldest && position + 1 == qsizetype(states.size());
                QCOMPARE(history.amend(HistoryStep::rebuilt(name), after), amends);
                if (amends) {
                    states[position] = after;
                    saved = saved == position ? std::nullopt : saved;
                }
            } else if (choice < 76) {
                QCOMPARE(history.undo(), position > oldest);
                position -= position > oldest;
            } else if (choice < 90) {
                QCOMPARE(history.redo(), position + 1 < qsizetype(states.size()));
                position += position + 1 < qsizetype(states.size());
            } else if (choice < 97) {
                history.markSaved();
                saved = position;
            } else {
                history.clear();
                states.resize(position + 1);
                saved = saved == position ? saved : std::nullopt;
                oldest = position;
            }
            saved = saved < oldest ? std::nullopt : saved;
            QVERIFY2(history.document() == states[position], qPrintable(QString("after operation %1").arg(op)));
            QCOMPARE(history.isModified(), saved != position);
            QCOMPARE(history.canUndo(), position > oldest);
            QCOMPARE(history.canRedo(), position + 1 < qsizetype(states.size()));
            QCOMPARE(history.size(), int(states.size() - 1 - oldest));
        }
    }

    void byteLimit_data()
    {
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("newDocuments"); // each a skin of its own, or a paste of a part of its own
        QTest::addColumn<int>("kept");
        // A skin holds 262,144 bytes of pixels, a 148 x 191 part 113,072; a step list a few KiB.
        QTest::newRow("pastes: their parts are the document's") << (qint64(48) << 20) << 300 << false << 256;
        QTest::newRow("new documents: 191 skins and their lists fit 48 MiB")
            << (qint64(48) << 20) << 200 << true << 191;
        QTest::newRow("1 MiB, new documents") << (qint64(1) << 20) << 10 << true << 3;
        QTest::newRow("1 MiB, 20 pastes: 2 MiB of parts are the document's") << (qint64(1) << 20) << 20 << false << 20;
        QTest::newRow("less than one skin: nothing to undo") << (qint64(100) << 10) << 5 << true << 0;
    }

    // Memory stays within the bound, the oldest actions go, the ones kept still undo to the right
    // document. What counts is what undo keeps alive: a picture the current document holds does not.
    void byteLimit()
    {
        QFETCH(qint64, maxBytes);
        QFETCH(int, actions);
        QFETCH(bool, newDocuments);
        QFETCH(int, kept);
        QRandomGenerator random(11);
        CompositionHistory history({256, maxBytes});
        std::vector<Document> states{history.document()};
        for (int i = 0; i < actions; ++i) {
            Document after = newDocuments ? Document({CompositionBase::Kind::File, "s"}, noise(random, 256, 256))
                                          : history.document();
            if (!newDocuments)
                after.append(userStep(QString::number(i)), noise(random, 148, 191));
            history.push(HistoryStep::rebuilt("r"), after);
            states.push_back(after);
            QVERIFY(history.memoryBytes() <= maxBytes);
        }
        QCOMPARE(history.size(), kept);
        while (history.undo()) {
        }
        QVERIFY(history.document() == states[size_t(actions - kept)]);
        // Back at the oldest state the later pictures are what undo keeps; a redo brings them back.
        QVERIFY(history.memoryBytes() >= qint64(kept) * (newDocuments ? 262144 : 113072));
        QCOMPARE(history.redo(), kept > 0);
    }

    void burst_data()
    {
        QTest::addColumn<QList<int>>("changes"); // type (0 tint, 1 place, 2 mirror), step, time, ...
        QTest::addColumn<QList<bool>>("joins");
        QTest::newRow("typing a tint") << QList<int>{0, 3, 0, 0, 3, 150, 0, 3, 300} << QList<bool>{false, true, true};
        QTest::newRow("a held arrow goes on past the gap")
            << QList<int>{1, 0, 0, 1, 0, 900, 1, 0, 1800, 1, 0, 2700} << QList<bool>{false, true, true, true};
        QTest::newRow("a pause of the gap ends it") << QList<int>{0, 1, 0, 0, 1, 1000} << QList<bool>{false, false};
        QTest::newRow("another step") << QList<int>{0, 1, 0, 0, 2, 10, 0, 2, 20} << QList<bool>{false, false, true};
        QTest::newRow("tint then place") << QList<int>{0, 1, 0, 1, 1, 10} << QList<bool>{false, false};
        QTest::newRow("a mirror in between")
            << QList<int>{0, 1, 0, 2, 1, 10, 0, 1, 20} << QList<bool>{false, false, false};
        QTest::newRow("a clock set back") << QList<int>{0, 1, 500, 0, 1, 100} << QList<bool>{false, false};
    }

    // Which spin box changes join the undo step before them.
    void burst()
    {
        QFETCH(QList<int>, changes);
        QFETCH(QList<bool>, joins);
        constexpr HistoryStep::Type types[] = {HistoryStep::Type::Tint, HistoryStep::Type::Place,
                                               HistoryStep::Type::Mirror};
        EditBurst burst;
        for (qsizetype i = 0; i < joins.size(); ++i)
            QCOMPARE(burst.join(types[changes[3 * i]], changes[3 * i + 1], changes[3 * i + 2]), joins[i]);
        burst.end();
        QVERIFY(!burst.join(types[changes[0]], changes[1], changes.last()));
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "tst_history.moc"

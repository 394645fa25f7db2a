#include "editor/Coordinates.h"

#include <QTest>

#include <limits>

using namespace pellwerk;

class CoordinatesTest : public QObject
{
    Q_OBJECT

private slots:
    void coordinateBox_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("after");  // the box's text after the clamp
        QTest::addColumn<QVariant>("place"); // the whole number it stands for; none when it is no number or too large

        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const auto row = [](const char *name, const QLocale &locale, const QString &text, const QString &after,
                            const QVariant &place) { QTest::newRow(name) << locale << text << after << place; };
        const QVariant none;

        // The clamp: 255 at most, written "255"; no lower limit; text that is no number stays.
        row("300 becomes 255", en, "300", "255", 300);
        row("254 stays", en, "254", "254", 254);
        row("255 is no change", en, "255", "255", 255);
        row("255.0 is written 255", en, "255.0", "255", 255);
        row("just below stays as typed", en, " 254.99 ", " 254.99 ", 255);
        row("just above", de, "255,01", "255", 255);
        row("exponent", en, "1e3", "255", 1000);
        row("German thousands", de, "1.000", "255", 1000);
        row("very negative stays", en, "-99999999999", "-99999999999", none);
        row("other notation is no number", de, "300.5", "300.5", none);
        row("number then letters", en, "12px", "12px", none);
        row("empty", en, "", "", none);
        row("infinity", en, "inf", "inf", none);
        row("too large for a double", en, "1e400", "1e400", none);

        // Rounding: halves go to the even neighbour.
        row("half to even, down", en, "2.5", "2.5", 2);
        row("half to even, up", en, "3.5", "3.5", 4);
        row("negative half to even", en, "-2.5", "-2.5", -2);
        row("largest", en, "2147483647.4", "255", std::numeric_limits<qint32>::max());
        row("smallest", en, "-2147483648", "-2147483648", std::numeric_limits<qint32>::min());
        row("smallest minus a half rounds to even", en, "-2147483648.5", "-2147483648.5",
            std::numeric_limits<qint32>::min());
        row("rounds beyond the smallest", en, "-2147483649", "-2147483649", none);
        row("rounds beyond the largest", de, "2147483647,5", "255", none);
    }

    void coordinateBox()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(QVariant, place);

        QCOMPARE(clampedText(text, locale).value_or(text), after);
        QCOMPARE(clampedText(text, locale).has_value(), after != text);
        // Writing the clamped text back must not ask for another change.
        QVERIFY(!clampedText(after, locale));

        const std::optional<qint32> value = coordinateToInt(text, locale);
        QCOMPARE(value.has_value(), place.isValid());
        if (value)
            QCOMPARE(*value, place.toInt());
    }
};

QTEST_GUILESS_MAIN(CoordinatesTest)
#include "tst_coordinates.moc"

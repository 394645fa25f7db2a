#include "parts/Coordinates.h"

#include <QTest>

#include <limits>

using namespace pellwerk;

namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

} // namespace

class CoordinatesTest : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void clamp_data();
    void clamp();
    void toInteger_data();
    void toInteger();
};

void CoordinatesTest::reading_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    QTest::newRow("whole") << English << "12" << true << 12.0;
    QTest::newRow("negative") << English << "-20" << true << -20.0;
    QTest::newRow("spaces around") << English << " 7 " << true << 7.0;
    QTest::newRow("decimal point") << English << "2.5" << true << 2.5;
    QTest::newRow("decimal comma in German") << German << "2,5" << true << 2.5;
    QTest::newRow("decimal point is no German number") << German << "2.5" << false << 0.0;
    QTest::newRow("German group separator") << German << "1.000" << true << 1000.0;
    QTest::newRow("exponent") << German << "1e3" << true << 1000.0;
    QTest::newRow("empty") << English << "" << false << 0.0;
    QTest::newRow("only spaces") << English << "  " << false << 0.0;
    QTest::newRow("letters") << English << "abc" << false << 0.0;
    QTest::newRow("number then letters") << English << "12px" << false << 0.0;
    QTest::newRow("infinity") << English << "inf" << false << 0.0;
    QTest::newRow("not a number") << English << "nan" << false << 0.0;
    QTest::newRow("too large for a double") << English << "1e400" << false << 0.0;
}

void CoordinatesTest::reading()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);

    const std::optional<double> read = readCoordinate(text, locale);
    QCOMPARE(read.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*read, value);
}

void CoordinatesTest::clamp_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after"); // the box's text after the clamp

    QTest::newRow("300 becomes 255") << English << "300" << "255";
    QTest::newRow("254 stays") << English << "254" << "254";
    QTest::newRow("255 is no change") << English << "255" << "255";
    QTest::newRow("255.0 is written 255") << English << "255.0" << "255";
    QTest::newRow("just below stays as typed") << English << "254.99" << "254.99";
    QTest::newRow("just above") << German << "255,01" << "255";
    QTest::newRow("leading zero") << English << "0255" << "255";
    QTest::newRow("negative stays") << English << "-20" << "-20";
    QTest::newRow("very negative stays") << English << "-99999999999" << "-99999999999";
    QTest::newRow("exponent") << English << "1e3" << "255";
    QTest::newRow("German thousands") << German << "1.000" << "255";
    QTest::newRow("no number stays") << English << "abc" << "abc";
    QTest::newRow("empty stays") << English << "" << "";
    QTest::newRow("other notation stays") << German << "300.5" << "300.5";
}

void CoordinatesTest::clamp()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(QString, after);

    const std::optional<QString> clamped = clampedText(text, locale);
    QCOMPARE(clamped.value_or(text), after);
    QCOMPARE(clampNeeded(text, locale), after != text);
    // Writing the clamped text back must not ask for another change.
    QVERIFY(!clampNeeded(after, locale));
}

void CoordinatesTest::toInteger_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint32>("value");

    constexpr qint32 Min = std::numeric_limits<qint32>::min();
    constexpr qint32 Max = std::numeric_limits<qint32>::max();

    QTest::newRow("whole") << English << "87" << true << 87;
    QTest::newRow("negative") << English << "-20" << true << -20;
    QTest::newRow("half to even, down") << English << "2.5" << true << 2;
    QTest::newRow("half to even, up") << English << "3.5" << true << 4;
    QTest::newRow("negative half to even") << English << "-2.5" << true << -2;
    QTest::newRow("negative half to even, away") << English << "-3.5" << true << -4;
    QTest::newRow("zero point five") << English << "0.5" << true << 0;
    QTest::newRow("minus zero point five") << English << "-0.5" << true << 0;
    QTest::newRow("below half") << English << "2.4999" << true << 2;
    QTest::newRow("above half") << English << "2.5001" << true << 3;
    QTest::newRow("German comma") << German << "12,5" << true << 12;
    QTest::newRow("largest") << English << "2147483647" << true << Max;
    QTest::newRow("largest plus less than half") << English << "2147483647.4" << true << Max;
    QTest::newRow("rounds beyond the largest") << English << "2147483647.5" << false << 0;
    QTest::newRow("beyond the largest") << English << "2147483648" << false << 0;
    QTest::newRow("smallest") << English << "-2147483648" << true << Min;
    QTest::newRow("smallest minus a half rounds to even") << English << "-2147483648.5" << true << Min;
    QTest::newRow("beyond the smallest") << English << "-2147483649" << false << 0;
    QTest::newRow("huge") << English << "1e300" << false << 0;
    QTest::newRow("no number") << English << "x" << false << 0;
    QTest::newRow("empty") << English << "" << false << 0;
}

void CoordinatesTest::toInteger()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(qint32, value);

    const std::optional<qint32> place = coordinateToInt(text, locale);
    QCOMPARE(place.has_value(), fits);
    if (fits)
        QCOMPARE(*place, value);
}

QTEST_GUILESS_MAIN(CoordinatesTest)
#include "tst_coordinates.moc"

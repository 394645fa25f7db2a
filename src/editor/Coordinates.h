#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace pellwerk {

// The text of a coordinate box as a number: a decimal number in `locale`'s notation (its
// decimal point and, where it uses them, its group separators; an exponent is accepted),
// surrounding spaces ignored. Only the locale's notation counts: in a locale whose decimal
// point is a comma, "2.5" is no number rather than a guess. Empty text, anything else and
// infinities give nothing.
std::optional<double> readCoordinate(const QString &text, const QLocale &locale);

// What a coordinate box must be set to after its text changed: "255" for a number of 255 or
// more that is not already written "255", nothing otherwise. Below 255 the text stays exactly
// as typed (there is no lower limit), and so does text that is no number.
std::optional<QString> clampedText(const QString &text, const QLocale &locale);

// A coordinate box's text as a place on the skin: the number rounded to the nearest whole
// number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4, -2.5 gives -2). Nothing when
// the text is no number or the rounded value does not fit a signed 32-bit integer.
std::optional<qint32> coordinateToInt(const QString &text, const QLocale &locale);

} // namespace pellwerk

#pragma once

#include "Colour.h"

#include <QString>
#include <QtGlobal>

namespace pellwerk {

// Left, top, right, bottom in pixels, as the transfer takes them.
struct Rect32
{
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    friend bool operator==(const Rect32 &, const Rect32 &) = default;
};

// The three knob values of the colour window, each 0 to 255 when set by a knob.
struct UserRgb
{
    qint32 red = 0;
    qint32 green = 0;
    qint32 blue = 0;
    friend bool operator==(const UserRgb &, const UserRgb &) = default;
    Colour toColour() const { return Colour(quint32(red + 256 * green + 65536 * blue)); }
    // Two corrections one after the other, as one: the knobs' capped additions add up, capped.
    UserRgb followedBy(const UserRgb &next) const
    {
        const auto sum = [](qint32 a, qint32 b) { return qBound(0, a + b, 255); };
        return {sum(red, next.red), sum(green, next.green), sum(blue, next.blue)};
    }
};

// The one program-wide record. Start-up fills it; nothing of it outlives the run.
struct AppState
{
    QString ProgramFolder;
    QString ImageFolder;
    QString SkinName;
    QString SkinFolder;
    Colour TransparentColour;
    QString TransparentColourName;
    QString LanguageFile;
    QString LanguageLine;
    Rect32 PartRect;
    UserRgb UserColour;
};

} // namespace pellwerk

#pragma once

#include "Colour.h"
#include "Rect32.h"
#include "UserRgb.h"

#include <QString>

namespace pellwerk {

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

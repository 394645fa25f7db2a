#include "PartFolders.h"

#include <QStandardPaths>

namespace pellwerk {

QString userPartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/pellwerk/Image/");
}

} // namespace pellwerk

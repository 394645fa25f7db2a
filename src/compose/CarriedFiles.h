#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <map>

namespace pellwerk {

// Files a project carries with it instead of on the disk: the parts and the base skin its
// recipe names, by the path the recipe writes ("parts/Face01.bmp"). A path the recipe writes
// that is carried is read from here and never looked for on the disk.
struct CarriedFiles
{
    QString origin;                      // the project file, to name a carried file in messages
    std::map<QString, QByteArray> files; // by the path relative to the recipe, cleaned

    // How the carried file a recipe means by `written` is named ("skin.ora/parts/Face01.bmp");
    // empty when it is not carried.
    QString pathOf(const QString &written) const
    {
        if (files.empty() || QDir::isAbsolutePath(written))
            return {};
        const QString name = QDir::cleanPath(written);
        return files.count(name) ? origin + QLatin1Char('/') + name : QString();
    }
    // The bytes of the file pathOf() named `path`, or nullptr.
    const QByteArray *bytesAt(const QString &path) const
    {
        const QString prefix = origin + QLatin1Char('/');
        if (files.empty() || !path.startsWith(prefix))
            return nullptr;
        const auto found = files.find(path.mid(prefix.size()));
        return found == files.end() ? nullptr : &found->second;
    }
};

} // namespace pellwerk

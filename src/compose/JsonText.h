#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

namespace pellwerk {

// A string as a JSON string literal, quoted and escaped by Qt's own writer, for JSON that is laid
// out by hand (QJsonObject would sort the keys).
inline QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace pellwerk

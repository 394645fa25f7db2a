#pragma once

#include <QString>
#include <QStringList>

namespace pellwerk {

// Where failure messages go. The program shows a modal box titled "Pellwerk"; tests record.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text) = 0;
};

// Keeps every message instead of showing it (tests, and code that runs without windows).
class RecordingMessageSink : public MessageSink
{
public:
    void showMessage(const QString &text) override { messages.append(text); }
    QStringList messages;
};

} // namespace pellwerk

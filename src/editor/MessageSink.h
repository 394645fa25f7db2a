#pragma once

#include <QString>
#include <QStringList>

#include <deque>

namespace pellwerk {

// The answers to the question whether unsaved changes are to be saved first.
enum class SaveChoice { Save, Discard, Cancel };

// Where failure messages and questions go. The program shows modal boxes titled "Pellwerk";
// tests record and answer from a script.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString &text) = 0;
    // Asks `question` with the answers "Speichern", "Verwerfen" and "Abbrechen"; closing the
    // question any other way (Esc, its close box) is Cancel.
    virtual SaveChoice askToSave(const QString &question) = 0;
    // Asks `question` with the answers "Wiederherstellen" (true) and "Verwerfen" (false); there
    // is no other way to close it, as either answer decides what becomes of the work.
    virtual bool askToRestore(const QString &question) = 0;
};

// Keeps every message and question instead of showing them (tests, and code that runs without
// windows). Questions take the answers queued in `answers` (`restoreAnswers`), then Discard
// ("Verwerfen").
class RecordingMessageSink : public MessageSink
{
public:
    void showMessage(const QString &text) override { messages.append(text); }
    SaveChoice askToSave(const QString &question) override
    {
        questions.append(question);
        if (answers.empty())
            return SaveChoice::Discard;
        const SaveChoice answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool askToRestore(const QString &question) override
    {
        questions.append(question);
        const bool restore = !restoreAnswers.empty() && restoreAnswers.front();
        if (!restoreAnswers.empty())
            restoreAnswers.pop_front();
        return restore;
    }

    QStringList messages;
    QStringList questions;
    std::deque<SaveChoice> answers;
    std::deque<bool> restoreAnswers;
};

} // namespace pellwerk

#pragma once

#include "editor/CommonDialog.h"
#include "editor/MessageSink.h"

class QFileDialog;

namespace pellwerk {

// File dialogs of the running program. A dialog starts in the request's initial folder and
// offers the name chosen last time there (or the whole path when there is no initial folder); the
// request's places head its sidebar.
// The save dialog adds the filter's extension to a name typed without one and asks before replacing an
// existing file. Using these dialogs writes no settings file.
class QtFileDialogBackend : public FileDialogBackend
{
public:
    QtFileDialogBackend();
    std::optional<QString> run(const FileDialogRequest &request) override;
    // Sets a dialog up for a request, without showing it.
    static void configure(QFileDialog &dialog, const FileDialogRequest &request);
};

// Modal message boxes titled "Pellwerk": a message with one OK button, and the question whether
// to save first with "Speichern", "Verwerfen" and "Abbrechen", the question whether to restore
// unsaved work with "Wiederherstellen" and "Verwerfen".
class QtMessageSink : public MessageSink
{
public:
    void showMessage(const QString &text) override;
    SaveChoice askToSave(const QString &question) override;
    bool askToRestore(const QString &question) override;
};

} // namespace pellwerk

#pragma once

#include "core/CommonDialog.h"
#include "core/MessageSink.h"

namespace pellwerk {

// File dialogs of the running program. The save dialog adds ".bmp" to a name typed without
// extension and asks before replacing an existing file.
class QtFileDialogBackend : public FileDialogBackend
{
public:
    std::optional<QString> run(const FileDialogRequest &request) override;
};

// A modal message box titled "Pellwerk" with the text and one OK button.
class QtMessageSink : public MessageSink
{
public:
    void showMessage(const QString &text) override;
};

} // namespace pellwerk

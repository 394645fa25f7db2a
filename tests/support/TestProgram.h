#pragma once

// Helpers shared by the window tests: a program folder of their own and a file dialog that
// answers like a scripted user.

#include "TestFiles.h"
#include "core/CommonDialog.h"
#include "core/MessageSink.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace pellwerk {
class App;
class FileListBox;
} // namespace pellwerk

namespace testsupport {

// Answers file dialogs from a queue: a path, or std::nullopt for a cancel. Records every request.
class ScriptedDialogs : public pellwerk::FileDialogBackend
{
public:
    std::optional<QString> run(const pellwerk::FileDialogRequest &request) override;
    void answer(std::optional<QString> reply) { replies.push_back(std::move(reply)); }

    std::deque<std::optional<QString>> replies;
    std::vector<pellwerk::FileDialogRequest> requests;
};

// A running program in a temporary program folder with Image/ and SkinNEW.bmp of its own.
class TestProgram
{
public:
    // Where the program runs: in its folder, as started from there, or in an empty folder, as
    // started from the desktop's menu or a terminal elsewhere.
    enum class WorkingDirectory { ProgramFolder, Elsewhere };

    // `withImageFolder` false leaves Image/ out.
    explicit TestProgram(bool withImageFolder = true, bool start = true,
                         WorkingDirectory cwd = WorkingDirectory::ProgramFolder);
    ~TestProgram();

    QString folder() const { return dir.path(); }
    QString imagePath(const QString &name) const { return dir.path() + "/Image/" + name; }
    void addPart(const QString &name, const QImage &image) { writeBmp(imagePath(name), image); }

    pellwerk::App &app() { return *m_app; }
    QImage canvas(); // the canvas's 256 x 256 pixels

    QTemporaryDir dir;
    QTemporaryDir elsewhere; // empty; the working directory with WorkingDirectory::Elsewhere
    pellwerk::RecordingMessageSink messages;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();

private:
    std::unique_ptr<pellwerk::App> m_app;
    QString m_oldCwd;
};

// The skin after pasting `part` at (x, y) with black left out and the part cut to the preview's
// 148 x 191 pixels: the transfer rule written out plainly, to compare the canvas with.
QImage pasted(QImage skin, const QImage &part, int x, int y);
// Picks `name` in a file list with a mouse click, as a user does.
void clickName(pellwerk::FileListBox *list, const QString &name);

// Deletes widgets that a closed window left for the event loop.
void flushDeletes();

} // namespace testsupport

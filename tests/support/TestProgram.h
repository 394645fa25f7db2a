#pragma once

// Helpers shared by the window tests: a program folder of their own, a file dialog that answers
// like a scripted user, and the main and parts windows most tests work through. Every window
// comes with its designed controls.

#include "TestFiles.h"
#include "core/BitmapDecoder.h"
#include "editor/CommonDialog.h"
#include "editor/MessageSink.h"
#include "editor/StatusText.h"
#include "ui/AboutDialog.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/MainWindow.h"
#include "ui/PartsWindow.h"
#include "ui/PictureBox.h"
#include "ui/SettingsDialog.h"
#include "ui/TintWindow.h"
#include "ui/ZoomWindow.h"
#include "ui_AboutDialog.h"
#include "ui_MainWindow.h"
#include "ui_PartsWindow.h"
#include "ui_SettingsDialog.h"
#include "ui_TintWindow.h"
#include "ui_ZoomWindow.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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

// A running program in a temporary program folder with Image/ and SkinNEW.bmp of its own, in the
// C locale.
class TestProgram
{
public:
    // Where the program runs: in its folder, as started from there, or in an empty folder, as
    // started from the desktop's menu or a terminal elsewhere.
    enum class WorkingDirectory { ProgramFolder, Elsewhere };

    // `withImageFolder` false leaves Image/ out.
    explicit TestProgram(bool withImageFolder = true, WorkingDirectory cwd = WorkingDirectory::ProgramFolder);
    ~TestProgram();

    QString folder() const { return dir.path(); }
    QString imagePath(const QString &name) const { return dir.path() + "/Image/" + name; }
    void addPart(const QString &name, const QImage &image) { writeBmp(imagePath(name), image); }

    pellwerk::App &app() { return *m_app; }
    Ui::MainWindow &main() { return m_app->mainWindow().ui(); }
    pellwerk::PartsWindow &parts() { return m_app->partsWindow(); }
    Ui::PartsWindow &partsUi() { return m_app->partsWindow().ui(); }
    QImage canvas(); // the canvas's 256 x 256 pixels
    // The part preview as the user sees it: its inner area, without the frame; the part shown
    // lies at its top-left.
    QImage shownPreview();
    // What the preview shows with `part` in it: the part at the top-left over the transparent colour.
    QImage previewOf(const QImage &part);
    // Turns automatic pasting off and presses "copy": the step it added, or nothing.
    std::optional<pellwerk::PasteStep> pressCopy();

    // Writes each (name, picture) into Image/, lists them in the parts window and, with `show`,
    // shows that window: where most editing starts.
    void listParts(std::initializer_list<std::pair<QString, QImage>> files, bool show = true);
    // The colour-correction window, opened by the parts window's "RGB" button.
    pellwerk::TintWindow &openTint();

    QTemporaryDir dir;
    QTemporaryDir elsewhere; // empty; the working directory with WorkingDirectory::Elsewhere
    pellwerk::RecordingMessageSink messages;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();

private:
    std::unique_ptr<pellwerk::App> m_app;
    QString m_oldCwd;
};

// A part of distinct colours, none of them black but a black cross through its middle, which a
// paste with black transparent leaves out.
QImage crossedPart(int width, int height, int seed);
// The skin after pasting `part` at (x, y) with black left out and the part cut to the preview's
// 148 x 191 pixels: the transfer rule written out plainly, to compare the canvas with.
QImage pasted(QImage skin, const QImage &part, int x, int y);
// Picks `name` in a file list with a mouse click, as a user does.
void clickName(pellwerk::FileListBox *list, const QString &name);
// The colour a label or swatch is filled with.
inline QColor background(QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

// Deletes widgets that a closed window left for the event loop.
void flushDeletes();

} // namespace testsupport

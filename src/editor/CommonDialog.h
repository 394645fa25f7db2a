#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace pellwerk {

// What a file dialog is asked for: the properties a caller set before showing it.
struct FileDialogRequest
{
    enum class Kind { Open, Save };
    FileDialogRequest() = default;
    // Most dialogs offer no places.
    FileDialogRequest(Kind kind, QString title, QString filter, QString initDir, QString fileName,
                      QStringList places = {})
        : kind(kind), title(std::move(title)), filter(std::move(filter)), initDir(std::move(initDir)),
          fileName(std::move(fileName)), places(std::move(places))
    {}

    Kind kind = Kind::Open;
    QString title;
    QString filter; // pairs of description and pattern separated by "|", e.g. "Bilder |*.bmp|"
    QString initDir;
    QString fileName; // the name chosen last time, offered again
    QStringList places; // folders offered to go to at one click (a sidebar), in this order
};

// Shows the real dialog (QFileDialog in the program, a script in tests). Returns the chosen
// full path, or nothing when the user cancelled.
class FileDialogBackend
{
public:
    virtual ~FileDialogBackend() = default;
    virtual std::optional<QString> run(const FileDialogRequest &request) = 0;
};

// The one file dialog component of the main window. Every property keeps its value between
// uses. After a dialog the user confirmed, FileName is the chosen path and InitDir the folder
// of that file (with a trailing "/"); after a cancel every property stays as it was.
class CommonDialog
{
public:
    QString FileName = QStringLiteral("*.bmp");
    QString DialogTitle = QStringLiteral("Skin für Velmora");
    QString Filter = QStringLiteral("*.bmp");
    QString InitDir;
    QStringList Places;

    void setBackend(std::shared_ptr<FileDialogBackend> backend) { m_backend = std::move(backend); }

    // True when the user chose a file, false when the dialog was cancelled.
    bool ShowOpen() { return show(FileDialogRequest::Kind::Open); }
    bool ShowSave() { return show(FileDialogRequest::Kind::Save); }

    // "Bilder |*.bmp|" → "Bilder  (*.bmp)", one Qt filter line per pair.
    static QString toQtFilter(const QString &filter);

private:
    bool show(FileDialogRequest::Kind kind);
    std::shared_ptr<FileDialogBackend> m_backend;
};

} // namespace pellwerk

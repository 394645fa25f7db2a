#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace pellwerk {

std::optional<QString> QtFileDialogBackend::run(const FileDialogRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initDir,
                       CommonDialog::toQtFilter(request.filter));
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setDefaultSuffix(QStringLiteral("bmp"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    // The component offers the file chosen last time, unless it is only the pattern.
    const QFileInfo last(request.fileName);
    if (!request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*'))) {
        if (last.isAbsolute())
            dialog.selectFile(request.fileName);
        else
            dialog.selectFile(last.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void QtMessageSink::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pellwerk"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

} // namespace pellwerk

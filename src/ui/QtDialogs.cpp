#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QUrl>

namespace pellwerk {

QtFileDialogBackend::QtFileDialogBackend()
{
    // Qt's file dialog stores its history and view in the user's settings whenever it closes,
    // and cannot be told not to. This program keeps no settings at all, so the user scope of
    // QSettings is pointed at a place where no file can ever be created.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void QtFileDialogBackend::configure(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(CommonDialog::toQtFilter(request.filter));
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        // A name typed without extension gets the filter's: "Bilder |*.bmp|" gives ".bmp".
        const qsizetype dot = request.filter.indexOf(QStringLiteral("*."));
        const QString suffix = dot < 0 ? QString() : request.filter.mid(dot + 2).section(QLatin1Char('|'), 0, 0);
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    // The places come before the dialog's own (the computer, the home folder); a folder that does
    // not exist is left out.
    if (!request.places.isEmpty()) {
        QList<QUrl> places;
        for (const QString &folder : request.places)
            places << QUrl::fromLocalFile(folder);
        dialog.setSidebarUrls(places + dialog.sidebarUrls());
    }
    // The file chosen last time is offered again (unless it is only the pattern) — by its name
    // in the initial folder, because a whole path would take the dialog to that file's folder.
    const bool offerLast = !request.fileName.isEmpty() && !request.fileName.contains(QLatin1Char('*'));
    if (!request.initDir.isEmpty()) {
        dialog.setDirectory(request.initDir);
        if (offerLast)
            dialog.selectFile(QFileInfo(request.fileName).fileName());
    } else if (offerLast) {
        dialog.selectFile(request.fileName);
    }
}

std::optional<QString> QtFileDialogBackend::run(const FileDialogRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow());
    configure(dialog, request);
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

SaveChoice QtMessageSink::askToSave(const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pellwerk"), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
    // The words are the program's own, whatever translation of Qt is installed.
    box.button(QMessageBox::Save)->setText(QStringLiteral("Speichern"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Verwerfen"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

bool QtMessageSink::askToRestore(const QString &question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pellwerk"), question, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *restore = box.addButton(QStringLiteral("Wiederherstellen"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Verwerfen"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    // Neither answer has the reject role, so the box finds no escape button and neither Esc nor
    // its close box answers: an answer by mistake could delete the work.
    box.exec();
    return box.clickedButton() == restore;
}

} // namespace pellwerk

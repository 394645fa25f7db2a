#pragma once

#include "core/AppState.h"
#include "core/CommonDialog.h"
#include "core/MessageSink.h"

#include <QObject>
#include <QString>
#include <memory>

namespace pellwerk {

class Form1;
class TeileFrm;
class SetupDlg;
class AboutDlg;
class RGB_Frm;

// One run of the program: the program-wide state and the five windows, each created on its
// first reference. Tests make a fresh App for every case.
class App : public QObject
{
    Q_OBJECT
public:
    // `programFolder` is where the program file lies; messages go to `messages`, file dialogs
    // to `dialogs`.
    App(QString programFolder, MessageSink &messages, std::shared_ptr<FileDialogBackend> dialogs);
    ~App() override;

    AppState state;

    const QString &programFolder() const { return m_programFolder; }
    MessageSink &messages() { return m_messages; }
    void showMessage(const QString &text) { m_messages.showMessage(text); }
    std::shared_ptr<FileDialogBackend> dialogBackend() const { return m_dialogs; }

    Form1 &form1();
    TeileFrm &teileFrm();
    SetupDlg &setupDlg();
    AboutDlg &aboutDlg();
    RGB_Frm &rgbFrm();

    // Whether the instance exists, without creating it.
    bool hasForm1() const { return bool(m_form1); }
    bool hasTeileFrm() const { return bool(m_teileFrm); }
    bool hasSetupDlg() const { return bool(m_setupDlg); }
    bool hasAboutDlg() const { return bool(m_aboutDlg); }
    bool hasRgbFrm() const { return bool(m_rgbFrm); }

    // Pastes what the parts window's preview shows onto the skin canvas at (x, y), leaving out
    // the transparent colour, and refreshes the canvas. The only way parts reach the skin.
    void TransferPart(qint32 x, qint32 y);

    // Creates and loads the main window (the start-up) and shows it.
    void start();
    // Closes every window; the program then ends.
    void shutdown();
    bool hasEnded() const { return m_ended; }

signals:
    void ended();

private:
    QString m_programFolder;
    MessageSink &m_messages;
    std::shared_ptr<FileDialogBackend> m_dialogs;
    std::unique_ptr<Form1> m_form1;
    std::unique_ptr<TeileFrm> m_teileFrm;
    std::unique_ptr<SetupDlg> m_setupDlg;
    std::unique_ptr<AboutDlg> m_aboutDlg;
    std::unique_ptr<RGB_Frm> m_rgbFrm;
    bool m_ended = false;
    bool m_shuttingDown = false;
};

} // namespace pellwerk

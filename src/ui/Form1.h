#pragma once

#include "Form.h"
#include "core/CommonDialog.h"

#include <QMainWindow>
#include <QPoint>
#include <memory>

class QTimer;

namespace Ui {
class Form1;
}

namespace pellwerk {

class PictureBox;

// The main window: the skin canvas, the menus, the status label and the timer.
class Form1 : public Form
{
    Q_OBJECT
public:
    explicit Form1(App &app);
    ~Form1() override;

    Ui::Form1 &ui();
    PictureBox &SkinPicture();
    CommonDialog CommonDialog1;

    // Shows text in the status label.
    void setStatus(const QString &text);
    QString status();

    // The skins-folder choice, shared by the folder menu and the settings dialog's button.
    void chooseSkinFolder();
    // Runs once the main window is on screen.
    void afterShown();

    static QString positionText(QPoint pixel);

    void hostCloseRequested() override;

    // Handlers, named after their controls.
    void Form_MouseMove();
    void SkinPicture_MouseMove(QPoint pixel);
    void SkinPicture_MouseDown(QPoint pixel);
    void SkinPicture_Click();
    void Timer1_Timer();
    void Command1_Click();
    void TeileMnu_Click();
    void PrgSetup_Click();
    void Mueber_Click();
    void MFolder_Click();
    void dneu_Click();
    void dopen_Click();
    void speichern_Click();
    void MEnde_Click();

protected:
    QWidget *createWindow() override;
    void windowDestroyed() override;
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::Form1> m_ui;
    QTimer *m_timer = nullptr;
};

} // namespace pellwerk

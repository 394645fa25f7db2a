#include "App.h"

#include "AboutDlg.h"
#include "Form1.h"
#include "RGB_Frm.h"
#include "SetupDlg.h"
#include "PictureBox.h"
#include "TeileFrm.h"
#include "parts/TransparentBlit.h"

namespace pellwerk {

App::App(QString programFolder, MessageSink &messages, std::shared_ptr<FileDialogBackend> dialogs)
    : m_programFolder(std::move(programFolder)), m_messages(messages), m_dialogs(std::move(dialogs))
{
}

App::~App()
{
    // Windows refer to each other while they go: take them down in the shutdown's order.
    m_aboutDlg.reset();
    m_setupDlg.reset();
    m_rgbFrm.reset();
    m_form1.reset();
    m_teileFrm.reset();
}

Form1 &App::form1()
{
    if (!m_form1)
        m_form1 = std::make_unique<Form1>(*this);
    return *m_form1;
}

TeileFrm &App::teileFrm()
{
    if (!m_teileFrm) {
        m_teileFrm = std::make_unique<TeileFrm>(*this);
        m_teileFrm->Form_Initialize();
    }
    return *m_teileFrm;
}

SetupDlg &App::setupDlg()
{
    if (!m_setupDlg)
        m_setupDlg = std::make_unique<SetupDlg>(*this);
    return *m_setupDlg;
}

AboutDlg &App::aboutDlg()
{
    if (!m_aboutDlg)
        m_aboutDlg = std::make_unique<AboutDlg>(*this);
    return *m_aboutDlg;
}

RGB_Frm &App::rgbFrm()
{
    if (!m_rgbFrm) {
        m_rgbFrm = std::make_unique<RGB_Frm>(*this);
        m_rgbFrm->Form_Initialize();
    }
    return *m_rgbFrm;
}

void App::TransferPart(qint32 x, qint32 y)
{
    PictureBoxModel &canvas = form1().SkinPicture().model();
    const PictureBoxModel &preview = teileFrm().TeilPic().model();
    pellwerk::TransferPart(canvas, preview, state.PartRect, x, y, state.TransparentColour);
}

void App::start()
{
    form1().ensureLoaded();
    form1().show();
    form1().afterShown();
}

void App::shutdown()
{
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    // The main window's own close step closes the about box and the settings dialog.
    if (m_form1)
        m_form1->unload();
    if (m_rgbFrm)
        m_rgbFrm->unload();
    if (m_teileFrm)
        m_teileFrm->unload();
    m_ended = true;
    emit ended();
}

} // namespace pellwerk

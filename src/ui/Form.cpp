#include "Form.h"

#include <QCloseEvent>

namespace pellwerk {

Form::Form(App &app) : m_app(app) {}

Form::~Form()
{
    delete m_window.data();
}

void Form::ensureLoaded()
{
    if (isLoaded() || m_loading)
        return;
    m_loading = true;
    m_window = createWindow();
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    Form_Load();
    m_loading = false;
}

QWidget *Form::window()
{
    ensureLoaded();
    return m_window.data();
}

void Form::show()
{
    ensureLoaded();
    beforeShow();
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Form::hide()
{
    if (isLoaded())
        m_window->hide();
}

void Form::hostCloseRequested()
{
    unload();
}

void Form::unload()
{
    if (!isLoaded())
        return;
    Form_Unload();
    QWidget *w = m_window.data();
    m_window.clear();
    windowDestroyed();
    if (auto *host = dynamic_cast<FormHostBase *>(w))
        host->detach();
    w->hide();
    // The close event may still be on the stack of this widget: let the event loop delete it.
    w->deleteLater();
}

} // namespace pellwerk

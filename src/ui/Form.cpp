#include "Form.h"

#include "App.h"
#include "language/KeyTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>

namespace pellwerk {

namespace {
// A caption is whatever text the control shows: a menu's title, a menu entry's or a button's
// text, a label's text.
void setCaption(QObject *control, const QString &text)
{
    if (auto *menu = qobject_cast<QMenu *>(control))
        menu->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else
        qWarning("pellwerk: no caption on control %s", qPrintable(control->objectName()));
}

void setToolTip(QObject *control, const QString &text)
{
    if (auto *widget = qobject_cast<QWidget *>(control))
        widget->setToolTip(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setToolTip(text);
}
} // namespace

Form::Form(App &app, QString name) : m_app(app), m_name(std::move(name))
{
    connect(&app, &App::languageTextChanged, this, [this](const KeyRow &row, const QString &text) {
        if (row.window == m_name)
            applyLanguageText(row, text);
    });
}

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
    windowLoaded();
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

bool Form::hostCloseRequested()
{
    unload();
    return true;
}

void Form::unload()
{
    if (!isLoaded())
        return;
    windowUnloading();
    QWidget *w = m_window.data();
    m_window.clear();
    windowDestroyed();
    if (auto *host = dynamic_cast<FormHostBase *>(w))
        host->detach();
    w->hide();
    // The close event may still be on the stack of this widget: let the event loop delete it.
    w->deleteLater();
}

void Form::applyLanguageText(const KeyRow &row, const QString &text)
{
    QWidget *top = window();
    if (row.target == KeyTarget::Title) {
        top->setWindowTitle(text);
        return;
    }
    QObject *control = top->findChild<QObject *>(row.control);
    if (!control) {
        qWarning("pellwerk: language row %d names an unknown control", row.row);
        return;
    }
    if (row.target == KeyTarget::Caption)
        setCaption(control, text);
    else if (auto *widget = qobject_cast<QWidget *>(control); widget && row.target == KeyTarget::AccessibleName)
        widget->setAccessibleName(text);
    else
        setToolTip(control, text);
}

} // namespace pellwerk

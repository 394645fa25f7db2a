#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QCloseEvent;
class QResizeEvent;

namespace pellwerk {

class App;

// One window of the program. The Form object is the window's instance: created once, it keeps
// the window's own variables. The loaded form is its widget tree, built from the design when
// anything touches it and destroyed by the close box; a later touch builds it afresh.
class Form : public QObject
{
    Q_OBJECT
public:
    explicit Form(App &app);
    ~Form() override;

    bool isLoaded() const { return !m_window.isNull(); }
    // Loads the form if needed (running Form_Load), without showing it.
    void ensureLoaded();
    QWidget *window();

    void show();
    void hide();
    bool isVisible() const { return isLoaded() && m_window->isVisible(); }
    // Closes the loaded form as the close box does: Form_Unload, then the widgets go.
    void unload();

    // Called by the window's host widget.
    virtual void hostCloseRequested();
    virtual void hostResized() {}

protected:
    // Builds the widgets from the design and connects the handlers; returns the top-level widget.
    virtual QWidget *createWindow() = 0;
    // The widgets are about to go: forget every pointer into them.
    virtual void windowDestroyed() = 0;
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Runs each time the window is about to be shown, loaded already.
    virtual void beforeShow() {}

    App &m_app;

private:
    QPointer<QWidget> m_window;
    bool m_loading = false;
};

class FormHostBase
{
public:
    virtual ~FormHostBase() = default;
    void detach() { m_form = nullptr; }

protected:
    explicit FormHostBase(Form &form) : m_form(&form) {}
    Form *m_form;
};

// The host widget of a form: forwards the window events that the design has handlers for.
template <class Base> class FormHost : public Base, public FormHostBase
{
public:
    explicit FormHost(Form &form, QWidget *parent = nullptr) : Base(parent), FormHostBase(form) {}

protected:
    void closeEvent(QCloseEvent *event) override
    {
        Base::closeEvent(event);
        if (m_form)
            m_form->hostCloseRequested();
    }
    void resizeEvent(QResizeEvent *event) override
    {
        Base::resizeEvent(event);
        if (m_form)
            m_form->hostResized();
    }
};

} // namespace pellwerk

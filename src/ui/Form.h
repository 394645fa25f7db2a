#pragma once

#include <QCloseEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class QCloseEvent;
class QResizeEvent;

namespace pellwerk {

class App;
struct KeyRow;

// One window of the program. The Form object is the window's instance: created once, it keeps
// the window's own variables. The loaded form is its widget tree, built from the design when
// anything touches it and destroyed by the close box; a later touch builds it afresh.
class Form : public QObject
{
    Q_OBJECT
public:
    // `name` is the window's object name ("MainWindow", "PartsWindow", ...): language texts
    // addressed to it land here.
    Form(App &app, QString name);
    ~Form() override;

    const QString &name() const { return m_name; }
    bool isLoaded() const { return !m_window.isNull(); }
    // Loads the form if needed (running windowLoaded), without showing it.
    void ensureLoaded();
    QWidget *window();

    void show();
    void hide();
    bool isVisible() const { return isLoaded() && m_window->isVisible(); }
    // Closes the loaded form as the close box does: windowUnloading, then the widgets go.
    void unload();

    // Called by the window's host widget when its close box (or the window manager) closes it;
    // false keeps the window open.
    virtual bool hostCloseRequested();
    virtual void hostResized() {}

protected:
    // Builds the widgets from the design and connects the handlers; returns the top-level widget.
    virtual QWidget *createWindow() = 0;
    // The widgets are about to go: forget every pointer into them.
    virtual void windowDestroyed() = 0;
    virtual void windowLoaded() {}
    virtual void windowUnloading() {}
    // Runs each time the window is about to be shown, loaded already.
    virtual void beforeShow() {}
    // Puts a language text on one of this window's controls (or its title).
    virtual void applyLanguageText(const KeyRow &row, const QString &text);

    App &m_app;

private:
    QString m_name;
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
        if (m_form && !m_form->hostCloseRequested()) {
            event->ignore();
            return;
        }
        Base::closeEvent(event);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        Base::resizeEvent(event);
        if (m_form)
            m_form->hostResized();
    }
};

// A form built from a Designer form `Design` on a host widget of class `Host`. Windows derive
// from it with their generated Ui class and set the built widgets up in setUpWindow().
//
// The generated Ui class is complete only in the window's own .cpp: each window header declares
// it with PELLWERK_DECLARE_DESIGN and its .cpp instantiates DesignedForm after including the
// generated header.
template <class Design, class Host = QWidget> class DesignedForm : public Form
{
public:
    // The designed controls; touching them loads the window.
    Design &ui()
    {
        ensureLoaded();
        return *m_ui;
    }

protected:
    using Form::Form;
    ~DesignedForm() override;

    // Sets up a freshly built window: flags, colours, connections.
    virtual void setUpWindow(Host *host) = 0;

    QWidget *createWindow() override;
    void windowDestroyed() override;

    std::unique_ptr<Design> m_ui;
};

template <class Design, class Host> DesignedForm<Design, Host>::~DesignedForm() = default;

template <class Design, class Host> QWidget *DesignedForm<Design, Host>::createWindow()
{
    auto *host = new FormHost<Host>(*this);
    m_ui = std::make_unique<Design>();
    m_ui->setupUi(host);
    setUpWindow(host);
    return host;
}

template <class Design, class Host> void DesignedForm<Design, Host>::windowDestroyed()
{
    m_ui.reset();
}

} // namespace pellwerk

// Declares the generated Ui class of a window and that DesignedForm is instantiated for it in the
// window's .cpp only (where the generated header is complete). Use before the window's class.
#define PELLWERK_DECLARE_DESIGN(Name, ...)                                                                             \
    namespace Ui {                                                                                                     \
    class Name;                                                                                                        \
    }                                                                                                                  \
    namespace pellwerk {                                                                                               \
    extern template class DesignedForm<Ui::Name __VA_OPT__(, ) __VA_ARGS__>;                                           \
    }

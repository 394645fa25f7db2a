#pragma once

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include <cstdlib>

namespace pellwerk {

// For measuring the start-up (bench/startup): when the environment variable
// PELLWERK_EXIT_WHEN_SHOWN is set, the process ends right after the first of its windows has been
// exposed and painted. It ends with std::_Exit, tearing nothing down, so the time from starting
// the process to its end is the time until a window was shown, plus the exit itself. Without
// the variable nothing is installed.
inline void exitWhenFirstShown(QGuiApplication &application)
{
    if (!qEnvironmentVariableIsSet("PELLWERK_EXIT_WHEN_SHOWN"))
        return;
    class FirstExpose : public QObject
    {
    public:
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            // The expose paints the window before the event loop runs the timer.
            if (event->type() == QEvent::Expose && watched->isWindowType()
                && static_cast<QWindow *>(watched)->isExposed())
                QTimer::singleShot(0, [] { std::_Exit(0); });
            return false;
        }
    };
    application.installEventFilter(new FirstExpose(&application));
}

} // namespace pellwerk

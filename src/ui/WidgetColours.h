#pragma once

#include "core/Colour.h"

#include <QPalette>
#include <QWidget>

namespace pellwerk {

// A label's back colour as the windows show colours: the system's colour value, converted once
// here. The label must fill its background (autoFillBackground) for it to show.
inline void setBackground(QWidget *widget, Colour colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, colour.toQColor());
    widget->setPalette(pal);
}

// A label's text colour.
inline void setTextColour(QWidget *widget, Colour colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour.toQColor());
    widget->setPalette(pal);
}

} // namespace pellwerk

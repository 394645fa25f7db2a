#pragma once

#include "Form.h"

namespace pellwerk {

class RGB_Frm : public Form
{
    Q_OBJECT
public:
    explicit RGB_Frm(App &app) : Form(app) {}

    void Form_Initialize() {}

protected:
    QWidget *createWindow() override
    {
        auto *host = new FormHost<QWidget>(*this);
        host->setWindowTitle(QStringLiteral("RGB_Frm"));
        return host;
    }
    void windowDestroyed() override {}

};

} // namespace pellwerk

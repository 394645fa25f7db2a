#pragma once

#include "Form.h"

namespace pellwerk {

class AboutDlg : public Form
{
    Q_OBJECT
public:
    explicit AboutDlg(App &app) : Form(app) {}



protected:
    QWidget *createWindow() override
    {
        auto *host = new FormHost<QWidget>(*this);
        host->setWindowTitle(QStringLiteral("AboutDlg"));
        return host;
    }
    void windowDestroyed() override {}

};

} // namespace pellwerk

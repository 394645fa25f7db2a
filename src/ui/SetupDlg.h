#pragma once

#include "Form.h"

namespace pellwerk {

class SetupDlg : public Form
{
    Q_OBJECT
public:
    explicit SetupDlg(App &app) : Form(app) {}
    void setFolderLabel(const QString &folder) { ensureLoaded(); m_folder = folder; }


protected:
    QWidget *createWindow() override
    {
        auto *host = new FormHost<QWidget>(*this);
        host->setWindowTitle(QStringLiteral("SetupDlg"));
        return host;
    }
    void windowDestroyed() override {}
    QString m_folder;
};

} // namespace pellwerk

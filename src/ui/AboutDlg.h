#pragma once

#include "Form.h"

#include <memory>

namespace Ui {
class AboutDlg;
}

namespace pellwerk {

// The about box. "OK" and the close box both discard it; the next opening builds it afresh.
class AboutDlg : public Form
{
    Q_OBJECT
public:
    explicit AboutDlg(App &app);
    ~AboutDlg() override;

    Ui::AboutDlg &ui();

    void OKButton_Click();

protected:
    QWidget *createWindow() override;
    void windowDestroyed() override;

private:
    std::unique_ptr<Ui::AboutDlg> m_ui;
};

} // namespace pellwerk

#pragma once

#include "Form.h"

PELLWERK_DECLARE_DESIGN(AboutDlg)

namespace pellwerk {
// The about box. "OK" and the close box both discard it; the next opening builds it afresh.
class AboutDlg : public DesignedForm<Ui::AboutDlg>
{
    Q_OBJECT
public:
    explicit AboutDlg(App &app);

    void OKButton_Click();

protected:
    void setUpWindow(QWidget *host) override;
};

} // namespace pellwerk

#pragma once

#include "Form.h"

PELLWERK_DECLARE_DESIGN(AboutDialog)

namespace pellwerk {
// The about box. "OK" and the close box both discard it; the next opening builds it afresh.
class AboutDialog : public DesignedForm<Ui::AboutDialog>
{
    Q_OBJECT
public:
    explicit AboutDialog(App &app);

protected:
    void setUpWindow(QWidget *host) override;
};

} // namespace pellwerk

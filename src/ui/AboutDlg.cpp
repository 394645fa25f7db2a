#include "AboutDlg.h"
#include "WidgetColours.h"

#include "core/Colour.h"
#include "ui_AboutDlg.h"

#include <QPalette>

namespace pellwerk {

template class DesignedForm<Ui::AboutDlg>;

namespace {
// The product line's dark blue, as the design gives it (0x00BBGGRR).
constexpr Colour ProductLineColour{0xC00000};
constexpr qreal CreditPointSize = 9.75;
} // namespace

AboutDlg::AboutDlg(App &app) : DesignedForm(app, QStringLiteral("AboutDlg")) {}

void AboutDlg::setUpWindow(QWidget *host)
{
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(host->size());

    setTextColour(m_ui->Label2, ProductLineColour);
    // The caption is the design's; the version running is told where it does not change it.
    m_ui->Label2->setToolTip(QStringLiteral("Version " PELLWERK_VERSION));
    // Designer fonts take whole points only.
    QFont credit = m_ui->Label1->font();
    credit.setPointSizeF(CreditPointSize);
    m_ui->Label1->setFont(credit);

    connect(m_ui->OKButton, &QPushButton::clicked, this, &AboutDlg::OKButton_Click);
}

void AboutDlg::OKButton_Click()
{
    unload();
}

} // namespace pellwerk

#include "AboutDialog.h"
#include "WidgetColours.h"

#include "core/Colour.h"
#include "ui_AboutDialog.h"

#include <QPalette>

namespace pellwerk {

template class DesignedForm<Ui::AboutDialog>;

namespace {
// The product line's dark blue, as the design gives it (0x00BBGGRR).
constexpr Colour ProductLineColour{0xC00000};
constexpr qreal CreditPointSize = 9.75;
} // namespace

AboutDialog::AboutDialog(App &app) : DesignedForm(app, QStringLiteral("AboutDialog")) {}

void AboutDialog::setUpWindow(QWidget *host)
{
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(host->size());

    setTextColour(m_ui->productLine, ProductLineColour);
    // The caption is the design's; the version running is told where it does not change it.
    m_ui->productLine->setToolTip(QStringLiteral("Version " PELLWERK_VERSION));
    // Designer fonts take whole points only.
    QFont credit = m_ui->creditLabel->font();
    credit.setPointSizeF(CreditPointSize);
    m_ui->creditLabel->setFont(credit);

    connect(m_ui->okButton, &QPushButton::clicked, this, &AboutDialog::unload);
}

} // namespace pellwerk

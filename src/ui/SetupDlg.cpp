#include "SetupDlg.h"

#include "App.h"
#include "FileListBox.h"
#include "WidgetColours.h"
#include "core/TransparentColourName.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"
#include "ui_SetupDlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace pellwerk {

template class DesignedForm<Ui::SetupDlg>;

namespace {
const QString TransparentSuffix = QStringLiteral(" ist transparent beim Transport");
const QString LanguagePattern = QStringLiteral("*.zlf");

QString userColourText(const UserRgb &c)
{
    return QStringLiteral("User RGB(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
}
} // namespace

SetupDlg::SetupDlg(App &app) : DesignedForm(app, QStringLiteral("SetupDlg"))
{
    connect(&app, &App::transparentColourChanged, this, &SetupDlg::showTransparentColour);
    connect(&app, &App::skinFolderChanged, this, &SetupDlg::showSkinFolder);
}

void SetupDlg::setUpWindow(QWidget *host)
{
    // A fixed tool window: no minimise or maximise button, no entry in the task bar.
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(host->size());

    setBackground(m_ui->Label5, Colours::Black);

    QComboBox *combo = m_ui->Combo1;
    // Only a pick from the list chooses a colour: no completion, and Enter in the edit field is
    // swallowed, because QComboBox would report it as a pick of the matching item.
    combo->setCompleter(nullptr);
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("color"));
    combo->installEventFilter(this);
    combo->lineEdit()->installEventFilter(this);
    connect(combo, &QComboBox::activated, this, [this] { Combo1_Click(); });

    m_ui->File1->setPattern(LanguagePattern);
    m_ui->File1->setPath(m_app.state.ProgramFolder);
    connect(m_ui->File1, &FileListBox::Click, this, &SetupDlg::File1_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &SetupDlg::Command1_Click);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &SetupDlg::OKButton_Click);
}

bool SetupDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && event->type() == QEvent::KeyPress && (watched == m_ui->Combo1 || watched == m_ui->Combo1->lineEdit())) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return Form::eventFilter(watched, event);
}

void SetupDlg::Form_Load()
{
    m_ui->Label3->setText(m_app.state.SkinFolder);
}

void SetupDlg::showTransparentColour(Colour colour)
{
    if (isLoaded())
        setBackground(m_ui->Label5, colour);
}

void SetupDlg::showSkinFolder(const QString &folder)
{
    if (isLoaded())
        m_ui->Label3->setText(folder);
}

void SetupDlg::Combo1_Click()
{
    AppState &s = m_app.state;
    Ui::SetupDlg &u = ui();
    const QString name = u.Combo1->itemText(u.Combo1->currentIndex());
    s.TransparentColourName = name;
    const std::optional<ColourName> picked = colourNameFromText(name);
    // The parts window's label and preview and this dialog's swatch follow the colour.
    m_app.setTransparentColour(picked ? colourFor(*picked, s.UserColour) : s.TransparentColour);
    u.Label5->setToolTip(name + TransparentSuffix);
    u.Label6->setText(QLatin1Char(' ') + name);
    if (picked == ColourName::User) {
        const QString rgb = userColourText(s.UserColour);
        u.Label5->setToolTip(rgb + TransparentSuffix);
        u.Label6->setText(rgb);
    }
}

void SetupDlg::Command1_Click()
{
    m_app.chooseSkinFolder();
}

void SetupDlg::File1_Click()
{
    AppState &s = m_app.state;
    Ui::SetupDlg &u = ui();
    const QString picked = u.File1->fileName();
    // A file without a language name line is no language: the active one is applied again.
    if (FindLanguageLine(s, languageNameRow().key, picked)) {
        u.Label7->setText(s.LanguageLine);
        s.LanguageFile = picked;
    }
    ApplyLanguage();
}

void SetupDlg::OKButton_Click()
{
    hide();
}

void SetupDlg::ApplyLanguage()
{
    m_app.applyLanguage();
}

} // namespace pellwerk

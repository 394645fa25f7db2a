#include "SettingsDialog.h"

#include "App.h"
#include "FileListBox.h"
#include "WidgetColours.h"
#include "editor/TransparentColourName.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"
#include "ui_SettingsDialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace pellwerk {

template class DesignedForm<Ui::SettingsDialog>;

namespace {
const QString TransparentSuffix = QStringLiteral(" ist transparent beim Transport");
const QString LanguagePattern = QStringLiteral("*.zlf");

QString userColourText(const UserRgb &c)
{
    return QStringLiteral("User RGB(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
}
} // namespace

SettingsDialog::SettingsDialog(App &app) : DesignedForm(app, QStringLiteral("SettingsDialog"))
{
    connect(&app, &App::transparentColourChanged, this, &SettingsDialog::showTransparentColour);
    connect(&app, &App::skinFolderChanged, this, &SettingsDialog::showSkinFolder);
}

void SettingsDialog::setUpWindow(QWidget *host)
{
    // A fixed tool window: no minimise or maximise button, no entry in the task bar.
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(host->size());

    setBackground(m_ui->colourSwatch, Colours::Black);

    QComboBox *combo = m_ui->colourChoice;
    // Only a pick from the list chooses a colour: no completion, and Enter in the edit field is
    // swallowed, because QComboBox would report it as a pick of the matching item.
    combo->setCompleter(nullptr);
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("color"));
    combo->installEventFilter(this);
    combo->lineEdit()->installEventFilter(this);
    connect(combo, &QComboBox::activated, this, [this] { chooseTransparentColour(); });

    m_ui->languageList->setPattern(LanguagePattern);
    m_ui->languageList->setPath(m_app.state.ProgramFolder);
    connect(m_ui->languageList, &FileListBox::Click, this, &SettingsDialog::chooseLanguage);
    connect(m_ui->skinFolderButton, &QPushButton::clicked, this, &SettingsDialog::chooseSkinFolder);
    connect(m_ui->okButton, &QPushButton::clicked, this, &SettingsDialog::hide);
}

bool SettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && event->type() == QEvent::KeyPress
        && (watched == m_ui->colourChoice || watched == m_ui->colourChoice->lineEdit())) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return Form::eventFilter(watched, event);
}

void SettingsDialog::windowLoaded()
{
    m_ui->skinFolderLabel->setText(m_app.state.SkinFolder);
}

void SettingsDialog::showTransparentColour(Colour colour)
{
    if (isLoaded())
        setBackground(m_ui->colourSwatch, colour);
}

void SettingsDialog::showSkinFolder(const QString &folder)
{
    if (isLoaded())
        m_ui->skinFolderLabel->setText(folder);
}

void SettingsDialog::chooseTransparentColour()
{
    AppState &s = m_app.state;
    Ui::SettingsDialog &u = ui();
    const QString name = u.colourChoice->itemText(u.colourChoice->currentIndex());
    s.TransparentColourName = name;
    const std::optional<ColourName> picked = colourNameFromText(name);
    // The parts window's label and preview and this dialog's swatch follow the colour.
    m_app.setTransparentColour(picked ? colourFor(*picked, s.UserColour) : s.TransparentColour);
    u.colourSwatch->setToolTip(name + TransparentSuffix);
    u.colourName->setText(QLatin1Char(' ') + name);
    if (picked == ColourName::User) {
        const QString rgb = userColourText(s.UserColour);
        u.colourSwatch->setToolTip(rgb + TransparentSuffix);
        u.colourName->setText(rgb);
    }
}

void SettingsDialog::chooseSkinFolder()
{
    m_app.chooseSkinFolder();
}

void SettingsDialog::chooseLanguage()
{
    AppState &s = m_app.state;
    Ui::SettingsDialog &u = ui();
    const QString picked = u.languageList->fileName();
    // A file without a language name line is no language: the active one is applied again.
    if (FindLanguageLine(s, languageNameRow().key, picked)) {
        u.languageLine->setText(s.LanguageLine);
        s.LanguageFile = picked;
    }
    applyLanguage();
}

void SettingsDialog::applyLanguage()
{
    m_app.applyLanguage();
}

} // namespace pellwerk

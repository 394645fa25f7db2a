#include "SetupDlg.h"

#include "App.h"
#include "FileListBox.h"
#include "Form1.h"
#include "TeileFrm.h"
#include "WidgetColours.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"
#include "ui_SetupDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>

namespace pellwerk {

namespace {
const QString TransparentSuffix = QStringLiteral(" ist transparent beim Transport");
const QString LanguagePattern = QStringLiteral("*.zlf");
const QString LanguageNameKey = QStringLiteral("LANGUAGE=");

QString userColourText(const UserRgb &c)
{
    return QStringLiteral("User RGB(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
}

// A caption is whatever text the control shows: a menu's title, a menu entry's or a button's
// text, a label's text.
void setCaption(QObject *control, const QString &text)
{
    if (auto *menu = qobject_cast<QMenu *>(control))
        menu->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else
        qWarning("pellwerk: no caption on control %s", qPrintable(control->objectName()));
}

void setToolTip(QObject *control, const QString &text)
{
    if (auto *widget = qobject_cast<QWidget *>(control))
        widget->setToolTip(text);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setToolTip(text);
}
} // namespace

SetupDlg::SetupDlg(App &app) : Form(app) {}

SetupDlg::~SetupDlg() = default;

Ui::SetupDlg &SetupDlg::ui()
{
    ensureLoaded();
    return *m_ui;
}

QWidget *SetupDlg::createWindow()
{
    auto *host = new FormHost<QWidget>(*this);
    m_ui = std::make_unique<Ui::SetupDlg>();
    m_ui->setupUi(host);
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
    return host;
}

void SetupDlg::windowDestroyed()
{
    m_ui.reset();
}

bool SetupDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && event->type() == QEvent::KeyPress
        && (watched == m_ui->Combo1 || watched == m_ui->Combo1->lineEdit())) {
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

void SetupDlg::setFolderLabel(const QString &folder)
{
    ui().Label3->setText(folder);
}

void SetupDlg::setLabel5BackColour(Colour colour)
{
    setBackground(ui().Label5, colour);
}

std::optional<Colour> SetupDlg::transparentColourFor(const QString &name, const UserRgb &userColour)
{
    if (name == QLatin1String("schwarz"))
        return Colours::Black;
    if (name == QLatin1String("weiss"))
        return Colours::White;
    if (name == QLatin1String("blau"))
        return Colours::Blue;
    if (name == QLatin1String("User"))
        return userColour.toColour();
    return std::nullopt;
}

void SetupDlg::Combo1_Click()
{
    AppState &s = m_app.state;
    Ui::SetupDlg &u = ui();
    const QString name = u.Combo1->itemText(u.Combo1->currentIndex());
    s.TransparentColourName = name;
    if (const auto colour = transparentColourFor(name, s.UserColour))
        s.TransparentColour = *colour;

    TeileFrm &parts = m_app.teileFrm();
    parts.setLabel1BackColour(s.TransparentColour);
    setBackground(u.Label5, s.TransparentColour);
    u.Label5->setToolTip(name + TransparentSuffix);
    parts.setTeilPicBackAndFill(s.TransparentColour);
    u.Label6->setText(QLatin1Char(' ') + name);
    if (name == QLatin1String("User")) {
        const QString rgb = userColourText(s.UserColour);
        u.Label5->setToolTip(rgb + TransparentSuffix);
        u.Label6->setText(rgb);
    }
}

void SetupDlg::Command1_Click()
{
    m_app.form1().chooseSkinFolder();
}

void SetupDlg::File1_Click()
{
    AppState &s = m_app.state;
    Ui::SetupDlg &u = ui();
    const QString picked = u.File1->fileName();
    // A file without a language name line is no language: the active one is applied again.
    if (FindLanguageLine(s, LanguageNameKey, picked)) {
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
    AppState &s = m_app.state;
    for (const KeyRow &row : languageKeyTable()) {
        // The colour-name rows apply only at their colour, so at most one of them names it.
        if (row.appliesAt(s.TransparentColour))
            applyRow(row, LanguageText(s, row.key));
    }
}

void SetupDlg::applyRow(const KeyRow &row, const QString &text)
{
    // Touching a window's control loads that window, as any reference to it does.
    QWidget *top = nullptr;
    if (row.window == QLatin1String("Form1"))
        top = m_app.form1().window();
    else if (row.window == QLatin1String("TeileFrm"))
        top = m_app.teileFrm().window();
    else if (row.window == QLatin1String("SetupDlg"))
        top = window();
    if (!top) {
        qWarning("pellwerk: language row %d names an unknown window", row.row);
        return;
    }
    if (row.target == KeyTarget::Title) {
        top->setWindowTitle(text);
        return;
    }
    QObject *control = top->findChild<QObject *>(row.control);
    if (!control) {
        qWarning("pellwerk: language row %d names an unknown control", row.row);
        return;
    }
    if (row.target == KeyTarget::Caption)
        setCaption(control, text);
    else
        setToolTip(control, text);
}

} // namespace pellwerk

#include "StepsWindow.h"

#include "App.h"
#include "RampDialog.h"
#include "core/BitmapDecoder.h"
#include "core/ErrorText.h"
#include "core/FileResolver.h"
#include "editor/PartListPattern.h"
#include "language/KeyTable.h"
#include "parts/PlacementTable.h"
#include "ui_StepsWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace pellwerk {

template class DesignedForm<Ui::StepsWindow>;

StepsWindow::~StepsWindow() = default;

StepsWindow::StepsWindow(App &app) : DesignedForm(app, QStringLiteral("StepsWindow"))
{
    m_partDialog.setBackend(app.dialogBackend());
    m_partDialog.DialogTitle = QStringLiteral("Teil tauschen");
    connect(&app.skin(), &SkinCanvas::documentChanged, this, [this] {
        if (isLoaded())
            showDocument();
    });
    connect(&app.skin(), &SkinCanvas::selectionChanged, this, [this] {
        if (isLoaded())
            showSelection();
    });
}

int StepsWindow::selectedStep()
{
    return m_app.skin().selectedStep();
}

void StepsWindow::setUpWindow(QWidget *)
{
    Ui::StepsWindow &u = *m_ui;
    connect(u.steps, &QListWidget::currentRowChanged, this,
            [this](int row) { m_app.skin().selectStep(stepOfRow(m_app.skin().document().stepCount(), row)); });
    // A click on the list's empty part (or Ctrl on the row) would take the highlight off the step
    // the controls and the keys still edit. As in an image editor's layer panel, one row is always
    // the one being edited: it stays highlighted until another row is chosen.
    connect(u.steps, &QListWidget::itemSelectionChanged, this, [list = u.steps] {
        if (list->selectedItems().isEmpty() && list->currentItem())
            list->currentItem()->setSelected(true);
    });
    for (QSpinBox *tint : {u.red, u.green, u.blue}) {
        connect(tint, &QSpinBox::valueChanged, this, &StepsWindow::tintChanged);
        // Typing a number or holding an arrow is one change: it ends when the box is left.
        connect(tint, &QSpinBox::editingFinished, &m_app.skin(), &SkinCanvas::endBurst);
    }
    for (const auto &[box, coordinate] : {std::pair(u.x, Qt::Horizontal), std::pair(u.y, Qt::Vertical)}) {
        connect(box, &QSpinBox::valueChanged, this, [this, c = coordinate](int value) { placeChanged(c, value); });
        connect(box, &QSpinBox::editingFinished, &m_app.skin(), &SkinCanvas::endBurst);
    }
    connect(u.visible, &QCheckBox::toggled, this, &StepsWindow::visibleToggled);
    connect(u.mirrored, &QCheckBox::toggled, this, &StepsWindow::mirroredToggled);
    connect(u.moveUp, &QPushButton::clicked, this, &StepsWindow::moveUpClicked);
    connect(u.moveDown, &QPushButton::clicked, this, &StepsWindow::moveDownClicked);
    connect(u.remove, &QPushButton::clicked, this, &StepsWindow::removeClicked);
    connect(u.swapPart, &QPushButton::clicked, this, &StepsWindow::swapPartClicked);
    connect(u.rampButton, &QPushButton::clicked, this, &StepsWindow::rampClicked);
    u.steps->installEventFilter(this);
}

void StepsWindow::windowLoaded()
{
    m_app.applyLanguageTo(QStringLiteral("StepsWindow"));
    showDocument();
}

void StepsWindow::applyLanguageText(const KeyRow &row, const QString &text)
{
    QString *word = row.control == QLatin1String("baseWord")          ? &m_words.base
                    : row.control == QLatin1String("defaultSkinWord") ? &m_words.defaultSkin
                    : row.control == QLatin1String("hiddenMark")      ? &m_words.hidden
                    : row.control == QLatin1String("mirroredMark")    ? &m_words.mirrored
                    : row.control == QLatin1String("tintedMark")      ? &m_words.tinted
                    : row.control == QLatin1String("nearKeyMark")     ? &m_words.nearKey
                    : row.control == QLatin1String("swapTitleWord")   ? &m_partDialog.DialogTitle
                    : row.control == QLatin1String("swapFilterWord")  ? &m_partsWord
                                                                      : nullptr;
    if (word) {
        *word = text;
        showDocument();
        return;
    }
    Form::applyLanguageText(row, text);
    // A screen reader reads a control by its accessible name: the spin boxes by their labels'
    // words, the list by the window's title.
    if (row.target == KeyTarget::Title)
        ui().steps->setAccessibleName(text);
    else if (row.target == KeyTarget::ToolTip && row.control == ui().steps->objectName())
        ui().steps->setAccessibleDescription(text); // a list's description is not its tool-tip
    else if (auto *label = window()->findChild<QLabel *>(row.control); label && label->buddy())
        label->buddy()->setAccessibleName(text);
}

bool StepsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->steps && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool control = key->modifiers() == Qt::ControlModifier;
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            removeClicked();
            return true;
        }
        if (control && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            key->key() == Qt::Key_Up ? moveUpClicked() : moveDownClicked();
            return true;
        }
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && selectedStep() >= 0) {
            m_ui->visible->toggle();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void StepsWindow::showDocument()
{
    const std::vector<StepRow> rows = stepRows(m_app.skin().document(), m_words);
    QListWidget *list = ui().steps;
    const QSignalBlocker quiet(list);
    // Rewriting the texts in place keeps the list where it was scrolled to.
    if (list->count() != int(rows.size())) {
        list->clear();
        for (const StepRow &row : rows)
            list->addItem(row.text);
    } else {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setText(rows[size_t(i)].text);
    }
    showSelection();
}

void StepsWindow::showSelection()
{
    Ui::StepsWindow &u = ui();
    const Document &document = m_app.skin().document();
    const int index = selectedStep();
    {
        const QSignalBlocker quiet(u.steps);
        // Nothing selected: the base row, which offers nothing to change.
        u.steps->setCurrentRow(index >= 0 ? rowOfStep(document.stepCount(), index) : document.stepCount());
    }
    const bool isStep = index >= 0;
    const PasteStep step = isStep ? document.steps()[size_t(index)] : PasteStep{};
    const std::pair<QSpinBox *, int> values[] = {{u.red, step.tint.red},
                                                 {u.green, step.tint.green},
                                                 {u.blue, step.tint.blue},
                                                 {u.x, step.place.x()},
                                                 {u.y, step.place.y()}};
    for (const auto &[box, value] : values) {
        // Setting what a box already shows would disturb the user typing into it.
        if (box->value() != value) {
            const QSignalBlocker quiet(box);
            box->setValue(value);
        }
        box->setEnabled(isStep);
    }
    const bool userPlace = isStep && !partKind(step.kind).place;
    u.x->setEnabled(userPlace);
    u.y->setEnabled(userPlace);
    for (const auto &[check, on] : {std::pair(u.visible, step.visible), std::pair(u.mirrored, step.mirrored)}) {
        const QSignalBlocker quiet(check);
        check->setChecked(on);
        check->setEnabled(isStep);
    }
    u.moveUp->setEnabled(isStep && index < document.stepCount() - 1);
    u.moveDown->setEnabled(isStep && index > 0);
    u.remove->setEnabled(isStep);
    u.swapPart->setEnabled(isStep);
    u.rampButton->setEnabled(isStep);
}

void StepsWindow::tintChanged()
{
    Ui::StepsWindow &u = ui();
    m_app.skin().setTint(selectedStep(), {u.red->value(), u.green->value(), u.blue->value()});
}

void StepsWindow::placeChanged(Qt::Orientation coordinate, int value)
{
    const int index = selectedStep();
    if (index < 0)
        return;
    QPoint place = m_app.skin().document().steps()[size_t(index)].place;
    (coordinate == Qt::Horizontal ? place.rx() : place.ry()) = value;
    m_app.skin().setPlace(index, place);
}

void StepsWindow::visibleToggled(bool visible)
{
    m_app.skin().setVisible(selectedStep(), visible);
}

void StepsWindow::mirroredToggled(bool mirrored)
{
    m_app.skin().setMirrored(selectedStep(), mirrored);
}

void StepsWindow::moveUpClicked()
{
    // Up the list is later in the painting order.
    m_app.skin().moveStep(selectedStep(), selectedStep() + 1);
}

void StepsWindow::moveDownClicked()
{
    m_app.skin().moveStep(selectedStep(), selectedStep() - 1);
}

void StepsWindow::removeClicked()
{
    m_app.skin().removeStep(selectedStep());
}

void StepsWindow::swapPartClicked()
{
    const int index = selectedStep();
    if (index < 0)
        return;
    const PasteStep step = m_app.skin().document().steps()[size_t(index)];
    // The kind's own list offers these names; a user part may be any bitmap.
    m_partDialog.Filter = m_partsWord + QStringLiteral(" |") + partListPattern(step.kind) + QLatin1Char('|');
    m_partDialog.InitDir =
        step.part.isEmpty() ? m_app.state.ImageFolder : QFileInfo(step.part).absolutePath() + QLatin1Char('/');
    m_partDialog.FileName = QFileInfo(step.part).fileName();
    // The kind's list shows the user's own parts with the program's: both folders are offered,
    // after the one the step's part came from.
    const FileResolver kindFolders =
        FileResolver::forKind(QStringLiteral("Image"), m_app.state.ImageFolder, m_partDialog.InitDir);
    m_partDialog.Places.clear();
    for (const QString &folder : kindFolders.folders())
        m_partDialog.Places << QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    m_partDialog.Places.removeDuplicates();
    if (!m_partDialog.ShowOpen())
        return;
    const QString path = QFileInfo(m_partDialog.FileName).absoluteFilePath();
    const Result<QImage> read = readBitmapFile(path);
    if (!read) {
        m_app.showMessage(ErrorText::loadPartFailed(QFileInfo(path).fileName(), read.error()));
        return;
    }
    m_app.skin().swapPart(index, path, read.value());
}

RampDialog &StepsWindow::rampDialog()
{
    if (!m_rampDialog)
        m_rampDialog = std::make_unique<RampDialog>(m_app);
    return *m_rampDialog;
}

void StepsWindow::rampClicked()
{
    if (selectedStep() >= 0)
        rampDialog().open(selectedStep());
}

} // namespace pellwerk

#include "RampDialog.h"

#include "App.h"
#include "core/ErrorText.h"
#include "core/FileResolver.h"
#include "language/KeyTable.h"
#include "ui_RampDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>

namespace pellwerk {

template class DesignedForm<Ui::RampDialog, QDialog>;

namespace {

constexpr int PathRole = Qt::UserRole;
// A row of swatches: at most this many, each this wide; longer palettes show an even sample.
constexpr int MaxSwatches = 12;
constexpr QSize Swatch{6, 14};

QIcon swatches(const Palette &palette)
{
    const int shown = qMin(int(palette.colours.size()), MaxSwatches);
    QPixmap strip(Swatch.width() * MaxSwatches, Swatch.height());
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int i = 0; i < shown; ++i) {
        const Colour colour = palette.colours[size_t(i) * palette.colours.size() / size_t(shown)];
        painter.fillRect(QRect(QPoint(i * Swatch.width(), 0), Swatch), colour.toQColor());
    }
    return QIcon(strip);
}

QListWidgetItem *rowOf(const QListWidget *list, const QString &path)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(PathRole).toString() == path)
            return list->item(i);
    return nullptr;
}

} // namespace

RampDialog::RampDialog(App &app) : DesignedForm(app, QStringLiteral("RampDialog"))
{
    connect(&app.skin(), &SkinCanvas::documentChanged, this, [this] {
        if (m_step >= 0)
            cancel();
    });
}

void RampDialog::setUpWindow(QDialog *host)
{
    Ui::RampDialog &u = *m_ui;
    for (QListWidget *list : {u.fromList, u.toList})
        list->setIconSize(QSize(Swatch.width() * MaxSwatches, Swatch.height()));
    connect(u.fromList, &QListWidget::currentRowChanged, this, &RampDialog::fromChanged);
    connect(u.toList, &QListWidget::currentRowChanged, this, &RampDialog::showChoice);
    connect(u.okButton, &QPushButton::clicked, this, &RampDialog::accept);
    connect(u.cancelButton, &QPushButton::clicked, this, &RampDialog::cancel);
    // Esc: QDialog rejects.
    connect(host, &QDialog::rejected, this, [this] {
        if (m_step >= 0)
            cancel();
    });
}

void RampDialog::windowLoaded()
{
    m_app.applyLanguageTo(name());
}

void RampDialog::applyLanguageText(const KeyRow &row, const QString &text)
{
    if (row.control == QLatin1String("coloursWord")) {
        m_coloursWord = text;
        return;
    }
    if (row.control == QLatin1String("noneWord")) {
        m_noneWord = text;
        if (m_ui && m_ui->fromList->count() > 0)
            m_ui->fromList->item(0)->setText(text);
        return;
    }
    Form::applyLanguageText(row, text);
    // The lists are read by their labels' words, and described by their tool-tips' (a list's
    // description is not its tool-tip by itself).
    if (auto *label = window()->findChild<QLabel *>(row.control); label && label->buddy())
        label->buddy()->setAccessibleName(text);
    else if (auto *list = window()->findChild<QListWidget *>(row.control); list && row.target == KeyTarget::ToolTip)
        list->setAccessibleDescription(text);
}

bool RampDialog::hostCloseRequested()
{
    if (m_step >= 0)
        cancel();
    return true;
}

void RampDialog::open(int index)
{
    const Document &document = m_app.skin().document();
    if (index < 0 || index >= document.stepCount())
        return;
    ensureLoaded();
    m_step = index;
    fillLists(document.steps()[size_t(index)].ramp);
    show();
    m_ui->fromList->setFocus();
}

void RampDialog::fillLists(const RampSwap &current)
{
    Ui::RampDialog &u = *m_ui;
    const QSignalBlocker quietFrom(u.fromList), quietTo(u.toList);
    u.fromList->clear();
    u.toList->clear();
    m_palettes.clear();
    u.fromList->addItem(m_noneWord);
    const FileResolver folders = FileResolver::forKind(
        QStringLiteral("Paletten"), QDir::cleanPath(m_app.state.ProgramFolder + QStringLiteral("/Paletten")));
    QStringList paths = folders.matching(QStringLiteral("*.gpl"));
    // The step's own palettes, wherever its recipe found them.
    for (const QString &own : {current.from, current.to})
        if (!own.isEmpty() && !paths.contains(own))
            paths << own;
    for (const QString &path : std::as_const(paths)) {
        Result<Palette> read = readPaletteFile(path);
        for (QListWidget *list : {u.fromList, u.toList}) {
            auto *item = new QListWidgetItem(QFileInfo(path).completeBaseName(), list);
            item->setData(PathRole, path);
            if (read) {
                item->setIcon(swatches(read.value()));
                item->setToolTip(
                    QStringLiteral("%1 (%2 %3)").arg(path, QString::number(read->colours.size()), m_coloursWord));
            } else {
                item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
                item->setToolTip(path + QStringLiteral(": ") + ErrorText::describe(read.error()));
            }
        }
        if (read)
            m_palettes.emplace(path, std::move(read).value());
    }
    QListWidgetItem *from = current.isNone() ? u.fromList->item(0) : rowOf(u.fromList, current.from);
    u.fromList->setCurrentItem(from ? from : u.fromList->item(0));
    fromChanged();
    if (QListWidgetItem *to = rowOf(u.toList, current.to); to && (to->flags() & Qt::ItemIsEnabled))
        u.toList->setCurrentItem(to);
    showChoice();
}

const Palette &RampDialog::paletteOf(const QString &path) const
{
    static const Palette none;
    const auto found = m_palettes.find(path);
    return found == m_palettes.end() ? none : found->second;
}

void RampDialog::fromChanged()
{
    Ui::RampDialog &u = *m_ui;
    const QListWidgetItem *from = u.fromList->currentItem();
    const QString fromPath = from ? from->data(PathRole).toString() : QString();
    const bool none = fromPath.isEmpty();
    u.toList->setEnabled(!none);
    // Only a palette of the same length can take the place of the "von" palette.
    const size_t length = paletteOf(fromPath).colours.size();
    {
        const QSignalBlocker quiet(u.toList);
        for (int i = 0; i < u.toList->count(); ++i) {
            QListWidgetItem *item = u.toList->item(i);
            const QString path = item->data(PathRole).toString();
            const bool fits = m_palettes.count(path) && paletteOf(path).colours.size() == length;
            item->setFlags(fits ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
        }
        if (const QListWidgetItem *to = u.toList->currentItem(); to && !(to->flags() & Qt::ItemIsEnabled))
            u.toList->setCurrentItem(nullptr);
    }
    showChoice();
}

std::optional<RampSwap> RampDialog::chosen() const
{
    const QListWidgetItem *from = m_ui->fromList->currentItem();
    const QListWidgetItem *to = m_ui->toList->currentItem();
    if (!from)
        return std::nullopt;
    if (from->data(PathRole).toString().isEmpty())
        return RampSwap{};
    if (!to || !(to->flags() & Qt::ItemIsEnabled))
        return std::nullopt;
    return RampSwap{from->data(PathRole).toString(), to->data(PathRole).toString()};
}

void RampDialog::showChoice()
{
    if (m_step < 0)
        return;
    const std::optional<RampSwap> swap = chosen();
    m_ui->okButton->setEnabled(swap.has_value());
    if (!swap || !m_app.skin().previewRamp(m_step, *swap, paletteOf(swap->from), paletteOf(swap->to)))
        m_app.skin().endPreview();
}

void RampDialog::accept()
{
    const int step = std::exchange(m_step, -1);
    const std::optional<RampSwap> swap = chosen();
    hide();
    if (step >= 0 && swap)
        m_app.skin().setRamp(step, *swap, paletteOf(swap->from), paletteOf(swap->to));
    else
        m_app.skin().endPreview();
}

void RampDialog::cancel()
{
    m_step = -1;
    hide();
    m_app.skin().endPreview();
}

} // namespace pellwerk

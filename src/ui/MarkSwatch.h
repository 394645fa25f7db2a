#pragma once

#include "compose/KeyColourLint.h"

#include <QWidget>

namespace pellwerk {

// A small sample of one mark of the zoom window for its legend: the mark drawn over four
// magnified pixels, two light and two dark, as it shows on light and dark skins. It shows no
// text; the label beside it says what the mark means.
class MarkSwatch : public QWidget
{
    Q_OBJECT
public:
    explicit MarkSwatch(QWidget *parent = nullptr);

    void setMark(KeyMark mark);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KeyMark m_mark = KeyMark::Kept;
};

} // namespace pellwerk

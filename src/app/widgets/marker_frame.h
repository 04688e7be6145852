#pragma once

#include <QColor>
#include <QLabel>

namespace velmar {

// A rectangle drawn round a cell of a picture (the chosen metatile, the selected tile): a dark
// line outside a light one, so that it shows on any colour under it, the reds and yellows of
// the game's pictures as well as black. It lets the mouse through to the picture.
class MarkerFrame : public QLabel {
    Q_OBJECT
public:
    explicit MarkerFrame(QWidget* parent, const QColor& light = Qt::yellow);

    // A wider light line: the picture it marks has the keyboard focus.
    void setWide(bool wide);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor light_;
    bool wide_ = false;
};

}  // namespace velmar

#pragma once

#include <QFrame>

// A panel edged by a double bevel: an outer ring lowered into the window
// and an inner ring raised from it, one pixel each. Its contents rect lies
// inside both rings.
class BevelPanel : public QFrame {
    Q_OBJECT
public:
    explicit BevelPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

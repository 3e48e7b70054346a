#pragma once
// Panel of the main window's frame: white, a raised outer edge, a two-pixel
// border and a lowered inner edge around a dark blue fill. Children are placed
// by pixel; contentsRect() is the blue area.
#include <QFrame>

class TPanneauDecore : public QFrame {
    Q_OBJECT
public:
    static constexpr int Bordure = 4;   // outer edge + border + inner edge

    explicit TPanneauDecore(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

#pragma once
// Round indicator light, 25 x 25 pixels, whose colour can be changed at any
// time. It starts silver (off). The corners around the light stay transparent
// so that it sits on any panel.
#include <QColor>
#include <QWidget>

class TLed : public QWidget {
    Q_OBJECT
public:
    static constexpr int Taille = 25;
    static inline const QColor Argent{192, 192, 192};

    explicit TLed(QWidget* parent = nullptr);

    QColor Couleur() const { return m_couleur; }
    // Repaints only when the colour really changes: refreshes set every light
    // once a second.
    void DefinirCouleur(const QColor& couleur);

    QSize sizeHint() const override { return {Taille, Taille}; }

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    QColor m_couleur = Argent;
};

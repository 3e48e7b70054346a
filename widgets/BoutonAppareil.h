#pragma once
// Push button of the monitoring strip: captioned with its device number, its
// face and caption colours set at run time from the device's state. Painted by
// hand so that the face shows exactly the colour it is given.
#include <QColor>
#include <QPushButton>

class TBoutonAppareil : public QPushButton {
    Q_OBJECT
public:
    static constexpr int Largeur = 22;
    static constexpr int Hauteur = 29;

    // The tag is the device number; the caption is the tag in decimal.
    explicit TBoutonAppareil(int tag, QWidget* parent = nullptr);

    int Tag() const { return m_tag; }

    // Both repaint only when the colour really changes.
    void DefinirCouleurFace(const QColor& couleur);
    void DefinirCouleurTexte(const QColor& couleur);
    QColor CouleurFace() const { return m_face; }
    QColor CouleurTexte() const { return m_texte; }

    QSize sizeHint() const override { return {Largeur, Hauteur}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_tag;
    QColor m_face;
    QColor m_texte;
};

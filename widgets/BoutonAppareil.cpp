#include "widgets/BoutonAppareil.h"

#include "platform/CouleursSysteme.h"

#include <QPainter>

namespace {
const QColor Eclairage(255, 255, 255);       // outer edge facing the light
const QColor Clair(227, 227, 227);           // inner edge facing the light
const QColor OmbreFoncee(105, 105, 105);     // outer edge in the shade
}

TBoutonAppareil::TBoutonAppareil(int tag, QWidget* parent)
    : QPushButton(QString::number(tag), parent),
      m_tag(tag),
      m_face(CouleursSysteme::FaceBouton),
      m_texte(CouleursSysteme::TexteBouton)
{
    setProperty("Tag", tag);
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPixelSize(11);
    // Solid caption pixels: a greyed caption stays readable on red or yellow.
    police.setStyleStrategy(QFont::NoAntialias);
    setFont(police);
    setFocusPolicy(Qt::NoFocus);
    resize(Largeur, Hauteur);
}

void TBoutonAppareil::DefinirCouleurFace(const QColor& couleur)
{
    if (couleur == m_face)
        return;
    m_face = couleur;
    update();
}

void TBoutonAppareil::DefinirCouleurTexte(const QColor& couleur)
{
    if (couleur == m_texte)
        return;
    m_texte = couleur;
    update();
}

void TBoutonAppareil::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const int d = r.right();
    const int b = r.bottom();
    p.fillRect(r, m_face);

    const bool enfonce = isDown() || isChecked();
    // Two-pixel bevel: raised at rest, sunk while pressed.
    p.setPen(enfonce ? OmbreFoncee : Eclairage);
    p.drawLine(0, 0, d - 1, 0);
    p.drawLine(0, 0, 0, b - 1);
    p.setPen(enfonce ? CouleursSysteme::OmbreBouton : Clair);
    p.drawLine(1, 1, d - 2, 1);
    p.drawLine(1, 1, 1, b - 2);
    p.setPen(enfonce ? Eclairage : OmbreFoncee);
    p.drawLine(0, b, d, b);
    p.drawLine(d, 0, d, b);
    p.setPen(enfonce ? Clair : CouleursSysteme::OmbreBouton);
    p.drawLine(1, b - 1, d - 1, b - 1);
    p.drawLine(d - 1, 1, d - 1, b - 1);

    QRect zoneTexte = r.adjusted(2, 2, -2, -2);
    if (enfonce)
        zoneTexte.translate(1, 1);
    p.setFont(font());
    if (!isEnabled()) {
        p.setPen(Eclairage);
        p.drawText(zoneTexte.translated(1, 1), Qt::AlignCenter | Qt::TextShowMnemonic, text());
        p.setPen(CouleursSysteme::OmbreBouton);
    } else {
        p.setPen(m_texte);
    }
    p.drawText(zoneTexte, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

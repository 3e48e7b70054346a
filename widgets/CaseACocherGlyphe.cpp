#include "widgets/CaseACocherGlyphe.h"

#include "platform/CouleursSysteme.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {
constexpr int EcartTexte = 5;
const QColor CadreActif(64, 64, 64);
}

TCaseACocherGlyphe::TCaseACocherGlyphe(QWidget* parent)
    : QCheckBox(parent)
{
}

void TCaseACocherGlyphe::DefinirCouleurCoche(const QColor& couleur)
{
    if (couleur == m_couleurCoche)
        return;
    m_couleurCoche = couleur;
    update();
}

QRect TCaseACocherGlyphe::RectangleCase() const
{
    const int haut = (height() - CoteCase) / 2;
    const int gauche = text().isEmpty() ? (width() - CoteCase) / 2 : 1;
    return QRect(gauche, haut, CoteCase, CoteCase);
}

QSize TCaseACocherGlyphe::sizeHint() const
{
    const int hauteur = qMax(CoteCase + 4, fontMetrics().height());
    if (text().isEmpty())
        return {CoteCase + 4, hauteur};
    return {1 + CoteCase + EcartTexte + fontMetrics().horizontalAdvance(text()) + 2, hauteur};
}

bool TCaseACocherGlyphe::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void TCaseACocherGlyphe::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect boite = RectangleCase();
    const bool actif = isEnabled();

    // The box: white and dark-framed when it can change, on the button face
    // with a grey frame when it cannot, on the face while it is pressed.
    p.setPen(actif ? CadreActif : CouleursSysteme::OmbreBouton);
    p.setBrush(actif && !isDown() ? CouleursSysteme::Fenetre : CouleursSysteme::FaceBouton);
    p.drawRect(boite.adjusted(0, 0, -1, -1));

    if (checkState() != Qt::Unchecked) {
        p.setRenderHint(QPainter::Antialiasing);
        QPen trait(m_couleurCoche, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(trait);
        p.setBrush(Qt::NoBrush);
        const QPointF o = boite.topLeft();
        if (checkState() == Qt::Checked) {
            QPainterPath coche;
            coche.moveTo(o + QPointF(3.0, 6.5));
            coche.lineTo(o + QPointF(5.5, 9.5));
            coche.lineTo(o + QPointF(10.0, 3.5));
            p.drawPath(coche);
        } else {
            p.drawLine(o + QPointF(3.5, 6.5), o + QPointF(9.5, 6.5));
        }
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = boite.adjusted(-2, -2, 2, 2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }

    if (!text().isEmpty()) {
        p.setPen(palette().color(actif ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const QRect zoneTexte(boite.right() + 1 + EcartTexte, 0, width() - boite.right() - 1 - EcartTexte, height());
        p.drawText(zoneTexte, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
    }
}

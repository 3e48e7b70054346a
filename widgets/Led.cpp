#include "widgets/Led.h"

#include <QPainter>
#include <QRadialGradient>

TLed::TLed(QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(Taille, Taille);
}

void TLed::DefinirCouleur(const QColor& couleur)
{
    if (couleur == m_couleur)
        return;
    m_couleur = couleur;
    update();
}

void TLed::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // Bezel: a dark ring around the glass.
    const QRectF cercle(1.5, 1.5, width() - 3.0, height() - 3.0);
    p.setPen(QPen(QColor(96, 96, 96), 1.0));
    p.setBrush(m_couleur);
    p.drawEllipse(cercle);

    // Reflection in the upper left quarter; the centre keeps the plain colour
    // so the state reads the same at a glance and on a grabbed picture.
    const QRectF reflet(5.0, 4.0, 8.0, 6.0);
    QRadialGradient degrade(reflet.center(), reflet.width() / 2.0);
    degrade.setColorAt(0.0, QColor(255, 255, 255, 200));
    degrade.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(degrade);
    p.drawEllipse(reflet);
}

#include "app/PanneauDecore.h"

#include "platform/CouleursSysteme.h"

#include <QPainter>

TPanneauDecore::TPanneauDecore(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(Bordure, Bordure, Bordure, Bordure);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPanneauDecore::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, Qt::white);
    // Raised outer edge: its lit side is the white of the panel itself.
    p.setPen(CouleursSysteme::OmbreBouton);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    // Lowered inner edge, inside the two-pixel border.
    const QRect bord = r.adjusted(Bordure - 1, Bordure - 1, -(Bordure - 1), -(Bordure - 1));
    p.drawLine(bord.left(), bord.top(), bord.right(), bord.top());
    p.drawLine(bord.left(), bord.top(), bord.left(), bord.bottom());
    p.setPen(Qt::white);
    p.drawLine(bord.left(), bord.bottom(), bord.right(), bord.bottom());
    p.drawLine(bord.right(), bord.top(), bord.right(), bord.bottom());
    p.fillRect(contentsRect(), CouleursSysteme::BleuFonce);
}

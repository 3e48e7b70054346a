#include "screens/CadreEnhanced.h"

#include "platform/CouleursSysteme.h"

TFrameEnhanced::TFrameEnhanced(QWidget* parent)
    : QFrame(parent)
{
    setFixedSize(Largeur, Hauteur);
    setFrameShape(QFrame::NoFrame);
    QPalette p = palette();
    p.setColor(QPalette::Window, CouleursSysteme::FaceBouton);
    setPalette(p);
    setAutoFillBackground(true);
}

void TFrameEnhanced::ChangerLangue(TLangue) {}

TOccupationEcran::~TOccupationEcran()
{
    if (--m_ecran.m_occupe == 0)
        emit m_ecran.Libere();
}

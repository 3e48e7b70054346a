#include "screens/CadreNotices.h"

#include "text/MessagesVeilleur.h"
#include "widgets/Controles.h"

#include <QLabel>

namespace {

// Every caption of the screen spans the same centred band.
QLabel* NouvelleLigne(QWidget* parent, const char* nom, int haut, const QFont& police)
{
    QLabel* label = NouveauLabel(parent, QLatin1String(nom), QRect(16, haut, 721, 20), Qt::AlignCenter);
    label->setFont(police);
    return label;
}

QLabel* NouveauLien(QWidget* parent, const char* nom, int haut)
{
    QFont police = PoliceEcran(13);
    police.setUnderline(true);
    QLabel* label = NouvelleLigne(parent, nom, haut, police);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(p);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

TFrameNotices::TFrameNotices(QWidget* parent)
    : TFrameEnhanced(parent)
{
    LabelTitre = NouvelleLigne(this, "LabelTitre", 16, PoliceEcran(16, true));
    LabelNoticeVeilleur = NouveauLien(this, "LabelNoticeVeilleur", 272);
    LabelNoticeKMT = NouveauLien(this, "LabelNoticeKMT", 312);
    LabelNoticeQFL8 = NouveauLien(this, "LabelNoticeQFL8", 352);
    LabelNoticeQFL16 = NouveauLien(this, "LabelNoticeQFL16", 392);
}

void TFrameNotices::ChangerLangue(TLangue langue)
{
    LabelTitre->setText(Texte(MsgNoticesLabelNotices, langue));
    LabelNoticeVeilleur->setText(Texte(MsgNoticesLabelNoticeVeilleur, langue));
    LabelNoticeKMT->setText(Texte(MsgNoticesLabelNoticeKMT, langue));
    LabelNoticeQFL8->setText(Texte(MsgNoticesLabelNoticeQFL8, langue));
    LabelNoticeQFL16->setText(Texte(MsgNoticesLabelNoticeQFL16, langue));
}

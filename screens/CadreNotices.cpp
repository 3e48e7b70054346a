#include "screens/CadreNotices.h"

#include "text/MessagesVeilleur.h"

#include <QLabel>

namespace {

QLabel* NouveauLabel(QWidget* parent, const char* nom, int haut, const QFont& police)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(nom));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(16, haut, 721, 20);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(police);
    return label;
}

QLabel* NouveauLien(QWidget* parent, const char* nom, int haut)
{
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPixelSize(13);
    police.setUnderline(true);
    QLabel* label = NouveauLabel(parent, nom, haut, police);
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
    QFont titre(QStringLiteral("MS Sans Serif"));
    titre.setPixelSize(16);
    titre.setBold(true);
    LabelTitre = NouveauLabel(this, "LabelTitre", 16, titre);
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

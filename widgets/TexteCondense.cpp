#include "widgets/TexteCondense.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

QFont PoliceAjustee(const QFont& police, const QString& texte, int largeur, int* largeurTexte)
{
    const int naturelle = texte.isEmpty() ? 0 : QFontMetrics(police).horizontalAdvance(texte);
    if (largeurTexte)
        *largeurTexte = naturelle;
    if (naturelle <= largeur)
        return police;
    auto largeurA = [&](int etirement) {
        QFont f = police;
        f.setStretch(etirement);
        return QFontMetrics(f).horizontalAdvance(texte);
    };
    // The largest stretch that fits, by halving: widths grow with the stretch.
    const int base = police.stretch() > 0 ? police.stretch() : 100;
    int bas = EtirementMinimal;   // fits, or the floor
    int haut = base;              // does not fit
    while (haut - bas > 1) {
        const int milieu = (bas + haut) / 2;
        if (largeurA(milieu) <= largeur)
            bas = milieu;
        else
            haut = milieu;
    }
    QFont condensee = police;
    condensee.setStretch(std::min(bas, base));
    if (largeurTexte)
        *largeurTexte = QFontMetrics(condensee).horizontalAdvance(texte);
    return condensee;
}

TLibelle::TLibelle(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QRect TLibelle::ZoneTexte() const
{
    // As the label lays its text out: margin on every side, then the indent
    // (half an "x" by default when framed) on the aligned side.
    QRect zone = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int retrait = indent();
    if (retrait < 0 && frameWidth() > 0)
        retrait = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    if (retrait > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
        if (a & Qt::AlignLeft)
            zone.setLeft(zone.left() + retrait);
        if (a & Qt::AlignRight)
            zone.setRight(zone.right() - retrait);
    }
    return zone;
}

QFont TLibelle::PoliceAffichee() const
{
    if (wordWrap() || textFormat() != Qt::PlainText)
        return font();
    return PoliceAjustee(font(), text(), ZoneTexte().width());
}

void TLibelle::paintEvent(QPaintEvent* event)
{
    const QFont police = PoliceAffichee();
    if (police == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    p.setFont(police);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&p, ZoneTexte(), QStyle::visualAlignment(layoutDirection(), alignment()), option.palette,
                          isEnabled(), text(), foregroundRole());
}

#include "app/BoutonMenu.h"

#include "platform/CouleursSysteme.h"

#include <QPainter>

namespace {
const QColor Eclairage(255, 255, 255);
const QColor OmbreFoncee(105, 105, 105);
}

QPixmap EtatDuGlyphe(const QPixmap& quatreEtats, int etat)
{
    if (quatreEtats.isNull())
        return {};
    const int largeur = quatreEtats.width() / 4;
    return quatreEtats.copy(etat * largeur, 0, largeur, quatreEtats.height());
}

TBoutonMenu::TBoutonMenu(int tag, QWidget* parent)
    : QToolButton(parent), m_tag(tag)
{
    setProperty("Tag", tag);
    setCheckable(true);
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
}

void TBoutonMenu::DefinirGlyphe(const QPixmap& quatreEtats)
{
    m_glyphes = quatreEtats;
    update();
}

int TBoutonMenu::EtatGlyphe() const
{
    if (!isEnabled())
        return 1;
    if (isDown())
        return 2;
    if (isChecked())
        return 3;
    return 0;
}

QPixmap TBoutonMenu::GlypheAffiche() const
{
    return EtatDuGlyphe(m_glyphes, EtatGlyphe());
}

void TBoutonMenu::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const bool enfonce = isDown() || isChecked();
    p.fillRect(r, CouleursSysteme::FaceBouton);
    if (isChecked() && !isDown())
        p.fillRect(r.adjusted(1, 1, -1, -1), QBrush(Eclairage, Qt::Dense4Pattern));

    p.setPen(enfonce ? CouleursSysteme::OmbreBouton : Eclairage);
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    p.setPen(enfonce ? Eclairage : OmbreFoncee);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    if (!enfonce) {
        p.setPen(CouleursSysteme::OmbreBouton);
        p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    }

    const int decalage = isDown() ? 1 : 0;
    const QPixmap glyphe = GlypheAffiche();
    p.setFont(font());
    p.setPen(isEnabled() ? CouleursSysteme::TexteBouton : CouleursSysteme::OmbreBouton);
    if (glyphe.isNull()) {
        p.drawText(r.translated(decalage, decalage), Qt::AlignCenter | Qt::TextShowMnemonic, text());
        return;
    }
    const QSize taille = glyphe.deviceIndependentSize().toSize();
    const int x = Marge + decalage;
    p.drawPixmap(x, (r.height() - taille.height()) / 2 + decalage, glyphe);
    const QRect zoneTexte(x + taille.width() + Espacement, decalage,
                          r.width() - (x + taille.width() + Espacement) - 2, r.height());
    p.drawText(zoneTexte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
}

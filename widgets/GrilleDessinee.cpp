#include "widgets/GrilleDessinee.h"

#include "platform/CouleursSysteme.h"
#include "widgets/TexteCondense.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
const QColor NoirBordure(0, 0, 0);
const QColor LigneFixe(0, 0, 0);
const QColor LigneNormale(192, 192, 192);
}

TGrilleDessinee::TGrilleDessinee(QWidget* parent)
    : TGrilleDessinee(5, 5, parent)
{
}

TGrilleDessinee::TGrilleDessinee(int colonnes, int lignes, QWidget* parent)
    : QWidget(parent),
      m_fond(CouleursSysteme::Fenetre),
      m_fixe(CouleursSysteme::FaceBouton)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Redimensionner(std::max(0, colonnes), std::max(0, lignes));
}

TGrilleDessinee::~TGrilleDessinee() = default;

void TGrilleDessinee::Redimensionner(int colonnes, int lignes)
{
    QVector<QString> textes(colonnes * lignes);
    const int cMax = std::min(colonnes, m_nbColonnes);
    const int lMax = std::min(lignes, m_nbLignes);
    for (int l = 0; l < lMax; ++l)
        for (int c = 0; c < cMax; ++c)
            textes[l * colonnes + c] = std::move(m_textes[Index(c, l)]);
    m_textes = std::move(textes);
    m_largeurs.resize(colonnes);
    for (int c = m_nbColonnes; c < colonnes; ++c)
        m_largeurs[c] = m_largeurDefaut;
    m_nbColonnes = colonnes;
    m_nbLignes = lignes;
    m_lignesFixes = std::min(m_lignesFixes, lignes);
    m_colonnesFixes = std::min(m_colonnesFixes, colonnes);
    MettreAJourBarre();
    update();
}

void TGrilleDessinee::SetNbColonnes(int n) { Redimensionner(std::max(0, n), m_nbLignes); }
void TGrilleDessinee::SetNbLignes(int n) { Redimensionner(m_nbColonnes, std::max(0, n)); }

void TGrilleDessinee::SetLignesFixes(int n)
{
    m_lignesFixes = std::clamp(n, 0, m_nbLignes);
    MettreAJourBarre();
    update();
}

void TGrilleDessinee::SetColonnesFixes(int n)
{
    m_colonnesFixes = std::clamp(n, 0, m_nbColonnes);
    update();
}

void TGrilleDessinee::SetLargeurDefaut(int largeur)
{
    m_largeurDefaut = std::max(0, largeur);
    std::fill(m_largeurs.begin(), m_largeurs.end(), m_largeurDefaut);
    update();
}

int TGrilleDessinee::LargeurColonne(int colonne) const
{
    if (colonne < 0 || colonne >= m_nbColonnes)
        return 0;
    return m_largeurs[colonne];
}

void TGrilleDessinee::SetLargeurColonne(int colonne, int largeur)
{
    if (colonne < 0 || colonne >= m_nbColonnes)
        return;
    m_largeurs[colonne] = std::max(0, largeur);
    update();
}

void TGrilleDessinee::SetHauteurLigne(int hauteur)
{
    m_hauteurLigne = std::max(0, hauteur);
    MettreAJourBarre();
    update();
}

QString TGrilleDessinee::Cellule(int colonne, int ligne) const
{
    if (colonne < 0 || colonne >= m_nbColonnes || ligne < 0 || ligne >= m_nbLignes)
        return {};
    return m_textes[Index(colonne, ligne)];
}

void TGrilleDessinee::SetCellule(int colonne, int ligne, const QString& texte)
{
    if (colonne < 0 || colonne >= m_nbColonnes || ligne < 0 || ligne >= m_nbLignes)
        return;
    // The refresh ticks write every cell again: only a change is repainted.
    QString& cellule = m_textes[Index(colonne, ligne)];
    if (cellule == texte)
        return;
    cellule = texte;
    RedessinerCellule(colonne, ligne);
    for (const auto& [dessinee, lue] : m_dependances)
        if (lue == colonne)
            RedessinerCellule(dessinee, ligne);
}

void TGrilleDessinee::AjouterDependance(int colonne, int source)
{
    m_dependances.append({colonne, source});
}

void TGrilleDessinee::SetCouleurFond(const QColor& couleur) { m_fond = couleur; update(); }
void TGrilleDessinee::SetCouleurFixe(const QColor& couleur) { m_fixe = couleur; update(); }
void TGrilleDessinee::SetLignesGrille(bool actives) { m_lignesGrille = actives; update(); }
void TGrilleDessinee::SetDessinParDefaut(bool actif) { m_dessinParDefaut = actif; update(); }

void TGrilleDessinee::SetBarreVerticale(bool active)
{
    if (active == BarreVerticale())
        return;
    if (active) {
        m_barre = new QScrollBar(Qt::Vertical, this);
        m_barre->setObjectName(QStringLiteral("BarreVerticale"));
        m_barre->setFocusPolicy(Qt::NoFocus);
        connect(m_barre, &QScrollBar::valueChanged, this, [this](int valeur) {
            if (valeur != m_ligneHaut)
                SetLigneHaut(valeur);
        });
        m_barre->show();
    } else {
        delete m_barre;
        m_barre = nullptr;
    }
    MettreAJourBarre();
    update();
}

void TGrilleDessinee::SetLigneHaut(int ligne)
{
    // Against the current size: a hidden widget gets its resize event only when shown.
    const int maximum = m_barre ? std::max(m_lignesFixes, m_nbLignes - LignesVisibles()) : m_lignesFixes;
    const int nouvelle = std::clamp(ligne, m_lignesFixes, maximum);
    const bool change = nouvelle != m_ligneHaut;
    m_ligneHaut = nouvelle;
    MettreAJourBarre();
    if (change)
        update();
}

QRect TGrilleDessinee::ZoneGrille() const
{
    const int largeur = width() - 2 * LargeurBordure - (m_barre ? LargeurBarre : 0);
    const int hauteur = height() - 2 * LargeurBordure;
    return QRect(0, 0, std::max(0, largeur), std::max(0, hauteur));
}

int TGrilleDessinee::LignesVisibles() const
{
    const int pas = m_hauteurLigne + 1;
    const int libre = ZoneGrille().height() - m_lignesFixes * pas;
    return std::max(1, (libre + 1) / pas);
}

void TGrilleDessinee::MettreAJourBarre()
{
    if (!m_barre) {
        m_ligneHaut = m_lignesFixes;
        return;
    }
    m_barre->setGeometry(width() - LargeurBordure - LargeurBarre, LargeurBordure, LargeurBarre,
                         std::max(0, height() - 2 * LargeurBordure));
    const int visibles = LignesVisibles();
    const int maximum = std::max(m_lignesFixes, m_nbLignes - visibles);
    {
        const QSignalBlocker bloqueur(m_barre);
        m_barre->setRange(m_lignesFixes, maximum);
        m_barre->setPageStep(visibles);
        m_barre->setSingleStep(1);
    }
    m_ligneHaut = std::clamp(m_ligneHaut, m_lignesFixes, maximum);
    if (m_barre->value() != m_ligneHaut) {
        const QSignalBlocker bloqueur(m_barre);
        m_barre->setValue(m_ligneHaut);
    }
}

int TGrilleDessinee::XColonne(int colonne) const
{
    int x = 0;
    for (int c = 0; c < colonne; ++c)
        x += m_largeurs[c] + 1;
    return x;
}

int TGrilleDessinee::YLigne(int ligne) const
{
    const int pas = m_hauteurLigne + 1;
    if (ligne < m_lignesFixes)
        return ligne * pas;
    if (ligne < m_ligneHaut)
        return -1;
    return (m_lignesFixes + ligne - m_ligneHaut) * pas;
}

QRect TGrilleDessinee::RectangleCellule(int colonne, int ligne) const
{
    if (colonne < 0 || colonne >= m_nbColonnes || ligne < 0 || ligne >= m_nbLignes)
        return {};
    const int y = YLigne(ligne);
    if (y < 0)
        return {};
    return QRect(XColonne(colonne), y, m_largeurs[colonne], m_hauteurLigne);
}

void TGrilleDessinee::CelluleEn(const QPoint& position, int& colonne, int& ligne) const
{
    colonne = -1;
    ligne = -1;
    const QRect zone = ZoneGrille();
    if (position.x() < 0 || position.y() < 0 || !zone.contains(position))
        return;
    int c = -1;
    for (int k = 0, x = 0; k < m_nbColonnes; ++k) {
        x += m_largeurs[k] + 1;
        if (position.x() < x) {
            c = k;
            break;
        }
    }
    const int pas = m_hauteurLigne + 1;
    int l = position.y() / pas;
    if (l >= m_lignesFixes)
        l = l - m_lignesFixes + m_ligneHaut;
    if (c < 0 || l >= m_nbLignes)
        return;
    colonne = c;
    ligne = l;
}

QPoint TGrilleDessinee::VersGrille(const QPoint& positionWidget)
{
    return positionWidget - QPoint(LargeurBordure, LargeurBordure);
}

QPoint TGrilleDessinee::VersWidget(const QPoint& positionGrille)
{
    return positionGrille + QPoint(LargeurBordure, LargeurBordure);
}

void TGrilleDessinee::RedessinerCellule(int colonne, int ligne)
{
    const QRect rect = RectangleCellule(colonne, ligne);
    if (rect.isEmpty())
        return;
    // The lines right of and under the cell are repainted with it.
    update(rect.adjusted(0, 0, 1, 1).translated(LargeurBordure, LargeurBordure));
}

void TGrilleDessinee::TexteRect(QPainter& p, const QRect& rect, int x, int y, const QString& texte,
                                const QColor& fond)
{
    p.save();
    p.fillRect(rect, fond);
    p.setClipRect(rect, Qt::IntersectClip);
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), texte);
    p.restore();
}

int TGrilleDessinee::AjusterPolice(QPainter& p, const QString& texte, int largeur) const
{
    int largeurTexte = 0;
    p.setFont(PoliceAjustee(font(), texte, largeur, &largeurTexte));
    return largeurTexte;
}

int TGrilleDessinee::PositionCentree(int gauche, int zone, int largeur)
{
    return gauche + static_cast<int>(std::nearbyint((zone - largeur) / 2.0));
}

void TGrilleDessinee::Ligne(QPainter& p, const QPoint& a, const QPoint& b, const QColor& couleur)
{
    if (a.y() == b.y() && a.x() != b.x()) {
        const int gauche = a.x() < b.x() ? a.x() : b.x() + 1;
        p.fillRect(QRect(gauche, a.y(), std::abs(b.x() - a.x()), 1), couleur);
    } else if (a.x() == b.x() && a.y() != b.y()) {
        const int haut = a.y() < b.y() ? a.y() : b.y() + 1;
        p.fillRect(QRect(a.x(), haut, 1, std::abs(b.y() - a.y())), couleur);
    } else if (a != b) {
        p.save();
        p.setPen(couleur);
        p.drawLine(a, b);
        p.restore();
    }
}

void TGrilleDessinee::DessinerCellule(QPainter& p, int colonne, int ligne, const QRect& rect)
{
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.setPen(CouleursSysteme::TexteFenetre);
    p.setBrush(Qt::NoBrush);
    p.setFont(font());
    if (m_dessinParDefaut) {
        const bool fixe = ligne < m_lignesFixes || colonne < m_colonnesFixes;
        AjusterPolice(p, m_textes[Index(colonne, ligne)], rect.width() - 3);
        TexteRect(p, rect, rect.left() + 2, rect.top() + 2, m_textes[Index(colonne, ligne)],
                  fixe ? m_fixe : m_fond);
        p.setFont(font());
    }
    if (m_dessin)
        m_dessin(*this, p, colonne, ligne, rect);
    p.restore();
}

void TGrilleDessinee::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(rect(), NoirBordure);
    p.translate(LargeurBordure, LargeurBordure);
    const QRect zone = ZoneGrille();
    p.setClipRect(zone);
    p.fillRect(zone, m_fond);
    const QRect aPeindre = event->rect().translated(-LargeurBordure, -LargeurBordure) & zone;

    // Rows and columns shown, in drawing order.
    QVector<int> lignes;
    for (int l = 0; l < m_nbLignes; ++l) {
        const int y = YLigne(l);
        if (y >= 0 && y < zone.height())
            lignes.append(l);
    }
    for (int l : lignes) {
        const int y = YLigne(l);
        for (int c = 0, x = 0; c < m_nbColonnes && x < zone.width(); x += m_largeurs[c] + 1, ++c) {
            const QRect cellule(x, y, m_largeurs[c], m_hauteurLigne);
            if (cellule.intersects(aPeindre))
                DessinerCellule(p, c, l, cellule);
        }
    }
    if (!m_lignesGrille)
        return;
    // Each cell owns the line right of it and the one under it, corner included;
    // the fixed cells' lines are drawn last so that they win at the corners.
    for (int passe = 0; passe < 2; ++passe) {
        const bool fixes = passe == 1;
        const QColor couleur = fixes ? LigneFixe : LigneNormale;
        for (int l : lignes) {
            const int y = YLigne(l);
            for (int c = 0, x = 0; c < m_nbColonnes && x < zone.width(); x += m_largeurs[c] + 1, ++c) {
                if ((l < m_lignesFixes || c < m_colonnesFixes) != fixes)
                    continue;
                const int droite = x + m_largeurs[c];
                const int bas = y + m_hauteurLigne;
                p.fillRect(QRect(droite, y, 1, m_hauteurLigne + 1), couleur);
                p.fillRect(QRect(x, bas, m_largeurs[c] + 1, 1), couleur);
            }
        }
    }
}

void TGrilleDessinee::mousePressEvent(QMouseEvent* event)
{
    if (m_enfoncee)
        m_enfoncee(*this, event->button(), VersGrille(event->position().toPoint()));
}

void TGrilleDessinee::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_relachee)
        m_relachee(*this, event->button(), VersGrille(event->position().toPoint()));
}

void TGrilleDessinee::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
}

void TGrilleDessinee::wheelEvent(QWheelEvent* event)
{
    if (!m_barre) {
        event->ignore();
        return;
    }
    const int crans = event->angleDelta().y() / 120;
    if (crans != 0)
        SetLigneHaut(m_ligneHaut - crans);
    event->accept();
}

void TGrilleDessinee::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    MettreAJourBarre();
}

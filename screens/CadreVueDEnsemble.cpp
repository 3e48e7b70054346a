#include "screens/CadreVueDEnsemble.h"

#include "platform/MessagesFenetre.h"
#include "text/MessagesVeilleur.h"
#include "widgets/Controles.h"
#include "platform/CouleursSysteme.h"
#include "widgets/GrilleDessinee.h"

#include <QGroupBox>
#include <QPainter>

namespace {

const QColor FondEntete(255, 255, 255);
const QColor FondImpair(207, 210, 225);
const QColor FondPair(240, 240, 240);
const QColor Jaune(240, 240, 0);
const QColor Rouge(255, 0, 0);
const QColor ContourDisque(0, 0, 0);
// A lost device, as on the strip.
const QColor GrisPerdu(128, 128, 128);

const QString TexteBouton = QStringLiteral("...");
const QString Un = QStringLiteral("1");
const QString Zero = QStringLiteral("0");

constexpr int NbLignesGrille = NbSources + 1;
constexpr int ColonnePrealarme = 4;
constexpr int ColonneAlarme = 5;

QGroupBox* NouveauGroupe(QWidget* parent, const char* nom, const QString& titre, const QRect& place)
{
    auto* groupe = new QGroupBox(titre, parent);
    groupe->setObjectName(QLatin1String(nom));
    groupe->setGeometry(place);
    groupe->setFont(PoliceEcran(16, true));
    return groupe;
}

// Right and bottom edges as the drawing rules count them (one past the cell).
int Droite(const QRect& r) { return r.left() + r.width(); }
int Bas(const QRect& r) { return r.top() + r.height(); }

} // namespace

TFrameVueDEnsemble::TFrameVueDEnsemble(QWidget* parent)
    : TFrameEnhanced(parent)
{
    StringGridNumSource = NouvelleGrille(this, "StringGridNumSource", TagNumSource, 2, QRect(10, 32, 139, 577));
    GroupBoxKMT = NouveauGroupe(this, "GroupBoxKMT", QStringLiteral("KMT"), QRect(160, 8, 428, 617));
    StringGridKMT = NouvelleGrille(GroupBoxKMT, "StringGridKMT", TagKMT, 6, QRect(6, 24, 415, 577));
    // The access button takes the colour of its row's indicators.
    StringGridKMT->AjouterDependance(0, ColonnePrealarme);
    StringGridKMT->AjouterDependance(0, ColonneAlarme);
    GroupBoxQFL8 = NouveauGroupe(this, "GroupBoxQFL8", QStringLiteral("QFL8"), QRect(592, 8, 152, 617));
    StringGridQFL8 = NouvelleGrille(GroupBoxQFL8, "StringGridQFL8", TagQFL8, 2, QRect(6, 24, 139, 577));
}

TGrilleDessinee* TFrameVueDEnsemble::NouvelleGrille(QWidget* parent, const char* nom, int tag, int colonnes,
                                                    const QRect& place)
{
    auto* grille = new TGrilleDessinee(colonnes, NbLignesGrille, parent);
    grille->setObjectName(QLatin1String(nom));
    grille->SetTag(tag);
    grille->SetLargeurDefaut(LargeurCellule);
    grille->SetHauteurLigne(HauteurCellule);
    grille->SetLignesFixes(1);
    grille->SetColonnesFixes(0);
    grille->setFont(PoliceEcran(11));
    grille->setGeometry(place);
    grille->SetDessinCellule([this](TGrilleDessinee& g, QPainter& p, int c, int r, const QRect& rect) {
        StringGridDrawCell(g, p, c, r, rect);
    });
    grille->SetSourisEnfoncee([this](TGrilleDessinee& g, Qt::MouseButton b, const QPoint& pos) {
        StringGridMouseDown(g, b, pos);
    });
    grille->SetSourisRelachee([this](TGrilleDessinee& g, Qt::MouseButton b, const QPoint& pos) {
        StringGridMouseUp(g, b, pos);
    });
    return grille;
}

void TFrameVueDEnsemble::ChangerLangue(TLangue langue)
{
    m_langue = langue;
    StringGridNumSource->SetCellule(0, 0, Texte(MsgVueDEnsembleStringGridNumSourceN, langue));
    StringGridNumSource->SetCellule(1, 0, Texte(MsgVueDEnsembleStringGridNumSourceSource, langue));
    StringGridKMT->SetCellule(0, 0, Texte(MsgVueDEnsembleStringGridKMTEtatAcces, langue));
    StringGridKMT->SetCellule(1, 0, Texte(MsgVueDEnsembleStringGridKMTRIsolement, langue));
    StringGridKMT->SetCellule(2, 0, Texte(MsgVueDEnsembleStringGridKMTRMin, langue));
    StringGridKMT->SetCellule(3, 0, Texte(MsgVueDEnsembleStringGridKMTRSeuil, langue));
    StringGridKMT->SetCellule(4, 0, Texte(MsgVueDEnsembleStringGridKMTPrealarme, langue));
    StringGridKMT->SetCellule(5, 0, Texte(MsgVueDEnsembleStringGridKMTAlarme, langue));
    StringGridQFL8->SetCellule(0, 0, Texte(MsgVueDEnsembleStringGridKMTEtatAcces, langue));
    StringGridQFL8->SetCellule(1, 0, Texte(MsgVueDEnsembleStringGridQFL8Recherche, langue));
}

void TFrameVueDEnsemble::Initialiser(const TNomsAppareils& noms)
{
    // Qt paints every widget double-buffered already: nothing to turn on.
    HandlePrincipal = noms.Handle;
    for (int r = 1; r <= NbSources; ++r) {
        StringGridNumSource->SetCellule(0, r, QString::number(r));
        StringGridNumSource->SetCellule(1, r, noms.Noms[r]);
    }
    StringGridNumSource->SetLargeurColonne(0, StringGridNumSource->LargeurDefaut() - 50);
    StringGridNumSource->SetLargeurColonne(1, StringGridNumSource->LargeurDefaut() + 50);
    for (int r = 1; r <= NbSources; ++r) {
        StringGridKMT->SetCellule(0, r, TexteBouton);
        StringGridQFL8->SetCellule(0, r, TexteBouton);
        StringGridQFL8->SetCellule(1, r, TexteBouton);
    }
    m_colonnePressee = 0;
    m_lignePressee = 0;
    m_tagPresse = 0;
}

void TFrameVueDEnsemble::Actualiser(const TEtatsAppareils& etats)
{
    for (int r = 1; r <= NbSources; ++r) {
        const bool etaitPerdu = m_perdu[r];
        m_perdu[r] = etats.Perdu[r];
        // The access button's face follows the lost state.
        if (etaitPerdu != m_perdu[r])
            StringGridKMT->update();
        if (etats.Perdu[r]) {
            StringGridKMT->SetCellule(1, r, Texte(MsgDirectPerdu, m_langue));
            for (int c = 2; c <= ColonneAlarme; ++c)
                StringGridKMT->SetCellule(c, r, QString());
            StringGridKMT->SetCellule(0, r, TexteBouton);
            continue;
        }
        if (!etats.Present[r]) {
            // Back from lost without a value yet: nothing stale is left.
            if (etaitPerdu)
                for (int c = 1; c <= ColonneAlarme; ++c)
                    StringGridKMT->SetCellule(c, r, QString());
            continue;
        }
        StringGridKMT->SetCellule(1, r, QString::number(etats.RIsolement[r]));
        StringGridKMT->SetCellule(2, r, QString::number(etats.RMin[r]));
        StringGridKMT->SetCellule(3, r, QString::number(etats.RSeuil[r]));
        StringGridKMT->SetCellule(ColonnePrealarme, r, etats.PreAlarme[r] ? Un : Zero);
        StringGridKMT->SetCellule(ColonneAlarme, r, etats.Alarme[r] ? Un : Zero);
        StringGridKMT->SetCellule(0, r, TexteBouton);
    }
}

void TFrameVueDEnsemble::StringGridDrawCell(TGrilleDessinee& grille, QPainter& p, int c, int r,
                                            const QRect& rect)
{
    const int tag = grille.Tag();
    const int L = rect.left();
    const int T = rect.top();
    const int R = Droite(rect);
    const int B = Bas(rect);
    const QString texte = grille.Cellule(c, r);

    // Row colours: heading, then alternating shades.
    const QColor fond = r == 0 ? FondEntete : (r % 2 == 1 ? FondImpair : FondPair);

    // Text: the names left-aligned, everything else centred; a text too wide
    // for its cell is condensed to keep a pixel clear of each edge.
    if (tag == TagNumSource && c == 1) {
        grille.AjusterPolice(p, texte, R - L - 3);
        TGrilleDessinee::TexteRect(p, rect, L + 2, T + 2, texte, fond);
    } else {
        const int largeur = grille.AjusterPolice(p, texte, R - L - 2);
        TGrilleDessinee::TexteRect(p, rect, TGrilleDessinee::PositionCentree(L, R - L, largeur), T + 2, texte, fond);
    }

    // Indicator discs over the "1" / "0" of the pre-alarm and alarm columns.
    if (tag == TagKMT && r >= 1 && (c == ColonnePrealarme || c == ColonneAlarme)) {
        const int D = B - T - 2;
        const int x = TGrilleDessinee::PositionCentree(L, R - L, D);
        QColor remplissage = fond;
        if (texte == Un)
            remplissage = c == ColonnePrealarme ? Jaune : Rouge;
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(ContourDisque);
        p.setBrush(remplissage);
        // A D x D bounding square, its right and bottom edges excluded.
        p.drawEllipse(QRect(x, T + 1, D - 1, D - 1));
        p.restore();
    }

    // Access buttons: the first `tag` columns of the KMT and QFL8 grids.
    if ((tag == TagKMT || tag == TagQFL8) && r >= 1 && c < tag) {
        QColor face = CouleursSysteme::FaceBouton;
        if (tag == TagKMT && m_perdu[r]) {
            face = GrisPerdu;
        } else if (tag == TagKMT) {
            if (grille.Cellule(ColonnePrealarme, r) == Un)
                face = Jaune;
            if (grille.Cellule(ColonneAlarme, r) == Un)
                face = Rouge;
        }
        const QRect interieur(L + 1, T + 1, (R - 1) - (L + 1), (B - 1) - (T + 1));
        const int largeur = grille.AjusterPolice(p, texte, interieur.width() - 2);
        const int x = TGrilleDessinee::PositionCentree(L + 1, interieur.width(), largeur);
        TGrilleDessinee::TexteRect(p, interieur, x, T + 1, texte, face);

        const bool enfonce = c == m_colonnePressee && r == m_lignePressee && tag == m_tagPresse;
        const QColor hautGauche = enfonce ? CouleursSysteme::OmbreBouton : CouleursSysteme::SurbrillanceBouton;
        const QColor basDroite = enfonce ? CouleursSysteme::SurbrillanceBouton : CouleursSysteme::OmbreBouton;
        const int x0 = PasX * c + 1;
        const int x1 = PasX * c + 66;
        const int y0 = PasY * r + 1;
        const int y1 = PasY * r + 15;
        TGrilleDessinee::Ligne(p, QPoint(x0, y1), QPoint(x0, y0), hautGauche);
        TGrilleDessinee::Ligne(p, QPoint(x0, y0), QPoint(x1, y0), hautGauche);
        TGrilleDessinee::Ligne(p, QPoint(x0, y1), QPoint(x1, y1), basDroite);
        TGrilleDessinee::Ligne(p, QPoint(x1, y1), QPoint(x1, PasY * r), basDroite);
    }
}

void TFrameVueDEnsemble::StringGridMouseDown(TGrilleDessinee& grille, Qt::MouseButton bouton,
                                             const QPoint& position)
{
    if (bouton != Qt::LeftButton)
        return;
    grille.CelluleEn(position, m_colonnePressee, m_lignePressee);
    m_tagPresse = grille.Tag();
    grille.update();
}

void TFrameVueDEnsemble::StringGridMouseUp(TGrilleDessinee& grille, Qt::MouseButton bouton,
                                           const QPoint& position)
{
    if (bouton != Qt::LeftButton)
        return;
    int c = -1;
    int r = -1;
    grille.CelluleEn(position, c, r);
    if (c != m_colonnePressee || r != m_lignePressee || grille.Tag() != m_tagPresse) {
        m_colonnePressee = 0;
        m_lignePressee = 0;
        m_tagPresse = 0;
        grille.update();
        return;
    }
    if (c >= 0 && c < m_tagPresse && r >= 1 && m_tagPresse <= TagQFL8) {
        // Posted: the main window replaces this screen once the handler has returned.
        // The press stays remembered, so the button stays sunken until then.
        if (m_tagPresse == TagKMT)
            PosterEcran(HandlePrincipal, EcranKMT, r);
        else if (c == 0)
            PosterEcran(HandlePrincipal, EcranQFL, r + DecalageQFL);
        else
            PosterEcran(HandlePrincipal, EcranRecherche, r + DecalageQFL);
    }
}

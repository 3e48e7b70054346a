#include "app/StationDirecte.h"

#include "app/GenerateurDemo.h"
#include "liaison/ConfigReseau.h"
#include "liaison/Liaison.h"
#include "platform/SondePort.h"

#include <QFileInfo>

TStationDirecte::TStationDirecte(const TEnvironnement& environnement, QObject* parent)
    : QObject(parent), m_env(environnement)
{
}

TStationDirecte::~TStationDirecte()
{
    Arreter();
}

QString TStationDirecte::Demarrer(const QString& cheminReseau, int portCom)
{
    // Without the file the station is what it has always been.
    if (!QFileInfo(cheminReseau).isFile()) {
        if (!QFileInfo::exists(cheminReseau)) {
            m_fonctionnement = TFonctionnement::Demonstration;
            return {};
        }
        // Something else stands where the file should be: it was meant to be live.
        m_fonctionnement = TFonctionnement::ReseauInutilisable;
        return QStringLiteral("%1 : pas un fichier lisible").arg(cheminReseau);
    }
    const TLectureReseau lecture = LireConfigReseau(cheminReseau, PeripheriquePort(portCom));
    if (!lecture.Utilisable) {
        m_fonctionnement = TFonctionnement::ReseauInutilisable;
        return lecture.Message;
    }
    m_fonctionnement = TFonctionnement::Direct;
    m_liaison = std::make_unique<TLiaison>(lecture.Config, m_env.Verrou, m_env.Donnees);
    // Emitted from the worker, run here on the user-interface thread.
    connect(m_liaison.get(), &TLiaison::Disponible, this, &TStationDirecte::Vidanger, Qt::QueuedConnection);
    m_liaison->Demarrer();
    return {};
}

void TStationDirecte::Arreter()
{
    if (!m_liaison)
        return;
    m_liaison->Arreter();
    Vidanger();
    // Nothing is asked of the devices after the end.
    m_liaison.reset();
}

void TStationDirecte::Vidanger()
{
    if (!m_liaison)
        return;
    for (const TEntreeLog& entree : m_liaison->PrendreEntrees())
        if (m_env.Journaliser)
            m_env.Journaliser(entree);
    for (const TLiaison::TResultat& r : m_liaison->PrendreResultats()) {
        TResultatCommande resultat;
        resultat.Appareil = r.Appareil;
        resultat.Genre = r.Genre == TLiaison::TGenreCommande::Seuil ? TGenreCommandeAppareil::Seuil
                                                                    : TGenreCommandeAppareil::Acquitter;
        resultat.Valeur = r.Valeur;
        resultat.CodeException = r.CodeException;
        switch (r.Issue) {
        case TLiaison::TIssue::Reussie: resultat.Issue = TIssueCommande::Reussie; break;
        case TLiaison::TIssue::Exception: resultat.Issue = TIssueCommande::Exception; break;
        case TLiaison::TIssue::SansReponse: resultat.Issue = TIssueCommande::SansReponse; break;
        case TLiaison::TIssue::HorsLigne: resultat.Issue = TIssueCommande::HorsLigne; break;
        case TLiaison::TIssue::Arretee: resultat.Issue = TIssueCommande::Arretee; break;
        }
        if (m_env.Resultat)
            m_env.Resultat(resultat);
    }
}

void TStationDirecte::Acquitter(int appareil, TAcquitAppareil quoi)
{
    switch (m_fonctionnement) {
    case TFonctionnement::Demonstration:
        m_env.Generateur.Acquitter(appareil, quoi);
        break;
    case TFonctionnement::Direct:
        if (m_liaison) {
            m_liaison->Acquitter(appareil, static_cast<TLiaison::TAcquit>(quoi), m_env.Utilisateur);
            break;
        }
        [[fallthrough]];
    case TFonctionnement::ReseauInutilisable:
        if (m_env.Resultat)
            m_env.Resultat({appareil, TGenreCommandeAppareil::Acquitter, static_cast<std::uint16_t>(quoi),
                            TIssueCommande::HorsLigne, 0});
        break;
    }
}

TIssueCommande TStationDirecte::DemanderSeuil(int appareil, int seuil, bool appliquerAuxSuivants)
{
    if (seuil < SeuilMin || seuil > SeuilMax)
        return TIssueCommande::HorsPlage;
    switch (m_fonctionnement) {
    case TFonctionnement::Demonstration:
        return TIssueCommande::Demonstration;
    case TFonctionnement::ReseauInutilisable:
        return TIssueCommande::HorsLigne;
    case TFonctionnement::Direct:
        if (!m_liaison)
            return TIssueCommande::Arretee;
        break;
    }
    return m_liaison->DemanderSeuil(appareil, seuil, appliquerAuxSuivants, m_env.Utilisateur).Acceptee
               ? TIssueCommande::Reussie
               : TIssueCommande::HorsPlage;
}

#include "app/StationDirecte.h"

#include "app/GenerateurDemo.h"
#include "data/ConfigSet.h"
#include "liaison/ConfigReseau.h"
#include "liaison/Liaison.h"
#include "platform/RapportErreurs.h"
#include "platform/SondePort.h"
#include "sessions/Droits.h"

#include <QFileInfo>
#include <exception>

TStationDirecte::TStationDirecte(const TEnvironnement& environnement, QObject* parent)
    : QObject(parent), m_env(environnement)
{
    m_relanceDemo.setParent(this);   // found by name; a member, so it leaves its parent first
    m_relanceDemo.setObjectName(QStringLiteral("TimerRelanceDemo"));
    m_relanceDemo.setSingleShot(true);
    m_relanceDemo.setInterval(10);
    connect(&m_relanceDemo, &QTimer::timeout, this, [this] {
        try {
            if (m_env.Generateur.Reprendre())
                m_relanceDemo.start();
        } catch (const std::exception& erreur) {
            SignalerErreur(QString::fromLocal8Bit(erreur.what()));
        }
    });
}

void TStationDirecte::TicDemonstration()
{
    if (!m_env.Generateur.Demander() && !m_relanceDemo.isActive())
        m_relanceDemo.start();
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
    m_cheminReseau = cheminReseau;
    m_liaison = std::make_unique<TLiaison>(lecture.Config, m_env.Verrou, m_env.Donnees, m_env.DonneesQFL);
    // Emitted from the worker, run here on the user-interface thread.
    connect(m_liaison.get(), &TLiaison::Disponible, this, &TStationDirecte::Vidanger, Qt::QueuedConnection);
    m_liaison->Demarrer();
    return {};
}

void TStationDirecte::Arreter()
{
    m_relanceDemo.stop();
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
        TIssueCommande issue = TIssueCommande::Reussie;
        switch (r.Issue) {
        case TLiaison::TIssue::Reussie: issue = TIssueCommande::Reussie; break;
        case TLiaison::TIssue::Exception: issue = TIssueCommande::Exception; break;
        case TLiaison::TIssue::SansReponse: issue = TIssueCommande::SansReponse; break;
        case TLiaison::TIssue::HorsLigne: issue = TIssueCommande::HorsLigne; break;
        case TLiaison::TIssue::Arretee: issue = TIssueCommande::Arretee; break;
        }
        switch (r.Genre) {
        case TLiaison::TGenreCommande::Acquitter:
        case TLiaison::TGenreCommande::Seuil:
            if (m_env.Resultat)
                m_env.Resultat({r.Appareil,
                                r.Genre == TLiaison::TGenreCommande::Seuil ? TGenreCommandeAppareil::Seuil
                                                                          : TGenreCommandeAppareil::Acquitter,
                                r.Valeur, issue, r.CodeException});
            break;
        case TLiaison::TGenreCommande::ReglageQFL:
        case TLiaison::TGenreCommande::RechercheQFL:
        case TLiaison::TGenreCommande::RAZMinMaxQFL: {
            ERetourQFL retour = ERetourQFL::HorsLigne;
            switch (issue) {
            case TIssueCommande::Reussie: retour = ERetourQFL::Acceptee; break;
            case TIssueCommande::Exception:
                retour = r.CodeException == 6 ? ERetourQFL::Occupee : ERetourQFL::ValeurRefusee;
                break;
            case TIssueCommande::SansReponse: retour = ERetourQFL::SansReponse; break;
            default: retour = ERetourQFL::HorsLigne; break;
            }
            RetourQFL(r.Appareil, r.Genre == TLiaison::TGenreCommande::RechercheQFL, retour);
            break;
        }
        }
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

bool TStationDirecte::RechercheAuto(int appareil) const
{
    return m_liaison && m_liaison->RechercheAuto(appareil);
}

QString TStationDirecte::DefinirRechercheAuto(int appareil, bool active)
{
    if (!m_liaison)
        return QStringLiteral("%1 : pas d'appareil en direct").arg(m_cheminReseau);
    // The file first: a choice that would not survive a restart is not made.
    std::vector<int> liste;
    for (int n = 1; n <= DernierKMT; ++n)
        if (n == appareil ? active : m_liaison->RechercheAuto(n))
            liste.push_back(n);
    if (!EcrireRechercheAuto(m_cheminReseau, liste))
        return QStringLiteral("%1 : [RechercheAuto] Liste non enregistrée").arg(m_cheminReseau);
    m_liaison->DefinirRechercheAuto(appareil, active);
    return {};
}

void TStationDirecte::RetourQFL(int appareil, bool recherche, ERetourQFL retour)
{
    if (m_env.RetourQFL)
        m_env.RetourQFL(appareil, recherche, retour);
}

bool TStationDirecte::Autorise(EDroit droit) const
{
    return Droit(droit, m_env.Mode, ConfigSet.AcqAlarmesConsultation != 0).Accorde;
}

void TStationDirecte::EcrireReglageQFL(int appareil, int reglage, int valeur, bool appliquerAuxSuivants)
{
    // The screens check first; nothing leaves for a session without the right.
    if (!Autorise(EDroit::ReglerSeuils))
        return;
    if (!m_liaison) {
        RetourQFL(appareil, false, ERetourQFL::HorsLigne);
        return;
    }
    const TLiaison::TDemandeSeuil demande =
        m_liaison->DemanderReglageQFL(appareil, reglage, valeur, appliquerAuxSuivants, m_env.Utilisateur);
    if (!demande.Acceptee)
        RetourQFL(appareil, false, ERetourQFL::ValeurRefusee);
}

void TStationDirecte::LancerRechercheQFL(int appareil)
{
    if (!Autorise(EDroit::LancerRecherche))
        return;
    if (!m_liaison || m_liaison->LancerRecherche(appareil, m_env.Utilisateur) == 0)
        RetourQFL(appareil, true, ERetourQFL::HorsLigne);
}

void TStationDirecte::RAZMinMaxQFL(int appareil)
{
    if (!Autorise(EDroit::ReglerSeuils))
        return;
    if (!m_liaison || m_liaison->RAZMinMax(appareil, m_env.Utilisateur) == 0)
        RetourQFL(appareil, false, ERetourQFL::HorsLigne);
}

#include "app/Navigation.h"

bool TNavigation::RequeteValide(std::int32_t ecran, std::int32_t appareil)
{
    switch (ecran) {
    case EcranAccueil:
    case EcranSession:
    case EcranVueDEnsemble:
    case EcranJournal:
    case EcranNotices:
    case EcranConfiguration:
        return true;
    case EcranKMT:
        return EstKMT(appareil);
    case EcranQFL:
    case EcranRecherche:
        return EstQFL(appareil);
    default:
        return false;
    }
}

void TNavigation::VersEcranGeneral(std::int32_t ecran)
{
    NumEcranCourant = ecran;
}

void TNavigation::VersKMT(std::int32_t appareil)
{
    m_kmt.NumAppareil = appareil;
    if (NumEcranCourant == EcranQFL) {
        m_kmt.EcranRetour = m_qfl.EcranRetour;
        m_kmt.AppareilRetour = m_qfl.AppareilRetour;
    } else if (NumEcranCourant != EcranKMT && NumEcranCourant != EcranRecherche) {
        m_kmt.EcranRetour = NumEcranCourant;
        m_kmt.AppareilRetour = NumAppareilCourant;
    }
    NumEcranCourant = EcranKMT;
    NumAppareilCourant = appareil;
}

void TNavigation::VersQFL(std::int32_t appareil)
{
    m_qfl.NumAppareil = appareil;
    if (NumEcranCourant == EcranKMT) {
        m_qfl.EcranRetour = m_kmt.EcranRetour;
        m_qfl.AppareilRetour = m_kmt.AppareilRetour;
    } else if (NumEcranCourant != EcranQFL && NumEcranCourant != EcranRecherche) {
        m_qfl.EcranRetour = NumEcranCourant;
        m_qfl.AppareilRetour = NumAppareilCourant;
    }
    NumEcranCourant = EcranQFL;
    NumAppareilCourant = appareil;
}

void TNavigation::VersRecherche(std::int32_t appareil)
{
    m_recherche.NumAppareil = appareil;
    m_recherche.EcranRetour = NumEcranCourant;
    m_recherche.AppareilRetour = NumAppareilCourant;
    NumEcranCourant = EcranRecherche;
    NumAppareilCourant = appareil;
}

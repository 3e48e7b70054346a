#include "liaison/TransitionsKMT.h"

#include <cstring>

using namespace DecodageModbus;

TEntreeLog EntreeLiaison(std::uint8_t code, double date, int appareil, std::uint8_t attribut1, std::uint8_t attribut2,
                         double valeur1, double valeur2, const QString& utilisateur)
{
    TEntreeLog e;
    std::memset(static_cast<void*>(&e), 0, sizeof(e));
    e.Code = code;
    e.DateHeure = date;
    e.Origine = static_cast<std::uint8_t>(appareil);
    e.Attribut1 = attribut1;
    e.Attribut2 = attribut2;
    e.Valeur1 = valeur1;
    e.Valeur2 = valeur2;
    EcrireChaine(e.InfosCompl, utilisateur);
    return e;
}

std::vector<TEntreeLog> TransitionsKMT(int appareil, const TEtatObserveKMT& avant, const TLectureKMT& lecture,
                                       double maintenant)
{
    std::vector<TEntreeLog> entrees;
    // Without a measurement the entry carries 0 rather than the 65535 marker.
    const double r = lecture.R == PasDeMesure ? 0.0 : lecture.R;
    const double seuil = lecture.RSeuil;
    const std::uint16_t ancien = avant.Connu ? avant.Etat : 0;
    const std::uint16_t nouveau = lecture.Etat;
    const auto monte = [&](std::uint16_t bit) { return (nouveau & bit) && !(ancien & bit); };
    const auto descend = [&](std::uint16_t bit) { return avant.Connu && (ancien & bit) && !(nouveau & bit); };
    const auto ajouter = [&](std::uint8_t code, std::uint8_t debut, double v1, double v2) {
        entrees.push_back(EntreeLiaison(code, maintenant, appareil, 0, debut, v1, v2));
    };

    struct TCondition {
        std::uint16_t Bit;
        std::uint8_t Debut;
        std::uint8_t Fin;  // 0: journalled otherwise
    };
    static constexpr TCondition Conditions[] = {
        {BitPreAlarme, CodeJournal::DebutPreAlarme, 0},
        {BitAlarme, CodeJournal::DebutAlarme, 0},
        {BitKlaxon, CodeJournal::DebutKlaxon, 0},
        {BitDefautAutoTest, CodeJournal::DebutAutoTest, CodeJournal::FinAutoTest},
        {BitDefautDCPlus, CodeJournal::DebutDCPlus, CodeJournal::FinDCPlus},
        {BitDefautDCMoins, CodeJournal::DebutDCMoins, CodeJournal::FinDCMoins},
    };
    for (const TCondition& c : Conditions) {
        if (monte(c.Bit))
            ajouter(c.Debut, 1, r, seuil);
        else if (c.Fin && descend(c.Bit))
            ajouter(c.Fin, 0, r, seuil);
    }
    const bool finAlarme = descend(BitPreAlarme) || descend(BitAlarme);
    const bool transitoire = avant.Connu && nouveau == ancien && lecture.Compteur != avant.Compteur;
    if (finAlarme || transitoire) {
        TEntreeLog e = EntreeLiaison(CodeJournal::FinAlarme, maintenant, appareil,
                                     static_cast<std::uint8_t>(nouveau & 0xFF), 0, r, seuil);
        entrees.push_back(e);
    }
    if (avant.Connu) {
        if (monte(BitPreAlarmeAcquittee))
            ajouter(CodeJournal::AcquitPreAlarme, 1, 0, 0);
        if (monte(BitAlarmeAcquittee))
            ajouter(CodeJournal::AcquitAlarme, 1, 0, 0);
        if (monte(BitKlaxonAcquitte))
            ajouter(CodeJournal::AcquitKlaxon, 1, 0, 0);
    }
    return entrees;
}

void AppliquerLectureKMT(TDonneesKMT& d, const TLectureKMT& l)
{
    if (l.R != PasDeMesure) {
        d.Present = true;
        d.RIsolement = l.R;
    }
    if (l.RMin != PasDeMesure)
        d.RMin = l.RMin;
    if (l.RSeuil != PasDeMesure)
        d.RSeuil = l.RSeuil;
    d.PreAlarme = l.Etat & BitPreAlarme;
    d.Alarme = l.Etat & BitAlarme;
    d.Klaxon = l.Etat & BitKlaxon;
    // The three indicators show a test passed: on while their fault is absent.
    d.AutoTest = !(l.Etat & BitDefautAutoTest);
    d.DCPlus = !(l.Etat & BitDefautDCPlus);
    d.DCMoins = !(l.Etat & BitDefautDCMoins);
    d.PreAlarmeAcquittee = l.Etat & BitPreAlarmeAcquittee;
    d.AlarmeAcquittee = l.Etat & BitAlarmeAcquittee;
    d.KlaxonAcquitte = l.Etat & BitKlaxonAcquitte;
    d.DHDerniereAlarme = DateAppareilVersJours(l.DateDerniereAlarme);
    d.VLogiciel = l.VLogiciel;
    d.CompteurEvenements = l.Compteur;
}

void AjouterEchantillonKMT(TDonneesKMT& d, double date)
{
    DecalerHistorique(d);
    ++d.NbMesures;
    const int k = d.NbMesures;
    d.HistDate[k] = date;
    d.HistMonotone[k] = InstantMonotone();
    d.HistRIsolement[k] = d.RIsolement;
    d.HistRSeuil[k] = d.RSeuil;
}

void DefinirEtatCom(TDonneesKMT& d, std::uint8_t etat, double date)
{
    if (d.EtatCom == etat)
        return;
    d.EtatCom = etat;
    d.DHEtatCom = date;
}

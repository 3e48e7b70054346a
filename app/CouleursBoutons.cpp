#include "app/CouleursBoutons.h"

#include "platform/CouleursSysteme.h"

TCouleursBouton CouleursBouton(const TDonneesKMT& donnees)
{
    TCouleursBouton c;
    if (donnees.EtatCom == ComPerdue) {
        c.Face = CouleurPerdu;
        c.Texte = CouleurTextePerdu;
        return c;
    }
    c.Texte = donnees.Present ? CouleursSysteme::TexteBouton : CouleursSysteme::OmbreBouton;
    if (donnees.Alarme)
        c.Face = CouleurAlarme;
    else if (donnees.PreAlarme)
        c.Face = CouleurPreAlarme;
    else
        c.Face = CouleursSysteme::FaceBouton;
    return c;
}

TCouleursBouton CouleursBouton(const TDonneesQFL& donnees)
{
    if (donnees.EtatCom == ComPerdue)
        return {CouleurPerdu, CouleurTextePerdu};
    return {CouleursSysteme::FaceBouton, CouleursSysteme::TexteBouton};
}

TEtatBandeau CalculerBandeau(const Tableau1<TDonneesKMT, NbSources>& donnees,
                             const Tableau1<TDonneesQFL, NbSources>* qfl)
{
    TEtatBandeau etat;
    for (int i = 1; i <= NbSources; ++i)
        etat.BoutonsQFL[i] = qfl ? CouleursBouton((*qfl)[i])
                                 : TCouleursBouton{CouleursSysteme::FaceBouton, CouleursSysteme::TexteBouton};
    for (int i = 1; i <= NbSources; ++i) {
        etat.Boutons[i] = CouleursBouton(donnees[i]);
        const TDonneesKMT& d = donnees[i];
        // Acknowledged faults stay visible but silent; a new one starts
        // unacknowledged and sounds again.
        if ((d.PreAlarme && !d.PreAlarmeAcquittee) || (d.Alarme && !d.AlarmeAcquittee) || d.EtatCom == ComPerdue)
            etat.AlarmeEnCours = true;
    }
    return etat;
}

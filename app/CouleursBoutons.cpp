#include "app/CouleursBoutons.h"

#include "platform/CouleursSysteme.h"

TCouleursBouton CouleursBouton(const TDonneesKMT& donnees)
{
    TCouleursBouton c;
    c.Texte = donnees.Present ? CouleursSysteme::TexteBouton : CouleursSysteme::OmbreBouton;
    if (donnees.Alarme)
        c.Face = CouleurAlarme;
    else if (donnees.PreAlarme)
        c.Face = CouleurPreAlarme;
    else
        c.Face = CouleursSysteme::FaceBouton;
    return c;
}

TEtatBandeau CalculerBandeau(const Tableau1<TDonneesKMT, NbSources>& donnees)
{
    TEtatBandeau etat;
    for (int i = 1; i <= NbSources; ++i) {
        etat.Boutons[i] = CouleursBouton(donnees[i]);
        if (donnees[i].PreAlarme || donnees[i].Alarme)
            etat.AlarmeEnCours = true;
    }
    return etat;
}

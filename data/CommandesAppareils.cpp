#include "data/CommandesAppareils.h"

#include "text/MessagesVeilleur.h"

QString TexteResultatCommande(const TResultatCommande& r, TLangue langue)
{
    const QString appareil = QString::number(r.Appareil);
    switch (r.Issue) {
    case TIssueCommande::Reussie: return Texte(MsgDirectCommandeAcceptee, langue).arg(appareil);
    case TIssueCommande::Exception:
        // 3 is the device's "illegal value": a threshold or command it will not take.
        if (r.CodeException == 3)
            return Texte(MsgDirectValeurRefusee, langue).arg(appareil);
        return Texte(MsgDirectCommandeRefusee, langue).arg(appareil).arg(r.CodeException);
    case TIssueCommande::SansReponse: return Texte(MsgDirectSansReponse, langue).arg(appareil);
    case TIssueCommande::HorsLigne: return Texte(MsgDirectNonEnvoyee, langue).arg(appareil);
    case TIssueCommande::Arretee: return Texte(MsgDirectArretee, langue);
    case TIssueCommande::HorsPlage: return Texte(MsgDirectSeuilHorsPlage, langue);
    case TIssueCommande::Demonstration: return Texte(MsgDirectDemonstration, langue);
    }
    return {};
}

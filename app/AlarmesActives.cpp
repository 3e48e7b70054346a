#include "app/AlarmesActives.h"

#include "data/Chaine1252.h"
#include "data/DateVeilleur.h"
#include "text/MessagesVeilleur.h"

#include <QLocale>
#include <cmath>

namespace {

const TTexteLangues& NomEtat(TEtatAlarme etat)
{
    switch (etat) {
    case TEtatAlarme::Alarme: return MsgAlarmesAlarme;
    case TEtatAlarme::ComPerdue: return MsgAlarmesComPerdue;
    case TEtatAlarme::PreAlarme: break;
    }
    return MsgAlarmesPreAlarme;
}

bool EtatPresent(const TDonneesKMT& d, TEtatAlarme etat)
{
    switch (etat) {
    case TEtatAlarme::Alarme: return d.Alarme;
    // Only a live link ever sets it: the demonstration leaves every device "never".
    case TEtatAlarme::ComPerdue: return d.EtatCom == ComPerdue;
    case TEtatAlarme::PreAlarme: return d.PreAlarme && !d.Alarme;   // the alarm says more
    }
    return false;
}

// The device's own date for the state, 0 when it gives none.
double DateAppareil(const TDonneesKMT& d, TEtatAlarme etat)
{
    double date = 0.0;
    if (etat == TEtatAlarme::Alarme)
        date = d.DHDerniereAlarme;
    else if (etat == TEtatAlarme::ComPerdue)
        date = d.DHEtatCom;
    return std::isfinite(date) && date > 0.0 ? date : 0.0;
}

} // namespace

bool TSuiviAlarmes::Active(const TDonneesKMT& d)
{
    return d.Alarme || d.PreAlarme || d.EtatCom == ComPerdue;
}

QString TSuiviAlarmes::TexteEntree(int appareil, TEtatAlarme etat, const QString& source, double depuis,
                                   std::uint16_t resistance, double maintenant, TLangue langue, const QLocale& locale)
{
    const QString separateur = QStringLiteral(" · ");
    QString texte = QStringLiteral("KMT %1").arg(appareil);
    if (!source.trimmed().isEmpty())
        texte += separateur + source.trimmed();
    QString etatTexte = Texte(NomEtat(etat), langue);
    QDate date, jour;
    QTime heure, h;
    if (depuis > 0.0 && DateVeilleur::VersDateEtHeure(depuis, date, heure)) {
        const bool memeJour = DateVeilleur::VersDateEtHeure(maintenant, jour, h) && jour == date;
        const QString quand = memeJour ? DateVeilleur::TexteHeure(heure, locale)
                                       : DateVeilleur::TexteDateCourte(date, heure, locale);
        etatTexte = Texte(MsgAlarmesDepuis, langue).arg(etatTexte, quand);
    }
    texte += separateur + etatTexte;
    // A lost device's last reading is no longer its state: not shown.
    if (etat != TEtatAlarme::ComPerdue)
        texte += separateur + QStringLiteral("%1 kOhm").arg(resistance);
    return texte;
}

std::vector<TAlarmeActive> TSuiviAlarmes::Actualiser(const Tableau1<TDonneesKMT, NbSources>& donnees,
                                                     const TConfigSet& config, double maintenant)
{
    std::vector<TAlarmeActive> alarmes;
    const QLocale locale = QLocale::system();
    for (int e = 0; e < NbEtats; ++e) {
        const auto etat = static_cast<TEtatAlarme>(e);
        for (int n = 1; n <= NbSources; ++n) {
            const TDonneesKMT& d = donnees[n];
            double& debut = m_debut[e][n];
            if (!EtatPresent(d, etat)) {
                debut = 0.0;
                continue;
            }
            // Taken when first seen: a device in alarm renews its date of
            // last alarm on every reading, which is not when the alarm began.
            if (debut == 0.0) {
                const double date = DateAppareil(d, etat);
                debut = date > 0.0 && date <= maintenant ? date : maintenant;
            }
            alarmes.push_back({n, etat, debut,
                               TexteEntree(n, etat, LireChaine(config.NomsSources[n]), debut, d.RIsolement, maintenant,
                                           m_langue, locale)});
        }
    }
    return alarmes;
}

#include "devices/AffichageQFL.h"

#include "data/DateVeilleur.h"
#include "sessions/Droits.h"
#include "text/MessagesVeilleur.h"

#include <QLocale>
#include <QWidget>
#include <cmath>

namespace AffichageQFL {

QString TexteCourant(std::uint16_t centiemes)
{
    return QString::number(centiemes / 100.0, 'f', 2);
}

QString TexteResistance(std::uint16_t kOhm)
{
    return kOhm == RQFLNonMesuree ? QString() : QString::number(kOhm);
}

namespace {
bool EnMilliAmperes(int reglage)
{
    return reglage == ReglageITransfo || reglage == ReglageILimiteur || reglage == ReglageIDeparts;
}
}

QString TexteReglage(int reglage, int valeur)
{
    return EnMilliAmperes(reglage) ? TexteCourant(static_cast<std::uint16_t>(valeur)) : QString::number(valeur);
}

bool LireReglage(int reglage, const QString& texte, long long& valeur)
{
    QString t = texte.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty())
        return false;
    bool ok = false;
    if (!EnMilliAmperes(reglage)) {
        valeur = t.toLongLong(&ok);
        return ok;
    }
    const double ma = t.toDouble(&ok);
    if (!ok || !std::isfinite(ma) || ma > 1e9 || ma < -1e9)
        return false;
    valeur = std::llround(ma * 100);
    return true;
}

QString Unite(int reglage)
{
    if (EnMilliAmperes(reglage))
        return QStringLiteral("mA");
    return reglage == ReglageTension ? QStringLiteral("V") : QStringLiteral("kOhm");
}

QString NomConducteur(int conducteur, TLangue langue)
{
    switch (conducteur) {
    case 0: return Texte(MsgQFLNeutre, langue);
    case 1: return QStringLiteral("L1");
    case 2: return QStringLiteral("L2");
    case 3: return QStringLiteral("L3");
    case 4: return QStringLiteral("DC+");
    case 5: return QStringLiteral("DC\u2212");
    default: return QString::number(conducteur);
    }
}

QString DateCourte(double jours)
{
    QDate date;
    QTime heure;
    if (jours == 0 || !DateVeilleur::VersDateEtHeure(jours, date, heure))
        return {};
    return DateVeilleur::TexteDateCourte(date, heure, QLocale());
}

QString DateLongue(double jours)
{
    QDate date;
    QTime heure;
    if (jours == 0 || !DateVeilleur::VersDateEtHeure(jours, date, heure))
        return {};
    return DateVeilleur::TexteDateLongue(date, heure, QLocale());
}

QString TexteCommunication(const TDonneesQFL& d, TLangue langue)
{
    switch (d.EtatCom) {
    case ComEnLigne: return {};
    case ComPerdue: return Texte(MsgQFLComPerdue, langue).arg(DateCourte(d.DHEtatCom));
    default: return Texte(MsgQFLSansContact, langue);
    }
}

QString TexteRetour(ERetourQFL retour, TLangue langue)
{
    switch (retour) {
    case ERetourQFL::Acceptee: break;
    case ERetourQFL::ValeurRefusee: return Texte(MsgQFLValeurRefusee, langue);
    case ERetourQFL::Occupee: return Texte(MsgRechercheDejaEnCours, langue);
    case ERetourQFL::SansReponse:
    case ERetourQFL::HorsLigne: return Texte(MsgQFLSansReponse, langue);
    }
    return {};
}

void Autoriser(QWidget* controle, EDroit droit, std::uint8_t mode, TLangue langue, bool possible,
               const QString& raison)
{
    const TDroit d = Droit(droit, mode, false);
    if (!d.Accorde) {
        controle->setEnabled(false);
        controle->setToolTip(TexteMessageSession(d.Raison, langue));
        return;
    }
    controle->setEnabled(possible);
    controle->setToolTip(possible ? QString() : raison);
}

} // namespace AffichageQFL

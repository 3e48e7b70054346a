#include "app/CycleStation.h"

#include "data/Chaine1252.h"

#include <QFile>
#include <cstring>
#include <vector>

namespace CycleStation {

namespace {

TEntreeLog Entree(std::uint8_t code, double date)
{
    TEntreeLog e;
    std::memset(static_cast<void*>(&e), 0, sizeof e);
    e.Code = code;
    e.DateHeure = date;
    e.Attribut2 = 1;
    return e;
}

// The store's note of recovered entries is a code 0 too, with their count.
bool NoteDeRecuperation(const TEntreeLog& e)
{
    return e.Code == 0 && e.Valeur1 > 0.0
        && LireChaine(e.InfosCompl).endsWith(QStringLiteral("entrées récupérées"));
}

} // namespace

TEntreeLog EntreeLancement(double date, bool finPrecedenteIncorrecte)
{
    TEntreeLog e = Entree(0, date);
    if (finPrecedenteIncorrecte) {
        e.Attribut1 = FinPrecedenteIncorrecteAttribut;
        EcrireChaine(e.InfosCompl, QStringLiteral("arrêt précédent non journalisé"));
    }
    return e;
}

TEntreeLog EntreeFermeture(double date, const QString& raison)
{
    TEntreeLog e = Entree(1, date);
    EcrireChaine(e.InfosCompl, raison);
    return e;
}

bool FinPrecedenteIncorrecte(const QString& cheminLog)
{
    QFile fichier(cheminLog);
    if (!fichier.open(QIODevice::ReadOnly))
        return false;
    const qint64 n = fichier.size() / TailleEntreeLog;
    const qint64 lus = std::min<qint64>(n, NbMaxLus);
    if (lus == 0 || !fichier.seek((n - lus) * TailleEntreeLog))
        return false;
    std::vector<TEntreeLog> entrees(static_cast<std::size_t>(lus));
    const qint64 octets = lus * TailleEntreeLog;
    if (fichier.read(reinterpret_cast<char*>(entrees.data()), octets) != octets)
        return false;
    for (auto e = entrees.rbegin(); e != entrees.rend(); ++e) {
        if (e->Code == 1)
            return false;
        if (e->Code == 0 && !NoteDeRecuperation(*e))
            return true;
    }
    return false;
}

QString RaisonSignal(int signal)
{
    return QStringLiteral("signal %1").arg(signal);
}

} // namespace CycleStation

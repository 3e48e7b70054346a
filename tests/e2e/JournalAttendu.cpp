// Compares a "Log.dat" written by the running station with what the
// demonstration generator produces from its first tick: every field of every
// entry, the dates only within a tolerance (the station's clock ran sped up).
// Usage: e2e_journal_attendu <Log.dat> <last step that must be in the file>
// Exit 0 when the file matches, 1 otherwise (the first differences on stderr).
#include "app/GenerateurDemo.h"
#include "data/DateVeilleur.h"
#include "data/Chaine1252.h"
#include "data/VerrouDonnees.h"

#include <QFile>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct TAttendue {
    int pas;
    TEntreeLog entree;
};

int Echec(const char* format, auto... valeurs)
{
    std::fprintf(stderr, format, valeurs...);
    std::fputc('\n', stderr);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return Echec("usage: %s <Log.dat> <last step>", argv[0]);
    const int dernierPasExige = std::atoi(argv[2]);
    QFile fichier(QString::fromLocal8Bit(argv[1]));
    if (!fichier.open(QIODevice::ReadOnly))
        return Echec("%s: %s", argv[1], qPrintable(fichier.errorString()));
    const QByteArray octets = fichier.readAll();
    if (octets.size() % TailleEntreeLog != 0)
        return Echec("%s: %lld bytes, not whole entries", argv[1], static_cast<long long>(octets.size()));
    const auto total = static_cast<std::size_t>(octets.size() / TailleEntreeLog);
    const auto* toutes = reinterpret_cast<const TEntreeLog*>(octets.constData());
    // The run is framed by the station's start (code 0) and its stop by the
    // quit button (code 1); in between, the generator's entries only.
    if (total < 2 || toutes[0].Code != 0 || toutes[total - 1].Code != 1)
        return Echec("%s: the run is not framed by a start and a stop entry", argv[1]);
    if (LireChaine(toutes[total - 1].InfosCompl) != QStringLiteral("bouton"))
        return Echec("the stop entry gives \"%s\" as its reason, not \"bouton\"",
                     qPrintable(LireChaine(toutes[total - 1].InfosCompl)));
    const std::vector<TEntreeLog> generees(toutes + 1, toutes + total - 1);
    const std::size_t n = generees.size();
    const TEntreeLog* lues = generees.data();

    TVerrouDonnees verrou;
    auto donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::int32_t compteur = 1;
    std::vector<TAttendue> attendues;
    TGenerateurDemo generateur(verrou, *donnees, compteur,
                               [&](const TEntreeLog& e) { attendues.push_back({compteur, e}); },
                               [] { return 0.0; });
    while (attendues.size() < n && compteur < 1000000)
        generateur.Tick();

    int ecarts = 0;
    for (std::size_t i = 0; i < n && ecarts < 10; ++i) {
        const TEntreeLog& a = attendues[i].entree;
        const TEntreeLog& e = lues[i];
        if (e.Code != a.Code || e.Origine != a.Origine || e.Attribut1 != a.Attribut1 || e.Attribut2 != a.Attribut2
            || e.InfosCompl.Longueur != 0 || e.Valeur1 != a.Valeur1 || e.Valeur2 != a.Valeur2) {
            ++ecarts;
            Echec("entry %zu (step %d): code %d origin %d attributes %d/%d text length %d values %g/%g; expected "
                  "code %d origin %d attributes %d/%d values %g/%g",
                  i, attendues[i].pas, e.Code, e.Origine, e.Attribut1, e.Attribut2, e.InfosCompl.Longueur, e.Valeur1,
                  e.Valeur2, a.Code, a.Origine, a.Attribut1, a.Attribut2, a.Valeur1, a.Valeur2);
        }
    }
    if (ecarts > 0)
        return 1;
    if (n == 0 || attendues[n - 1].pas < dernierPasExige)
        return Echec("%zu entries: the file ends before step %d", n, dernierPasExige);

    // Dates: in order, the first one near today, and spread about two seconds
    // per step of station time (the sped-up clock and late timers allow half
    // to twice that).
    const double seconde = 1.0 / 86400.0;
    const double maintenant = DateVeilleur::Maintenant();
    if (!(std::fabs(lues[0].DateHeure - maintenant) < 1.0))
        return Echec("entry 0 dated %f, today is %f", lues[0].DateHeure, maintenant);
    for (std::size_t i = 1; i < n; ++i) {
        const double ecart = (lues[i].DateHeure - lues[i - 1].DateHeure) / seconde;
        if (ecart < 0 || (attendues[i].pas == attendues[i - 1].pas && ecart > 1.0))
            return Echec("entry %zu is %.3f s after entry %zu", i, ecart, i - 1);
    }
    const double pas = attendues[n - 1].pas - attendues[0].pas;
    const double duree = (lues[n - 1].DateHeure - lues[0].DateHeure) / seconde;
    if (pas > 0 && (duree < pas * 2.0 * 0.5 || duree > pas * 2.0 * 2.0 + 10.0))
        return Echec("steps %d to %d span %.1f s of station time, expected about %.0f s", attendues[0].pas,
                     attendues[n - 1].pas, duree, pas * 2.0);
    std::printf("%zu entries match the generator, steps %d to %d over %.1f s of station time\n", n, attendues[0].pas,
                attendues[n - 1].pas, duree);
    return 0;
}

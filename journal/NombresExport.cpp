#include "journal/NombresExport.h"

namespace NombresExport {

// Once per day of entries, so the date's own split into year, month and day is enough.
char* EcrireJour(char* t, const QDate& date)
{
    int a = 0, m = 0, j = 0;
    date.getDate(&a, &m, &j);
    EcrireLargeur(t, std::uint32_t(a), 4);
    t[4] = '-';
    EcrirePaire(t + 5, std::uint32_t(m));
    t[7] = '-';
    EcrirePaire(t + 8, std::uint32_t(j));
    return t + LongueurJour;
}

} // namespace NombresExport

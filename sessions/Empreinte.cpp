#include "sessions/Empreinte.h"

#include "sessions/MotDePasse.h"

#include <QList>
#include <crypt.h>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* PrefixeYescrypt = "$y$";
constexpr int LongueurResultat = 43;

bool CaractereCrypt(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '/';
}

// crypt_ra's work area holds a copy of the password: cleared before it is freed.
class TZoneCrypt {
public:
    TZoneCrypt() = default;
    ~TZoneCrypt()
    {
        EffacerMemoire(m_donnees, m_taille > 0 ? static_cast<std::size_t>(m_taille) : 0);
        std::free(m_donnees);
    }
    TZoneCrypt(const TZoneCrypt&) = delete;
    TZoneCrypt& operator=(const TZoneCrypt&) = delete;

    // The hash of the password with these settings, or empty on failure.
    QByteArray Hacher(const TMotDePasse& motDePasse, const char* reglages)
    {
        if (motDePasse.ContientNul() || motDePasse.Taille() >= CRYPT_MAX_PASSPHRASE_SIZE)
            return {};
        const char* resultat = crypt_ra(motDePasse.Octets(), reglages, &m_donnees, &m_taille);
        // Failure gives NULL or a string starting with '*'.
        if (!resultat || resultat[0] != '$')
            return {};
        return QByteArray(resultat);
    }

private:
    void* m_donnees = nullptr;
    int m_taille = 0;
};

} // namespace

namespace Empreinte {

QByteArray Calculer(const TMotDePasse& motDePasse)
{
    // Random bytes from the system; count 0 is the library's default cost.
    char* reglages = crypt_gensalt_ra(PrefixeYescrypt, 0, nullptr, 0);
    if (!reglages)
        return {};
    QByteArray empreinte = TZoneCrypt().Hacher(motDePasse, reglages);
    std::free(reglages);
    return EstValide(empreinte) ? empreinte : QByteArray();
}

bool Verifier(const TMotDePasse& motDePasse, const QByteArray& empreinte)
{
    if (!EstValide(empreinte))
        return false;
    const QByteArray calcule = TZoneCrypt().Hacher(motDePasse, empreinte.constData());
    if (calcule.size() != empreinte.size())
        return false;
    unsigned difference = 0;
    for (qsizetype i = 0; i < calcule.size(); ++i)
        difference |= static_cast<unsigned char>(calcule[i] ^ empreinte[i]);
    return difference == 0;
}

bool EstValide(const QByteArray& empreinte)
{
    if (!empreinte.startsWith(PrefixeYescrypt) || empreinte.size() >= CRYPT_OUTPUT_SIZE)
        return false;
    // "$y$" parameters "$" salt "$" result: three fields after the prefix.
    const QList<QByteArray> champs = empreinte.mid(3).split('$');
    if (champs.size() != 3 || champs[0].isEmpty() || champs[1].isEmpty() || champs[2].size() != LongueurResultat)
        return false;
    for (const QByteArray& champ : champs)
        for (char c : champ)
            if (!CaractereCrypt(c))
                return false;
    return crypt_checksalt(empreinte.constData()) == CRYPT_SALT_OK;
}

} // namespace Empreinte

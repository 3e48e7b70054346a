#include "liaison/DecodageModbus.h"

#include "data/DateVeilleur.h"

#include <QDateTime>

namespace DecodageModbus {

namespace {
void Ajouter16(std::vector<std::uint8_t>& v, std::uint16_t x)
{
    v.push_back(static_cast<std::uint8_t>(x >> 8));
    v.push_back(static_cast<std::uint8_t>(x & 0xFF));
}

std::uint16_t Lire16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
}

std::vector<std::uint8_t> ConstruireRequete(const TRequete& requete, const std::uint16_t* valeurs)
{
    std::vector<std::uint8_t> pdu{requete.Unite, requete.Fonction};
    Ajouter16(pdu, requete.Adresse);
    switch (requete.Fonction) {
    case FonctionEcrireUn:
        Ajouter16(pdu, requete.Valeur);
        break;
    case FonctionEcrirePlusieurs:
        Ajouter16(pdu, requete.Nombre);
        pdu.push_back(static_cast<std::uint8_t>(2 * requete.Nombre));
        for (int i = 0; i < requete.Nombre; ++i)
            Ajouter16(pdu, valeurs ? valeurs[i] : 0);
        break;
    default:
        Ajouter16(pdu, requete.Nombre);
        break;
    }
    return pdu;
}

TReponse DecoderReponse(const TRequete& requete, const std::uint8_t* octets, int longueur, int entete)
{
    TReponse r;
    if (!octets || entete < 1 || longueur < entete + 2)
        return r;
    if (octets[entete - 1] != requete.Unite)
        return r;
    const std::uint8_t fonction = octets[entete];
    const std::uint8_t* pdu = octets + entete + 1;
    const int reste = longueur - entete - 1;
    if (fonction == (requete.Fonction | 0x80)) {
        if (reste != 1)
            return r;
        r.Issue = TIssue::Exception;
        r.CodeException = pdu[0];
        return r;
    }
    if (fonction != requete.Fonction)
        return r;
    switch (fonction) {
    case FonctionLireMaintien:
    case FonctionLireEntrees: {
        const int n = pdu[0];
        if (n != 2 * requete.Nombre || reste != 1 + n)
            return r;
        r.Registres.reserve(requete.Nombre);
        for (int i = 0; i < requete.Nombre; ++i)
            r.Registres.push_back(Lire16(pdu + 1 + 2 * i));
        break;
    }
    case FonctionEcrireUn:
        if (reste != 4 || Lire16(pdu) != requete.Adresse || Lire16(pdu + 2) != requete.Valeur)
            return r;
        break;
    case FonctionEcrirePlusieurs:
        if (reste != 4 || Lire16(pdu) != requete.Adresse || Lire16(pdu + 2) != requete.Nombre)
            return r;
        break;
    default:
        return r;
    }
    r.Issue = TIssue::Registres;
    return r;
}

double DateAppareilVersJours(std::uint32_t secondes)
{
    if (secondes == 0)
        return 0.0;
    return DateVeilleur::DepuisDateTime(QDateTime::fromSecsSinceEpoch(secondes).toLocalTime());
}

bool DecoderKMT(const std::uint16_t* registres, int nombre, TLectureKMT& lecture)
{
    if (!registres || nombre < NbRegistresKMT || registres[0] != GenreKMT)
        return false;
    lecture.Genre = registres[0];
    lecture.VersionCarte = registres[1];
    lecture.VLogiciel = static_cast<std::uint8_t>(registres[2] & 0xFF);
    lecture.Battement = registres[3];
    lecture.Etat = registres[10];
    lecture.R = registres[11];
    lecture.RMin = registres[12];
    lecture.RSeuil = registres[13];
    lecture.DateDerniereAlarme = Mot32(registres[14], registres[15]);
    lecture.Compteur = registres[16];
    return true;
}

} // namespace DecodageModbus

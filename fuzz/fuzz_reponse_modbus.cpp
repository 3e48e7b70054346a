// A device's reply of arbitrary bytes: decoding must never read outside the
// frame, must accept only a reply that matches its request, and whatever it
// accepts must go through the record and the journal transitions unharmed.
// Input: byte 0 picks the request (function, count), byte 1 the transport
// (RTU or TCP header), the rest is the frame.
#include "liaison/DecodageModbus.h"
#include "liaison/TransitionsKMT.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace DecodageModbus;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    if (taille < 2)
        return 0;
    static const TRequete Requetes[] = {
        {7, FonctionLireEntrees, 0, NbRegistresKMT, 0},
        {7, FonctionLireEntrees, 0, 4, 0},
        {7, FonctionLireEntrees, 10, NbRegistresKMT - 10, 0},
        {7, FonctionLireMaintien, RegistreHorlogeKMT, 2, 0},
        {7, FonctionEcrireUn, RegistreSeuilKMT, 1, 250},
        {7, FonctionEcrirePlusieurs, RegistreHorlogeKMT, 2, 0},
    };
    const TRequete& requete = Requetes[octets[0] % std::size(Requetes)];
    const int entete = (octets[1] & 1) ? 7 : 1;
    // A copy of exactly the frame's size, so that any read past it is caught.
    const std::size_t longueur = taille - 2;
    std::unique_ptr<std::uint8_t[]> trame(new std::uint8_t[longueur ? longueur : 1]);
    std::memcpy(trame.get(), octets + 2, longueur);
    const TReponse r = DecoderReponse(requete, trame.get(), static_cast<int>(longueur), entete);

    if (r.Issue == TIssue::Invalide && !r.Registres.empty())
        std::abort();
    if (r.Issue == TIssue::Exception && (r.CodeException < 0 || r.CodeException > 255))
        std::abort();
    if (r.Issue != TIssue::Registres)
        return 0;
    const bool lecture = requete.Fonction == FonctionLireEntrees || requete.Fonction == FonctionLireMaintien;
    if (lecture ? r.Registres.size() != requete.Nombre : !r.Registres.empty())
        std::abort();
    if (trame[entete - 1] != requete.Unite || trame[entete] != requete.Fonction)
        std::abort();

    if (r.Registres.size() != static_cast<std::size_t>(NbRegistresKMT))
        return 0;
    TLectureKMT l;
    if (!DecoderKMT(r.Registres.data(), NbRegistresKMT, l))
        return 0;
    static auto donnees = std::make_unique<TDonneesKMT>();
    static TEtatObserveKMT avant;
    AppliquerLectureKMT(*donnees, l);
    AjouterEchantillonKMT(*donnees, 45000.0);
    if (donnees->RIsolement == PasDeMesure || donnees->RMin == PasDeMesure || donnees->NbMesures > NbMaxMesures)
        std::abort();
    if (l.R != PasDeMesure && !donnees->Present)
        std::abort();
    for (const TEntreeLog& e : TransitionsKMT(7, avant, l, 45000.0))
        if (e.Origine != 7 || e.Attribut2 > 1 || e.Valeur1 == PasDeMesure)
            std::abort();
    avant = TEtatObserveKMT{true, l.Etat, l.Compteur};
    return 0;
}

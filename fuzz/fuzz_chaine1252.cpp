// Short strings of arbitrary bytes: the reader stays inside the slot whatever
// its length byte says, and every byte decoded and encoded again comes back.
#include "data/Chaine1252.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    if (taille == 0 || taille > 256)
        return 0;
    // A slot exactly as long as the input, so that any read past it is caught.
    const int capacite = static_cast<int>(taille) - 1;
    std::vector<std::uint8_t> slot(octets, octets + taille);
    const QString texte = Chaine1252::Lire(slot.data(), capacite);
    const int longueur = std::min<int>(slot[0], capacite);
    if (texte.size() != longueur)
        std::abort();

    std::vector<std::uint8_t> copie(taille, 0);
    Chaine1252::Ecrire(copie.data(), capacite, texte);
    if (copie[0] != longueur || std::memcmp(copie.data() + 1, slot.data() + 1, static_cast<std::size_t>(longueur)) != 0)
        std::abort();
    return 0;
}

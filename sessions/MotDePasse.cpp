#include "sessions/MotDePasse.h"

#include <QByteArray>
#include <cstring>
#include <string.h>

void EffacerMemoire(void* donnees, std::size_t taille)
{
    if (donnees && taille)
        explicit_bzero(donnees, taille);
}

TMotDePasse::TMotDePasse(std::string_view utf8)
    : m_octets(new char[utf8.size() + 1]), m_taille(utf8.size())
{
    std::memcpy(m_octets.get(), utf8.data(), utf8.size());
    m_octets[m_taille] = '\0';
}

TMotDePasse::~TMotDePasse()
{
    Effacer();
}

TMotDePasse::TMotDePasse(TMotDePasse&& autre) noexcept
    : m_octets(std::move(autre.m_octets)), m_taille(autre.m_taille)
{
    autre.m_taille = 0;
}

TMotDePasse& TMotDePasse::operator=(TMotDePasse&& autre) noexcept
{
    if (this != &autre) {
        Effacer();
        m_octets = std::move(autre.m_octets);
        m_taille = autre.m_taille;
        autre.m_taille = 0;
    }
    return *this;
}

TMotDePasse TMotDePasse::Prendre(QString& texte)
{
    QByteArray utf8 = texte.toUtf8();
    TMotDePasse resultat(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    // data() detaches: what is overwritten is this copy, never a buffer
    // shared with someone who still reads it.
    EffacerMemoire(utf8.data(), static_cast<std::size_t>(utf8.size()));
    if (!texte.isEmpty())
        EffacerMemoire(texte.data(), static_cast<std::size_t>(texte.size()) * sizeof(QChar));
    texte.clear();
    return resultat;
}

int TMotDePasse::NbCaracteres() const
{
    // Every byte that does not continue a UTF-8 sequence starts a character.
    int n = 0;
    for (std::size_t i = 0; i < m_taille; ++i)
        if ((static_cast<unsigned char>(m_octets[i]) & 0xC0) != 0x80)
            ++n;
    return n;
}

bool TMotDePasse::ContientNul() const
{
    return m_taille && std::memchr(m_octets.get(), '\0', m_taille) != nullptr;
}

bool TMotDePasse::Egal(const TMotDePasse& autre) const
{
    const std::size_t n = m_taille > autre.m_taille ? m_taille : autre.m_taille;
    unsigned difference = m_taille != autre.m_taille ? 1u : 0u;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char a = i < m_taille ? static_cast<unsigned char>(m_octets[i]) : 0;
        const unsigned char b = i < autre.m_taille ? static_cast<unsigned char>(autre.m_octets[i]) : 0;
        difference |= static_cast<unsigned>(a ^ b);
    }
    return difference == 0;
}

void TMotDePasse::Effacer()
{
    if (m_octets)
        EffacerMemoire(m_octets.get(), m_taille + 1);
    m_octets.reset();
    m_taille = 0;
}

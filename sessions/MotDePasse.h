#pragma once
// A password typed by an operator, held in a buffer of its own that is
// cleared when the object goes: it never lives in a QString longer than the
// time it takes to copy it, and moving it moves the buffer, not the bytes.
#include <QString>
#include <cstddef>
#include <memory>
#include <string_view>

class TMotDePasse {
public:
    TMotDePasse() = default;
    // UTF-8 bytes of the text.
    explicit TMotDePasse(std::string_view utf8);
    ~TMotDePasse();
    TMotDePasse(TMotDePasse&& autre) noexcept;
    TMotDePasse& operator=(TMotDePasse&& autre) noexcept;
    TMotDePasse(const TMotDePasse&) = delete;
    TMotDePasse& operator=(const TMotDePasse&) = delete;

    // Takes the text of an entry field: copies it as UTF-8, then overwrites
    // and empties the QString (the copy the caller owns; the field's own copy
    // is the caller's to clear).
    static TMotDePasse Prendre(QString& texte);

    // NUL-terminated UTF-8.
    const char* Octets() const { return m_octets ? m_octets.get() : ""; }
    std::size_t Taille() const { return m_taille; }
    bool EstVide() const { return m_taille == 0; }
    // Number of characters (code points) the operator typed.
    int NbCaracteres() const;
    // True when a NUL character is inside: such a text cannot be hashed whole.
    bool ContientNul() const;

    // Exact comparison, byte for byte (letter case counts), in a time that
    // does not depend on where the texts first differ.
    bool Egal(const TMotDePasse& autre) const;

    void Effacer();

private:
    std::unique_ptr<char[]> m_octets;
    std::size_t m_taille = 0;
};

// Overwrites size bytes in a way the compiler may not drop.
void EffacerMemoire(void* donnees, std::size_t taille);

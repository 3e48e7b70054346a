#pragma once
// Password hashes: yescrypt ("$y$") from the system's libxcrypt. Only hashes
// are ever stored; checking a password hashes it again with the stored
// settings and compares the results.
#include <QByteArray>

class TMotDePasse;

namespace Empreinte {

// A fresh hash of the password with a random salt and the library's default
// cost; empty when the library fails (no randomness, password too long or
// holding a NUL).
QByteArray Calculer(const TMotDePasse& motDePasse);

// True when the password gives the stored hash. A malformed hash never matches.
bool Verifier(const TMotDePasse& motDePasse, const QByteArray& empreinte);

// True when the text is a well-formed yescrypt hash the library accepts:
// "$y$" parameters "$" salt "$" 43-character result, crypt's alphabet only.
bool EstValide(const QByteArray& empreinte);

} // namespace Empreinte

#pragma once
// Error raised by the file operations; its text is what the general error
// report shows to the operator.
#include <QString>
#include <stdexcept>

class EErreurVeilleur : public std::runtime_error {
public:
    explicit EErreurVeilleur(const QString& texte)
        : std::runtime_error(texte.toStdString()), m_texte(texte) {}
    const QString& Texte() const { return m_texte; }

private:
    QString m_texte;
};

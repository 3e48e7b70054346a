#include "OutilsTest.h"

#include "platform/MessagesFenetre.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUuid>
#include <stdexcept>

TDossierTemporaire::TDossierTemporaire()
    : m_dossier(m_temp.path()), m_precedent(QDir::currentPath())
{
    if (!m_temp.isValid() || !QDir::setCurrent(m_dossier))
        throw std::runtime_error("cannot enter a temporary folder");
}

TDossierTemporaire::~TDossierTemporaire()
{
    QDir::setCurrent(m_precedent);
}

QString TDossierTemporaire::Chemin(const QString& nom) const
{
    return QDir(m_dossier).filePath(nom);
}

QByteArray LireFichier(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void EcrireFichier(const QString& chemin, const QByteArray& octets)
{
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(octets) != octets.size())
        throw std::runtime_error("cannot write test file");
}

QString NomUnique(const QString& base)
{
    return base + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

bool TFenetreTemoin::event(QEvent* e)
{
    if (e->type() != WM_ECRAN)
        return QObject::event(e);
    const auto* m = static_cast<TMessageEcran*>(e);
    Recus.emplace_back(m->WParam, m->LParam);
    if (SurEcran)
        SurEcran();
    return true;
}

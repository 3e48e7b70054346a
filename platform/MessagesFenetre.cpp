#include "platform/MessagesFenetre.h"

#include <QCoreApplication>

void PosterEcran(QObject* fenetre, std::int32_t ecran, std::int32_t appareil)
{
    if (fenetre)
        QCoreApplication::postEvent(fenetre, new TMessageEcran(ecran, appareil));
}

void EnvoyerEcran(QObject* fenetre, std::int32_t ecran, std::int32_t appareil)
{
    if (!fenetre)
        return;
    TMessageEcran message(ecran, appareil);
    QCoreApplication::sendEvent(fenetre, &message);
}

void EnvoyerLog(QObject* fenetre, const TEntreeLog& entree)
{
    if (!fenetre)
        return;
    TMessageLog message(&entree);
    QCoreApplication::sendEvent(fenetre, &message);
}

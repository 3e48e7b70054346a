#include "app/BoiteOuverte.h"

QMessageBox* OuvrirBoite(QWidget* parent, QMessageBox::Icon icone, const QString& titre, const QString& texte,
                         const QString& nom, QMessageBox::StandardButtons boutons)
{
    auto* boite = new QMessageBox(icone, titre, texte, boutons, parent);
    boite->setObjectName(nom);
    boite->setAttribute(Qt::WA_DeleteOnClose);
    boite->open();
    return boite;
}

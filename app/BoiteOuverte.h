#pragma once
// A message box that does not wait: shown with open(), deleted when closed,
// found by its object name. The ticks go on while it is up.
#include <QMessageBox>
#include <QString>

class QWidget;

QMessageBox* OuvrirBoite(QWidget* parent, QMessageBox::Icon icone, const QString& titre, const QString& texte,
                         const QString& nom, QMessageBox::StandardButtons boutons = QMessageBox::Ok);

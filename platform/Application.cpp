#include "platform/Application.h"

#include "platform/CouleursSysteme.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

void PreparerApplication()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));

    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application)
        return;
    // One style and one palette everywhere, so pixels do not depend on the desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, CouleursSysteme::FaceBouton);
    palette.setColor(QPalette::Button, CouleursSysteme::FaceBouton);
    palette.setColor(QPalette::ButtonText, CouleursSysteme::TexteBouton);
    palette.setColor(QPalette::WindowText, CouleursSysteme::TexteFenetre);
    palette.setColor(QPalette::Base, CouleursSysteme::Fenetre);
    palette.setColor(QPalette::Text, CouleursSysteme::TexteFenetre);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, CouleursSysteme::OmbreBouton);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, CouleursSysteme::OmbreBouton);
    palette.setColor(QPalette::Disabled, QPalette::Text, CouleursSysteme::OmbreBouton);
    QApplication::setPalette(palette);
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPixelSize(13);
    QApplication::setFont(police);
}

#include "app/FormVeilleur.h"
#include "platform/Application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane.PC"));
    PreparerApplication();
    TFormVeilleur fenetre;
    fenetre.showFullScreen();
    return application.exec();
}

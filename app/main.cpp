#include "platform/Application.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane.PC"));
    PreparerApplication();
    QLabel fenetre(QStringLiteral("Orvane.PC"));
    fenetre.resize(1024, 768);
    fenetre.show();
    return application.exec();
}

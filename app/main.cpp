#include "app/FormVeilleur.h"
#include "platform/Application.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane.PC"));
    PreparerApplication();
    TFormVeilleur fenetre;
    // Cover the screen even where no window manager honours the full-screen
    // request (a bare X server, a kiosk session).
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        fenetre.setGeometry(ecran->geometry());
    fenetre.showFullScreen();
    return application.exec();
}

#include "OutilsTest.h"

#include "platform/MessagesFenetre.h"
#include "widgets/GrilleDessinee.h"
#include "widgets/TexteCondense.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QFile>
#include <QProcess>
#include <QUuid>
#include <csignal>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstring>

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

int DansUnProcessusFils(const std::function<int()>& travail)
{
    const pid_t fils = fork();
    if (fils == 0) {
        int resultat = 100;
        try {
            resultat = travail();
        } catch (...) {
        }
        _exit(resultat);
    }
    int etat = 0;
    if (fils < 0 || waitpid(fils, &etat, 0) != fils || !WIFEXITED(etat))
        return -1;
    return WEXITSTATUS(etat);
}

void LimiterTailleFichiers(long octets)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limite{rlim_t(octets), rlim_t(octets)};
    setrlimit(RLIMIT_FSIZE, &limite);
}

QString NomUnique(const QString& base)
{
    return base + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

TResultatProgramme LancerProgramme(const QString& programme, const QStringList& arguments)
{
    QProcess processus;
    processus.start(programme, arguments);
    TResultatProgramme r;
    if (!processus.waitForFinished(60000)) {
        processus.kill();
        processus.waitForFinished();
        return r;
    }
    r.Sortie = processus.readAllStandardOutput();
    r.Erreurs = processus.readAllStandardError();
    if (processus.exitStatus() == QProcess::NormalExit)
        r.Code = processus.exitCode();
    return r;
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

QStringList CellulesDebordantes(TGrilleDessinee& grille)
{
    // Drawn as the screen shows it; a cell's outer columns must keep the colour
    // its top-left pixel has (the text starts two rows lower).
    const QImage image = grille.grab().toImage();
    QStringList debordantes;
    for (int r = 0; r < grille.NbLignes(); ++r) {
        for (int c = 0; c < grille.NbColonnes(); ++c) {
            const QRect cellule = grille.RectangleCellule(c, r).translated(TGrilleDessinee::VersWidget(QPoint(0, 0)));
            if (grille.Cellule(c, r).isEmpty() || cellule.isEmpty() || !image.rect().contains(cellule))
                continue;
            const QRgb fond = image.pixel(cellule.topLeft());
            bool encre = false;
            for (int y = cellule.top(); y <= cellule.bottom(); ++y)
                encre = encre || image.pixel(cellule.left(), y) != fond || image.pixel(cellule.right(), y) != fond;
            if (encre)
                debordantes << QStringLiteral("(%1, %2) %3").arg(c).arg(r).arg(grille.Cellule(c, r));
        }
    }
    return debordantes;
}

void VerifierLibellesEntiers(QWidget& ecran, QTabWidget* onglets, const std::function<void(int)>& changerLangue,
                             const QString& prefixe)
{
    const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
    ecran.show();
    for (int langue = 0; langue < 3; ++langue) {
        SCOPED_TRACE(langue);
        changerLangue(langue);
        // Shown as the main window shows it, so that relabelled tabs are laid out again.
        QCoreApplication::processEvents();
        QTabBar* barre = onglets ? onglets->tabBar() : nullptr;
        for (int i = 0; barre && i < onglets->count(); ++i) {
            EXPECT_TRUE(barre->rect().contains(barre->tabRect(i))) << i;
            EXPECT_GE(barre->tabRect(i).width(), barre->fontMetrics().horizontalAdvance(onglets->tabText(i))) << i;
        }
        for (QLabel* l : ecran.findChildren<QLabel*>()) {
            if (const auto* libelle = qobject_cast<TLibelle*>(l))
                EXPECT_LE(QFontMetrics(libelle->PoliceAffichee()).horizontalAdvance(l->text()),
                          libelle->ZoneTexte().width())
                    << l->objectName().toStdString() << " " << l->text().toStdString();
            else
                EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
        }
        for (QCheckBox* c : ecran.findChildren<QCheckBox*>())
            EXPECT_GE(c->width(), c->sizeHint().width()) << c->objectName().toStdString();
        for (QPushButton* b : ecran.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
        for (TGrilleDessinee* g : ecran.findChildren<TGrilleDessinee*>())
            EXPECT_EQ(CellulesDebordantes(*g).join(QStringLiteral("; ")).toStdString(), "")
                << g->objectName().toStdString();
        const int nbImages = onglets ? onglets->count() : 1;
        for (int i = 0; i < nbImages; ++i) {
            if (onglets)
                onglets->setCurrentIndex(i);
            if (!dossier.isEmpty())
                ecran.grab().save(QDir(dossier).filePath(QStringLiteral("%1-%2-%3.png").arg(prefixe).arg(langue).arg(i)));
        }
    }
}

QImage ImageAffichee(QWidget& widget)
{
    QWidget* fenetre = widget.window();
    const QPoint origine = widget.mapTo(fenetre, QPoint(0, 0));
    return fenetre->screen()
        ->grabWindow(fenetre->winId(), origine.x(), origine.y(), widget.width(), widget.height())
        .toImage();
}

TEntreeLog EntreeDeTest(std::uint8_t code, double date, std::uint8_t origine, double valeur1, double valeur2)
{
    TEntreeLog e;
    std::memset(&e, 0, sizeof e);
    e.Code = code;
    e.DateHeure = date;
    e.Origine = origine;
    e.Attribut2 = 1;
    e.Valeur1 = valeur1;
    e.Valeur2 = valeur2;
    return e;
}

QMessageBox* BoiteMessageOuverte()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
            return b;
    return nullptr;
}

void EcrireEntrees(const QString& chemin, const std::vector<TEntreeLog>& entrees, const QByteArray& queue)
{
    QByteArray octets;
    for (const auto& e : entrees)
        octets.append(reinterpret_cast<const char*>(&e), sizeof e);
    EcrireFichier(chemin, octets + queue);
}

bool AttendreSansBoucle(const std::function<bool()>& condition, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(50);
    }
    return true;
}

#include "OutilsTest.h"

#include "platform/MessagesFenetre.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUuid>
#include <csignal>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

void VerifierLibellesEntiers(QWidget& ecran, QTabWidget* onglets, const std::function<void(int)>& changerLangue,
                             const QString& prefixe)
{
    const QString dossier = qEnvironmentVariable("VEILLEUR_CAPTURES");
    ASSERT_NE(onglets, nullptr);
    ecran.show();
    for (int langue = 0; langue < 3; ++langue) {
        SCOPED_TRACE(langue);
        changerLangue(langue);
        // Shown as the main window shows it, so that relabelled tabs are laid out again.
        QCoreApplication::processEvents();
        QTabBar* barre = onglets->tabBar();
        for (int i = 0; i < onglets->count(); ++i) {
            EXPECT_TRUE(barre->rect().contains(barre->tabRect(i))) << i;
            EXPECT_GE(barre->tabRect(i).width(), barre->fontMetrics().horizontalAdvance(onglets->tabText(i))) << i;
        }
        for (QLabel* l : ecran.findChildren<QLabel*>())
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
        for (QCheckBox* c : ecran.findChildren<QCheckBox*>())
            EXPECT_GE(c->width(), c->sizeHint().width()) << c->objectName().toStdString();
        for (QPushButton* b : ecran.findChildren<QPushButton*>())
            EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
        for (int i = 0; i < onglets->count(); ++i) {
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

#include "platform/Son.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMetaObject>
#include <QPointer>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <numbers>

#ifdef VEILLEUR_AVEC_CANBERRA
#include <canberra.h>
#endif

void JouerAlarme(TSon& son)
{
    son.Tonalite(980, 100);
    son.Tonalite(490, 100);
    son.SonParDefaut();
}

namespace {

// The window system's bell, where there is a window system (not in a console program).
void Cloche()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

// Time the caller waits past the tone's own length before giving up on it.
constexpr int MargeMs = 600;
// A bell standing for the default sound, with its silence, before any other.
constexpr int OccupationSonParDefautMs = 200;

void Avertir(const char* texte)
{
    std::fprintf(stderr, "Son : %s\n", texte);
    std::fflush(stderr);
}

} // namespace

QByteArray SynthetiserTon(int frequenceHz, int dureeMs)
{
    const int n = FrequenceEchantillonnage * dureeMs / 1000;
    const int rampe = FrequenceEchantillonnage / 200;  // 5 ms
    QByteArray pcm(n * 2, Qt::Uninitialized);
    auto* s = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < n; ++i) {
        double enveloppe = 1.0;
        if (i < rampe)
            enveloppe = double(i) / rampe;
        else if (n - 1 - i < rampe)
            enveloppe = double(n - 1 - i) / rampe;
        const double v = 0.5 * enveloppe * std::sin(2.0 * std::numbers::pi * frequenceHz * i / FrequenceEchantillonnage);
        s[i] = qToLittleEndian(static_cast<qint16>(std::lround(v * 32767.0)));
    }
    return pcm;
}

struct TSonSysteme::TPrive {
    QThread* fil = nullptr;
    QObject* travailleur = nullptr;   // lives in fil
    QAudioDevice sortie;
    QAudioFormat format;
    std::atomic<bool> tonsDisponibles{false};
    bool avertiBloque = false;
    // Bells standing for tones: on the caller's thread, gone with the sound.
    QObject* contexte = nullptr;
    QElapsedTimer horloge;
    qint64 clocheLibre = 0;
#ifdef VEILLEUR_AVEC_CANBERRA
    ca_context* canberra = nullptr;   // used on fil only
    bool canberraEnPanne = false;
#endif

    // Runs on fil. Pushes the tone and waits until the output has played it,
    // within a bounded time.
    void JouerTon(int frequenceHz, int dureeMs)
    {
        const QByteArray pcm = SynthetiserTon(frequenceHz, dureeMs);
        QAudioSink sortieAudio(sortie, format);
        QIODevice* flux = sortieAudio.start();
        if (!flux || sortieAudio.error() != QAudio::NoError) {
            if (tonsDisponibles.exchange(false))
                Avertir("la sortie audio refuse de jouer ; la sonnerie du système remplace les tonalités d'alarme.");
            return;
        }
        QElapsedTimer chrono;
        chrono.start();
        const qint64 limite = dureeMs + MargeMs / 2;
        qint64 ecrits = 0;
        while (ecrits < pcm.size() && chrono.elapsed() < limite) {
            const qint64 n = flux->write(pcm.constData() + ecrits, pcm.size() - ecrits);
            if (n > 0)
                ecrits += n;
            else
                QThread::msleep(5);
        }
        // Played once the output's buffer is empty again.
        while (sortieAudio.bytesFree() < sortieAudio.bufferSize() && chrono.elapsed() < limite)
            QThread::msleep(5);
        sortieAudio.stop();
    }

    // Runs on fil; false when the desktop's event sounds cannot play it.
    bool JouerSonParDefaut()
    {
#ifdef VEILLEUR_AVEC_CANBERRA
        if (canberraEnPanne)
            return false;
        if (!canberra) {
            if (ca_context_create(&canberra) != CA_SUCCESS) {
                canberra = nullptr;
                canberraEnPanne = true;
                Avertir("pas de sons du bureau ; la sonnerie du système les remplace.");
                return false;
            }
            ca_context_change_props(canberra, CA_PROP_APPLICATION_NAME, "Orvane.PC", nullptr);
        }
        const int r = ca_context_play(canberra, 0, CA_PROP_EVENT_ID, "message", nullptr);
        if (r != CA_SUCCESS) {
            canberraEnPanne = true;
            std::fprintf(stderr, "Son : son par défaut du bureau indisponible (%s) ; la sonnerie du système le remplace.\n",
                         ca_strerror(r));
            std::fflush(stderr);
            return false;
        }
        return true;
#else
        return false;
#endif
    }

    void Liberer()
    {
#ifdef VEILLEUR_AVEC_CANBERRA
        if (canberra) {
            ca_context_destroy(canberra);
            canberra = nullptr;
        }
#endif
    }
};

TSonSysteme::TSonSysteme()
    : TSonSysteme(QMediaDevices::defaultAudioOutput())
{
}

TSonSysteme::TSonSysteme(const QAudioDevice& sortie)
    : d(std::make_unique<TPrive>())
{
    d->contexte = new QObject;
    d->horloge.start();
    d->sortie = sortie;
    d->format.setSampleRate(FrequenceEchantillonnage);
    d->format.setChannelCount(1);
    d->format.setSampleFormat(QAudioFormat::Int16);
    if (d->sortie.isNull())
        Avertir("aucune sortie audio ; la sonnerie du système remplace les tonalités d'alarme.");
    else
        d->tonsDisponibles = true;

    d->fil = new QThread;
    d->fil->setObjectName(QStringLiteral("Son"));
    d->travailleur = new QObject;
    d->travailleur->moveToThread(d->fil);
    QObject::connect(d->fil, &QThread::finished, d->travailleur, &QObject::deleteLater);
    d->fil->start();
}

TSonSysteme::~TSonSysteme()
{
    delete d->contexte;   // bells still to come are dropped
    d->contexte = nullptr;
    d->fil->quit();
    if (d->fil->wait(2000)) {
        delete d->fil;
        d->Liberer();   // the thread has ended: nobody else uses its state
    } else {
        // The thread is stuck inside the sound server: leave it (and the state
        // it uses) to the end of the process rather than destroy it running.
        Avertir("le son ne répond plus ; il est abandonné.");
        d.release();
    }
}

bool TSonSysteme::TonalitesDisponibles() const
{
    return d->tonsDisponibles;
}

void TSonSysteme::Tonalite(int frequenceHz, int dureeMs)
{
    if (frequenceHz <= 0 || dureeMs <= 0)
        return;
    if (!d->tonsDisponibles) {
        // The bell stands for the tone; the silence after it keeps the signals apart.
        SignalCloche(2 * dureeMs);
        return;
    }
    auto fin = std::make_shared<QSemaphore>(0);
    TPrive* prive = d.get();
    QMetaObject::invokeMethod(d->travailleur, [prive, fin, frequenceHz, dureeMs] {
        prive->JouerTon(frequenceHz, dureeMs);
        fin->release();
    }, Qt::QueuedConnection);
    if (!fin->tryAcquire(1, dureeMs + MargeMs)) {
        // Never wait for it again: the alarm goes on with bells.
        d->tonsDisponibles = false;
        if (!d->avertiBloque) {
            d->avertiBloque = true;
            Avertir("la sortie audio ne répond pas ; la sonnerie du système remplace les tonalités d'alarme.");
        }
    }
}

void TSonSysteme::SonParDefaut()
{
    if (!d->tonsDisponibles) {
        // No working output for the desktop's sounds either: a bell after the others.
        SignalCloche(OccupationSonParDefautMs);
        return;
    }
    TPrive* prive = d.get();
    QMetaObject::invokeMethod(d->travailleur, [prive] {
        if (!prive->JouerSonParDefaut())
            QMetaObject::invokeMethod(QCoreApplication::instance(), Cloche, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void TSonSysteme::SignalCloche(int occupationMs)
{
    const qint64 maintenant = d->horloge.elapsed();
    const qint64 debut = std::max(maintenant, d->clocheLibre);
    d->clocheLibre = debut + occupationMs;
    if (debut == maintenant)
        Sonnerie();
    else
        QTimer::singleShot(debut - maintenant, Qt::PreciseTimer, d->contexte, [this] { Sonnerie(); });
}

void TSonSysteme::Sonnerie()
{
    Cloche();
}

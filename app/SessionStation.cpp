#include "app/SessionStation.h"

#include <QCoreApplication>
#include <QEvent>
#include <chrono>

TSessionStation::TSessionStation(const QString& cheminFichier, std::function<void(const TResultatSession&)> fin,
                                 QObject* parent)
    : QObject(parent),
      m_session(cheminFichier, [this] { return Maintenant(); }),
      m_fin(std::move(fin))
{
    m_timer.setObjectName(QStringLiteral("TimerSession"));
    m_timer.setInterval(IntervalleVerificationMs);
    connect(&m_timer, &QTimer::timeout, this, &TSessionStation::Verifier);
}

TSessionStation::~TSessionStation()
{
    Arreter();
}

std::int64_t TSessionStation::Maintenant() const
{
    if (m_horloge)
        return m_horloge();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

TResultatSession TSessionStation::Demarrer()
{
    TResultatSession resultat = m_session.Charger();
    if (!m_filtreInstalle && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        m_filtreInstalle = true;
    }
    m_timer.start();
    return resultat;
}

void TSessionStation::Arreter()
{
    m_timer.stop();
    if (m_filtreInstalle && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_filtreInstalle = false;
}

void TSessionStation::Verifier()
{
    TResultatSession resultat = m_session.Verifier();
    if (resultat.Reussi && m_fin)
        m_fin(resultat);
}

bool TSessionStation::eventFilter(QObject* objet, QEvent* evenement)
{
    switch (evenement->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        // Spontaneous only: events the station sends itself are nobody's input.
        if (evenement->spontaneous())
            m_session.SignalerActivite();
        break;
    default:
        break;
    }
    return QObject::eventFilter(objet, evenement);
}

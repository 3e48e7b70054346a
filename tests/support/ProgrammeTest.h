#pragma once
// A device program (the simulator, the independent device) run by a test and
// steered through its standard input; killed when the test ends.
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class TProgramme {
public:
    void Lancer(const QString& programme, const QStringList& arguments)
    {
        m_processus = std::make_unique<QProcess>();
        m_processus->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_processus->start(programme, arguments);
        ASSERT_TRUE(m_processus->waitForStarted(5000));
        // Each prints one line once it serves.
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_processus->canReadLine(); }, 10000));
        m_processus->readLine();
    }
    void Dire(const QByteArray& commande)
    {
        m_processus->write(commande + '\n');
        m_processus->waitForBytesWritten(1000);
    }
    // A console query: its answer, past the "ok" of earlier commands.
    QByteArray Demander(const QByteArray& question)
    {
        Dire(question);
        for (;;) {
            while (!m_processus->canReadLine())
                if (!m_processus->waitForReadyRead(3000))
                    return {};
            const QByteArray ligne = m_processus->readLine().trimmed();
            if (ligne != "ok")
                return ligne;
        }
    }
    void Tuer()
    {
        if (!m_processus)
            return;
        m_processus->kill();
        m_processus->waitForFinished(5000);
        m_processus.reset();
    }
    ~TProgramme() { Tuer(); }

private:
    std::unique_ptr<QProcess> m_processus;
};

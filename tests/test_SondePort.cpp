#include "platform/SondePort.h"
#include "support/OutilsTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal pair: its slave side is a serial-like device node that the
// tests can create and hold without any hardware.
class TPseudoTerminal {
public:
    TPseudoTerminal()
    {
        m_maitre = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_maitre >= 0 && grantpt(m_maitre) == 0 && unlockpt(m_maitre) == 0)
            m_esclave = QString::fromLocal8Bit(ptsname(m_maitre));
    }
    ~TPseudoTerminal()
    {
        if (m_maitre >= 0)
            close(m_maitre);
    }
    TPseudoTerminal(const TPseudoTerminal&) = delete;
    TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

    const QString& Esclave() const { return m_esclave; }

private:
    int m_maitre = -1;
    QString m_esclave;
};

} // namespace

TEST(SondePort, PortNumbersNameDevicesThroughOneTable)
{
    EXPECT_EQ(PeripheriquePort(1), "/dev/ttyS0");
    EXPECT_EQ(PeripheriquePort(32), "/dev/ttyS31");
    EXPECT_EQ(PeripheriquePort(33), "/dev/ttyUSB0");
    EXPECT_EQ(PeripheriquePort(40), "/dev/ttyUSB7");
    EXPECT_EQ(PeripheriquePort(41), "/dev/ttyACM0");
    EXPECT_EQ(PeripheriquePort(50), "/dev/ttyACM9");
    EXPECT_TRUE(PeripheriquePort(0).isEmpty());
    EXPECT_TRUE(PeripheriquePort(51).isEmpty());
    EXPECT_TRUE(PeripheriquePort(-1).isEmpty());
    EXPECT_FALSE(SonderPort(0));
    EXPECT_FALSE(SonderPort(51));
}

TEST(SondePort, MissingDeviceIsAbsent)
{
    if (QFile::exists(QStringLiteral("/dev/ttyACM9")))
        GTEST_SKIP() << "this machine has a /dev/ttyACM9";
    EXPECT_FALSE(SonderPort(50));
    EXPECT_FALSE(TSondePortSerie().Present(50));
    EXPECT_FALSE(SonderPeripherique(QStringLiteral("/dev/ttyS_pas_de_tel_port")));
    EXPECT_FALSE(SonderPeripherique(QString()));
}

TEST(SondePort, FilesThatAreNotSerialDevicesAreAbsent)
{
    TDossierTemporaire dossier;
    EcrireFichier(dossier.Chemin("pas_un_port"), "x");
    EXPECT_FALSE(SonderPeripherique(dossier.Chemin("pas_un_port")));
    EXPECT_FALSE(SonderPeripherique(QStringLiteral("/dev/null")));
}

TEST(SondePort, FreeAndBusyPortsArePresent)
{
    TPseudoTerminal pty;
    ASSERT_FALSE(pty.Esclave().isEmpty());
    EXPECT_TRUE(SonderPeripherique(pty.Esclave()));
    // Probing closed it again: another program can open it at once.
    QSerialPort autre;
    autre.setPortName(pty.Esclave());
    ASSERT_TRUE(autre.open(QIODevice::ReadWrite));
    // Held by another user of the port: refused, but listed.
    EXPECT_TRUE(SonderPeripherique(pty.Esclave()));
    autre.close();
}

TEST(SondePort, EveryPortOfThisMachineAnswersQuickly)
{
    // Nodes without hardware answer with an error at once; none may block.
    QElapsedTimer chrono;
    chrono.start();
    for (int n = PremierPortCom; n <= DernierPortCom; ++n) {
        QElapsedTimer unPort;
        unPort.start();
        SonderPort(n);
        EXPECT_LT(unPort.elapsed(), 1000) << "COM" << n;
    }
    EXPECT_LT(chrono.elapsed(), 5000);
}

#include "platform/SondePort.h"

#include <QFileInfo>
#include <QSerialPort>

namespace {

struct TPlagePorts {
    int premier;
    int dernier;
    const char* prefixe;
};

constexpr TPlagePorts PlagesPorts[] = {
    {1, 32, "/dev/ttyS"},
    {33, 40, "/dev/ttyUSB"},
    {41, 50, "/dev/ttyACM"},
};

} // namespace

QString PeripheriquePort(int n)
{
    for (const TPlagePorts& plage : PlagesPorts)
        if (n >= plage.premier && n <= plage.dernier)
            return QString::fromLatin1(plage.prefixe) + QString::number(n - plage.premier);
    return QString();
}

bool SonderPeripherique(const QString& chemin)
{
    // The serial-port class refuses with the same "permission" error when it
    // cannot make its lock file and when another program holds the port: a
    // device node that does not exist must be ruled out before.
    if (chemin.isEmpty() || !QFileInfo::exists(chemin))
        return false;
    QSerialPort port;
    port.setPortName(chemin);
    // Opened without blocking: a UART node with no hardware behind it answers
    // at once with an input/output error.
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return true;
    }
    return port.error() == QSerialPort::PermissionError;
}

bool SonderPort(int n)
{
    return SonderPeripherique(PeripheriquePort(n));
}

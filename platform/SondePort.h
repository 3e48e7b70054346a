#pragma once
// Presence test of the serial ports COM1..COM50, as the configuration screen
// lists them. The station keeps the port numbers of its file format; on this
// platform each number names one serial device through a fixed table:
//     COM1  .. COM32  ->  /dev/ttyS0   .. /dev/ttyS31   (on-board UARTs)
//     COM33 .. COM40  ->  /dev/ttyUSB0 .. /dev/ttyUSB7  (USB-serial adapters)
//     COM41 .. COM50  ->  /dev/ttyACM0 .. /dev/ttyACM9  (USB modems, CDC-ACM)
// Any other number names no device.
#include <QString>

constexpr int PremierPortCom = 1;
constexpr int DernierPortCom = 50;

// Device file of COMn, or an empty text when n names no device.
QString PeripheriquePort(int n);

// Opens the serial device exclusively for reading and writing and closes it at
// once. Present when the open succeeds, or when it is refused because another
// program holds the port (busy, locked, access denied); absent otherwise (no
// such device, no hardware behind the node, not a serial device).
bool SonderPeripherique(const QString& chemin);

// SonderPeripherique on the device of COMn; false when n names none.
bool SonderPort(int n);

// The probe as the configuration screen uses it, so that tests can put a fake
// machine in its place.
class TSondePort {
public:
    virtual ~TSondePort() = default;
    virtual bool Present(int n) = 0;
};

// The probe of this machine's serial devices.
class TSondePortSerie final : public TSondePort {
public:
    bool Present(int n) override { return SonderPort(n); }
};

#!/usr/bin/python3
"""KMT insulation monitors served over Modbus TCP, written from the devices'
protocol alone with Debian's pymodbus (3.0), independently of the station and
of the project's simulator: a misreading of the register map shared by those
two does not pass against this one.

Usage: appareil_independant.py PORT N[,N...] [rtu]
With rtu, the TCP connection carries RTU frames (CRC, no MBAP header): behind
"socat pty,link=LINE,raw,echo=0 tcp:127.0.0.1:PORT" it is a serial line.
Prints "pret" once listening. Commands on standard input, one a line:
  r N KOHM            set R (the status bits follow the threshold, as a device's do)
  defaut N BIT 0|1    self-test (3), DC+ (4) or DC- (5) fault on or off
  transitoire N       a pre-alarm that starts and ends between two polls
  silence N / reponds N
  fige N              the heartbeat stops
Writes of the station: HR 100 threshold (10..10000, else exception 03),
HR 101 command (1..3, else exception 03), HR 102-103 clock (function 16).
"""
import asyncio
import sys
import threading
import time

from pymodbus.datastore import ModbusServerContext, ModbusSlaveContext
from pymodbus.pdu import ModbusExceptions
from pymodbus.register_write_message import WriteSingleRegisterRequest, WriteSingleRegisterResponse
from pymodbus.server import StartAsyncTcpServer
from pymodbus.transaction import ModbusRtuFramer, ModbusSocketFramer

verrou = threading.Lock()

PRE, ALARME, KLAXON = 1, 2, 4
ACQ_PRE, ACQ_ALARME, ACQ_KLAXON = 1 << 8, 1 << 9, 1 << 10


class Kmt(ModbusSlaveContext):
    def __init__(self):
        super().__init__(zero_mode=True)
        self.debut = time.monotonic()
        self.fige = None
        self.r = 65535
        self.rmin = 65535
        self.seuil = 100
        self.etat = 0
        self.compteur = 0
        self.date_alarme = 0
        self.decalage_horloge = -int(time.time())  # no clock kept across a power cut: it starts at 0

    # The status word as a real device keeps it.
    def changer_etat(self, etat):
        if etat & ALARME and not self.etat & ALARME:
            etat = (etat | KLAXON) & ~ACQ_KLAXON   # the horn sounds when the alarm starts
            self.date_alarme = int(time.time())
        # An acknowledgement ends with its condition; the horn with the alarm.
        if not etat & PRE:
            etat &= ~ACQ_PRE
        if not etat & ALARME:
            etat &= ~(ACQ_ALARME | KLAXON | ACQ_KLAXON)
        if etat != self.etat:
            self.etat = etat
            self.compteur = (self.compteur + 1) & 0xFFFF

    def mesurer(self, r):
        self.r = r
        if r != 65535:
            self.rmin = r if self.rmin == 65535 else min(self.rmin, r)
        self.reevaluer()

    def reevaluer(self):
        etat = self.etat & ~(PRE | ALARME)
        if self.r != 65535:
            if self.r < 2 * self.seuil:
                etat |= PRE
            if self.r < self.seuil:
                etat |= ALARME
        self.changer_etat(etat)

    def battement(self):
        if self.fige is not None:
            return self.fige
        return int(time.monotonic() - self.debut) & 0xFFFF

    def validate(self, fc, address, count=1):
        if fc == 4:
            return 0 <= address and address + count <= 17
        if fc == 3:
            return 100 <= address and address + count <= 104
        if fc == 6:
            return 100 <= address <= 101
        if fc == 16:
            return address == 102 and count == 2
        return False

    def getValues(self, fc, address, count=1):
        with verrou:
            if fc == 4:
                ir = [0] * 17
                ir[0], ir[1], ir[2], ir[3] = 1, 1, 42, self.battement()
                ir[10], ir[11], ir[12], ir[13] = self.etat, self.r, self.rmin, self.seuil
                ir[14], ir[15] = self.date_alarme >> 16, self.date_alarme & 0xFFFF
                ir[16] = self.compteur
                return ir[address:address + count]
            horloge = (int(time.time()) + self.decalage_horloge) & 0xFFFFFFFF
            hr = {100: self.seuil, 101: 0, 102: horloge >> 16, 103: horloge & 0xFFFF}
            return [hr[a] for a in range(address, address + count)]

    def refus(self, address, value):
        if address == 100 and not 10 <= value <= 10000:
            return ModbusExceptions.IllegalValue
        if address == 101 and not 1 <= value <= 3:
            return ModbusExceptions.IllegalValue
        return None

    def setValues(self, fc, address, values):
        with verrou:
            if address == 100:
                self.seuil = values[0]
                self.reevaluer()
            elif address == 101:
                bits = {1: (PRE, ACQ_PRE), 2: (ALARME, ACQ_ALARME), 3: (KLAXON, ACQ_KLAXON)}[values[0]]
                if self.etat & bits[0]:
                    etat = self.etat | bits[1]
                    if values[0] == 3:
                        etat &= ~KLAXON
                    self.changer_etat(etat)
            elif address == 102:
                self.decalage_horloge = ((values[0] << 16) | values[1]) - int(time.time())


# A refused value is exception 03, which a datastore alone cannot say; and the
# reply echoes the request (pymodbus would echo the register read back, and the
# command register reads 0).
def _ecrire_verifie(self, context):
    if not context.validate(self.function_code, self.address, 1):
        return self.doException(ModbusExceptions.IllegalAddress)
    refus = context.refus(self.address, self.value)
    if refus is not None:
        return self.doException(refus)
    context.setValues(self.function_code, self.address, [self.value])
    return WriteSingleRegisterResponse(self.address, self.value)


WriteSingleRegisterRequest.execute = _ecrire_verifie


def console(appareils, serveur_ctx):
    for ligne in sys.stdin:
        mots = ligne.split()
        if len(mots) < 2:
            continue
        n = int(mots[1])
        kmt = appareils[n]
        with verrou:
            if mots[0] == "r":
                kmt.mesurer(int(mots[2]))
            elif mots[0] == "defaut":
                bit = 1 << int(mots[2])
                kmt.changer_etat(kmt.etat | bit if mots[3] == "1" else kmt.etat & ~bit)
            elif mots[0] == "transitoire":
                kmt.compteur = (kmt.compteur + 2) & 0xFFFF
            elif mots[0] == "silence":
                if n in serveur_ctx:
                    del serveur_ctx[n]
            elif mots[0] == "reponds":
                serveur_ctx[n] = kmt
            elif mots[0] == "fige":
                kmt.fige = kmt.battement()
        print("ok", flush=True)


async def principal(port, numeros, rtu):
    appareils = {n: Kmt() for n in numeros}
    ctx = ModbusServerContext(slaves=dict(appareils), single=False)
    serveur = await StartAsyncTcpServer(ctx, address=("127.0.0.1", port), defer_start=True,
                                        framer=ModbusRtuFramer if rtu else ModbusSocketFramer,
                                        allow_reuse_address=True, ignore_missing_slaves=True)
    threading.Thread(target=console, args=(appareils, ctx), daemon=True).start()
    tache = asyncio.ensure_future(serveur.serve_forever())
    await serveur.serving
    print("pret", flush=True)
    await tache


if __name__ == "__main__":
    import logging
    logging.disable(logging.CRITICAL)
    asyncio.run(principal(int(sys.argv[1]), [int(x) for x in sys.argv[2].split(",")],
                          len(sys.argv) > 3 and sys.argv[3] == "rtu"))

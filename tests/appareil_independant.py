#!/usr/bin/python3
"""KMT insulation monitors and QFL8 fault locators served over Modbus TCP,
written from the devices' protocol alone with Debian's pymodbus (3.0),
independently of the station and of the project's simulator: a misreading of
the register map shared by those two does not pass against this one.

Usage: appareil_independant.py PORT N[,N...] [rtu]
Numbers 1-31 are KMTs, 33-63 QFL8s.
With rtu, the TCP connection carries RTU frames (CRC, no MBAP header): behind
"socat pty,link=LINE,raw,echo=0 tcp:127.0.0.1:PORT" it is a serial line.
Prints "pret" once listening. Commands on standard input, one a line, each
answered by one line ("ok", a count, or "erreur"):
  r N KOHM            set R of a KMT (the status bits follow the threshold, as a device's do)
  defaut N BIT 0|1    KMT: self-test (3), DC+ (4) or DC- (5) fault on or off
  transitoire N       KMT: a pre-alarm that starts and ends between two polls
  panne N 0|1         QFL8: its device fault (status bit 2)
  unites N LISTE      QFL8: the QFL16 units connected, "1-3,17" ("-" for none)
  fuite N F U C KOHM  QFL8: the fault each following search finds: feeder F
                      (1-16), QFL16 unit U (0 = the QFL8 itself), conductor C
                      (0-5), resistance in kOhm
  fuite N -           QFL8: no fault any more
  duree N SECONDES    QFL8: how long a search takes
  ecritures N         QFL8: prints "W Z": setting writes received (refused
                      ones included), min/max resets done
  reglages N          QFL8: prints its seven settings (HR 100-106)
  silence N / reponds N
  fige N              the heartbeat stops
Writes of the station, KMT: HR 100 threshold (10..10000, else exception 03),
HR 101 command (1..3, else exception 03), HR 102-103 clock (function 16).
QFL8: HR 100-106 settings (their ranges, else exception 03), HR 110 command
(1 search, exception 06 while one runs; 2 reset min/max; else exception 03),
HR 111-112 clock (function 16). A QFL8 maps only its documented registers: a
read across an unused one (IR 4-9, say) is refused with exception 02.
"""
import asyncio
import sys
import threading
import time

from pymodbus.datastore import ModbusServerContext, ModbusSlaveContext
from pymodbus.pdu import ModbusExceptions
from pymodbus.register_write_message import (WriteMultipleRegistersRequest, WriteMultipleRegistersResponse,
                                             WriteSingleRegisterRequest, WriteSingleRegisterResponse)
from pymodbus.server import StartAsyncTcpServer
from pymodbus.transaction import ModbusRtuFramer, ModbusSocketFramer

verrou = threading.Lock()

PRE, ALARME, KLAXON = 1, 2, 4
ACQ_PRE, ACQ_ALARME, ACQ_KLAXON = 1 << 8, 1 << 9, 1 << 10
NON_MESURE = 65535


def mots(valeur):
    """A 32-bit value as two registers, high word first."""
    valeur &= 0xFFFFFFFF
    return [valeur >> 16, valeur & 0xFFFF]


class Appareil(ModbusSlaveContext):
    """What both kinds share: identification, heartbeat, clock."""
    genre = 0
    version = 0

    def __init__(self):
        super().__init__(zero_mode=True)
        self.debut = time.monotonic()
        self.fige = None
        self.decalage_horloge = -int(time.time())  # no clock kept across a power cut: it starts at 0

    def battement(self):
        if self.fige is not None:
            return self.fige
        return int(time.monotonic() - self.debut) & 0xFFFF

    def horloge(self):
        return (int(time.time()) + self.decalage_horloge) & 0xFFFFFFFF

    def regler_horloge(self, haut, bas):
        self.decalage_horloge = ((haut << 16) | bas) - int(time.time())

    def identification(self):
        return [self.genre, 1, self.version, self.battement()]

    def refus(self, address, value):
        return None


class Kmt(Appareil):
    genre, version = 1, 42

    def __init__(self):
        super().__init__()
        self.r = NON_MESURE
        self.rmin = NON_MESURE
        self.seuil = 100
        self.etat = 0
        self.compteur = 0
        self.date_alarme = 0

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
        if r != NON_MESURE:
            self.rmin = r if self.rmin == NON_MESURE else min(self.rmin, r)
        self.reevaluer()

    def reevaluer(self):
        etat = self.etat & ~(PRE | ALARME)
        if self.r != NON_MESURE:
            if self.r < 2 * self.seuil:
                etat |= PRE
            if self.r < self.seuil:
                etat |= ALARME
        self.changer_etat(etat)

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
                ir = self.identification() + [0] * 13
                ir[10], ir[11], ir[12], ir[13] = self.etat, self.r, self.rmin, self.seuil
                ir[14:16] = mots(self.date_alarme)
                ir[16] = self.compteur
                return ir[address:address + count]
            hr = dict(zip(range(100, 104), [self.seuil, 0] + mots(self.horloge())))
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
                self.regler_horloge(values[0], values[1])


# QFL8 settings, HR 100..106: what each accepts, and where it starts.
LIMITES_QFL = [(1, 50000), (1, 50000), (1, 50000), (10, 10000), (1, 65534), (1, 65534), (1, 1000)]
REGLAGES_USINE = [1000, 1100, 500, 100, 120, 240, 230]
# The input registers a QFL8 maps; a read must stay inside one block.
BLOCS_QFL = [(0, 4), (10, 14), (20, 42), (100, 596), (600, 680)]
EN_COURS, TROUVE, PANNE = 1, 2, 4


class Qfl8(Appareil):
    genre, version = 2, 17

    def __init__(self):
        super().__init__()
        self.reglages = list(REGLAGES_USINE)
        self.unites = 0
        self.panne = False
        self.duree = 1.0
        self.fuite = None            # (feeder, unit, conductor, kOhm) the next search finds
        self.fin_recherche = None    # monotonic time the running search ends
        self.trouve = False
        self.recherches = 0
        self.ir = [0] * 680          # IR 20..679 as the last search left them
        self.ir[23] = self.ir[25] = NON_MESURE
        for f in range(3, 11):
            self.ir[27 + 2 * (f - 3)] = NON_MESURE
        self.ecritures = 0
        self.raz = 0

    # A search in progress ends when its time has come, seen by whoever looks next.
    def avancer(self):
        if self.fin_recherche is not None and time.monotonic() >= self.fin_recherche:
            self.fin_recherche = None
            self.terminer_recherche()

    def terminer_recherche(self):
        date = self.horloge()
        ir = [0] * 680
        ir[20:22] = mots(date)
        ir[23] = ir[25] = NON_MESURE
        for f in range(3, 11):
            ir[27 + 2 * (f - 3)] = NON_MESURE
        ir[600:680] = self.ir[600:680]
        self.trouve = self.fuite is not None
        if self.trouve:
            depart, unite, conducteur, r = self.fuite
            courant = min(self.reglages[6] * 100 // max(r, 1), 65535)   # V / kOhm = mA, in 0.01 mA
            # The leak flows back through the transformer whatever the feeder.
            ir[22], ir[23] = courant, r
            if unite == 0:
                if depart == 2:
                    ir[24], ir[25] = courant, r
                elif 3 <= depart <= 10:
                    ir[26 + 2 * (depart - 3)], ir[27 + 2 * (depart - 3)] = courant, r
            else:
                ir[100 + 16 * (unite - 1) + (depart - 1)] = courant
            # Newest first: the list moves down one slot, the oldest drops out.
            ir[608:680] = self.ir[600:672]
            ir[600:608] = [depart, unite, r, courant] + mots(date) + [conducteur, 0]
        self.ir = ir
        self.recherches = (self.recherches + 1) & 0xFFFF

    def etat(self):
        return (EN_COURS if self.fin_recherche is not None else 0) | (TROUVE if self.trouve else 0) | \
            (PANNE if self.panne else 0)

    def validate(self, fc, address, count=1):
        fin = address + count
        if fc == 4:
            return any(debut <= address and fin <= bout for debut, bout in BLOCS_QFL)
        if fc == 3:
            return (100 <= address and fin <= 107) or (110 <= address and fin <= 113)
        if fc == 6:
            return 100 <= address <= 106 or address == 110
        if fc == 16:
            return (100 <= address and fin <= 107) or (address == 110 and count == 1) or \
                (address == 111 and count == 2)
        return False

    def getValues(self, fc, address, count=1):
        with verrou:
            self.avancer()
            if fc == 4:
                ir = list(self.ir)
                ir[0:4] = self.identification()
                ir[10], ir[11] = self.etat(), self.recherches
                ir[12], ir[13] = self.unites & 0xFFFF, self.unites >> 16
                return ir[address:address + count]
            hr = dict(zip(range(100, 107), self.reglages))
            hr.update(zip(range(110, 113), [0] + mots(self.horloge())))
            return [hr[a] for a in range(address, address + count)]

    def refus(self, address, value):
        self.avancer()
        if 100 <= address <= 106:
            self.ecritures += 1
            bas, haut = LIMITES_QFL[address - 100]
            if not bas <= value <= haut:
                return ModbusExceptions.IllegalValue
        if address == 110:
            if not 1 <= value <= 2:
                return ModbusExceptions.IllegalValue
            if value == 1 and self.fin_recherche is not None:
                return ModbusExceptions.SlaveBusy
        return None

    def setValues(self, fc, address, values):
        with verrou:
            if address == 111:
                self.regler_horloge(values[0], values[1])
                return
            for a, v in zip(range(address, address + len(values)), values):
                if 100 <= a <= 106:
                    self.reglages[a - 100] = v
                elif a == 110 and v == 1:
                    self.fin_recherche = time.monotonic() + self.duree
                elif a == 110 and v == 2:
                    self.raz += 1


# A refused value is exception 03 (06 for a busy locator), which a datastore
# alone cannot say; and the reply echoes the request (pymodbus would echo the
# register read back, and the command register reads 0).
def _ecrire_verifie(self, context):
    if not context.validate(self.function_code, self.address, 1):
        return self.doException(ModbusExceptions.IllegalAddress)
    with verrou:
        refus = context.refus(self.address, self.value)
    if refus is not None:
        return self.doException(refus)
    context.setValues(self.function_code, self.address, [self.value])
    return WriteSingleRegisterResponse(self.address, self.value)


def _ecrire_plusieurs_verifie(self, context):
    if not 1 <= self.count <= 0x7B or self.byte_count != self.count * 2:
        return self.doException(ModbusExceptions.IllegalValue)
    if not context.validate(self.function_code, self.address, self.count):
        return self.doException(ModbusExceptions.IllegalAddress)
    with verrou:
        for a, v in zip(range(self.address, self.address + self.count), self.values):
            refus = context.refus(a, v)
            if refus is not None:
                return self.doException(refus)
    context.setValues(self.function_code, self.address, self.values)
    return WriteMultipleRegistersResponse(self.address, self.count)


WriteSingleRegisterRequest.execute = _ecrire_verifie
WriteMultipleRegistersRequest.execute = _ecrire_plusieurs_verifie


def liste_unites(texte):
    masque = 0
    if texte != "-":
        for morceau in texte.split(","):
            debut, _, fin = morceau.partition("-")
            for u in range(int(debut), int(fin or debut) + 1):
                if not 1 <= u <= 31:
                    raise ValueError(u)
                masque |= 1 << (u - 1)
    return masque


def commande(mots_, appareil, serveur_ctx, n):
    verbe = mots_[0]
    if verbe == "silence":
        if n in serveur_ctx:
            del serveur_ctx[n]
    elif verbe == "reponds":
        serveur_ctx[n] = appareil
    elif verbe == "fige":
        appareil.fige = appareil.battement()
    elif verbe == "r":
        appareil.mesurer(int(mots_[2]))
    elif verbe == "defaut":
        bit = 1 << int(mots_[2])
        appareil.changer_etat(appareil.etat | bit if mots_[3] == "1" else appareil.etat & ~bit)
    elif verbe == "transitoire":
        appareil.compteur = (appareil.compteur + 2) & 0xFFFF
    elif verbe == "panne":
        appareil.panne = mots_[2] == "1"
    elif verbe == "unites":
        appareil.unites = liste_unites(mots_[2])
    elif verbe == "fuite":
        if mots_[2] == "-":
            appareil.fuite = None
        else:
            depart, unite, conducteur, r = (int(x) for x in mots_[2:6])
            if not (1 <= depart <= 16 and 0 <= unite <= 31 and 0 <= conducteur <= 5 and 0 <= r <= 65534):
                raise ValueError(mots_)
            appareil.fuite = (depart, unite, conducteur, r)
    elif verbe == "duree":
        appareil.duree = float(mots_[2])
    elif verbe == "ecritures":
        return "%d %d" % (appareil.ecritures, appareil.raz)
    elif verbe == "reglages":
        return " ".join(str(v) for v in appareil.reglages)
    else:
        raise ValueError(verbe)
    return "ok"


def console(appareils, serveur_ctx):
    for ligne in sys.stdin:
        mots_ = ligne.split()
        if len(mots_) < 2:
            continue
        try:
            n = int(mots_[1])
            with verrou:
                reponse = commande(mots_, appareils[n], serveur_ctx, n)
        except (KeyError, ValueError, IndexError, AttributeError):
            reponse = "erreur"   # a command the device cannot take: the console goes on
        print(reponse, flush=True)


async def principal(port, numeros, rtu):
    appareils = {n: Kmt() if 1 <= n <= 31 else Qfl8() for n in numeros}
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
    numeros = [int(x) for x in sys.argv[2].split(",")]
    if any(not (1 <= n <= 31 or 33 <= n <= 63) for n in numeros):
        sys.exit("device numbers: KMT 1-31, QFL8 33-63")
    asyncio.run(principal(int(sys.argv[1]), numeros, len(sys.argv) > 3 and sys.argv[3] == "rtu"))

#include "liaison/ConfigReseau.h"

#include "data/TypesVeilleur.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <set>

namespace {
constexpr int Vitesses[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int DelaiReponseMin = 10;
// Bounded so that stopping the layer never waits long for a silent device.
constexpr int DelaiReponseMax = 500;

// QSettings splits an unquoted value at its commas: joined back, as written.
QString Valeur(const QSettings& s, const char* cle)
{
    const QVariant v = s.value(QLatin1String(cle));
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(',')).trimmed();
    return v.toString().trimmed();
}

bool Entier(const QString& texte, int min, int max, int& valeur)
{
    bool ok = false;
    const int n = texte.toInt(&ok);
    if (!ok || n < min || n > max)
        return false;
    valeur = n;
    return true;
}
}

bool LireListeAppareils(const QString& texte, std::vector<int>& appareils)
{
    std::set<int> numeros;
    const auto valide = [](int n) { return EstKMT(n) || EstQFL(n); };
    for (const QString& morceau : texte.split(QLatin1Char(','))) {
        const QString m = morceau.trimmed();
        if (m.isEmpty())
            return false;
        const QStringList bornes = m.split(QLatin1Char('-'));
        bool ok1 = false, ok2 = true;
        const int debut = bornes[0].trimmed().toInt(&ok1);
        int fin = debut;
        if (bornes.size() == 2)
            fin = bornes[1].trimmed().toInt(&ok2);
        if (bornes.size() > 2 || !ok1 || !ok2 || fin < debut || !valide(debut) || !valide(fin))
            return false;
        for (int n = debut; n <= fin; ++n)
            if (valide(n))
                numeros.insert(n);
    }
    if (numeros.empty())
        return false;
    appareils.assign(numeros.begin(), numeros.end());
    return true;
}

TLectureReseau LireConfigReseau(const QString& chemin, const QString& peripheriqueParDefaut)
{
    TLectureReseau lecture;
    TConfigReseau& c = lecture.Config;
    const QString fichier = QFileInfo(chemin).fileName();
    const auto refuser = [&](const char* section, const char* cle, const QString& valeur) {
        lecture.Utilisable = false;
        lecture.Message = QStringLiteral("%1 : [%2] %3 = \u00ab %4 \u00bb : valeur inutilisable")
                              .arg(fichier, QLatin1String(section), QLatin1String(cle), valeur);
        return lecture;
    };

    QSettings s(chemin, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) {
        lecture.Message = QStringLiteral("%1 : fichier illisible").arg(fichier);
        return lecture;
    }

    s.beginGroup(QStringLiteral("Liaison"));
    QString v = Valeur(s, "Type");
    if (v.isEmpty() || v.compare(QLatin1String("rtu"), Qt::CaseInsensitive) == 0)
        c.Type = TConfigReseau::TType::Rtu;
    else if (v.compare(QLatin1String("tcp"), Qt::CaseInsensitive) == 0)
        c.Type = TConfigReseau::TType::Tcp;
    else
        return refuser("Liaison", "Type", v);
    const bool rtu = c.Type == TConfigReseau::TType::Rtu;

    v = Valeur(s, "Peripherique");
    c.Peripherique = v.isEmpty() ? peripheriqueParDefaut : v;
    if (rtu && c.Peripherique.isEmpty())
        return refuser("Liaison", "Peripherique", v);

    v = Valeur(s, "Vitesse");
    if (!v.isEmpty()) {
        if (!Entier(v, 1, 1000000, c.Vitesse) || std::find(std::begin(Vitesses), std::end(Vitesses), c.Vitesse) == std::end(Vitesses))
            return refuser("Liaison", "Vitesse", v);
    }
    v = Valeur(s, "Parite");
    if (!v.isEmpty()) {
        const QString p = v.toUpper();
        if (p != QLatin1String("N") && p != QLatin1String("E") && p != QLatin1String("O"))
            return refuser("Liaison", "Parite", v);
        c.Parite = p.at(0).toLatin1();
    }
    v = Valeur(s, "BitsDeStop");
    if (!v.isEmpty() && !Entier(v, 1, 2, c.BitsDeStop))
        return refuser("Liaison", "BitsDeStop", v);

    v = Valeur(s, "Hote");
    c.Hote = v;
    if (!rtu && (c.Hote.isEmpty() || c.Hote.contains(QLatin1Char(' '))))
        return refuser("Liaison", "Hote", v);
    v = Valeur(s, "Port");
    if (!v.isEmpty() && !Entier(v, 1, 65535, c.Port))
        return refuser("Liaison", "Port", v);
    v = Valeur(s, "DelaiReponse");
    if (!v.isEmpty() && !Entier(v, DelaiReponseMin, DelaiReponseMax, c.DelaiReponse))
        return refuser("Liaison", "DelaiReponse", v);
    s.endGroup();

    s.beginGroup(QStringLiteral("Appareils"));
    if (s.contains(QStringLiteral("Liste"))) {
        v = Valeur(s, "Liste");
        if (!LireListeAppareils(v, c.Appareils))
            return refuser("Appareils", "Liste", v);
        c.ListeDonnee = true;
    }
    s.endGroup();

    s.beginGroup(QStringLiteral("RechercheAuto"));
    v = Valeur(s, "Liste");
    if (!v.isEmpty()) {
        std::vector<int> kmt;
        if (!LireListeAppareils(v, kmt) || !std::all_of(kmt.begin(), kmt.end(), [](int n) { return EstKMT(n); }))
            return refuser("RechercheAuto", "Liste", v);
        c.RechercheAuto = kmt;
    }
    s.endGroup();

    lecture.Utilisable = true;
    return lecture;
}

std::vector<int> LireRechercheAuto(const QString& chemin)
{
    QSettings s(chemin, QSettings::IniFormat);
    std::vector<int> kmt;
    const QString v = Valeur(s, "RechercheAuto/Liste");
    if (v.isEmpty() || !LireListeAppareils(v, kmt))
        return {};
    kmt.erase(std::remove_if(kmt.begin(), kmt.end(), [](int n) { return !EstKMT(n); }), kmt.end());
    return kmt;
}

QString TexteListeAppareils(std::vector<int> appareils)
{
    std::sort(appareils.begin(), appareils.end());
    appareils.erase(std::unique(appareils.begin(), appareils.end()), appareils.end());
    QStringList morceaux;
    for (std::size_t i = 0; i < appareils.size();) {
        std::size_t j = i;
        while (j + 1 < appareils.size() && appareils[j + 1] == appareils[j] + 1)
            ++j;
        morceaux << (j == i ? QString::number(appareils[i])
                            : QStringLiteral("%1-%2").arg(appareils[i]).arg(appareils[j]));
        i = j + 1;
    }
    return morceaux.join(QLatin1Char(','));
}

bool EcrireRechercheAuto(const QString& chemin, const std::vector<int>& kmt)
{
    QSettings s(chemin, QSettings::IniFormat);
    s.setValue(QStringLiteral("RechercheAuto/Liste"), TexteListeAppareils(kmt));
    s.sync();
    return s.status() == QSettings::NoError;
}

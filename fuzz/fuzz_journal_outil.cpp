// The reader behind "veilleur-journal export" and "verifier" on arbitrary
// bytes: every whole record is exported in both formats and checked; each
// JSON line must stay valid JSON whatever the record holds, and each number
// written must read back as the very double it came from.
#include "journal/ExportJournal.h"
#include "journal/LecteurJournal.h"
#include "journal/TendanceJournal.h"
#include "journal/VerificationJournal.h"

#include <QByteArray>
#include <QJsonDocument>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const auto* octets = reinterpret_cast<const char*>(donnees);
    const TLangue langue = taille > 0 ? TLangue(donnees[0] % 4) : 0;  // 3: out of range, reads French
    const TExportJournal csv(TFormatExport::Csv, langue);
    const TExportJournal json(TFormatExport::Json, langue);
    TVerificationJournal verification(45366.0);
    TTendanceJournal tendance(45000.0, 46000.0);
    std::string lignesCsv, ligneJson, rapport;
    const qint64 n = LecteurJournal::ParcourirOctets(octets, qint64(taille), 0, [&](const TEntreeLog& e, qint64 index) {
        csv.Ligne(lignesCsv, e, index);
        ligneJson.clear();
        json.Ligne(ligneJson, e, index);
        QJsonParseError erreur{};
        QJsonDocument::fromJson(QByteArray::fromStdString(ligneJson), &erreur);
        if (erreur.error != QJsonParseError::NoError || ligneJson.back() != '\n')
            __builtin_trap();
        for (const double v : {e.DateHeure, e.Valeur1, e.Valeur2, e.Valeur3}) {
            if (!std::isfinite(v))
                continue;
            std::string texte;
            ExportJournal::AjouterNombre(texte, v);
            double relu = 0;
            const auto r = std::from_chars(texte.data(), texte.data() + texte.size(), relu);
            if (r.ec != std::errc() || r.ptr != texte.data() + texte.size() || relu != v)
                __builtin_trap();
        }
        verification.Examiner(e, index, rapport);
        tendance.Ajouter(e);
    });
    verification.Terminer(n, qint64(taille) - n * TailleEntreeLog, rapport);
    for (const TTendanceOrigine& r : tendance.Resultats())
        rapport += TTendanceJournal::Texte(r);
    if (n != qint64(taille / TailleEntreeLog))
        __builtin_trap();
    return 0;
}

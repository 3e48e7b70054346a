#include "journal/SourcesJournal.h"

#include "data/ConfigSet.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace {

std::string Csv(const std::string& texte)
{
    if (texte.find_first_of(",\"\r\n") == std::string::npos)
        return texte;
    std::string cite = "\"";
    for (char c : texte) {
        if (c == '"')
            cite += '"';
        cite += c;
    }
    return cite + '"';
}

std::string Json(const std::string& texte)
{
    static const char* const Hex = "0123456789abcdef";
    std::string echappe = "\"";
    for (char c : texte) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            echappe += '\\';
            echappe += c;
        } else if (u < 0x20) {
            echappe += "\\u00";
            echappe += Hex[u >> 4];
            echappe += Hex[u & 15];
        } else {
            echappe += c;
        }
    }
    return echappe + '"';
}

} // namespace

std::optional<TSourcesJournal> TSourcesJournal::Charger(const QString& cheminJournal)
{
    const QString chemin = QFileInfo(cheminJournal).absoluteDir().filePath(QString::fromLatin1(NomFichierConfig));
    if (!QFileInfo(chemin).isFile())
        return std::nullopt;
    TConfigSet config{};
    if (!ChargerConfig(config, chemin))
        return std::nullopt;
    TSourcesJournal sources;
    for (int origine = 0; origine < 256; ++origine) {
        const int source = EstKMT(origine) ? origine : EstQFL(origine) ? origine - DecalageQFL : 0;
        if (source > 0)
            sources.m_noms[size_t(origine)] = LireChaine(config.NomsSources[source]);
    }
    return sources;
}

std::optional<QString> TSourcesJournal::Nom(int origine) const
{
    return origine >= 0 && origine < 256 ? m_noms[size_t(origine)] : std::nullopt;
}

void TSourcesJournal::PreparerExport(TFormatExport format)
{
    m_format = format;
    for (std::size_t origine = 0; origine < m_champs.size(); ++origine) {
        const std::optional<QString>& nom = m_noms[origine];
        const std::string texte = nom ? nom->toStdString() : std::string();
        if (format == TFormatExport::Csv)
            m_champs[origine] = "," + Csv(texte);
        else
            m_champs[origine] = ",\"source\":" + (nom ? Json(texte) : std::string("null"));
    }
}

void TSourcesJournal::CompleterEnTete(std::string& entete) const
{
    if (m_format == TFormatExport::Csv && entete.ends_with("\r\n"))
        entete.insert(entete.size() - 2, ",source");
}

char* TSourcesJournal::CompleterLigne(char* fin, int origine) const
{
    const std::string& champ = m_champs[size_t(origine & 0xFF)];
    char* p = fin - 2;
    const char terminaison[2] = {p[0], p[1]};
    std::memcpy(p, champ.data(), champ.size());
    p += champ.size();
    *p++ = terminaison[0];
    *p++ = terminaison[1];
    return p;
}

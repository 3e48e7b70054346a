#include "screens/CadreJournal.h"

#include "data/Chaine1252.h"
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "text/MessagesVeilleur.h"
#include "widgets/Controles.h"

#include <QHeaderView>
#include <QLocale>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

#include <algorithm>

namespace {

enum Colonne { ColonneEvenement, ColonneDate, ColonneOrigine, ColonneInfos, NbColonnes };

// An entry of the list; its order is the comparison the screen is sorting with.
class TElementJournal : public QTreeWidgetItem {
public:
    explicit TElementJournal(const TFrameJournal::TTriEnCours& tri) : m_tri(tri) {}

    bool operator<(const QTreeWidgetItem& autre) const override
    {
        return m_tri.Fonction(this, &autre, m_tri.Colonne) < 0;
    }

private:
    const TFrameJournal::TTriEnCours& m_tri;
};

inline std::uint8_t Plier(QChar c)
{
    std::uint8_t code = Chaine1252::DepuisUnicode(c.unicode());
    if (code >= 'a' && code <= 'z')
        code = static_cast<std::uint8_t>(code - ('a' - 'A'));
    return code;
}

void AjouterDeuxChiffres(QString& s, int n)
{
    s += QLatin1Char(static_cast<char>('0' + n / 10 % 10));
    s += QLatin1Char(static_cast<char>('0' + n % 10));
}

// The width a date and time of the list takes in its column, margins
// included, with the system's separators (digits all have one width).
int LargeurDate(const QTreeWidget& liste)
{
    const QLocale locale = QLocale::system();
    const QString exemple = TFrameJournal::FormaterDateHeure(
        DateVeilleur::DepuisDateTime(QDateTime(QDate(2028, 8, 28), QTime(18, 48, 58, 888))),
        DateVeilleur::SeparateurDate(locale), DateVeilleur::SeparateurHeure(locale));
    // Measured as the list's items measure their texts.
    QStyleOptionViewItem option;
    option.initFrom(liste.viewport());
    option.font = liste.font();
    option.fontMetrics = QFontMetrics(option.font);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = exemple;
    return liste.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &liste).width();
}

} // namespace

TFrameJournal::TFrameJournal(QWidget* parent)
    : TFrameEnhanced(parent)
{
    setFont(PoliceEcran(13));

    ListViewJournal = NouveauControle<QTreeWidget>(this, QStringLiteral("ListViewJournal"), QRect(8, 8, 737, 617));
    ListViewJournal->setFont(PoliceEcran(13));
    ListViewJournal->setColumnCount(NbColonnes);
    ListViewJournal->setRootIsDecorated(false);
    ListViewJournal->setItemsExpandable(false);
    ListViewJournal->setUniformRowHeights(true);
    ListViewJournal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewJournal->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewJournal->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewJournal->setSortingEnabled(false);
    ListViewJournal->setColumnWidth(ColonneEvenement, 200);
    const int largeurDate = std::max(150, LargeurDate(*ListViewJournal));
    ListViewJournal->setColumnWidth(ColonneDate, largeurDate);
    ListViewJournal->setColumnWidth(ColonneOrigine, 100);
    // The last column gives up what the wider date takes beyond the room the
    // list has beside its vertical scroll bar.
    ListViewJournal->ensurePolished();
    const int place = ListViewJournal->width() - 2 * ListViewJournal->frameWidth()
                    - ListViewJournal->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ListViewJournal);
    ListViewJournal->setColumnWidth(ColonneInfos, std::min(260, place - 200 - largeurDate - 100));
    QHeaderView* entete = ListViewJournal->header();
    entete->setStretchLastSection(false);
    entete->setSectionsMovable(false);
    entete->setSectionsClickable(true);
    entete->setSortIndicatorShown(false);
    connect(entete, &QHeaderView::sectionClicked, this,
            [this](int colonne) { ListViewJournalColumnClick(colonne); });
}

void TFrameJournal::ChangerLangue(TLangue langue)
{
    TFrameEnhanced::ChangerLangue(langue);
    ListViewJournal->setHeaderLabels({Texte(MsgJournalEvenement, langue), Texte(MsgJournalDateEtHeure, langue),
                                      Texte(MsgJournalOrigine, langue),
                                      Texte(MsgJournalInfosComplementaires, langue)});
    // Qt paints double-buffered already; only the repaint remains.
    ListViewJournal->viewport()->update();
}

void TFrameJournal::Initialiser()
{
    ColonneTri = -1;
    TriCroissant = true;
}

void TFrameJournal::Actualiser(const TTamponJournal& tampon)
{
    ListViewJournal->clear();
    // A count beyond the buffer (a damaged block) is never followed out of it.
    const int nb = std::min<int>(tampon.NbEntrees, CapaciteTampon);
    if (nb == 0)
        return;

    ListViewJournal->hide();
    ListViewJournal->setUpdatesEnabled(false);
    const QLocale locale = QLocale::system();
    const QChar separateurDate = DateVeilleur::SeparateurDate(locale);
    const QChar separateurHeure = DateVeilleur::SeparateurHeure(locale);
    QList<QTreeWidgetItem*> elements;
    elements.reserve(nb);
    for (int k = nb; k >= 1; --k) {
        const TEntreeLog& e = tampon.Entrees[k];
        auto* element = new TElementJournal(m_triEnCours);
        QString nom = e.Code < NbCodesEvenements ? NomEvenement(e.Code, tampon.Langue) : QString();
        if (nom.isEmpty())
            nom = QLatin1Char('?') + QString::number(e.Code);
        element->setText(ColonneEvenement, nom);
        element->setText(ColonneDate, FormaterDateHeure(e.DateHeure, separateurDate, separateurHeure));
        element->setText(ColonneOrigine, QString::number(e.Origine));
        element->setText(ColonneInfos, LireChaine(e.InfosCompl));
        elements.append(element);
    }
    ListViewJournal->addTopLevelItems(elements);
    // The fresh list counts as sorted by date, newest first.
    ColonneTri = ColonneDate;
    TriCroissant = false;
    ListViewJournal->setUpdatesEnabled(true);
    ListViewJournal->show();
}

void TFrameJournal::ListViewJournalColumnClick(int colonne)
{
    if (colonne == ColonneTri && TriCroissant) {
        Trier(&ComparerDecroissant, colonne);
        TriCroissant = false;
    } else {
        Trier(&ComparerCroissant, colonne);
        TriCroissant = true;
    }
    ColonneTri = colonne;
}

void TFrameJournal::Trier(TComparaison comparaison, int colonne)
{
    m_triEnCours.Fonction = comparaison;
    m_triEnCours.Colonne = colonne;
    // The items' own order is the comparison: an ascending sort by it keeps
    // the items and only moves them.
    ListViewJournal->sortItems(colonne, Qt::AscendingOrder);
}

int TFrameJournal::ComparerTextes(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const int difference = int(Plier(pa[i])) - int(Plier(pb[i]));
        if (difference != 0)
            return difference;
    }
    return static_cast<int>(std::clamp<qsizetype>(a.size() - b.size(), -1000000, 1000000));
}

int TFrameJournal::ComparerCroissant(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int colonne)
{
    return ComparerTextes(a->text(colonne), b->text(colonne));
}

int TFrameJournal::ComparerDecroissant(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int colonne)
{
    return -ComparerCroissant(a, b, colonne);
}

QString TFrameJournal::FormaterDateHeure(double jours, QChar separateurDate, QChar separateurHeure)
{
    QDate date;
    QTime heure;
    QString s;
    s.reserve(32);
    if (!DateVeilleur::VersDateEtHeure(jours, date, heure)) {
        s += QLatin1String("--") + separateurDate + QLatin1String("--") + separateurDate
             + QLatin1String("-- - --") + separateurHeure + QLatin1String("--'--''---ms");
        return s;
    }
    AjouterDeuxChiffres(s, date.day());
    s += separateurDate;
    AjouterDeuxChiffres(s, date.month());
    s += separateurDate;
    AjouterDeuxChiffres(s, date.year() % 100);
    s += QLatin1String(" - ");
    AjouterDeuxChiffres(s, heure.hour());
    s += separateurHeure;
    AjouterDeuxChiffres(s, heure.minute());
    s += QLatin1Char('\'');
    AjouterDeuxChiffres(s, heure.second());
    s += QLatin1String("''");
    const int ms = heure.msec();
    s += QLatin1Char(static_cast<char>('0' + ms / 100));
    AjouterDeuxChiffres(s, ms % 100);
    s += QLatin1String("ms");
    return s;
}

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
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>
#include <limits>

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
        elements.append(NouvelElement(tampon.Entrees[k], tampon.Langue, separateurDate, separateurHeure));
        // Rows count their age from the oldest entry up.
        elements.back()->setData(ColonneEvenement, Qt::UserRole, qint64(k));
    }
    m_sequence = nb;
    ListViewJournal->addTopLevelItems(elements);
    // The fresh list counts as sorted by date, newest first.
    ColonneTri = ColonneDate;
    TriCroissant = false;
    m_ordreDeRemplissage = true;
    ListViewJournal->setUpdatesEnabled(true);
    ListViewJournal->show();
}

QTreeWidgetItem* TFrameJournal::NouvelElement(const TEntreeLog& e, TLangue langue, QChar separateurDate,
                                              QChar separateurHeure)
{
    auto* element = new TElementJournal(m_triEnCours);
    QString nom = e.Code < NbCodesEvenements ? NomEvenement(e.Code, langue) : QString();
    if (nom.isEmpty())
        nom = QLatin1Char('?') + QString::number(e.Code);
    element->setText(ColonneEvenement, nom);
    element->setText(ColonneDate, FormaterDateHeure(e.DateHeure, separateurDate, separateurHeure));
    element->setText(ColonneOrigine, QString::number(e.Origine));
    element->setText(ColonneInfos, LireChaine(e.InfosCompl));
    return element;
}

int TFrameJournal::NbLignes() const
{
    return ListViewJournal->topLevelItemCount();
}

void TFrameJournal::AjouterEntrees(const std::vector<TEntreeLog>& entrees, TLangue langue)
{
    if (entrees.empty())
        return;
    const QLocale locale = QLocale::system();
    const QChar separateurDate = DateVeilleur::SeparateurDate(locale);
    const QChar separateurHeure = DateVeilleur::SeparateurHeure(locale);
    QScrollBar* defilement = ListViewJournal->verticalScrollBar();
    const bool enHaut = defilement->value() == defilement->minimum();
    QTreeWidgetItem* premierVisible = ListViewJournal->itemAt(0, 0);

    // The order the rows are in now, by the clicked column and direction.
    const TComparaison comparaison = TriCroissant ? &ComparerCroissant : &ComparerDecroissant;
    const int colonne = ColonneTri;
    for (const TEntreeLog& e : entrees) {
        QTreeWidgetItem* element = NouvelElement(e, langue, separateurDate, separateurHeure);
        element->setData(ColonneEvenement, Qt::UserRole, ++m_sequence);
        int place = 0;
        if (!m_ordreDeRemplissage && colonne >= 0 && colonne < NbColonnes) {
            // After the rows it does not sort before: equal keys keep their arrival order.
            int bas = 0, haut = ListViewJournal->topLevelItemCount();
            while (bas < haut) {
                const int milieu = (bas + haut) / 2;
                if (comparaison(element, ListViewJournal->topLevelItem(milieu), colonne) < 0)
                    haut = milieu;
                else
                    bas = milieu + 1;
            }
            place = bas;
        }
        ListViewJournal->insertTopLevelItem(place, element);
    }
    // Bounded like the buffer: the oldest rows leave first.
    while (ListViewJournal->topLevelItemCount() > CapaciteTampon) {
        int plusAncien = 0;
        qint64 sequence = std::numeric_limits<qint64>::max();
        for (int i = 0; i < ListViewJournal->topLevelItemCount(); ++i) {
            const qint64 s = ListViewJournal->topLevelItem(i)->data(ColonneEvenement, Qt::UserRole).toLongLong();
            if (s < sequence) {
                sequence = s;
                plusAncien = i;
            }
        }
        if (ListViewJournal->topLevelItem(plusAncien) == premierVisible)
            premierVisible = nullptr;
        delete ListViewJournal->takeTopLevelItem(plusAncien);
    }
    if (enHaut)
        defilement->setValue(defilement->minimum());
    else if (premierVisible)
        ListViewJournal->scrollToItem(premierVisible, QAbstractItemView::PositionAtTop);
}

void TFrameJournal::ListViewJournalColumnClick(int colonne)
{
    m_ordreDeRemplissage = false;
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
    // 0 is the date of no event (a record never written), not 30/12/1899.
    if (jours == 0.0 || !DateVeilleur::VersDateEtHeure(jours, date, heure)) {
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

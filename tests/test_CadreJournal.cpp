#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "screens/CadreJournal.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QLocale>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <cstring>
#include <limits>
#include <memory>

namespace {

double Jour(int annee, int mois, int jour, int h = 12, int m = 0, int s = 0, int ms = 0)
{
    return DateVeilleur::DepuisDateTime(QDateTime(QDate(annee, mois, jour), QTime(h, m, s, ms)));
}

struct Journal : ::testing::Test {
    std::unique_ptr<TTamponJournal> tampon = std::make_unique<TTamponJournal>();
    std::unique_ptr<TFrameJournal> ecran = std::make_unique<TFrameJournal>();
    QTreeWidget* liste = ecran->findChild<QTreeWidget*>(QStringLiteral("ListViewJournal"));
    // The separators the screen takes from the system locale ("C" under CTest).
    QChar sepDate = DateVeilleur::SeparateurDate(QLocale::system());
    QChar sepHeure = DateVeilleur::SeparateurHeure(QLocale::system());

    Journal()
    {
        std::memset(tampon.get(), 0, sizeof *tampon);
    }

    void Ajouter(std::uint8_t code, std::uint8_t origine, double date, const char* infos = "")
    {
        TEntreeLog& e = tampon->Entrees[++tampon->NbEntrees];
        e.Code = code;
        e.Origine = origine;
        e.DateHeure = date;
        EcrireChaine(e.InfosCompl, QString::fromUtf8(infos));
    }

    void Ouvrir(TLangue langue)
    {
        tampon->Langue = langue;
        ecran->ChangerLangue(langue);
        ecran->Initialiser();
        ecran->Actualiser(*tampon);
    }

    QStringList Colonne(int colonne) const
    {
        QStringList textes;
        for (int i = 0; i < liste->topLevelItemCount(); ++i)
            textes << liste->topLevelItem(i)->text(colonne);
        return textes;
    }

    void CliquerEntete(int colonne)
    {
        QHeaderView* entete = liste->header();
        const QPoint centre(entete->sectionViewportPosition(colonne) + entete->sectionSize(colonne) / 2,
                            entete->height() / 2);
        QTest::mouseClick(entete->viewport(), Qt::LeftButton, {}, centre);
    }

    std::pair<int, bool> Tri() const { return {ecran->ColonneDeTri(), ecran->TriEstCroissant()}; }
};

TEST_F(Journal, ListLayoutAndHeadingsInEachLanguage)
{
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->geometry(), QRect(8, 8, 737, 617));
    EXPECT_EQ(liste->columnCount(), 4);
    EXPECT_EQ(liste->columnWidth(0), 200);
    EXPECT_EQ(liste->columnWidth(2), 100);
    EXPECT_LE(liste->columnWidth(3), 260);
    EXPECT_GE(liste->columnWidth(3), 250);
    EXPECT_FALSE(liste->rootIsDecorated());
    EXPECT_EQ(liste->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(liste->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(liste->isSortingEnabled()) << "header clicks belong to the screen";

    ecran->ChangerLangue(LangueFrancais);
    QTreeWidgetItem* entete = liste->headerItem();
    EXPECT_EQ(entete->text(0), QStringLiteral("Evènement"));
    EXPECT_EQ(entete->text(1), QStringLiteral("Date et Heure"));
    EXPECT_EQ(entete->text(2), QStringLiteral("Origine"));
    EXPECT_EQ(entete->text(3), QStringLiteral("Infos complémentaires"));
    ecran->ChangerLangue(LangueAnglais);
    EXPECT_EQ(entete->text(0), QStringLiteral("Event"));
    EXPECT_EQ(entete->text(2), QStringLiteral("From"));
    ecran->ChangerLangue(LangueEspagnol);
    EXPECT_EQ(entete->text(1), QStringLiteral("Fecha y hora"));
    EXPECT_EQ(entete->text(3), QStringLiteral("Otras informaciones"));
}

TEST_F(Journal, ThreeEntriesListedNewestFirstInTheBuffersLanguage)
{
    const double d1 = Jour(2026, 12, 6, 17, 40, 5, 123);
    Ajouter(7, 12, d1, "premier");
    Ajouter(7, 26, d1 + 1.0 / 24);
    Ajouter(7, 12, d1 + 2.0 / 24, "troisième");
    Ouvrir(LangueFrancais);
    ASSERT_EQ(liste->topLevelItemCount(), 3);
    EXPECT_EQ(Colonne(0), QStringList(3, QStringLiteral("Préalarme KMT")));
    EXPECT_EQ(Colonne(2), (QStringList{"12", "26", "12"}));
    EXPECT_EQ(Colonne(3), (QStringList{QStringLiteral("troisième"), QString(), QStringLiteral("premier")}));
    EXPECT_EQ(liste->topLevelItem(2)->text(1), TFrameJournal::FormaterDateHeure(d1, sepDate, sepHeure));
    EXPECT_EQ(liste->topLevelItem(2)->text(1),
              QStringLiteral("06") + sepDate + "12" + sepDate + "26 - 17" + sepHeure + "40'05''123ms");
    EXPECT_EQ(Tri(), std::pair(1, false));
    EXPECT_TRUE(liste->isVisibleTo(ecran.get()));

    // The screen is rebuilt, not relabelled, for another language.
    ecran = std::make_unique<TFrameJournal>();
    liste = ecran->findChild<QTreeWidget*>(QStringLiteral("ListViewJournal"));
    Ouvrir(LangueAnglais);
    EXPECT_EQ(Colonne(0), QStringList(3, QStringLiteral("KMT prealarm")));
    // Filling again replaces the rows.
    ecran->Actualiser(*tampon);
    EXPECT_EQ(liste->topLevelItemCount(), 3);
}

TEST_F(Journal, DatesUseTheLocaleSeparatorsAndMilliseconds)
{
    const double d = Jour(2026, 12, 6, 17, 40, 5, 123);
    EXPECT_EQ(TFrameJournal::FormaterDateHeure(d, '/', ':'), QStringLiteral("06/12/26 - 17:40'05''123ms"));
    EXPECT_EQ(TFrameJournal::FormaterDateHeure(Jour(2001, 2, 3, 4, 5, 6, 7), '.', '.'),
              QStringLiteral("03.02.01 - 04.05'06''007ms"));
    // 999.6 ms rounds to the next second, 0.4 ms to none.
    EXPECT_EQ(TFrameJournal::FormaterDateHeure(Jour(2026, 12, 6, 23, 59, 59) + 0.9996 / 86400, '/', ':'),
              QStringLiteral("07/12/26 - 00:00'00''000ms"));
    EXPECT_EQ(TFrameJournal::FormaterDateHeure(d + 0.0004 / 86400, '/', ':'),
              QStringLiteral("06/12/26 - 17:40'05''123ms"));

    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale(QStringLiteral("fr_FR"))), QLatin1Char('/'));
    EXPECT_EQ(DateVeilleur::SeparateurHeure(QLocale(QStringLiteral("fr_FR"))), QLatin1Char(':'));
    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale(QStringLiteral("de_DE"))), QLatin1Char('.'));
    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale(QStringLiteral("sv_SE"))), QLatin1Char('-'));
    EXPECT_EQ(DateVeilleur::SeparateurHeure(QLocale(QStringLiteral("fi_FI"))), QLatin1Char('.'));
    EXPECT_EQ(DateVeilleur::SeparateurHeure(QLocale(QStringLiteral("en_US"))), QLatin1Char(':'));
    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale(QStringLiteral("ar_EG"))), QLatin1Char('/'))
        << "invisible direction marks are skipped";
    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale(QStringLiteral("bg_BG"))), QLatin1Char('.'));
    // "d MMM yyyy": blanks only, the classic slash.
    EXPECT_EQ(DateVeilleur::SeparateurDate(QLocale::c()), QLatin1Char('/'));
    EXPECT_EQ(DateVeilleur::SeparateurHeure(QLocale::c()), QLatin1Char(':'));
}

TEST_F(Journal, WholeDateAndTimeFitInTheirColumn)
{
    // Every digit at its widest, and the longest times of day.
    Ajouter(7, 63, Jour(2028, 8, 28, 18, 48, 58, 888), "x");
    Ajouter(7, 63, Jour(2000, 10, 30, 20, 40, 50, 0));
    Ajouter(7, 1, std::numeric_limits<double>::quiet_NaN());
    Ouvrir(LangueFrancais);
    ecran->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ecran.get()));
    // The column is widened just enough to show the date whole, never cut to
    // an ellipsis, and the four columns still fit beside a vertical scroll bar.
    EXPECT_GE(liste->columnWidth(1), 150);
    EXPECT_LE(liste->columnWidth(1), 150 + 27);
    for (int i = 0; i < 40; ++i)
        Ajouter(7, 2, Jour(2026, 12, 1) + i);
    Ouvrir(LangueFrancais);
    QCoreApplication::processEvents();
    ASSERT_TRUE(liste->verticalScrollBar()->isVisible());
    EXPECT_FALSE(liste->horizontalScrollBar()->isVisible());
    EXPECT_LE(liste->header()->length(), liste->viewport()->width());
    // The width the list's own item drawing needs for the text and its margins.
    QStyleOptionViewItem option;
    option.initFrom(liste->viewport());
    option.font = liste->font();
    option.fontMetrics = QFontMetrics(option.font);
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        const QModelIndex index = liste->model()->index(i, 1);
        EXPECT_LE(liste->itemDelegateForIndex(index)->sizeHint(option, index).width(), liste->columnWidth(1))
            << qPrintable(index.data().toString());
    }
    // The list keeps the station's ordinary face and size.
    EXPECT_EQ(liste->font().pixelSize(), 13);
    EXPECT_FALSE(liste->font().bold());
}

// Sets the process's time zone for a test's lifetime.
class TFuseau {
public:
    explicit TFuseau(const char* fuseau) : m_avant(qgetenv("TZ")), m_defini(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", fuseau);
        tzset();
    }
    ~TFuseau()
    {
        if (m_defini)
            qputenv("TZ", m_avant);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_avant;
    bool m_defini;
};

// A count is the wall-clock time it was written with: the half hour the
// clocks skip in spring and the one they repeat in autumn show as written.
TEST_F(Journal, WallClockTimesAcrossTheClockChanges)
{
    TFuseau paris("Europe/Paris");
    const QDateTime saute(QDate(2026, 3, 29), QTime(2, 30));
    ASSERT_TRUE(!saute.isValid() || saute.time() != QTime(2, 30)) << "02:30 is skipped on 29/03/26 in Paris";
    auto compte = [](const QDate& date, int h, int m) {
        return double(QDate(1899, 12, 30).daysTo(date)) + (h * 60 + m) / 1440.0;
    };
    Ajouter(7, 12, compte(QDate(2026, 3, 29), 2, 30));
    Ajouter(7, 12, compte(QDate(2026, 10, 25), 2, 30));
    Ouvrir(LangueFrancais);
    auto texte = [&](const char* jour, const char* heure) {
        return QString::fromLatin1(jour).replace(QLatin1Char('/'), sepDate) + QStringLiteral(" - ")
             + QString::fromLatin1(heure).replace(QLatin1Char(':'), sepHeure) + QStringLiteral("'00''000ms");
    };
    EXPECT_EQ(Colonne(1).join(QStringLiteral(" | ")).toStdString(),
              (texte("25/10/26", "02:30") + QStringLiteral(" | ") + texte("29/03/26", "02:30")).toStdString());
}

TEST_F(Journal, ColumnClicksFollowTheSortRules)
{
    Ajouter(8, 3, Jour(2026, 12, 1), "b");
    Ajouter(7, 12, Jour(2026, 12, 2), "A");
    Ajouter(0, 26, Jour(2026, 12, 3), "a");
    Ajouter(7, 12, Jour(2026, 12, 4), "");
    Ouvrir(LangueFrancais);
    EXPECT_EQ(Colonne(2), (QStringList{"12", "26", "12", "3"}));

    CliquerEntete(2);  // origins as text: "12" before "3"
    EXPECT_EQ(Colonne(2), (QStringList{"12", "12", "26", "3"}));
    EXPECT_EQ(Tri(), std::pair(2, true));
    CliquerEntete(2);
    EXPECT_EQ(Colonne(2), (QStringList{"3", "26", "12", "12"}));
    EXPECT_EQ(Tri(), std::pair(2, false));
    CliquerEntete(0);
    EXPECT_EQ(Colonne(0), (QStringList{"Alarme KMT", "Lancement du veilleur", "Préalarme KMT", "Préalarme KMT"}));
    EXPECT_EQ(Tri(), std::pair(0, true));
    CliquerEntete(3);  // "a" and "A" are equal: the order they had stays
    EXPECT_EQ(Colonne(3), (QStringList{"", "a", "A", "b"}));
    CliquerEntete(3);
    EXPECT_EQ(Colonne(3), (QStringList{"b", "a", "A", ""}));
    EXPECT_EQ(liste->topLevelItemCount(), 4);
}

TEST_F(Journal, FirstDateClickSortsAscendingByTextDayFirst)
{
    Ajouter(7, 12, Jour(2026, 12, 31));
    Ajouter(7, 26, Jour(2027, 1, 2));
    Ouvrir(LangueFrancais);
    ASSERT_TRUE(Colonne(1)[0].startsWith(QStringLiteral("02")));
    CliquerEntete(1);
    EXPECT_EQ(Tri(), std::pair(1, true));
    EXPECT_TRUE(Colonne(1)[0].startsWith(QStringLiteral("02") + sepDate + "01" + sepDate + "27"));
    EXPECT_TRUE(Colonne(1)[1].startsWith(QStringLiteral("31") + sepDate + "12" + sepDate + "26"));
    CliquerEntete(1);
    EXPECT_TRUE(Colonne(1)[0].startsWith(QStringLiteral("31")));
}

TEST_F(Journal, ComparisonFoldsAsciiLettersOnlyAndPutsPrefixesFirst)
{
    EXPECT_EQ(TFrameJournal::ComparerTextes(QStringLiteral("abc"), QStringLiteral("ABC")), 0);
    EXPECT_LT(TFrameJournal::ComparerTextes(QStringLiteral("ab"), QStringLiteral("ABC")), 0);
    EXPECT_GT(TFrameJournal::ComparerTextes(QStringLiteral("b"), QStringLiteral("A")), 0);
    // Accented letters are not folded and compare by their Windows-1252 codes.
    EXPECT_EQ(TFrameJournal::ComparerTextes(QStringLiteral("é"), QStringLiteral("É")), 0xE9 - 0xC9);
    EXPECT_GT(TFrameJournal::ComparerTextes(QStringLiteral("é"), QStringLiteral("z")), 0);
    // The euro sign is 0x80 in the code page, below every accented letter.
    EXPECT_LT(TFrameJournal::ComparerTextes(QStringLiteral("€"), QStringLiteral("à")), 0);
    EXPECT_LT(TFrameJournal::ComparerTextes(QStringLiteral("12"), QStringLiteral("3")), 0);
    // '_' (0x5F) lies between the folded capitals and the lower case letters.
    EXPECT_GT(TFrameJournal::ComparerTextes(QStringLiteral("_"), QStringLiteral("z")), 0);

    QTreeWidgetItem a({QStringLiteral("x"), QStringLiteral("Alpha")});
    QTreeWidgetItem b({QStringLiteral("x"), QStringLiteral("beta")});
    EXPECT_LT(TFrameJournal::ComparerCroissant(&a, &b, 1), 0);
    EXPECT_GT(TFrameJournal::ComparerDecroissant(&a, &b, 1), 0);
    EXPECT_EQ(TFrameJournal::ComparerCroissant(&a, &b, 0), 0);
}

TEST_F(Journal, DamagedEntryIsShownSafely)
{
    Ajouter(200, 255, std::numeric_limits<double>::quiet_NaN());
    tampon->Entrees[1].InfosCompl.Longueur = 255;
    std::memset(tampon->Entrees[1].InfosCompl.Car, 'x', LongueurMaxInfosCompl);
    Ajouter(7, 1, std::numeric_limits<double>::infinity());
    Ajouter(7, 1, 1e300);
    Ouvrir(LangueAnglais);
    ASSERT_EQ(liste->topLevelItemCount(), 3);
    const QString vide = QStringLiteral("--%1--%1-- - --%2--'--''---ms").arg(sepDate).arg(sepHeure);
    EXPECT_EQ(Colonne(1), QStringList(3, vide));
    QTreeWidgetItem* abime = liste->topLevelItem(2);
    EXPECT_EQ(abime->text(0), QStringLiteral("?200"));
    EXPECT_EQ(abime->text(2), QStringLiteral("255"));
    EXPECT_EQ(abime->text(3), QString(LongueurMaxInfosCompl, QLatin1Char('x')));

    // A count beyond the buffer never reads past it.
    tampon->NbEntrees = 65535;
    ecran->Actualiser(*tampon);
    EXPECT_EQ(liste->topLevelItemCount(), CapaciteTampon);
}

TEST_F(Journal, EmptyBufferAndHeaderClicksOnlyUpdateTheSortState)
{
    Ouvrir(LangueFrancais);
    EXPECT_EQ(liste->topLevelItemCount(), 0);
    EXPECT_EQ(Tri(), std::pair(-1, true));
    CliquerEntete(1);
    EXPECT_EQ(Tri(), std::pair(1, true)) << "the first click on any header sorts ascending";
    CliquerEntete(1);
    EXPECT_EQ(Tri(), std::pair(1, false));
    CliquerEntete(3);
    EXPECT_EQ(Tri(), std::pair(3, true));
    EXPECT_EQ(liste->topLevelItemCount(), 0);
    EXPECT_FALSE(liste->header()->isSortIndicatorShown());

    // A filled list emptied by a later load keeps its sort state.
    Ajouter(7, 12, Jour(2026, 1, 1));
    ecran->Actualiser(*tampon);
    EXPECT_EQ(Tri(), std::pair(1, false));
    tampon->NbEntrees = 0;
    ecran->Actualiser(*tampon);
    EXPECT_EQ(liste->topLevelItemCount(), 0);
    EXPECT_EQ(Tri(), std::pair(1, false));
}

} // namespace

#pragma once
// A test of the whole main window: an empty current folder, a journal event
// of its own, error reports caught instead of shown, and a station that makes
// no sound unless the test gives it one.
#include "app/FormVeilleur.h"
#include "platform/EvenementNomme.h"
#include "platform/RapportErreurs.h"
#include "platform/Son.h"
#include "support/OutilsTest.h"

#include <QCoreApplication>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class TSonMuet : public TSon {
public:
    void Tonalite(int, int) override {}
    void SonParDefaut() override {}
};

class TFenetreTest : public ::testing::Test {
protected:
    explicit TFenetreTest(const char* nom) : nomEvenement(NomUnique(QString::fromLatin1(nom))) {}

    void SetUp() override
    {
        TRapportErreurs::Instance().DefinirAfficheur([this](const QString& texte) { erreurs.push_back(texte); });
    }
    void TearDown() override
    {
        fenetre.reset();
        QCoreApplication::sendPostedEvents();
        TRapportErreurs::Instance().AfficheurParDefaut();
        TEvenementNomme::Supprimer(nomEvenement);
    }
    // The window, in the test's folder; son: none for silence.
    TFormVeilleur& Construire(std::unique_ptr<TSon> son = nullptr)
    {
        fenetre = std::make_unique<TFormVeilleur>(son ? std::move(son) : std::make_unique<TSonMuet>(), nomEvenement);
        return *fenetre;
    }

    TDossierTemporaire dossier;
    QString nomEvenement;
    std::unique_ptr<TFormVeilleur> fenetre;
    std::vector<QString> erreurs;
};

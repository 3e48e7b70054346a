#pragma once
// Glyph button of the main window's menu and language groups: a four-state
// glyph (up, disabled, pressed, down) at a fixed margin from the left edge,
// the caption a fixed spacing after it, a sunken bevel while down. Without a
// glyph the caption is centred.
#include <QPixmap>
#include <QToolButton>

class TBoutonMenu : public QToolButton {
    Q_OBJECT
public:
    static constexpr int Marge = 10;
    static constexpr int Espacement = 8;

    explicit TBoutonMenu(int tag, QWidget* parent = nullptr);

    int Tag() const { return m_tag; }

    // Picture holding the four states side by side.
    void DefinirGlyphe(const QPixmap& quatreEtats);
    // The state shown: 0 up, 1 disabled, 2 pressed, 3 down.
    int EtatGlyphe() const;
    QPixmap GlypheAffiche() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A click does not put the button down: the window does, once the screen
    // or language it asks for is in place (a request may have to wait). The
    // group still raises the button that was down.
    void nextCheckState() override
    {
        if (isChecked())
            setChecked(false);
    }

private:
    int m_tag;
    QPixmap m_glyphes;
};

// The pixmap of one state of a four-state glyph picture.
QPixmap EtatDuGlyphe(const QPixmap& quatreEtats, int etat);

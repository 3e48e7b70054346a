#pragma once
// The station's sounds: a tone of given frequency and length, and the
// desktop's default message sound. The alarm is two tones an octave apart
// followed by the default sound.
#include <QByteArray>
#include <memory>

class TSon {
public:
    virtual ~TSon() = default;
    // Returns once the tone has been played (or at once when there is no sound).
    virtual void Tonalite(int frequenceHz, int dureeMs) = 0;
    // Starts the desktop's default message sound.
    virtual void SonParDefaut() = 0;
};

constexpr int FrequenceEchantillonnage = 22050;

// A tone as mono 16-bit little-endian samples at FrequenceEchantillonnage, half
// the full scale, with 5 ms ramps at both ends so that it does not click.
QByteArray SynthetiserTon(int frequenceHz, int dureeMs);

// The alarm signal: 980 Hz for 100 ms, 490 Hz for 100 ms, then the default sound.
void JouerAlarme(TSon& son);

// Sound of this machine. Tones are synthesised and played through the default
// audio output on a thread of their own, so that a stuck sound server can
// delay the caller by a bounded time only; the default sound goes through the
// desktop's event sounds, else the window system's bell. Without an audio
// output the station stays silent and says so once on stderr.
class TSonSysteme : public TSon {
public:
    TSonSysteme();
    ~TSonSysteme() override;
    TSonSysteme(const TSonSysteme&) = delete;
    TSonSysteme& operator=(const TSonSysteme&) = delete;

    void Tonalite(int frequenceHz, int dureeMs) override;
    void SonParDefaut() override;

    // False once tones are known not to play (no output, or the output stuck).
    bool TonalitesDisponibles() const;

private:
    struct TPrive;
    std::unique_ptr<TPrive> d;
};

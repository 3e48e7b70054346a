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
// desktop's event sounds, else the window system's bell.
//
// Without tones (no audio output, or one that refuses or sticks) the alarm
// keeps its pattern with the bell: each tone becomes a bell followed by as
// much silence as the tone lasts, then comes the default sound as a bell of its
// own: three signals apart, never mistaken for a single bell. They are timed by
// timers: the caller is not held.
class QAudioDevice;
class QObject;

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

protected:
    // sortie: the audio output to play tones on; none when it is null.
    explicit TSonSysteme(const QAudioDevice& sortie);
    // The window system's bell.
    virtual void Sonnerie();

private:
    // Rings the bell at the first free moment, then keeps the next signal
    // waiting for occupationMs.
    void SignalCloche(int occupationMs);

    struct TPrive;
    std::unique_ptr<TPrive> d;
};

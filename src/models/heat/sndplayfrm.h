#pragma once
// The sound-play panel (SOUNDPLAY page): a keyboard of 27 keys; holding a
// key down plays a continuous tone of its pitch, made of a fundamental and
// up to four harmonics set in the toolbar, and the picture above shows the
// waveform over 7.5 ms.

#include "host/panel.h"
#include "widgets/dock.h"
#include "models/heat/sndplay.h"
#include "models/heat/sound.h"

#include <QPointer>
#include <functional>
#include <memory>

class QBuffer;
class QLabel;
class QSpinBox;

namespace quarvel {

class TPictureBox;

class TSndPlayFrm : public TPanel {
    Q_OBJECT
public:
    explicit TSndPlayFrm(QWidget* parent = nullptr);
    // Stops the player before the tone it reads goes.
    ~TSndPlayFrm() override;

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;

    float Frequency = kBaseFrequency;
    TToneAmplitudes Amplitudes{16, 0, 0, 0, 0};
    TKeyboard Keys;
    int CurrentKey = -1;
    bool KeyPressed = false;
    std::unique_ptr<QBuffer> SoundStream; // the WAV image sounding
    bool LargeButtons = false;

    TPictureBox* SndPic = nullptr;
    TPictureBox* KeyPic = nullptr;
    QLabel* TBXLabel1 = nullptr;
    QLabel* TBXLabel2 = nullptr;
    QSpinBox* Amp[5] = {};

    void DrawWave(float f);
    void DrawKeyboard();
    TKeyHit KeyAt(QPoint p) const { return Keys.KeyAt(p); }
    void PlayExample(int a0, int a1, int a2, int a3, int a4);
    void KeyPicMouseDown(QPoint p);
    void KeyPicMouseMove(QPoint p);
    void KeyPicMouseUp();
    void Amp0ValueChanged();

    // The player, made at the first key press (nullptr before).
    TTonePlayer* Player() const { return m_player.get(); }

    // How panels make their player; tests hand in a fake. An empty factory
    // restores the audio output.
    using TPlayerFactory = std::function<std::unique_ptr<TTonePlayer>()>;
    static void SetPlayerFactory(TPlayerFactory factory);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // Plays the tone of `frequency`, replacing the one sounding, whose image
    // is released only once the player has moved on.
    void SoundTone(float frequency);
    void StopSound();

    std::unique_ptr<TTonePlayer> m_player;
    QPointer<TDockToolbar> m_toolbar; // the host may free it before the panel
};

// Makes topic 2019 host this panel.
void RegisterSoundPlayPanel();

} // namespace quarvel

// Form1's waveform strip: the film's sound analysed as films open, the strip
// under everything, and the analysis's percent in the status bar.
#include "app/Form1.h"

#include "app/WaveformStrip.h"
#include "commands/FilmSound.h"
#include "preview/QtFilmPlayer.h"

#include <QLabel>
#include <QStatusBar>

namespace korv {

void Form1::wireSound()
{
    filmSound = new FilmSound(ws_, sound::SoundCache(), this);
    Waveform = new WaveformStrip(ws_, *filmSound, *filmPlayer, this);
    Waveform->setGeometry(twips(15, MainWindowSize::kWaveformTop, kDesignClientWidth - 30, MainWindowSize::kWaveformHeight));

    SoundState = new QLabel(Durum);
    SoundState->setObjectName(QStringLiteral("SoundState"));
    SoundState->setContentsMargins(0, 0, 8, 0);
    Durum->addPermanentWidget(SoundState);
    connect(filmSound, &FilmSound::changed, this, &Form1::showSoundTexts);
}

void Form1::showSoundTexts()
{
    if (!Waveform)
        return;
    Waveform->applyTexts();
    const QString status = filmSound->statusText();
    SoundState->setText(status);
    SoundState->setVisible(!status.isEmpty());
}

} // namespace korv

#pragma once
// An analysis riding on the waveform's decode whose result is worth keeping:
// it is stored as a section of the film's cache entry, and given back from
// there the next time the film is opened instead of decoding again.

#include "sound/MonoBlock.h"

#include <QByteArray>

namespace korv::sound {

class CachedSink : public MonoSink {
public:
    // The section it is kept in: sectionTag("SPCH") for example, and the
    // layout's version (raise it when the bytes change meaning).
    virtual quint32 sectionTag() const = 0;
    virtual quint32 sectionVersion() const = 0;
    // Takes a kept result instead of consume()/finish(); false if the bytes
    // do not fit, and the sound is decoded for it.
    virtual bool restore(const QByteArray &bytes) = 0;
    // The result to keep, after finish().
    virtual QByteArray save() const = 0;
};

} // namespace korv::sound

#pragma once
// The two built-in sounds, synthesised: the same bytes on every run.
#include <QByteArray>

namespace gen
{

// Sound 101: a two-tone door chime, 0.8 s; a RIFF/WAVE image with fmt and data chunks.
QByteArray doorChime();
// Sound 102: the hiss of the door's air, 2.0 s; fmt, fact and data chunks.
QByteArray airHiss();

} // namespace gen

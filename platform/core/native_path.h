#pragma once
// File names on Linux are bytes, not text. These turn them into QStrings and
// back without loss: valid UTF-8 reads as usual, and every byte that is not
// part of valid UTF-8 (a Shift_JIS or Latin-1 name from an old archive)
// becomes the lone surrogate U+DC00 + byte, which no valid UTF-8 can give and
// which encodePath turns back into that byte.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform
{

QString decodePath(QByteArrayView bytes);
QByteArray encodePath(QStringView path);

} // namespace platform

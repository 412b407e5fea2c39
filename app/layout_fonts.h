#pragma once
// The windows' layout names Japanese system fonts of another platform; the
// metric-compatible IPA Gothic fonts stand in for them, so texts keep their
// widths. Call once the application object exists.
#include <QFont>
#include <QString>

inline void substituteLayoutFonts()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

#pragma once
// Asking the maker's library (libTRX3Res.so in the executable's folder) for
// the home-page address, and the message shown when that fails.
#include "platform/core/expected.h"

#include <QString>

namespace about
{

QString makerLibraryPath(const QString& folder);
// Loads the library afresh, calls KanaroHpURL, releases the text (with the
// library's KanaroHpURL_Free when it has one, else free()), and unloads the
// library again. A failure gives the loader's description.
platform::Expected<QString> askMakerLibrary(const QString& folder);
// The message-box text for a failure description.
QString failureMessage(const QString& error);

} // namespace about

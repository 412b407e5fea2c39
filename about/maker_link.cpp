#include "about/maker_link.h"

#include "platform/files/dynamic_library.h"

#include <cstdlib>

namespace about
{

QString makerLibraryPath(const QString& folder)
{
    return (folder.endsWith(u'/') ? folder : folder + u'/') + QStringLiteral("libTRX3Res.so");
}

HpAddress askMakerLibrary(const QString& folder)
{
    using Get = char* (*)();
    using Free = void (*)(char*);
    // Without the program's folder the name alone would let the loader
    // search elsewhere (or the current folder): refuse instead.
    if (folder.isEmpty())
        return {false, {}, QStringLiteral("libTRX3Res.so: the program's folder is unknown")};
    platform::DynamicLibrary lib;
    if (!lib.open(makerLibraryPath(folder)))
        return {false, {}, lib.errorText()};
    const auto get = reinterpret_cast<Get>(lib.symbol("KanaroHpURL"));
    if (!get)
        return {false, {}, lib.errorText()};
    // The text is ours to release: through the library's own function when it
    // exports one, else with free(), as the library allocates it with malloc().
    const auto release = reinterpret_cast<Free>(lib.symbol("KanaroHpURL_Free"));
    char* text = get();
    if (!text)
        return {false, {}, QStringLiteral("KanaroHpURL returned no address")};
    HpAddress r{true, QString::fromLocal8Bit(text), {}};
    if (release)
        release(text);
    else
        std::free(text);
    return r;
}

QString failureMessage(const QString& error)
{
    // Two line breaks: the text is shown, not sent anywhere, so "\n" is this
    // platform's line break.
    return error + QStringLiteral("\n\n") + QStringLiteral(" 上記内容をカナロHP関係者まで報告してください。");
}

} // namespace about

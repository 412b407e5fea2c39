#include "about/maker_link.h"

#include "platform/files/dynamic_library.h"

#include <cstdlib>

namespace about
{

QString makerLibraryPath(const QString& folder)
{
    return (folder.endsWith(u'/') ? folder : folder + u'/') + QStringLiteral("libTRX3Res.so");
}

platform::Expected<QString> askMakerLibrary(const QString& folder)
{
    using Get = char* (*)();
    using Free = void (*)(char*);
    // Without the program's folder the name alone would let the loader
    // search elsewhere (or the current folder): refuse instead.
    if (folder.isEmpty())
        return platform::failure(QStringLiteral("libTRX3Res.so: the program's folder is unknown"));
    platform::DynamicLibrary lib;
    if (const auto opened = lib.open(makerLibraryPath(folder)); !opened)
        return platform::failure(opened.error());
    const auto get = lib.symbol("KanaroHpURL");
    if (!get)
        return platform::failure(get.error());
    // The text is ours to release: through the library's own function when it
    // exports one, else with free(), as the library allocates it with malloc().
    const auto release = reinterpret_cast<Free>(lib.symbol("KanaroHpURL_Free").value_or(nullptr));
    char* text = reinterpret_cast<Get>(*get)();
    if (!text)
        return platform::failure(QStringLiteral("KanaroHpURL returned no address"));
    QString address = QString::fromLocal8Bit(text);
    if (release)
        release(text);
    else
        std::free(text);
    return address;
}

QString failureMessage(const QString& error)
{
    // Two line breaks: the text is shown, not sent anywhere, so "\n" is this
    // platform's line break.
    return error + QStringLiteral("\n\n") + QStringLiteral(" 上記内容をカナロHP関係者まで報告してください。");
}

} // namespace about

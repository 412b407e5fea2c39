// The settings file: read and applied once at start-up, written once at the
// close. A file that cannot be read or applied gives the fixed defaults,
// silently; a save never destroys the previous file.
#include "app/form1.h"
#include "app/settings_line.h"
#include "doors/frmset.h"
#include "platform/desktop/session_end.h"
#include "platform/files/atomic_file.h"
#include "platform/files/exe_info.h"
#include "platform/files/settings_location.h"
#include "platform/pictures/picture.h"
#include "platform/widgets/dialog_box.h"

#include <QAction>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <tuple>

namespace
{

// Larger files are not settings files; reading stops there.
constexpr qint64 maxSettingsBytes = qint64{64} * 1024;

// LoadIni's last step.
#define X(name, form, saved, held, at, ...) at,
constexpr int lastStep = std::max({SETTINGS_LINE_FIELDS(X)});
#undef X

// What the settings line's table calls, beside the bus's own operations.

bool setSpeed(QScrollBar* bar, std::int32_t value)
{
    // A 16-bit value inside the bar's range, or the step fails.
    if (value < bar->minimum() || value > bar->maximum())
        return false;
    bar->setValue(value);
    return true;
}

bool loadPictureInto(platform::TwipPictureBox* box, const QString& path)
{
    const auto picture = platform::loadPicture(path);
    if (!picture)
        return false;
    box->setPicture(*picture);
    return true;
}

bool listFolder(platform::FileList& list, const QString& folder)
{
    return list.setPath(folder).has_value();
}

bool selectMode(const std::array<QRadioButton*, 3>& buttons, std::int16_t index)
{
    if (index < 0 || index > 2)
        return false;
    buttons[index]->setChecked(true);
    return true;
}

// 0 when the first button is selected, else 1 when the second is, else 2.
std::int16_t checkedMode(const frmSet& set)
{
    return set.Option1[0]->isChecked() ? 0 : set.Option1[1]->isChecked() ? 1 : 2;
}

} // namespace

QString Form1::settingsPath() const
{
    if (!settingsPath_.isEmpty())
        return settingsPath_;
    return platform::settingsFiles(settingsFolderName).write;
}

void Form1::LoadIni()
{
    if (!applyIni())
        applyIniDefaults();
}

// Reads and applies the file in order; false at the first step that fails,
// leaving what was applied before it in place.
bool Form1::applyIni()
{
    // A per-user file that does not exist yet starts from the one beside the program.
    const QString path =
        settingsPath_.isEmpty() ? platform::settingsFiles(settingsFolderName).read : settingsPath_;
    const auto read = platform::readFileStart(path, maxSettingsBytes);
    if (!read)
        return false;
    const QByteArray& content = *read;
    const settings::Read r = settings::read(content);
    // The held values take what was read, as far as it was read.
#define X(name, form, saved, held, ...)                                                                      \
    if (r.fieldsRead > settings::name##Place)                                                                \
        held = r.name;
    SETTINGS_LINE_FIELDS(X)
#undef X
    if (!r.ok())
        return false;
    for (int step = 1; step <= lastStep; ++step) {
#define X(name, form, saved, held, at, apply, failed)                                                        \
    if ((at) == step) {                                                                                      \
        apply;                                                                                               \
    }
        SETTINGS_LINE_FIELDS(X)
#undef X
    }
    return true;
}

void Form1::applyIniDefaults()
{
    for (int step = 1; step <= lastStep; ++step) {
#define X(name, form, saved, held, at, apply, failed)                                                        \
    if ((at) == step) {                                                                                      \
        failed;                                                                                              \
    }
        SETTINGS_LINE_FIELDS(X)
#undef X
    }
}

QByteArray Form1::settingsLine()
{
    settings::Values v;
#define X(name, form, saved, ...) v.name = settings::form::Written{saved};
    SETTINGS_LINE_FIELDS(X)
#undef X
    return settings::write(v);
}

void Form1::reportSaveFailure(const QString& path, const QString& error)
{
    platform::writeErrorLine(
        QStringLiteral("%1: 設定を保存できませんでした: %2: %3").arg(platform::exeName(), path, error));
}

bool Form1::SaveIni(bool atSessionEnd)
{
    if (settingsPath_.isEmpty())
        platform::makeSettingsFolder(settingsFolderName);
    QByteArray line = settingsLine();
    // Positions read after the display went away may be wrong; the line kept
    // while it was alive holds.
    if (const QByteArray kept = platform::keptContent(); platform::displayBroken() && !kept.isEmpty())
        line = kept;
    // Written beside the old file and renamed over it, so a failure at any
    // point leaves the previous settings whole.
    const QString path = settingsPath();
    const auto saved = platform::replaceFile(path, line);
    if (saved)
        return true;
    const QString& error = saved.error();
    if (atSessionEnd) {
        reportSaveFailure(path, error);
    } else {
        platform::MessageBox box(QMessageBox::Critical, windowTitle(),
                                 QStringLiteral("%1\n\n%2").arg(path, error), QMessageBox::Ok, this);
        box.exec();
        // The session ended while the message waited: nobody read it.
        if (sessionEnding_)
            reportSaveFailure(path, error);
    }
    return false;
}

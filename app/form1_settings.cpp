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

namespace
{

// Larger files are not settings files; reading stops there.
constexpr qint64 maxSettingsBytes = qint64{64} * 1024;

bool setSpeed(QScrollBar* bar, std::int32_t value)
{
    // A 16-bit value inside the bar's range, or the step fails.
    if (value < bar->minimum() || value > bar->maximum())
        return false;
    bar->setValue(value);
    return true;
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
    // Texts and the mode go straight into the held values, as far as they were read.
    if (r.fieldsRead >= 5)
        signFolderPath = r.signFolder;
    if (r.fieldsRead >= 6)
        reservedText = r.reservedText;
    if (r.fieldsRead >= 7)
        reserved1 = r.reserved1;
    if (r.fieldsRead >= 8)
        reserved2 = r.reserved2;
    if (r.fieldsRead >= 9)
        kanbanPicturePath = r.kanbanPicture;
    if (!r.ok())
        return false;
    modeIndex = r.mode;

    setTwPosition(static_cast<float>(r.busLeft), static_cast<float>(r.busTop));
    panel().setTwPosition(static_cast<float>(r.panelLeft), static_cast<float>(r.panelTop));
    PicKanban->setVisible(r.kanbanShown);
    MnuViewKanban->setChecked(r.kanbanShown);
    for (auto& piece : shpK_Waku)
        piece->setVisible(r.frameShown);
    MnuViewWaku->setChecked(r.frameShown);
    PicKanban->setTwLeft(static_cast<float>(r.kanbanLeft));
    PicKanban->setTwTop(static_cast<float>(r.kanbanTop));
    const auto picture = platform::loadPicture(kanbanPicturePath);
    if (!picture)
        return false;
    PicKanban->setPicture(*picture);
    PicKanban_DblClick();
    if (!setSpeed(panel().HScroll1, r.speed1) || !setSpeed(panel().HScroll2, r.speed2))
        return false;
    if (!File1.setPath(signFolderPath))
        return false;
    if (!showSign(0))
        return false;
    if (modeIndex < 0 || modeIndex > 2)
        return false;
    panel().Option1[modeIndex]->setChecked(true);
    return true;
}

void Form1::applyIniDefaults()
{
    setTwPosition(0, 0);
    // Directly below the bus's outer frame, placed once the window manager has framed the bus.
    panelBelowBus_ = true;
    MnuKanbanReset_Click();
    panel().HScroll1->setValue(10000);
    panel().HScroll2->setValue(6000);
    panel().Option1[0]->setChecked(true);
}

QByteArray Form1::settingsLine()
{
    frmSet& set = panel();
    settings::Values v;
    v.mode = set.Option1[0]->isChecked() ? 0 : set.Option1[1]->isChecked() ? 1 : 2;
    v.busLeft = twLeft();
    v.busTop = twTop();
    v.panelLeft = set.twLeft();
    v.panelTop = set.twTop();
    v.signFolder = signFolderPath;
    v.reservedText = reservedText;
    v.reserved1 = reserved1;
    v.reserved2 = reserved2;
    v.kanbanPicture = kanbanPicturePath;
    v.kanbanLeft = PicKanban->twLeft();
    v.kanbanTop = PicKanban->twTop();
    v.kanbanShown = MnuViewKanban->isChecked();
    v.frameShown = MnuViewWaku->isChecked();
    v.speed1 = static_cast<std::int16_t>(set.HScroll1->value());
    v.speed2 = static_cast<std::int16_t>(set.HScroll2->value());
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

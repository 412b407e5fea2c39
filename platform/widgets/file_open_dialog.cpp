#include "platform/widgets/file_open_dialog.h"

#include "platform/files/file_list.h"

#include <QDir>
#include <QFileDialog>

namespace platform
{

QString FileOpenDialog::qtNameFilter(const QString& filter)
{
    QStringList patterns = filter.split(u';', Qt::SkipEmptyParts);
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    return filter + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

bool FileOpenDialog::show(QWidget* parent)
{
    QFileDialog dlg(parent);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // Any name is taken as typed: one that names no file fails later, as
    // silently as a file that is no picture, with no warning of Qt's own.
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
    dlg.setNameFilter(qtNameFilter(filter_));
    if (!fileName_.isEmpty())
        dlg.selectFile(fileName_);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    const QString chosen = dlg.selectedFiles().constFirst();
    if (chosen.isEmpty())
        return false;
    fileName_ = pathOnDisk(chosen);
    return true;
}

} // namespace platform

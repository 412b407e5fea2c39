#include "platform/file_open_dialog.h"

#include <QDir>
#include <QFileDialog>

namespace platform {

QString FileOpenDialog::qtNameFilter(const QString& filter)
{
    QStringList patterns;
    for (const QString& p : filter.split(u';', Qt::SkipEmptyParts)) {
        // Brackets and spaces would end the pattern list early.
        const QString clean = p.trimmed().remove(u'(').remove(u')').remove(u' ');
        if (!clean.isEmpty() && !patterns.contains(clean))
            patterns << clean;
    }
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    QString label = filter;
    label.remove(u'(').remove(u')');
    return label.trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

bool FileOpenDialog::show(QWidget* parent)
{
    QFileDialog dlg(parent);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::ExistingFile);
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
    fileName_ = chosen;
    return true;
}

} // namespace platform

#include "platform/file_open_dialog.h"

#include <QFileDialog>

namespace platform {

bool FileOpenDialog::show(QWidget* parent)
{
    QFileDialog dlg(parent);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setNameFilter(QString(filter_).replace(u';', u' '));
    if (!fileName_.isEmpty())
        dlg.selectFile(fileName_);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    fileName_ = dlg.selectedFiles().constFirst();
    return !fileName_.isEmpty();
}

} // namespace platform

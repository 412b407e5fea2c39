#include "platform/widgets/folder_chooser.h"

#include "platform/files/file_list.h"

#include <QFileDialog>

namespace platform
{

QString chooseFolder(QWidget* owner, const QString& title)
{
    return pathOnDisk(
        QFileDialog::getExistingDirectory(owner, title, QStringLiteral("/"), QFileDialog::ShowDirsOnly));
}

} // namespace platform

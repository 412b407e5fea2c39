#include "platform/folder_chooser.h"

#include <QFileDialog>

namespace platform
{

QString chooseFolder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title, QStringLiteral("/"), QFileDialog::ShowDirsOnly);
}

} // namespace platform

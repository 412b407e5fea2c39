#pragma once
// The platform's folder chooser.
#include <QString>

class QWidget;

namespace platform
{

// Offers only folders, starting at the top of the file system. Returns the
// chosen folder's path, or an empty text when the user cancels.
QString chooseFolder(QWidget* owner, const QString& title);

} // namespace platform

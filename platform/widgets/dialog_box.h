#pragma once
// The program's modal boxes: fixed size, a title bar without close box or
// icon, and neither a default nor a cancel button, so Escape, Return and Enter
// press nothing. The window system's close still closes the box, as a
// rejection (where the window manager offers a close without a close box).
// platform::keepModalWindowsShown() keeps it with its owner, out of the task bar.
#include <QDialog>
#include <QMessageBox>
#include <QSize>

namespace platform
{

class DialogBox : public QDialog
{
    Q_OBJECT
public:
    // client: the fixed size of the client area in pixels; owner: the window
    // it is opened from. Modal to the whole program either way.
    explicit DialogBox(QSize client, QWidget* owner = nullptr);
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

// A message box whose Ctrl+C copies its title, text and buttons as plain text,
// each closed by a line of dashes (Qt does this on Windows only): the user can
// paste what went wrong into a report.
class MessageBox : public QMessageBox
{
    Q_OBJECT
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace platform

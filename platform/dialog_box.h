#pragma once
// The program's modal boxes: fixed size, a title bar without close box or
// icon, no task-bar entry, and neither a default nor a cancel button, so
// Escape, Return and Enter press nothing. The window system's close still
// closes the box, as a rejection.
#include <QDialog>
#include <QSize>

namespace platform
{

class DialogBox : public QDialog
{
    Q_OBJECT
public:
    // client: the fixed size of the client area in pixels. No owner: the box
    // is modal to the whole program.
    explicit DialogBox(QSize client, QWidget* parent = nullptr);
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace platform

#pragma once
// The settings panel: door switches, door speeds, the keypad, the folder and
// version buttons. One instance for the life of the program.
#include <QWidget>

class Form1;

class frmSet : public QWidget {
    Q_OBJECT
public:
    explicit frmSet(Form1& bus);
    // Shows the panel without blocking and keeps it above all other windows.
    void showPanel();

private:
    Form1& bus_;
};

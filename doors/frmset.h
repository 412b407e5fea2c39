#pragma once
// The settings panel: door switches, door speeds, the keypad, the folder and
// version buttons. One instance for the life of the program.
#include "sign/keypad_entry.h"

#include <QWidget>
#include <array>
#include <cstdint>

class Form1;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

class frmSet : public QWidget
{
    Q_OBJECT
public:
    explicit frmSet(Form1& bus);
    // Shows the panel without blocking and keeps it above all other windows.
    void showPanel();

    // Screen twips of the panel's outer frame.
    float twLeft() const;
    float twTop() const;
    void setTwPosition(float left, float top);

    // Handlers.
    void Check1_Click();
    void Check2_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void Command1_Click();
    void Command2_Click(std::int16_t index);
    void Command3_Click();

    // Controls.
    QFrame* FrameA = nullptr;
    QCheckBox* Check1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* lblMaeSpeed = nullptr;
    QCheckBox* Check2 = nullptr;
    QScrollBar* HScroll2 = nullptr;
    QLabel* lblNakaSpeed = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 3> Option1{};
    QPushButton* Command3 = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QPushButton*, 12> Command2{};
    QPushButton* Command1 = nullptr;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    Form1& bus_;
    sign::KeypadEntry keypad_;
};

#pragma once
// The sign folder dialog: a text box with the folder path, a browse button,
// OK and キャンセル. Created for one opening and destroyed when it closes.
#include "platform/widgets/dialog_box.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class Form1;
class QLabel;
class QLineEdit;
class QPushButton;

class frmBrowseDir : public platform::DialogBox
{
    Q_OBJECT
public:
    explicit frmBrowseDir(Form1& bus);

    // Handlers.
    void Command1_Click();
    void Command2_Click(std::int16_t index);

    // The folder chooser the browse button runs: owner window and title in,
    // the chosen path out (empty when cancelled). Tests replace it.
    std::function<QString(QWidget*, const QString&)> chooseFolder;

    // Controls, in layout order.
    QLabel* Label2;
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command1;
    std::array<QPushButton*, 2> Command2{};

private:
    Form1& bus_;
};

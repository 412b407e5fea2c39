#pragma once
// The version box: product name, version, designation (the executable's
// name), credits, and the link to the maker's home page. Created for one
// opening and destroyed when it closes.
#include "platform/widgets/dialog_box.h"

#include <array>

class QLabel;
namespace platform
{
class TwipImage;
}
class QPushButton;

class frmShowVersion : public platform::DialogBox
{
    Q_OBJECT
public:
    explicit frmShowVersion(QWidget* parent = nullptr);

    void Form_Load();
    void Label5_Click();
    void Command1_Click();

    // Controls, in layout order.
    platform::TwipImage* Image1;
    std::array<QLabel*, 2> Label1{};
    QLabel* Label2;
    std::array<QLabel*, 3> Label3{};
    QLabel* Label4;
    QLabel* Label5;
    QPushButton* Command1;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

// The number keypad on the settings panel.
#include "app/form1.h"
#include "doors/frmset.h"

#include <QLabel>

void frmSet::Command2_Click(std::int16_t index)
{
    if (index != sign::keypadShow) {
        keypad_.press(index);
        Label1->setText(keypad_.text());
        return;
    }
    // The separator stays even when nothing can be shown. The sign position
    // is left alone: stepping goes on from where it was.
    sign::completeFolderPath(bus_.signFolderPath);
    if (const auto pos = keypad_.position())
        bus_.showSign(*pos);
}

// The number keypad on the settings panel.
#include "doors/frmset.h"

void frmSet::Command2_Click(std::int16_t) {}

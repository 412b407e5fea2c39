#pragma once
// What the tests of the windows need: the windows, the helpers for files and
// modal loops, and the Qt classes of their controls.
#include "about/frmshowversion.h"
#include "app/form1.h"
#include "doors/frmset.h"
#include "sign/frmbrowsedir.h"
#include "tests/support/files.h"
#include "tests/support/modal.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <tuple>

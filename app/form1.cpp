#include "app/form1.h"

#include "assets/assets.h"
#include "doors/frmset.h"
#include "platform/desktop/session_end.h"
#include "platform/desktop/window_keeper.h"
#include "platform/desktop/x11_window.h"
#include "platform/files/exe_info.h"
#include "platform/files/settings_location.h"
#include "platform/widgets/file_open_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using platform::TwipImage;
using platform::TwipPictureBox;

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      File1(QStringLiteral("*.bmp;*.wmf;*.emf;*.gif;*.jpg;*.jpeg"), sign::listLimit)
{
    setFixedSize(tw::sizeToPixels(9960, 3195));
    setWindowIcon(assets::appIcon());
    body_ = assets::busBody();
    setAttribute(Qt::WA_OpaquePaintEvent);

    picSlideBase1 = new TwipPictureBox(this, palette().color(QPalette::Window));
    picSlideBase1->moveTw({4695, 690, 1140, 2235});
    picSlideBase1->setPicture(platform::pictureFromImage(assets::doorwayView()));

    Image2 = new TwipImage(picSlideBase1, true);
    Image2->moveTw({0, 0, 1140, 2250});
    Image2->setPicture(platform::pictureFromImage(assets::middleDoor()));

    PicKanban = new TwipPictureBox(this, Qt::white);
    PicKanban->moveTw({7470, 1710, 1410, 450});
    PicKanban->setAutoSize(true);

    File1.setTwRect({3585, 2895, 1395, 270});

    Picture1 = new TwipPictureBox(this, Qt::white);
    Picture1->moveTw({2325, 555, 775, 485});

    ImgDesiMaku = new TwipImage(Picture1, false);
    ImgDesiMaku->moveTw({0, 0, 780, 480});
    ImgDesiMaku->setPicture(platform::pictureFromImage(assets::defaultSign()));

    C_Dialog1 =
        std::make_unique<platform::FileOpenDialog>(QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf;*.jpg"));

    Image1[2] = new TwipImage(this, true);
    Image1[2]->moveTw({300, 690, 1095, 2220});
    Image1[2]->setPicture(platform::pictureFromImage(assets::frontDoor()));

    Image1[1] = new TwipImage(this, true);
    Image1[1]->moveTw({1590, 1020, 630, 2055});
    Image1[1]->setPicture(platform::pictureFromImage(assets::greyPanel()));
    Image1[1]->hide();

    const QColor fill(224, 224, 224), outline(128, 128, 128);
    shpK_Waku[0] = std::make_unique<platform::TwipShape>(this, tw::Rect{7395, 1695, 75, 495}, fill, outline);
    shpK_Waku[1] = std::make_unique<platform::TwipShape>(this, tw::Rect{8880, 1695, 75, 495}, fill, outline);
    shpK_Waku[2] = std::make_unique<platform::TwipShape>(this, tw::Rect{7395, 2160, 1560, 60}, fill, outline);
    for (auto& s : shpK_Waku)
        shapes_.push_back(s.get());

    MnuTempMenu1 = new QMenu(QStringLiteral("MnuTempMenu1"), this);
    MnuViewKanban = MnuTempMenu1->addAction(QStringLiteral("看板の表示"));
    MnuViewKanban->setCheckable(true);
    MnuViewKanban->setChecked(true);
    MnuViewWaku = MnuTempMenu1->addAction(QStringLiteral("枠の表示"));
    MnuViewWaku->setCheckable(true);
    MnuViewWaku->setChecked(true);
    MnuSetKanban = MnuTempMenu1->addAction(QStringLiteral("看板の画像を設定..."));
    MnuBdr1 = MnuTempMenu1->addSeparator();
    MnuKanbanReset = MnuTempMenu1->addAction(QStringLiteral("看板のリセット"));

    // Focus order: Picture1, (File1 is not a widget here), PicKanban, picSlideBase1.
    Picture1->setFocusPolicy(Qt::TabFocus);
    PicKanban->setFocusPolicy(Qt::TabFocus);
    picSlideBase1->setFocusPolicy(Qt::TabFocus);
    setTabOrder(Picture1, PicKanban);
    setTabOrder(PicKanban, picSlideBase1);

    connect(Image1[1], &TwipImage::clicked, this, [this] { Image1_Click(1); });
    connect(Image1[2], &TwipImage::clicked, this, [this] { Image1_Click(2); });
    connect(ImgDesiMaku, &TwipImage::clicked, this, &Form1::ImgDesiMaku_Click);
    connect(Picture1, &TwipPictureBox::clicked, this, &Form1::Picture1_Click);
    connect(Picture1, &TwipPictureBox::keyDown, this, &Form1::Picture1_KeyDown);
    wireSignboard();
}

// The panel has no parent window (it is a window of its own): the bus owns it.
Form1::~Form1()
{
    delete panel_;
}

void Form1::Form_Load()
{
    LoadIni();
    setWindowTitle(QStringLiteral("クルリナ　-　") + platform::exeName());
    // A saved place on a screen that is gone is no place for either.
    platform::keepReachable(this);
    // The bus is shown first: the panel's default place needs its outer height.
    show();
    if (panelBelowBus_)
        placePanelBelowBus();
    platform::keepReachable(&panel());
    // Minimised and restored with the bus, and back whenever the bus is used.
    platform::followOwner(&panel(), this);
    panel().showPanel();
    Picture1->setFocus();
}

void Form1::placePanelBelowBus()
{
    // Without a window manager (or off X11) the client height is all there is.
    panel().setTwPosition(0, tw::fromPixels(platform::framedSize(this).height()));
}

void Form1::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    platform::dropExitSave();
    saved_ = false; // until written: a session that ends meanwhile ends with status 1
    saved_ = SaveIni(sessionEnding_);
}

void Form1::watchSessionEnd()
{
    // The per-user folder exists before a lost display could need it.
    if (settingsPath_.isEmpty())
        platform::makeSettingsFolder(settingsFolderName);
    platform::watchSessionEnd(
        this, [this] { SaveIni(true); }, [this] { endSession(); });
    platform::saveAtExit(
        this, [this] { return settingsPath(); }, [this] { return settingsLine(); }, reportSaveFailure);
}

void Form1::endSession()
{
    sessionEnding_ = true;
    // Already closing, with the message of a failed save on the screen:
    // nobody will click it. exit() ends its loop, and SaveIni then reports
    // the failure on standard error.
    if (unloaded_) {
        QCoreApplication::exit(saved_ ? 0 : 1);
        return;
    }
    // Every open modal window and menu ends as if cancelled: exit() below
    // ends their event loops, and what they were editing is never applied.
    close();
}

frmSet& Form1::panel()
{
    if (!panel_)
        panel_ = new frmSet(*this);
    return *panel_;
}

float Form1::twLeft() const
{
    return tw::fromPixels(platform::framePosition(this).x());
}
float Form1::twTop() const
{
    return tw::fromPixels(platform::framePosition(this).y());
}

void Form1::setTwPosition(float left, float top)
{
    move(tw::toPixels(left), tw::toPixels(top));
}

void Form1::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), Qt::white);
    p.drawImage(QPoint(0, 0), body_);
    platform::paintShapes(p, shapes_);
}

void Form1::mousePressEvent(QMouseEvent* e)
{
    Form_MouseDown(e->button());
    e->accept();
}

void Form1::Form_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        MnuTempMenu1->exec(QCursor::pos());
}

void Form1::closeEvent(QCloseEvent* e)
{
    Form_Unload();
    e->accept();
    // Closing the bus always ends the program, the panel with it; status 1
    // when the settings could not be saved. exit() rather than quit(): quit()
    // first asks every window to close, and the panel refuses.
    QCoreApplication::exit(saved_ ? 0 : 1);
}

void Form1::Image1_Click(int)
{
    Picture1->setFocus(Qt::MouseFocusReason);
}
void Form1::ImgDesiMaku_Click()
{
    Picture1->setFocus(Qt::MouseFocusReason);
}
void Form1::Picture1_Click()
{
    Picture1->setFocus(Qt::MouseFocusReason);
}

#include "doors/frmset.h"

#include "app/form1.h"
#include "assets/assets.h"
#include "platform/core/twips.h"
#include "platform/desktop/x11_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace
{

// A check box drawn as a push button carrying a picture; it stays pressed
// while ticked and the whole button takes the click.
class PictureCheckButton : public QCheckBox
{
public:
    PictureCheckButton(const QImage& picture, QWidget* parent)
        : QCheckBox(parent), picture_(QPixmap::fromImage(picture))
    {
    }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

    void paintEvent(QPaintEvent*) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        opt.initFrom(this);
        opt.features = QStyleOptionButton::None;
        const bool down = isDown() || isChecked();
        opt.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        if (isChecked())
            opt.state |= QStyle::State_On;
        p.drawControl(QStyle::CE_PushButtonBevel, opt);
        // A pressed button shows its picture one pixel down and right.
        QRect target(QPoint(), picture_.deviceIndependentSize().toSize());
        target.moveCenter(rect().center());
        if (down)
            target.translate(1, 1);
        p.drawPixmap(target, picture_);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(3, 3, -3, -3);
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    QPixmap picture_;
};

void place(QWidget* w, const tw::Rect& r)
{
    w->setGeometry(tw::toPixels(r));
}

void setColours(QWidget* w, const QColor& background, const QColor& text = QColor())
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, background);
    if (qobject_cast<QPushButton*>(w))
        pal.setColor(QPalette::Button, background);
    if (text.isValid()) {
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
    }
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QFrame* plainFrame(QWidget* parent, const tw::Rect& r, const QColor& background)
{
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    place(f, r);
    setColours(f, background);
    return f;
}

QLabel* displayLabel(QWidget* parent, const tw::Rect& r, const QColor& text)
{
    auto* l = new QLabel(parent);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(1);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(l, r);
    setColours(l, Qt::black, text);
    return l;
}

QScrollBar* speedBar(QWidget* parent, const tw::Rect& r, int value)
{
    auto* b = new QScrollBar(Qt::Horizontal, parent);
    b->setRange(1, 30000);
    b->setSingleStep(1);
    b->setPageStep(1);
    // A thumb drag changes the value once, when it ends.
    b->setTracking(false);
    // Reachable with Tab and driven by the arrow, Home and End keys.
    b->setFocusPolicy(Qt::StrongFocus);
    // Qt's scroll menu ("Scroll here", ...) is not part of this panel.
    b->setContextMenuPolicy(Qt::NoContextMenu);
    b->setValue(value);
    place(b, r);
    // Standard colours, not the black of the frame around it.
    b->setPalette(QApplication::palette(b));
    return b;
}

} // namespace

frmSet::frmSet(Form1& bus)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bus_(bus)
{
    setWindowTitle(QStringLiteral("設定パネル"));
    setFixedSize(tw::sizeToPixels(3945, 2565));
    setColours(this, QColor(64, 64, 64));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    FrameA = plainFrame(this, {30, 30, 2190, 1965}, Qt::black);
    Check1 = new PictureCheckButton(assets::frontDoorSwitch(), FrameA);
    place(Check1, {75, 165, 735, 510});
    HScroll1 = speedBar(FrameA, {855, 195, 1260, 240}, 6000);
    lblMaeSpeed = displayLabel(FrameA, {885, 450, 1215, 240}, QColor(255, 192, 128));
    Check2 = new PictureCheckButton(assets::middleDoorSwitch(), FrameA);
    place(Check2, {60, 840, 735, 525});
    HScroll2 = speedBar(FrameA, {840, 840, 1230, 240}, 10000);
    lblNakaSpeed = displayLabel(FrameA, {870, 1110, 1200, 240}, QColor(255, 192, 128));

    // The middle-door mode travels only through the settings file: never shown.
    // Its title is given at the panel's first paint (see paintEvent).
    Frame2 = new QGroupBox(FrameA);
    place(Frame2, {60, 1410, 2085, 480});
    setColours(Frame2, QColor(224, 224, 224), Qt::black);
    Frame2->hide();
    const char16_t* names[] = {u"両方", u"左", u"右"};
    const tw::Rect optionRects[] = {{60, 180, 735, 270}, {795, 180, 570, 270}, {1470, 165, 555, 270}};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf16(names[i]), Frame2);
        place(Option1[i], optionRects[i]);
        setColours(Option1[i], QColor(224, 224, 224), Qt::black);
    }
    Option1[0]->setChecked(true);

    Command3 = new QPushButton(QStringLiteral("バージョン情報"), this);
    place(Command3, {720, 2145, 1515, 360});

    Frame1 = plainFrame(this, {2265, 0, 1620, 2505}, QColor(64, 64, 64));
    Label1 = displayLabel(Frame1, {90, 240, 1455, 315}, QColor(255, 128, 0));
    QFont displayFont(QStringLiteral("ＭＳ ゴシック"));
    displayFont.setPointSizeF(14.25);
    Label1->setFont(displayFont);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Keypad rows from the top: 7 8 9 / 4 5 6 / 1 2 3 / 0 C 設定.
    const int grid[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}};
    const float lefts[3] = {75, 570, 1065}, tops[4] = {600, 990, 1380, 1770};
    const QFont digitFont(QStringLiteral("ＭＳ Ｐゴシック"), 12);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int i = grid[row][col];
            auto* b = new QPushButton(
                i < 10 ? QString::number(i) : QString::fromUtf16(i == 10 ? u"C" : u"設定"), Frame1);
            place(b, {lefts[col], tops[row], 510, 390});
            if (i < 10)
                b->setFont(digitFont);
            else
                setColours(b, QColor(255, 128, 0));
            Command2[i] = b;
            connect(b, &QPushButton::clicked, this,
                    [this, i] { Command2_Click(static_cast<std::int16_t>(i)); });
        }
    }
    Command1 = new QPushButton(QStringLiteral("方向幕フォルダー"), Frame1);
    place(Command1, {75, 2190, 1530, 270});

    // Keyboard order: keypad 0..11, the mode buttons, the door switches, the
    // middle then the front speed, version, folder.
    QWidget* order[] = {Command2[0], Command2[1], Command2[2], Command2[3], Command2[4],  Command2[5],
                        Command2[6], Command2[7], Command2[8], Command2[9], Command2[10], Command2[11],
                        Option1[2],  Option1[1],  Option1[0],  Check1,      Check2,       HScroll2,
                        HScroll1,    Command3,    Command1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    lblMaeSpeed->setNum(HScroll1->value());
    lblNakaSpeed->setNum(HScroll2->value());
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmSet::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &frmSet::HScroll2_Change);
    // clicked: only a user's toggle moves a door, not a program's setChecked.
    connect(Check1, &QCheckBox::clicked, this, &frmSet::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &frmSet::Check2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSet::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSet::Command3_Click);
}

void frmSet::showPanel()
{
    show();
    platform::keepAbove(this);
}

void frmSet::setVisible(bool visible)
{
    // The window manager forgets the state whenever the window is withdrawn.
    if (visible && !isVisible())
        platform::setSkipTaskbar(this);
    QWidget::setVisible(visible);
}

float frmSet::twLeft() const
{
    return tw::fromPixels(platform::framePosition(this).x());
}
float frmSet::twTop() const
{
    return tw::fromPixels(platform::framePosition(this).y());
}
void frmSet::setTwPosition(float left, float top)
{
    move(tw::toPixels(left), tw::toPixels(top));
}

void frmSet::Check1_Click()
{
    bus_.Check1_Click();
}
void frmSet::Check2_Click()
{
    bus_.Check2_Click();
}
void frmSet::HScroll1_Change()
{
    bus_.HScroll1_Change();
}
void frmSet::HScroll2_Change()
{
    bus_.HScroll2_Change();
}
void frmSet::Command1_Click()
{
    bus_.MnuEditHkPic_Click();
}
void frmSet::Command3_Click()
{
    bus_.MnuHelpVer_Click();
}

void frmSet::paintEvent(QPaintEvent* e)
{
    // A group box measures its title at once, and the first text measured
    // loads the whole font database (about 10 ms). The box is never seen, so
    // this waits until start-up has put the bus on the screen.
    if (Frame2->title().isEmpty())
        Frame2->setTitle(QStringLiteral("中扉動作"));
    QWidget::paintEvent(e);
}

void frmSet::closeEvent(QCloseEvent* e)
{
    // No close box: the window system's close keystroke keeps the panel and its values.
    e->ignore();
}

#include "platform/widgets/twip_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace platform
{

TwipControl::TwipControl(QWidget* parent) : QWidget(parent) {}

void TwipControl::moveTw(const tw::Rect& r)
{
    const bool sizeChanged = r.width != rect_.width || r.height != rect_.height;
    rect_ = r;
    // Negative sizes cannot be drawn; they are kept in twips all the same.
    QRect px = tw::toPixels(r);
    px.setWidth(std::max(0, px.width()));
    px.setHeight(std::max(0, px.height()));
    setGeometry(px);
    if (sizeChanged)
        emit resized();
}

void TwipControl::mousePressEvent(QMouseEvent* e)
{
    pressedInside_ = e->button() == Qt::LeftButton;
    emit mousePressed(e->button(), e->position().toPoint());
    e->accept();
}

void TwipControl::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && pressedInside_) {
        pressedInside_ = false;
        if (rect().contains(e->position().toPoint()))
            emit clicked();
    }
    e->accept();
}

void TwipControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit doubleClicked();
    e->accept();
}

TwipImage::TwipImage(QWidget* parent, bool stretch) : TwipControl(parent), stretch_(stretch) {}

void TwipImage::setPicture(const Picture& p)
{
    picture_ = p;
    if (!stretch_ && !p.isEmpty())
        moveTw({twLeft(), twTop(), p.widthTwips(), p.heightTwips()});
    update();
}

void TwipImage::paintEvent(QPaintEvent*)
{
    if (picture_.image.isNull())
        return;
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    const QSize device = (QSizeF(size()) * dpr).toSize();
    if (stretch_ && picture_.image.size() != device) {
        // Scaled here, not by the painter: its smooth stretch wakes a pool of
        // threads, which a moving door would do at every step.
        QImage scaled = picture_.image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(dpr);
        p.drawImage(QPoint(0, 0), scaled);
    } else if (stretch_) {
        p.drawImage(rect(), picture_.image);
    } else {
        p.drawImage(QPoint(0, 0), picture_.image);
    }
}

TwipPictureBox::TwipPictureBox(QWidget* parent, QColor background)
    : TwipControl(parent), background_(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TwipPictureBox::setBackground(const QColor& c)
{
    background_ = c;
    update();
}

void TwipPictureBox::setPicture(const Picture& p)
{
    picture_ = p;
    if (autoSize_ && !p.isEmpty())
        moveTw({twLeft(), twTop(), p.widthTwips(), p.heightTwips()});
    update();
}

void TwipPictureBox::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), background_);
    if (!picture_.image.isNull())
        p.drawImage(QPoint(0, 0), picture_.image);
    paintShapes(p, shapes_);
}

void TwipPictureBox::keyPressEvent(QKeyEvent* e)
{
    std::int16_t shift = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (e->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (e->modifiers() & Qt::AltModifier)
        shift |= 4;
    emit keyDown(virtualKeyCode(e->key()), shift);
    e->accept();
}

TwipShape::TwipShape(QWidget* container, const tw::Rect& r, QColor fill, QColor outline)
    : container_(container), rect_(r), fill_(fill), outline_(outline)
{
}

QRect TwipShape::pixelRect() const
{
    return tw::toPixels(rect_);
}

void TwipShape::moveTw(const tw::Rect& r)
{
    const QRect old = pixelRect();
    rect_ = r;
    if (visible_)
        container_->update(old.united(pixelRect()));
}

void TwipShape::setVisible(bool v)
{
    if (v == visible_)
        return;
    visible_ = v;
    container_->update(pixelRect());
}

void TwipShape::paint(QPainter& p) const
{
    if (!visible_)
        return;
    const QRect r = pixelRect();
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r, fill_);
    p.setPen(QPen(outline_, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void paintShapes(QPainter& p, const std::vector<TwipShape*>& shapes)
{
    for (const TwipShape* s : shapes)
        s->paint(p);
}

std::int16_t virtualKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Delete:
        return 46;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return static_cast<std::int16_t>(qtKey); // same codes as ASCII
    return 0;
}

} // namespace platform

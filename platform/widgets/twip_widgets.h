#pragma once
// Widgets that keep their geometry in twips, as the window layouts give it.
#include "platform/core/twips.h"
#include "platform/pictures/picture.h"

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace platform
{

class TwipShape;

// A windowed control placed in its container's client twips.
class TwipControl : public QWidget
{
    Q_OBJECT
public:
    explicit TwipControl(QWidget* parent);

    tw::Rect twRect() const { return rect_; }
    float twLeft() const { return rect_.left; }
    float twTop() const { return rect_.top; }
    float twWidth() const { return rect_.width; }
    float twHeight() const { return rect_.height; }
    void setTwLeft(float v) { moveTw({v, rect_.top, rect_.width, rect_.height}); }
    void setTwTop(float v) { moveTw({rect_.left, v, rect_.width, rect_.height}); }
    void setTwWidth(float v) { moveTw({rect_.left, rect_.top, v, rect_.height}); }
    void setTwHeight(float v) { moveTw({rect_.left, rect_.top, rect_.width, v}); }
    // One move: resized() is emitted at most once, after the whole rectangle is set.
    void moveTw(const tw::Rect& r);

signals:
    void clicked();
    void doubleClicked();
    // Any button press, with the button and the position in this control.
    void mousePressed(Qt::MouseButton button, QPoint pos);
    // The size in twips has changed.
    void resized();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    tw::Rect rect_;
    bool pressedInside_ = false;
};

// An image control: draws its picture stretched to its size, or takes the
// picture's size and draws it unscaled.
class TwipImage : public TwipControl
{
    Q_OBJECT
public:
    explicit TwipImage(QWidget* parent, bool stretch);
    void setPicture(const Picture& p);
    const Picture& picture() const { return picture_; }
    bool stretch() const { return stretch_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Picture picture_;
    bool stretch_;
};

// A picture box: background colour, a picture at its top-left corner, its
// children clipped to it; it can size itself to its picture and carry
// windowless shapes painted beneath its children.
class TwipPictureBox : public TwipControl
{
    Q_OBJECT
public:
    explicit TwipPictureBox(QWidget* parent, QColor background = Qt::white);
    void setBackground(const QColor& c);
    // With autoSize, a non-empty picture gives the box the picture's size; an
    // empty one keeps the size.
    void setAutoSize(bool on) { autoSize_ = on; }
    void setPicture(const Picture& p);
    const Picture& picture() const { return picture_; }
    void addShape(TwipShape* s) { shapes_.push_back(s); }

signals:
    // A key went down while the box had the focus: Windows virtual-key code and shift state.
    void keyDown(std::int16_t keyCode, std::int16_t shift);

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    Picture picture_;
    QColor background_;
    bool autoSize_ = false;
    std::vector<TwipShape*> shapes_;
};

// A windowless rectangle painted on its container's surface, beneath the
// container's windowed children. The container paints it (paintShapes).
class TwipShape
{
public:
    TwipShape(QWidget* container, const tw::Rect& r, QColor fill, QColor outline);
    tw::Rect twRect() const { return rect_; }
    void moveTw(const tw::Rect& r);
    bool isVisible() const { return visible_; }
    void setVisible(bool v);
    void paint(QPainter& p) const;

private:
    QRect pixelRect() const;
    QWidget* container_;
    tw::Rect rect_;
    QColor fill_, outline_;
    bool visible_ = true;
};

void paintShapes(QPainter& p, const std::vector<TwipShape*>& shapes);

// The Windows virtual-key code of a Qt key (only the keys the program looks at
// need to be exact: the arrows; others map to 0 unless they are letters/digits).
std::int16_t virtualKeyCode(int qtKey);

} // namespace platform

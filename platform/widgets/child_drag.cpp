#include "platform/widgets/child_drag.h"

#include "platform/widgets/twip_widgets.h"

#include <QEvent>
#include <QMouseEvent>
#include <algorithm>

namespace platform
{
namespace
{

class ChildDrag : public QObject
{
public:
    ChildDrag(TwipControl* c, QPoint grab) : QObject(c), control_(c), grab_(grab)
    {
        c->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != control_)
            return false;
        switch (e->type()) {
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (!(me->buttons() & Qt::LeftButton)) {
                finish(); // the release went elsewhere
                return false;
            }
            moveTo(control_->mapToParent(me->position().toPoint()) - grab_);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
                finish();
            return false;
        case QEvent::Hide:
            finish();
            return false;
        default:
            return false;
        }
    }

private:
    void moveTo(QPoint p)
    {
        const QWidget* parent = control_->parentWidget();
        if (!parent)
            return;
        // Inside the parent where it fits; a control larger than the parent
        // keeps its top-left corner at 0.
        const int maxX = parent->width() - control_->width(), maxY = parent->height() - control_->height();
        p.setX(std::max(0, std::min(p.x(), maxX)));
        p.setY(std::max(0, std::min(p.y(), maxY)));
        const tw::Rect r = control_->twRect();
        const float left = tw::fromPixels(p.x()), top = tw::fromPixels(p.y());
        if (left != r.left || top != r.top)
            control_->moveTw({left, top, r.width, r.height});
    }

    void finish()
    {
        control_->removeEventFilter(this);
        deleteLater();
    }

    TwipControl* control_;
    QPoint grab_;
};

} // namespace

void beginChildDrag(TwipControl* control, QPoint grab)
{
    // A press while a drag is still registered (its release was lost) replaces it.
    for (QObject* o : control->children())
        if (auto* d = dynamic_cast<ChildDrag*>(o))
            delete d;
    new ChildDrag(control, grab);
}

} // namespace platform

#pragma once
// Acting inside a modal loop from a test: whenModal<W>(f) runs f on the
// modal window of type W as soon as one is on top. f must close it, or the
// loop that shows it never returns.
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace testing_support
{

template <typename W> void whenModal(std::function<void(W*)> f, int timeoutMs = 5000)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [=, deadline = QDeadlineTimer(timeoutMs)] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        const bool shown = w && w->isVisible();
        if (!shown && !deadline.hasExpired())
            return;
        poll->stop();
        if (shown) {
            f(w);
        } else {
            ADD_FAILURE() << "no modal " << W::staticMetaObject.className() << " appeared";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
        poll->deleteLater();
    });
    poll->start(10);
}

// Whether f opens a pop-up menu; it is closed again at once.
inline bool opensPopup(const std::function<void()>& f)
{
    bool opened = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* m = QApplication::activePopupWidget())
            opened = m->close();
    });
    closer.start(50);
    f();
    QTest::qWait(100);
    return opened;
}

} // namespace testing_support

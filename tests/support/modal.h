#pragma once
// Acting inside a modal loop from a test: whenModal<W>(f, opens) calls
// opens(), which must open a modal window of type W, and runs f on it as soon
// as it is on top. f must close it, or the loop that shows it never returns.
// When none has come by the time opens() returns, the test fails there; one
// that has not come within timeoutMs closes whatever modal window is open
// instead, so that opens() can return.
#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace testing_support
{

template <typename W>
void whenModal(const std::function<void(W*)>& f, const std::function<void()>& opens, int timeoutMs = 5000)
{
    bool acted = false;
    QTimer poll;
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(&poll, &QTimer::timeout, qApp, [&] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        const bool shown = w && w->isVisible();
        if (!shown && !deadline.hasExpired())
            return;
        poll.stop();
        if (shown) {
            acted = true;
            f(w);
        } else if (QWidget* other = QApplication::activeModalWidget()) {
            other->close();
        }
    });
    poll.start(10);
    opens();
    poll.stop();
    EXPECT_TRUE(acted) << "no modal " << W::staticMetaObject.className() << " appeared";
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

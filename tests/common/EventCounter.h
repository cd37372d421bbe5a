#pragma once
// Counts the events of one type a widget or object receives, from when it is made.
#include <QEvent>
#include <QObject>

namespace testing_support {

class EventCounter : public QObject {
public:
    EventCounter(QObject* watched, QEvent::Type type) : type_(type) {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) ++count;
        return false;
    }

private:
    QEvent::Type type_;
};

} // namespace testing_support

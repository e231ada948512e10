#include "table/announcement.h"

void Announcement::Say(const QString& words, void (*sink)(QAccessibleEvent*)) {
    const auto send = [&](QAccessible::Event type) {
        QAccessibleEvent event(this, type);
        sink(&event);
    };
    if (words_ == words) {  // the same words again are still news: hide them first
        words_.clear();
        send(QAccessible::ObjectHide);
    }
    words_ = words;
    send(QAccessible::ObjectShow);
}

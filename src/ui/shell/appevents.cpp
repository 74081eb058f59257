#include "appevents.h"

#include <QJSEngine>

namespace twinsift {

AppEvents *AppEvents::instance() {
    // Outlives every window and engine.
    static AppEvents *const events = new AppEvents;
    return events;
}

AppEvents *AppEvents::create(QQmlEngine *, QJSEngine *) {
    AppEvents *events = instance();
    QJSEngine::setObjectOwnership(events, QJSEngine::CppOwnership);
    return events;
}

} // namespace twinsift

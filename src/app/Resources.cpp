#include "app/Resources.h"

#include <QtCore/qglobal.h>

#include <mutex>

static void RegisterOnce() {
    Q_INIT_RESOURCE(druvel);
}

void InitDruvelResources() {
    static std::once_flag once;
    std::call_once(once, RegisterOnce);
}

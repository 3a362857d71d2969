#include "app/DroppedPaths.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

std::vector<std::string> DroppedPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!path.isEmpty())
            paths.push_back(QFile::encodeName(path).toStdString());
    }
    return paths;
}

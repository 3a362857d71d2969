#include "controls/ControlFonts.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

const char* const kJapaneseGothicFaces[] = {"ＭＳ Ｐゴシック", "MS UI Gothic"};
constexpr const char* kJapaneseGothicStandIn = "IPAPGothic";
constexpr const char* kTimesFace = "Times New Roman";
constexpr const char* kTimesStandIn = "Liberation Serif";

// The interface font's cell; also the size of a font asked for without one.
constexpr int kInterfacePixelSize = 12;

QFont::Weight ToQtWeight(int weight) {
    if (weight <= 0)
        return QFont::Normal;
    return static_cast<QFont::Weight>(std::clamp(weight, 1, 1000));
}

} // namespace

void ControlFonts::RegisterSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* face : kJapaneseGothicFaces)
            QFont::insertSubstitution(QString::fromUtf8(face),
                                      QString::fromUtf8(kJapaneseGothicStandIn));
        QFont::insertSubstitution(QString::fromUtf8(kTimesFace), QString::fromUtf8(kTimesStandIn));
        // Japanese in the desktop's font (menus, titles in lists) falls back to the face the
        // controls already use, not to a second Japanese font of 2 MB more.
        if (qGuiApp != nullptr)
            QFont::insertSubstitution(QGuiApplication::font().family(),
                                      QString::fromUtf8(kJapaneseGothicStandIn));
    });
}

QFont ControlFonts::Make(const QString& face, int height, int weight, bool italic) {
    RegisterSubstitutions();
    QFont font(face);
    font.setWeight(ToQtWeight(weight));
    font.setItalic(italic);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // A cell height includes the internal leading: find the em that fills the cell.
        font.setPixelSize(height);
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / cell))));
    } else {
        font.setPixelSize(kInterfacePixelSize);
    }
    return font;
}

QFont ControlFonts::Make(const char* faceUtf8, int height, int weight, bool italic) {
    return Make(QString::fromUtf8(faceUtf8), height, weight, italic);
}

QFont ControlFonts::InterfaceFont() {
    return Make("ＭＳ Ｐゴシック", kInterfacePixelSize);
}

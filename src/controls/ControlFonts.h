#pragma once

#include <QFont>
#include <QString>

// The controls' fonts in one place: the Windows face names the program asks for map to the
// installed stand-ins, and a font is made from a face, a cell height and a weight the way the
// controls describe them.
class ControlFonts {
public:
    static constexpr int kWeightNormal = 400;
    static constexpr int kWeightBold = 700;

    // Registers the face substitutions once per process; safe to call from any control.
    static void RegisterSubstitutions();

    // height > 0: the character cell (ascent + descent) in logical pixels; height < 0: the
    // character height (the em) in pixels; 0: the default size. weight 1..1000, 0 for normal.
    static QFont Make(const QString& face, int height, int weight = kWeightNormal,
                      bool italic = false);
    static QFont Make(const char* faceUtf8, int height, int weight = kWeightNormal,
                      bool italic = false);

    // The interface font of the information line and the slider labels: "ＭＳ Ｐゴシック" in a
    // cell 12 pixels high.
    static QFont InterfaceFont();
};

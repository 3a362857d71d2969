#pragma once

#include "controls/CLSWndSpectrum.h"
#include "controls/SpectrumGeometry.h"
#include "midi/MIDITRACKINFO.h"

#include <QImage>
#include <QWidget>

inline MIDITRACKINFOARRAY MakeRows(int count, int level = 0, int sounding = 0) {
    MIDITRACKINFOARRAY rows;
    for (int i = 0; i < count; ++i) {
        MIDITRACKINFO row;
        row.label = i % 145;
        row.level.store(level);
        row.sounding.store(sounding);
        rows.push_back(row);
    }
    return rows;
}

// (The QApplication comes from SpectrumTestApp.cpp.)
// A spectrum in a shown parent, meter width 15 (pitch 34) and a client 108 high (gradient 100).
class SpectrumFixture {
public:
    static constexpr int kHeight = 108;
    static constexpr int kGradient = kHeight - SpectrumGeometry::kGradientMargin;

    explicit SpectrumFixture(int width = 200) {
        parent.resize(width, kHeight);
        parent.show();
        spectrum.Create(&parent, 1035);
        spectrum.Move(0, 0, width, kHeight);
    }

    QWidget parent;
    CLSWndSpectrum spectrum;
};

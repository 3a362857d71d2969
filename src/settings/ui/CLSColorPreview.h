#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

// The spectrum's gradient from the five colours of the settings record, framed in black, so
// the Customize sheet shows what the meters will look like.
class CLSColorPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrame = 6;

    // `colors` (0x00BBGGRR, top first) belongs to the caller and outlives the preview.
    CLSColorPreview(const std::array<std::uint32_t, 5>& colors, QSize gradient,
                    QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The preview as it is painted, at the given device pixel ratio.
    QImage Render(qreal ratio) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::array<std::uint32_t, 5>& m_colors;
    QSize m_gradient;
};

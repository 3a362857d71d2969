#pragma once

#include <QWidget>

class CLSWndSpectrum;
class QScrollBar;

// The spectrum's window: hands paint, size, mouse and scroll events to its control and carries
// the horizontal scroll bar, shown only while the rows do not all fit.
class SpectrumWidget final : public QWidget {
public:
    SpectrumWidget(CLSWndSpectrum& owner, QWidget* parent);
    ~SpectrumWidget() override;

    QScrollBar& ScrollBar() const noexcept { return *m_scrollBar; }
    // The area above the scroll bar.
    QSize ClientSize() const;
    // Shows or hides the bar and places it; true when the client size changed.
    bool LayOutScrollBar(bool needed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CLSWndSpectrum& m_owner;
    QScrollBar* m_scrollBar; // a child: Qt owns it
};

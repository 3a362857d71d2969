#pragma once

#include "controls/RepaintRequest.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <atomic>
#include <string>

// The playing position as hh:mm:ss in a bold italic face with a drop shadow. SetSeconds may
// be called from any thread.
class CLSWndTimeLabel : public QWidget {
    Q_OBJECT

public:
    explicit CLSWndTimeLabel(QWidget* parent = nullptr);

    void Create(QWidget* parent, int controlId);
    void Destroy();
    bool IsCreated() const { return m_created.load(std::memory_order_relaxed); }
    void Move(int x, int y, int width, int height);
    void Show(bool show);

    void SetSeconds(unsigned seconds);
    unsigned Seconds() const { return m_seconds.load(std::memory_order_relaxed); }
    int ControlId() const { return m_controlId; }
    const QFont& LabelFont() const { return m_font; }

    // Hours are not limited to two digits.
    static std::string Text(unsigned seconds);
    // Cell height of the face for a label of the given size.
    static int FontHeight(int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateFont();

    QFont m_font;
    QSize m_fontFor{-1, -1};
    QColor m_textColor{255, 255, 200};
    QColor m_shadowColor{70, 70, 70};
    QColor m_backgroundColor{0, 0, 0};
    std::atomic<unsigned> m_seconds{0};
    std::atomic<bool> m_created{false};
    int m_controlId = 0;
    RepaintRequest m_repaint{this};
};

#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <QString>

// An off-screen picture a control draws into before copying it to its widget in one block.
// Sizes and coordinates are logical pixels; the image holds width × ratio by height × ratio
// device pixels so text and lines stay sharp on a scaled screen. All locking is the owner's.
class CLSGraphicsBuffer {
public:
    enum class BkMode { Transparent, Opaque };

    // A new picture of the given logical size (at least 1 × 1); the old contents are dropped.
    // False when the image cannot be allocated, leaving the buffer empty.
    bool Create(int width, int height, qreal devicePixelRatio = 1.0);
    // The same picture at a new size; nothing before Create. Contents are not kept: the new
    // picture starts in the background colour.
    bool Resize(int width, int height);
    void Destroy();

    bool IsNull() const { return m_image.isNull(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    qreal DevicePixelRatio() const { return m_ratio; }

    // ARGB32_Premultiplied with its device pixel ratio set: a QPainter on it draws in
    // logical pixels.
    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    void SetTextColor(QColor color) { m_textColor = color; }
    QColor TextColor() const { return m_textColor; }
    void SetBkColor(QColor color) { m_bkColor = color; }
    QColor BkColor() const { return m_bkColor; }
    void SetBkMode(BkMode mode) { m_bkMode = mode; }
    BkMode GetBkMode() const { return m_bkMode; }
    void SelectFont(const QFont& font) { m_font = font; }
    const QFont& Font() const { return m_font; }

    void Fill(QColor color);
    // Fills the whole picture with the background colour.
    void Clear() { Fill(m_bkColor); }
    void FillRect(const QRect& rect, QColor color);

    // Size of one line of text in the selected font, logical pixels.
    QSize TextExtent(const QString& text) const;
    // One line with its top-left cell corner at (x, y) in the text colour; with an opaque
    // background mode the text cell is painted in the background colour first.
    void TextOut(int x, int y, const QString& text);

    // Draws the whole picture with its top-left corner at the logical point 'at'.
    void BitBlt(QPainter& dst, QPoint at) const;
    void BitBlt(QPainter& dst, QPoint at, QPainter::CompositionMode mode) const;

private:
    QImage m_image;
    int m_width = 0;
    int m_height = 0;
    qreal m_ratio = 1.0;
    bool m_created = false;
    QColor m_textColor = Qt::black;
    QColor m_bkColor = Qt::white;
    BkMode m_bkMode = BkMode::Opaque;
    QFont m_font;
};

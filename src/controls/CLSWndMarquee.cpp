#include "controls/CLSWndMarquee.h"

#include "core/DisplayText.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QThread>

#include <chrono>

namespace {

const QColor kTextColor(255, 170, 170);

} // namespace

CLSWndMarquee::CLSWndMarquee(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_picture.SetTextColor(kTextColor);
    m_picture.SetBkColor(Qt::black);
    m_picture.SetBkMode(CLSGraphicsBuffer::BkMode::Opaque);
    hide();
}

CLSWndMarquee::~CLSWndMarquee() {
    StopThread();
}

void CLSWndMarquee::Create(QWidget* parent, int controlId) {
    Destroy();
    m_controlId = controlId;
    setParent(parent);
    setGeometry(0, 0, 0, 0);
    {
        std::lock_guard lock(m_lock);
        m_width = 0;
        m_height = 0;
        m_picture.SetTextColor(kTextColor);
        m_picture.SetBkColor(Qt::black);
        m_picture.Create(0, 0, devicePixelRatioF());
        m_dirty = true;
    }
    show();
    m_stopRequested.store(false, std::memory_order_relaxed);
    m_thread = std::thread([this] { Run(); });
}

void CLSWndMarquee::Destroy() {
    if (!IsCreated())
        return;
    StopThread();
    hide();
    setParent(nullptr);
}

void CLSWndMarquee::StopThread() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard wake(m_wakeLock);
        m_stopRequested.store(true, std::memory_order_relaxed);
    }
    m_wake.notify_all();
    m_thread.join();
}

void CLSWndMarquee::Move(int x, int y, int width, int height) {
    if (!IsCreated())
        return;
    setGeometry(x, y, width, height);
    // A hidden widget gets its resize event only when shown; the picture must fit already.
    SizeChanged();
    update();
}

void CLSWndMarquee::SetTexts(const CLSTStringArray& texts) {
    {
        std::lock_guard lock(m_lock);
        m_texts = texts;
        NextTextLocked(true);
    }
    RequestRepaint();
}

void CLSWndMarquee::SetTextColor(QColor color) {
    {
        std::lock_guard lock(m_lock);
        m_picture.SetTextColor(color);
        m_dirty = true;
    }
    RequestRepaint();
}

void CLSWndMarquee::SetBkColor(QColor color) {
    {
        std::lock_guard lock(m_lock);
        m_picture.SetBkColor(color);
        m_dirty = true;
    }
    RequestRepaint();
}

void CLSWndMarquee::SetFont(const QFont& font) {
    {
        std::lock_guard lock(m_lock);
        m_picture.SelectFont(font);
        // The current text keeps scrolling; only its width in the new face changes.
        MeasureLocked();
    }
    RequestRepaint();
}

int CLSWndMarquee::CurrentIndex() const {
    std::lock_guard lock(m_lock);
    return m_scroll.Current();
}

int CLSWndMarquee::DrawX() const {
    std::lock_guard lock(m_lock);
    return m_scroll.DrawX();
}

QImage CLSWndMarquee::Picture() const {
    std::lock_guard lock(m_lock);
    return m_picture.Image().copy();
}

void CLSWndMarquee::NextTextLocked(bool restart) {
    const int index = m_scroll.NextIndex(restart, static_cast<int>(m_texts.size()));
    m_currentText =
        index == MarqueeScroll::kNone
            ? QString()
            : QString::fromStdString(DisplayText(m_texts[index].Text(), m_texts[index].Length()));
    m_scroll.Begin(index, 0);
    MeasureLocked();
}

void CLSWndMarquee::MeasureLocked() {
    const QSize size = m_picture.TextExtent(m_currentText);
    m_scroll.SetTextWidth(m_currentText.isEmpty() ? 0 : size.width());
    m_textHeight = size.height();
    m_dirty = true;
}

void CLSWndMarquee::DrawLocked() {
    if (m_picture.IsNull())
        return;
    const int x = m_scroll.DrawX();
    if (!m_dirty && x == m_drawnX)
        return;
    const int textWidth = m_scroll.TextWidth();
    if (!m_currentText.isEmpty())
        m_picture.TextOut(x, (m_height - m_textHeight) / 2, m_currentText);
    if (x + textWidth < m_picture.Width())
        m_picture.FillRect(
            QRect(x + textWidth, 0, m_picture.Width() - (x + textWidth), m_picture.Height()),
            m_picture.BkColor());
    m_drawnX = x;
    m_dirty = false;
}

// A new size or a move to a screen of another scale needs a new picture.
void CLSWndMarquee::FitPictureLocked() {
    const qreal ratio = devicePixelRatioF();
    if (m_picture.IsNull() || m_picture.DevicePixelRatio() != ratio ||
        m_picture.Width() != std::max(m_width, 1) || m_picture.Height() != std::max(m_height, 1)) {
        m_picture.Create(m_width, m_height, ratio);
        m_dirty = true;
    }
}

void CLSWndMarquee::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SizeChanged();
}

void CLSWndMarquee::SizeChanged() {
    std::lock_guard lock(m_lock);
    m_width = width();
    m_height = height();
    FitPictureLocked();
}

void CLSWndMarquee::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    std::lock_guard lock(m_lock);
    FitPictureLocked();
    DrawLocked();
    m_picture.BitBlt(painter, QPoint(0, 0));
}

void CLSWndMarquee::RequestRepaint() {
    if (QThread::currentThread() == thread())
        update();
    else
        m_repaint.Post();
}

void CLSWndMarquee::Run() {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(m_scroll.PeriodMs());
    auto t = Clock::now();
    while (!m_stopRequested.load(std::memory_order_relaxed)) {
        bool changed;
        {
            std::lock_guard lock(m_lock);
            changed = m_dirty || m_scroll.DrawX() != m_drawnX;
            DrawLocked();
        }
        if (changed)
            RequestRepaint();
        {
            std::unique_lock wake(m_wakeLock);
            m_wake.wait_until(wake, t + period,
                              [this] { return m_stopRequested.load(std::memory_order_relaxed); });
        }
        t = Clock::now();
        std::lock_guard lock(m_lock);
        if (m_scroll.Step())
            NextTextLocked(false);
    }
}

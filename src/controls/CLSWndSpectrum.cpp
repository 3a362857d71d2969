// Lock order: m_lock only. The drawing thread holds it for a whole tick; the GUI thread holds it
// while it renders or blits the picture, rebuilds the gradient or redraws a button.
#include "controls/CLSWndSpectrum.h"

#include "controls/ControlFonts.h"
#include "controls/CrossThreadWakeup.h"
#include "controls/DisplayTrace.h"
#include "controls/RepaintPacer.h"
#include "controls/SpectrumGeometry.h"
#include "controls/SpectrumIcons.h"
#include "controls/SpectrumWidget.h"
#include "core/CLSError.h"
#include "midi/MIDILabelNames.h"

#include <QFont>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

namespace SG = SpectrumGeometry;

namespace {

constexpr QRgb kDarkGrey = 0xFF404040u; // the stock dark grey brush
constexpr QRgb kOutline = 0xFF7F7F7Fu;
constexpr QRgb kEdgeLight = 0xFFE3E3E3u;
constexpr QRgb kEdgeDark = 0xFF696969u;
constexpr int kMinMeterWidth = 1;
constexpr int kMaxMeterWidth = 100;

// The labels' font: a cell 12 pixels high fills the strip beside the meter exactly.
QFont LabelFont() {
    QFont font = ControlFonts::Make("ＭＳ Ｐゴシック", 12);
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    return font;
}

int ToDevice(int logical, qreal ratio) {
    return static_cast<int>(std::lround(logical * ratio));
}

// Fills a rectangle of logical pixels, clipped to the image.
void FillLogical(QImage& image, int x, int y, int width, int height, QRgb color) {
    const qreal ratio = image.devicePixelRatio();
    const int left = std::max(ToDevice(x, ratio), 0);
    const int right = std::min(ToDevice(x + width, ratio), image.width());
    const int top = std::max(ToDevice(y, ratio), 0);
    const int bottom = std::min(ToDevice(y + height, ratio), image.height());
    for (int row = top; row < bottom && left < right; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        std::fill(line + left, line + right, color);
    }
}

// Copies `rows` logical rows of the gradient, from `sourceRow` on, to (x, y) of the image.
void CopyGradientRows(QImage& image, int x, int y, const QImage& gradient, int sourceRow,
                      int rows) {
    const qreal ratio = image.devicePixelRatio();
    const int left = ToDevice(x, ratio);
    const int from = std::max(left, 0);
    const int to = std::min(left + gradient.width(), image.width());
    const int top = ToDevice(y, ratio);
    const int count = ToDevice(y + rows, ratio) - top;
    const int source = ToDevice(sourceRow, ratio);
    for (int k = 0; k < count && from < to; ++k) {
        const int target = top + k;
        const int line = std::min(source + k, gradient.height() - 1);
        if (target < 0 || target >= image.height() || line < 0)
            continue;
        const auto* in = reinterpret_cast<const QRgb*>(gradient.constScanLine(line));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(target));
        std::copy(in + (from - left), in + (to - left), out + from);
    }
}

} // namespace

CLSWndSpectrum::CLSWndSpectrum() = default;

CLSWndSpectrum::~CLSWndSpectrum() {
    Destroy();
    Stop(true);
}

QWidget* CLSWndSpectrum::Window() const noexcept {
    return m_view.get();
}

int CLSWndSpectrum::Pitch() const noexcept {
    return SG::Pitch(m_meterWidth);
}

std::size_t CLSWndSpectrum::RowCount() const noexcept {
    return m_rows ? m_rows->size() : 0;
}

void CLSWndSpectrum::Create(QWidget* parent, int id) {
    Destroy();
    m_id = id;
    if (!m_fallWake)
        m_fallWake = std::make_unique<CrossThreadWakeup>([this] { OnFallWake(); });
    m_scroll.store(1, std::memory_order_relaxed);
    m_view = std::make_unique<SpectrumWidget>(*this, parent);
    m_view->setGeometry(0, 0, 0, 0);
    m_view->show();
}

void CLSWndSpectrum::Destroy() {
    Stop(false);
    // Reset clears the pointer before deleting: the view's destructor finds nothing to give up.
    m_view.reset();
}

// The view is going (destroyed by us or by its parent): it must not be drawn into again.
void CLSWndSpectrum::OnViewDestroyed() noexcept {
    Stop(false);
    std::lock_guard lock(m_lock);
    m_gradient = QImage();
    m_picture = QImage();
    m_pictureStale = true;
    (void)m_view.release(); // the parent deletes it, or Destroy already has
}

void CLSWndSpectrum::Move(int x, int y, int width, int height) {
    if (m_view)
        m_view->setGeometry(x, y, width, height);
}

void CLSWndSpectrum::Show(bool show) {
    if (m_view)
        m_view->setVisible(show);
}

void CLSWndSpectrum::SetRows(MIDITRACKINFOARRAY* rows) {
    // A thread that is falling ends with its fall; it is not started again.
    const bool wasRunning = IsRunning() && !m_stopRequested.load();
    Stop(false);
    m_rows = rows;
    // A button held across a song change must not be dragged over rows that are gone.
    m_pressedRow = -1;
    m_pressedSunken = false;
    m_captured = false;
    m_scroll.store(1, std::memory_order_relaxed);
    UpdateScrollBar();
    Invalidate();
    if (wasRunning)
        Start();
}

void CLSWndSpectrum::Start() {
    if (!m_view || !m_rows)
        return;
    Stop(false);
    SetMeterWidth(m_meterWidth);
    m_stopRequested.store(false);
    m_stopAtOnce.store(false);
    m_fallDone.store(false);
    m_fallPending = false; // a fall cut short earlier: its caller has moved on
    m_fallOver = false;
    {
        std::lock_guard lock(m_lock);
        m_meters.Reset(m_rows->size(), m_soundDelay);
        m_drawnLevels.assign(m_rows->size(), -1);
    }
    m_threadView = m_view.get();
    try {
        m_thread = std::thread([this] { RunThread(); });
    } catch (const std::system_error&) {
        CLSError(1, kModule, __LINE__).Show(m_view.get());
        return;
    }
    RepaintPacer::Instance().Attach(m_threadView, [this] { return TakeDirty(); });
}

void CLSWndSpectrum::Stop(bool immediate) {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_lock);
        m_stopAtOnce.store(immediate);
        m_stopRequested.store(true);
    }
    EndThread();
    if (m_fallPending) {
        // A fall waited for or cut short is still told, from the event loop.
        m_fallOver = true;
        m_fallWake->Post();
    }
}

bool CLSWndSpectrum::Fall() {
    if (!m_thread.joinable())
        return false;
    {
        // Set under the lock: once a tick in progress is over, no tick reads the rows again.
        std::lock_guard lock(m_lock);
        m_stopAtOnce.store(false);
        m_stopRequested.store(true);
    }
    m_fallPending = true;
    return true;
}

void CLSWndSpectrum::EndThread() {
    m_thread.join();
    RepaintPacer::Release(m_threadView);
}

void CLSWndSpectrum::OnFallWake() {
    if (!m_fallPending)
        return;
    if (!m_fallOver) {
        if (!m_thread.joinable() || !m_fallDone.load())
            return; // the wake-up of an earlier run
        EndThread();
    }
    m_fallPending = false;
    m_fallOver = false;
    if (m_onFallen)
        m_onFallen();
}

void CLSWndSpectrum::RunThread() noexcept {
    for (;;) {
        bool stopping = false;
        bool allZero = true;
        {
            std::lock_guard lock(m_lock);
            stopping = m_stopRequested.load();
            // Falling needs only the shown levels: the rows may already belong to another song.
            allZero = stopping ? m_meters.Fall()
                               : m_meters.Tick(*m_rows, false, std::chrono::steady_clock::now());
            DrawMovedMeters();
        }
        if (stopping && (m_stopAtOnce.load() || allZero)) {
            m_fallDone.store(true);
            m_fallWake->Post();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(SG::kTickMs));
    }
}

// The meters moved since the last frame, for the pacer: a repaint of the whole window would
// redraw the scroll bar at every tick too.
QRect CLSWndSpectrum::TakeDirty() {
    std::lock_guard lock(m_lock);
    QRect dirty = std::exchange(m_dirty, QRect());
    if (!dirty.isEmpty())
        DisplayTrace::Record(DisplayTrace::Event::SpectrumTaken, 0);
    return dirty;
}

void CLSWndSpectrum::DrawMovedMeters() {
    if (m_pictureStale || m_picture.isNull())
        return;
    const int scroll = m_scroll.load(std::memory_order_relaxed);
    const int pitch = Pitch();
    for (std::size_t j = 0; j < m_meters.Count(); ++j) {
        const int x = SG::ColumnLeft(static_cast<int>(j), scroll, pitch);
        if (!m_meters.Moved(j) || x + pitch < 0 || x >= m_clientWidth)
            continue;
        const int shown = m_meters.Shown(j);
        if (m_drawnLevels[j] >= 0 && shown > m_drawnLevels[j])
            DisplayTrace::Record(DisplayTrace::Event::SpectrumRise, static_cast<int>(j));
        m_dirty |= DrawMeterChange(x, m_drawnLevels[j], shown);
        m_drawnLevels[j] = shown;
    }
}

// Redraws only the rows of a meter that differ between two levels (a silent meter falls by 2
// a tick, and a digital one shows that only every third level); returns them, logical pixels.
// A level of -1 stands for a meter not drawn yet.
QRect CLSWndSpectrum::DrawMeterChange(int x, int from, int to) {
    const int height = SG::GradientHeight(m_clientHeight);
    if (m_gradient.isNull() || height <= 0)
        return {};
    const int left = x + SG::kMeterLeft;
    if (from < 0) {
        DrawMeter(x, to);
        return QRect(left, SG::kMeterTop, m_meterWidth, height);
    }
    if (!m_digital) {
        const int before = SG::Continuous(from, height).litTop;
        const int after = SG::Continuous(to, height).litTop;
        if (before == after)
            return {};
        DrawMeter(x, to);
        return QRect(left, std::min(before, after), m_meterWidth, std::abs(after - before));
    }
    const int before = SG::Digital(from, height).lit;
    const int after = SG::Digital(to, height).lit;
    if (before == after)
        return {};
    const int low = std::min(before, after);
    const int high = std::max(before, after);
    for (int i = low; i < high; ++i)
        DrawSegment(left, i, i < after, height);
    const int top = SG::SegmentTop(high - 1, height);
    return QRect(left, top, m_meterWidth, SG::SegmentTop(low, height) + SG::kSegmentHeight - top);
}

void CLSWndSpectrum::SetMeterWidth(int pixels) {
    // Read from the settings file unchecked: a width below 1 would leave no column to hit.
    {
        std::lock_guard lock(m_lock);
        m_meterWidth = std::clamp(pixels, kMinMeterWidth, kMaxMeterWidth);
    }
    if (!m_view)
        return;
    OnResize();
    Invalidate();
}

void CLSWndSpectrum::SetColors(const SpectrumColors& colors) {
    std::lock_guard lock(m_lock);
    m_colors = colors;
    RebuildGradient();
    m_pictureStale = true;
    if (m_view)
        m_view->update();
}

void CLSWndSpectrum::SetDigital(bool digital) {
    {
        std::lock_guard lock(m_lock);
        m_digital = digital;
    }
    Invalidate();
}

void CLSWndSpectrum::Invalidate() {
    {
        std::lock_guard lock(m_lock);
        m_pictureStale = true;
    }
    if (m_view)
        m_view->update();
}

void CLSWndSpectrum::UpdateScrollBar() {
    if (!m_view)
        return;
    const int count = static_cast<int>(RowCount());
    const int last = SG::ClampScroll(count, 1, std::max(count, 1), m_page);
    QScrollBar& bar = m_view->ScrollBar();
    const QSignalBlocker block(bar);
    bar.setRange(1, last);
    bar.setPageStep(m_page);
    bar.setValue(m_scroll.load(std::memory_order_relaxed));
    if (m_view->LayOutScrollBar(last > 1))
        OnResize();
}

void CLSWndSpectrum::OnResize() {
    const QSize client = m_view->ClientSize();
    m_page = SG::Page(client.width(), Pitch());
    const int count = static_cast<int>(RowCount());
    const int scroll = SG::ClampScroll(m_scroll.load(), 1, std::max(count, 1), m_page);
    m_scroll.store(scroll, std::memory_order_relaxed);
    {
        std::lock_guard lock(m_lock);
        CreatePicture(client.width(), client.height(), m_view->devicePixelRatioF());
        RebuildGradient();
    }
    UpdateScrollBar();
}

void CLSWndSpectrum::OnScroll(int position) {
    const int count = static_cast<int>(RowCount());
    const int clamped = SG::ClampScroll(position, 1, std::max(count, 1), m_page);
    if (clamped == m_scroll.load(std::memory_order_relaxed))
        return;
    m_scroll.store(clamped, std::memory_order_relaxed);
    Invalidate();
}

void CLSWndSpectrum::CreatePicture(int width, int height, qreal ratio) {
    m_clientWidth = width;
    m_clientHeight = height;
    m_pictureStale = true;
    if (width <= 0 || height <= 0) {
        m_picture = QImage();
        return;
    }
    m_picture = QImage(ToDevice(width, ratio), ToDevice(height, ratio), QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(ratio);
}

void CLSWndSpectrum::BlitPicture(QPainter& painter, QPoint at) const {
    painter.drawImage(at, m_picture);
}

void CLSWndSpectrum::RebuildGradient() {
    const qreal ratio = m_picture.isNull() ? 1.0 : m_picture.devicePixelRatio();
    m_gradient =
        CreateGradientBitmap(m_meterWidth, SG::GradientHeight(m_clientHeight), m_colors, ratio);
    m_pictureStale = true;
}

void CLSWndSpectrum::OnPaint(QPainter& painter) {
    std::lock_guard lock(m_lock);
    if (m_view && !m_picture.isNull() &&
        m_picture.devicePixelRatio() != m_view->devicePixelRatioF()) {
        // Moved to a screen of another scale: render at its resolution.
        CreatePicture(m_clientWidth, m_clientHeight, m_view->devicePixelRatioF());
        RebuildGradient();
    }
    if (m_pictureStale)
        RenderAll();
    if (m_picture.isNull())
        return;
    BlitPicture(painter, QPoint(0, 0));
    DisplayTrace::Record(DisplayTrace::Event::SpectrumPainted, 0);
}

QImage CLSWndSpectrum::Picture() {
    std::lock_guard lock(m_lock);
    if (m_pictureStale)
        RenderAll();
    return m_picture.copy();
}

int CLSWndSpectrum::RowLevel(std::size_t row) const {
    // While the thread runs the picture shows what is heard, not what was just sent.
    if (m_thread.joinable() && row < m_meters.Count())
        return m_meters.Shown(row);
    return (*m_rows)[row].level.load(std::memory_order_relaxed);
}

void CLSWndSpectrum::RenderAll() {
    if (m_picture.isNull())
        return;
    m_pictureStale = false;
    QImage& picture = PictureImage();
    picture.fill(Qt::black);
    const int scroll = m_scroll.load(std::memory_order_relaxed);
    const int pitch = Pitch();
    const qreal ratio = picture.devicePixelRatio();
    if (m_iconRatio != ratio) {
        m_icons[0] = SpectrumMuteIcon(false, ratio);
        m_icons[1] = SpectrumMuteIcon(true, ratio);
        m_iconRatio = ratio;
    }
    // Columns wholly outside the client are skipped; meters first, as plain pixel copies.
    std::size_t first = 0;
    std::size_t end = 0;
    for (std::size_t j = 0; j < RowCount(); ++j) {
        const int x = SG::ColumnLeft(static_cast<int>(j), scroll, pitch);
        if (x + pitch < 0) {
            first = j + 1;
            continue;
        }
        if (x >= m_clientWidth)
            break;
        const int level = RowLevel(j);
        DrawMeter(x, level);
        if (j < m_drawnLevels.size())
            m_drawnLevels[j] = level;
        end = j + 1;
    }
    QPainter painter(&picture);
    painter.setFont(LabelFont());
    for (std::size_t j = first; j < end; ++j) {
        const int x = SG::ColumnLeft(static_cast<int>(j), scroll, pitch);
        DrawButton(painter, x, j, m_pressedSunken && static_cast<int>(j) == m_pressedRow);
        DrawLabel(painter, x, j);
        DrawOutline(painter, x);
    }
}

void CLSWndSpectrum::DrawMeter(int x, int level) {
    const int height = SG::GradientHeight(m_clientHeight);
    if (m_gradient.isNull() || height <= 0)
        return;
    QImage& picture = PictureImage();
    const int left = x + SG::kMeterLeft;
    if (!m_digital) {
        const SG::ContinuousMeter meter = SG::Continuous(level, height);
        FillLogical(picture, left, SG::kMeterTop, m_meterWidth, meter.litTop - SG::kMeterTop,
                    kDarkGrey);
        CopyGradientRows(picture, left, meter.litTop, m_gradient, meter.sourceRow, meter.lit);
        return;
    }
    const SG::DigitalMeter meter = SG::Digital(level, height);
    for (int i = 0; i < meter.count; ++i)
        DrawSegment(left, i, i < meter.lit, height);
}

void CLSWndSpectrum::DrawSegment(int left, int segment, bool lit, int height) {
    const int top = SG::SegmentTop(segment, height);
    if (lit)
        CopyGradientRows(PictureImage(), left, top, m_gradient,
                         SG::SegmentSourceRow(segment, height), SG::kSegmentHeight);
    else
        FillLogical(PictureImage(), left, top, m_meterWidth, SG::kSegmentHeight, kDarkGrey);
}

void CLSWndSpectrum::DrawButton(QPainter& painter, int x, std::size_t row, bool sunken) {
    // The whole area a pressed button can cover, so nothing of the other state is left.
    painter.fillRect(QRect(x + SG::kButtonLeft, SG::kButtonTop,
                           SG::kButtonRight - SG::kButtonLeft + 1,
                           SG::kButtonBottom - SG::kButtonTop + 1),
                     Qt::black);
    QRect button(QPoint(x + SG::kButtonLeft, SG::kButtonTop),
                 QPoint(x + SG::kButtonRight - 1, SG::kButtonBottom - 1));
    if (sunken)
        button.translate(1, 1);
    const QColor topLeft(sunken ? kEdgeDark : kEdgeLight);
    const QColor bottomRight(sunken ? kEdgeLight : kEdgeDark);
    painter.fillRect(QRect(button.left(), button.top(), button.width(), 1), topLeft);
    painter.fillRect(QRect(button.left(), button.top(), 1, button.height()), topLeft);
    painter.fillRect(QRect(button.left(), button.bottom(), button.width(), 1), bottomRight);
    painter.fillRect(QRect(button.right(), button.top(), 1, button.height()), bottomRight);
    const bool muted = (*m_rows)[row].muted.load(std::memory_order_relaxed);
    const int inset = (button.width() - SG::kIconSize) / 2;
    painter.drawImage(QPoint(button.left() + inset, button.top() + inset), m_icons[muted ? 1 : 0]);
}

void CLSWndSpectrum::DrawLabel(QPainter& painter, int x, std::size_t row) const {
    const char* text = MIDILabelName((*m_rows)[row].label);
    painter.save();
    painter.translate(x + SG::kLabelX, SG::kLabelY);
    painter.rotate(90); // reads downwards
    painter.setPen(QColor::fromRgb(kLabelColor));
    painter.drawText(QRect(0, 0, std::max(m_clientHeight, 1), SG::kButtonRight - SG::kButtonLeft),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromLatin1(text));
    painter.restore();
}

void CLSWndSpectrum::DrawOutline(QPainter& painter, int x) const {
    // Neighbouring columns share an edge.
    const int pitch = Pitch();
    const QColor color = QColor::fromRgb(kOutline);
    painter.fillRect(QRect(x, 0, pitch + 1, 1), color);
    painter.fillRect(QRect(x, m_clientHeight - 1, pitch + 1, 1), color);
    painter.fillRect(QRect(x, 0, 1, m_clientHeight), color);
    painter.fillRect(QRect(x + pitch, 0, 1, m_clientHeight), color);
}

int CLSWndSpectrum::HitTest(QPoint point) const noexcept {
    return SG::HitMuteButton(point.x(), point.y(), Pitch(), m_scroll.load(),
                             static_cast<int>(RowCount()));
}

void CLSWndSpectrum::OnPress(QPoint point) {
    m_pressedRow = HitTest(point);
    if (m_pressedRow < 0)
        return;
    m_captured = true;
    OnDrag(point);
}

void CLSWndSpectrum::OnDrag(QPoint point) {
    if (!m_captured || m_pressedRow < 0 || static_cast<std::size_t>(m_pressedRow) >= RowCount())
        return;
    const bool sunken = HitTest(point) == m_pressedRow;
    std::lock_guard lock(m_lock);
    m_pressedSunken = sunken;
    if (m_picture.isNull() || m_pictureStale)
        return;
    QPainter painter(&PictureImage());
    const int x = SG::ColumnLeft(m_pressedRow, m_scroll.load(), Pitch());
    DrawButton(painter, x, static_cast<std::size_t>(m_pressedRow), sunken);
    m_view->update();
}

void CLSWndSpectrum::OnRelease(QPoint point) {
    if (m_pressedRow < 0)
        return;
    m_captured = false;
    m_pressedSunken = false;
    if (HitTest(point) == m_pressedRow) {
        std::atomic<bool>& muted = (*m_rows)[static_cast<std::size_t>(m_pressedRow)].muted;
        muted.store(!muted.load());
    }
    m_pressedRow = -1;
    Invalidate();
}

#include "controls/CLSWordControl.h"

#include "controls/ControlFonts.h"
#include "controls/DisplayTrace.h"
#include "controls/RepaintPacer.h"
#include "core/CLSError.h"
#include "core/DisplayText.h"
#include "midi/CLSMIDIData.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>
#include <utility>

namespace {

constexpr const char* kModule = "WORDCTRL";
constexpr int kErrThread = 1;
const QColor kPageColour(255, 255, 255);
const QColor kSecondPartColour(128, 255, 255);
const QColor kHighlightColour(128, 255, 128);

// The lyrics' sizes are cell heights: a line of the unit size fits in the unit.
QFont WordFont(int cellHeight) {
    return ControlFonts::Make("ＭＳ Ｐゴシック", std::max(1, cellHeight));
}

// Pictures: device-resolution images drawn in logical pixels.
void CreatePicture(QImage& picture, QSize size, qreal ratio, const QColor& fill) {
    if (size.isEmpty()) {
        picture = QImage();
        return;
    }
    picture = QImage(std::lround(size.width() * ratio), std::lround(size.height() * ratio),
                     QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(fill);
}

void FillPicture(QImage& picture, const QRect& rect, const QColor& colour) {
    if (picture.isNull() || rect.isEmpty())
        return;
    QPainter painter(&picture);
    painter.fillRect(rect, colour);
}

QRectF DeviceRect(const QRect& rect, qreal ratio) {
    return {rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio};
}

// Bitwise AND of a band of the picture with the same band of the mask.
void AndPicture(QImage& picture, const QRect& rect, const QImage& mask) {
    if (picture.isNull() || rect.isEmpty())
        return;
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(QRectF(rect), mask, DeviceRect(rect, mask.devicePixelRatio()));
}

QString CharText(const char* bytes, int length) {
    return QString::fromStdString(DisplayText(bytes, static_cast<std::size_t>(length)));
}

// Draws the layout's characters with the display's two fonts.
class PictureCanvas final : public WordLayout::Canvas {
public:
    PictureCanvas(QPainter& painter, const QFont& mainFont, const QFont& rubyFont, int width)
        : m_painter(painter), m_main(mainFont), m_ruby(rubyFont),
          m_mainMetrics(mainFont, painter.device()), m_rubyMetrics(rubyFont, painter.device()),
          m_width(width) {}

    int CharWidth(const char* bytes, int length, bool ruby) override {
        return Metrics(ruby).horizontalAdvance(CharText(bytes, length));
    }
    void DrawChar(int x, int y, const char* bytes, int length, bool ruby) override {
        m_painter.setFont(ruby ? m_ruby : m_main);
        m_painter.drawText(QPoint(x, y + Metrics(ruby).ascent()), CharText(bytes, length));
    }
    void FillBlack(int top, int bottom) override {
        m_painter.fillRect(QRect(0, top, m_width, bottom - top), Qt::black);
    }

private:
    const QFontMetrics& Metrics(bool ruby) const { return ruby ? m_rubyMetrics : m_mainMetrics; }

    QPainter& m_painter;
    const QFont& m_main;
    const QFont& m_ruby;
    QFontMetrics m_mainMetrics;
    QFontMetrics m_rubyMetrics;
    int m_width;
};

} // namespace

CLSWordControl::CLSWordControl(QWidget* parent, int controlId)
    : QWidget(parent), m_controlId(controlId) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    resize(0, 0);
}

CLSWordControl::~CLSWordControl() {
    if (m_thread.joinable()) {
        {
            std::lock_guard stop(m_stopLock);
            m_stopRequested = true;
        }
        m_stopSignal.notify_all();
        m_thread.join();
    }
    RepaintPacer::Release(this);
}

void CLSWordControl::Move(int x, int y, int width, int height) {
    setGeometry(x, y, width, height);
    // A hidden widget hears of its new size only when shown; the pictures follow at once.
    ApplySize(QSize(std::max(0, width), std::max(0, height)));
    update();
}

void CLSWordControl::Show(bool show) {
    setVisible(show);
}

void CLSWordControl::Start() {
    if (m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_lock);
        m_lines.clear();
        m_currentLine.reset();
    }
    m_startOnSyllable = false;
    m_syllablesReached = 0;
    m_wipeStarting = false;
    m_stopRequested = false;
    // Taken while nothing loads a song: the engine's texts stay as they are until Stop.
    if (const CLSMIDIData* engine = m_engine.load(std::memory_order_relaxed))
        m_encoding = WordEncodingToConvert(engine->GetTextEncoding());
    SetPaced(true);
    try {
        m_thread = std::thread(&CLSWordControl::Run, this);
    } catch (const std::system_error&) {
        SetPaced(false);
        CLSError(kErrThread, kModule, __LINE__).Show(this);
    }
}

// While the thread runs its drawing is shown at the pacer's frames, not by a call per tick.
void CLSWordControl::SetPaced(bool paced) {
    {
        std::lock_guard lock(m_lock);
        m_paced = paced;
    }
    if (paced) {
        RepaintPacer::Instance().Attach(this, [this] {
            std::lock_guard lock(m_lock);
            QRect dirty = std::exchange(m_dirty, QRect());
            if (!dirty.isEmpty())
                DisplayTrace::Record(DisplayTrace::Event::WordsTaken, 0);
            return dirty;
        });
    } else {
        RepaintPacer::Release(this);
    }
}

void CLSWordControl::Stop() {
    if (m_thread.joinable()) {
        {
            std::lock_guard stop(m_stopLock);
            m_stopRequested = true;
        }
        m_stopSignal.notify_all();
        m_thread.join();
        SetPaced(false);
    }
    {
        std::lock_guard lock(m_lock);
        m_lines.clear();
        m_currentLine.reset();
        m_picture.fill(Qt::black);
    }
    update();
}

void CLSWordControl::Run() {
    CLSMIDIData* const engine = m_engine.load(std::memory_order_relaxed);
    if (!engine)
        return;
    std::unique_lock stop(m_stopLock);
    while (!m_stopRequested) {
        stop.unlock();
        // Asked before taking, so that nothing becomes due between the taking and the answer.
        const bool over = engine->WordsOver();
        try {
            const int remaining = engine->TakeDueWords(m_due);
            ConvertToUtf8(m_due, m_encoding);
            HandleWords(m_due, remaining);
        } catch (const CLSError& error) {
            // Message boxes belong to the GUI thread.
            QMetaObject::invokeMethod(
                this, [this, error] { error.Show(this); }, Qt::QueuedConnection);
            return;
        } catch (const std::exception&) {
            return; // out of memory: the display stands still, playback goes on
        }
        // Woken at the next record's due time too, and more often until the wipe reaches its
        // syllable: a syllable is seen to start when it does, not at the next tick.
        const auto most = std::chrono::milliseconds(m_wipeStarting ? kWipeStartMs : kTickMs);
        const auto wait = std::max<std::chrono::nanoseconds>(engine->UntilNextWord(most),
                                                             std::chrono::milliseconds(1));
        // Nothing left to take and no syllable being wiped (most songs have no lyrics): there
        // is nothing to wake for but the stop.
        const bool idle = over && WipeIdle();
        stop.lock();
        if (idle)
            m_stopSignal.wait(stop, [this] { return m_stopRequested; });
        else
            m_stopSignal.wait_for(stop, wait, [this] { return m_stopRequested; });
    }
}

// As Wipe sees it: no syllable on its way (a timed one counts as such until the thread ends).
bool CLSWordControl::WipeIdle() const {
    std::lock_guard lock(m_lock);
    if (!m_currentLine || m_currentWord >= (*m_currentLine)->size())
        return true;
    const CLSMIDIWordInfo& word = (**m_currentLine)[m_currentWord];
    return word.part != 0 || word.duration == 0;
}

void CLSWordControl::HandleWords(const CLSMIDIWordInfoArray& words, int remainingMs) {
    for (std::size_t i = 0; i < words.size();) {
        const CLSMIDIWordInfo& word = words[i];
        switch (word.kind) {
        case CLSMIDIWordInfo::kTitle:
            DrawTitle(word);
            break;
        case CLSMIDIWordInfo::kPageWord:
            HandlePage(words, i);
            continue;
        case CLSMIDIWordInfo::kClearLine:
            ClearLine(word.line);
            break;
        case CLSMIDIWordInfo::kCuePoint:
            ClearAll();
            break;
        default:
            AdvanceHighlight();
            break;
        }
        ++i;
    }
    Wipe(TimedWipe() ? remainingMs : 0);
}

// A page: the run of page words starting at `index`, appended to the list as lines.
void CLSWordControl::HandlePage(const CLSMIDIWordInfoArray& words, std::size_t& index) {
    std::lock_guard lock(m_lock);
    m_startOnSyllable = !m_currentLine.has_value();
    m_part = words[index].part;
    std::optional<LineIterator> first;
    for (; index < words.size() && words[index].kind == CLSMIDIWordInfo::kPageWord; ++index) {
        const CLSMIDIWordInfo& word = words[index];
        if (!first || m_lines.back().back().line != word.line) {
            m_lines.emplace_back();
            if (!first)
                first = std::prev(m_lines.end());
        }
        m_lines.back().push_back(word);
    }
    LayOutLocked(*first);
}

void CLSWordControl::AdvanceHighlight() {
    std::lock_guard lock(m_lock);
    m_wipedRight = -1;
    m_syllableReached = false;
    if (m_startOnSyllable) {
        m_startOnSyllable = false;
        if (!m_lines.empty()) {
            m_currentLine = m_lines.begin();
            m_currentWord = 0;
        }
        return;
    }
    if (!m_currentLine)
        return;
    if (++m_currentWord < (*m_currentLine)->size())
        return;
    const LineIterator next = m_lines.erase(*m_currentLine);
    m_currentWord = 0;
    if (next == m_lines.end())
        m_currentLine.reset();
    else
        m_currentLine = next;
}

void CLSWordControl::Wipe(int remainingMs) {
    std::lock_guard lock(m_lock);
    m_wipeStarting = false;
    if (!m_currentLine || m_currentWord >= (*m_currentLine)->size())
        return;
    const CLSMIDIWordInfo& word = (**m_currentLine)[m_currentWord];
    if (word.part != 0 || word.duration == 0)
        return;
    // Only for a syllable the picture shows: one out of sight is never reached.
    m_wipeStarting = !m_syllableReached && remainingMs <= word.duration &&
                     QRect(QPoint(0, 0), m_size).contains(word.startPoint.x, word.startPoint.y);
    const int right = WordWipeRight(word.startPoint, word.endPoint, remainingMs, word.duration);
    const QRect band = QRect(QPoint(0, word.startPoint.y), QPoint(right - 1, word.endPoint.y - 1))
                           .intersected(QRect(QPoint(0, 0), m_size));
    // Only what the wipe newly reaches is combined and shown: the AND is idempotent, and
    // repainting unchanged pixels every tick would cost for nothing.
    if (band.isEmpty() || band.right() <= m_wipedRight)
        return;
    const QRect fresh =
        m_wipedRight < band.left() ? band : band.adjusted(m_wipedRight + 1 - band.left(), 0, 0, 0);
    AndPicture(m_picture, fresh, m_highlight);
    RequestRepaintLocked(fresh);
    m_wipedRight = band.right();
    if (!m_syllableReached && m_wipedRight >= word.startPoint.x) {
        m_syllableReached = true;
        m_wipeStarting = false;
        DisplayTrace::Record(DisplayTrace::Event::WordReached, ++m_syllablesReached);
    }
}

void CLSWordControl::ClearLine(int line) {
    std::lock_guard lock(m_lock);
    const WordBand band = WordClearLineBand(m_size.height(), m_unit, line);
    const QRect rect(0, band.top, m_size.width(), band.bottom - band.top);
    FillPicture(m_picture, rect, Qt::black);
    RequestRepaintLocked(rect);
}

void CLSWordControl::ClearAll() {
    std::lock_guard lock(m_lock);
    m_picture.fill(Qt::black);
    RequestRepaintLocked(rect());
}

void CLSWordControl::DrawTitle(const CLSMIDIWordInfo& record) {
    const WordTitleTexts texts = SplitWordTitle(record.text);
    std::lock_guard lock(m_lock);
    if (m_picture.isNull())
        return;
    m_picture.fill(Qt::black);
    const int s = m_unit;
    const int w = m_size.width();
    const int h = m_size.height();
    QPainter painter(&m_picture);
    painter.setPen(Qt::white);
    painter.setFont(m_mainFont);
    painter.drawText(QRect(QPoint(s, 3 * s), QPoint(w - s - 1, h - 1)),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromStdString(texts.title));
    painter.drawText(QRect(QPoint(s, 6 * s), QPoint(w - 7 * s / 2 - 1, h - 1)),
                     Qt::AlignRight | Qt::AlignTop, QString::fromStdString(texts.performer));
    painter.setFont(WordFont(2 * s / 3));
    QRect drawn;
    painter.drawText(QRect(QPoint(s, 9 * s), QPoint(w - 2 * s - 1, h - 1)),
                     Qt::AlignRight | Qt::AlignTop, QString::fromStdString(texts.lyricist), &drawn);
    const int below = texts.lyricist.empty() ? 0 : drawn.height();
    painter.drawText(QRect(QPoint(s, 9 * s + below), QPoint(w - 2 * s - 1, h - 1)),
                     Qt::AlignRight | Qt::AlignTop, QString::fromStdString(texts.composer));
    RequestRepaintLocked(rect());
}

// Lays out and draws the lines from `first` to the end of the list.
void CLSWordControl::LayOutLocked(LineIterator first) {
    if (m_picture.isNull() || m_unit <= 0 || first == m_lines.end())
        return;
    QPainter painter(&m_picture);
    painter.setPen(m_part == 2 ? kSecondPartColour : kPageColour);
    PictureCanvas canvas(painter, m_mainFont, m_rubyFont, m_size.width());
    WordLayout(canvas, m_size.width(), m_size.height(), m_unit).LayOut(first, m_lines.end());
    RequestRepaintLocked(QRect(QPoint(0, 0), m_size));
}

void CLSWordControl::RebuildLocked(QSize size, qreal ratio) {
    m_wipedRight = -1;
    m_size = size;
    m_unit = WordUnitSize(size.width(), size.height());
    m_mainFont = WordFont(m_unit);
    m_rubyFont = WordFont(m_unit / 3);
    CreatePicture(m_picture, size, ratio, Qt::black);
    CreatePicture(m_highlight, size, ratio, kHighlightColour);
}

void CLSWordControl::RequestRepaintLocked(const QRect& rect) {
    m_wipedRight = -1; // whatever was drawn may cover the wiped band; Wipe sets it again
    m_dirty |= rect;
    if (m_paced || m_repaintPosted)
        return;
    m_repaintPosted = true;
    QMetaObject::invokeMethod(this, &CLSWordControl::FlushRepaint, Qt::QueuedConnection);
}

void CLSWordControl::FlushRepaint() {
    QRect dirty;
    {
        std::lock_guard lock(m_lock);
        dirty = m_dirty;
        m_dirty = QRect();
        m_repaintPosted = false;
    }
    if (!dirty.isEmpty())
        update(dirty);
}

QImage CLSWordControl::Picture() const {
    std::lock_guard lock(m_lock);
    return m_picture.copy();
}

int CLSWordControl::UnitSize() const {
    std::lock_guard lock(m_lock);
    return m_unit;
}

void CLSWordControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    std::lock_guard lock(m_lock);
    const qreal ratio = devicePixelRatioF();
    if (!m_picture.isNull() && m_picture.devicePixelRatio() != ratio) {
        // Moved to a screen of another scale: render anew at its resolution.
        RebuildLocked(m_size, ratio);
        LayOutLocked(m_lines.begin());
    }
    const QRect area = event->rect();
    if (m_picture.isNull() || m_size != size()) {
        painter.fillRect(area, Qt::black);
        if (m_picture.isNull())
            return;
    }
    painter.drawImage(QRectF(area), m_picture, DeviceRect(area, ratio));
    DisplayTrace::Record(DisplayTrace::Event::WordsPainted, 0);
}

void CLSWordControl::resizeEvent(QResizeEvent* event) {
    ApplySize(event->size());
}

void CLSWordControl::ApplySize(QSize size) {
    std::lock_guard lock(m_lock);
    const qreal ratio = devicePixelRatioF();
    if (size == m_size && !m_picture.isNull() && m_picture.devicePixelRatio() == ratio)
        return;
    RebuildLocked(size, ratio);
    LayOutLocked(m_lines.begin());
}

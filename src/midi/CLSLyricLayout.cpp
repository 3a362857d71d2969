#include "midi/CLSLyricLayout.h"

#include "midi/CLSWordPagePlan.h"

#include <algorithm>

namespace {

using Word = CLSMIDIWordInfo;
using Break = CLSKaraokeTexts::Break;

// Where a line may be broken: after a syllable that ends a word.
bool EndsWord(const std::string& text, const std::string* next) {
    return (!text.empty() && text.back() == ' ') ||
           (next && !next->empty() && next->front() == ' ');
}

// Brackets mean readings to the display; lyrics of these songs carry none.
CLSTString Shown(const std::string& text) {
    std::string t = text;
    std::replace(t.begin(), t.end(), '[', '(');
    std::replace(t.begin(), t.end(), ']', ')');
    return CLSTString::FromBytes(t.data(), static_cast<int>(t.size()));
}

} // namespace

void CLSLyricLayout::Build(const Syllables& syllables, bool unmarked) {
    std::vector<Timed> timed = KeptRecords();
    if (!syllables.empty())
        Emit(syllables, Paginate(syllables, unmarked), timed);
    // Tempo and cue records come before lyrics on the same tick, as they did in the list.
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    m_words.clear();
    std::uint64_t previous = 0;
    for (Timed& t : timed) {
        const std::uint64_t delta = t.tick - previous;
        t.record.time = delta > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(delta);
        previous = t.tick;
        m_words.push_back(std::move(t.record));
    }
    SetDurations();
}

std::vector<CLSLyricLayout::Timed> CLSLyricLayout::KeptRecords() {
    std::vector<Timed> kept;
    std::uint64_t tick = 0;
    m_tempoMap.assign(1, {0, CLSWordPagePlan::kDefaultTempo});
    for (const Word& w : m_words) {
        tick += static_cast<std::uint32_t>(w.time);
        if (w.kind == Word::kTempo)
            m_tempoMap.emplace_back(tick, static_cast<std::uint32_t>(w.duration));
        if (w.kind != Word::kSyllable && w.kind != Word::kPageWord)
            kept.push_back({tick, w});
    }
    return kept;
}

std::uint64_t CLSLyricLayout::Milliseconds(std::uint64_t tick) const {
    std::uint64_t us = 0;
    for (std::size_t i = 0; i < m_tempoMap.size(); ++i) {
        const std::uint64_t from = m_tempoMap[i].first;
        if (from >= tick)
            break;
        const std::uint64_t to =
            i + 1 < m_tempoMap.size() ? std::min(m_tempoMap[i + 1].first, tick) : tick;
        us += (to - from) * m_tempoMap[i].second / static_cast<std::uint64_t>(m_resolution);
    }
    return us / 1000;
}

std::vector<CLSLyricLayout::Page> CLSLyricLayout::Paginate(const Syllables& syllables,
                                                           bool unmarked) const {
    std::vector<Page> pages(1, Page(1));
    unsigned width = 0;
    const auto newLine = [&](Break b) {
        if (b == Break::kPage || pages.back().size() >= kPageLines)
            pages.emplace_back();
        pages.back().emplace_back();
        width = 0;
    };
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        const unsigned w = m_width(syllables[i].text);
        Break b = syllables[i].breakBefore;
        if (unmarked && i > 0) {
            const std::uint64_t gap =
                Milliseconds(syllables[i].tick) - Milliseconds(syllables[i - 1].tick);
            b = gap >= kPagePauseMs ? Break::kPage : gap >= kLinePauseMs ? Break::kLine : b;
        }
        Line& line = pages.back().back();
        if (b != Break::kNone && !line.empty()) {
            newLine(b);
        } else if (!line.empty() && width + w > kWrapColumns) {
            // Carry the unfinished word over to the next line when the line has a word end.
            std::size_t keep = line.size();
            for (std::size_t k = line.size(); k > 0; --k) {
                const std::string& next =
                    k < line.size() ? syllables[line[k]].text : syllables[i].text;
                if (EndsWord(syllables[line[k - 1]].text, &next)) {
                    keep = k;
                    break;
                }
            }
            const Line carried(line.begin() + static_cast<std::ptrdiff_t>(keep), line.end());
            line.resize(keep);
            newLine(Break::kLine);
            for (const std::size_t c : carried) {
                pages.back().back().push_back(c);
                width += m_width(syllables[c].text);
            }
        }
        pages.back().back().push_back(i);
        width += w;
    }
    return pages;
}

void CLSLyricLayout::Emit(const Syllables& syllables, const std::vector<Page>& pages,
                          std::vector<Timed>& out) const {
    for (const Page& page : pages) {
        std::vector<Timed> sung;
        const std::uint64_t start = syllables[page.front().front()].tick;
        int line = static_cast<int>(page.size()) - 1;
        for (std::size_t l = 0; l < page.size(); ++l, --line) {
            for (std::size_t k = 0; k < page[l].size(); ++k) {
                CLSTString text = Shown(syllables[page[l][k]].text);
                if (k + 1 == page[l].size() && l + 1 < page.size())
                    text += '\n';
                Word pageWord;
                pageWord.kind = Word::kPageWord;
                pageWord.text = text;
                pageWord.line = line;
                out.push_back({start, pageWord});
                Word syllable;
                syllable.text = sung.empty() ? CLSTString("<") + text : text;
                syllable.line = line;
                sung.push_back({syllables[page[l][k]].tick, syllable});
            }
        }
        out.insert(out.end(), sung.begin(), sung.end());
    }
}

// Every record but tempo records lasts until the next record; a page word lasts as long as
// the syllable it stands for.
void CLSLyricLayout::SetDurations() {
    std::uint32_t tempo = CLSWordPagePlan::kDefaultTempo;
    for (auto r = m_words.begin(); r != m_words.end(); ++r) {
        if (r->kind == Word::kTempo) {
            tempo = static_cast<std::uint32_t>(r->duration);
            continue;
        }
        const auto next = std::next(r);
        r->duration = next == m_words.end()
                          ? 0
                          : CLSWordPagePlan::TicksToMs(static_cast<std::uint32_t>(next->time),
                                                       tempo, m_resolution);
    }
    for (auto r = m_words.begin(); r != m_words.end();) {
        if (r->kind != Word::kPageWord) {
            ++r;
            continue;
        }
        auto syllable = r;
        while (syllable != m_words.end() && syllable->kind == Word::kPageWord)
            ++syllable;
        for (; r != m_words.end() && r->kind == Word::kPageWord; ++r) {
            while (syllable != m_words.end() && syllable->kind != Word::kSyllable)
                ++syllable;
            if (syllable == m_words.end())
                break;
            r->duration = syllable->duration;
            ++syllable;
        }
    }
}

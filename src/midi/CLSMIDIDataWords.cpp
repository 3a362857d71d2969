// Song information and the word list: information texts, tempo, cue-point and lyric records,
// and the records that complete the list after a load.
#include "midi/CLSMIDIData.h"

#include "core/DisplayText.h"
#include "midi/CLSLyricLayout.h"
#include "midi/CLSMIDIDataLoadState.h"
#include "midi/CLSWordPagePlan.h"
#include "midi/CLSWordSchedule.h"

#include <cstring>

namespace {

constexpr char kEscape = '\\';
constexpr const char* kFullWidthSpace = "\x81\x40";

bool StartsWith(const CLSTString& text, const char* prefix) {
    return std::strncmp(text.Text(), prefix, std::strlen(prefix)) == 0;
}

CLSMIDIWordInfo MakeRecord(int kind, std::uint32_t time, int part, const CLSTString& text,
                           int duration = 0) {
    CLSMIDIWordInfo record;
    record.time = static_cast<int>(time);
    record.kind = kind;
    record.part = part;
    record.text = text;
    record.duration = duration;
    return record;
}

// "<" base "[" reading "]": a base text followed by its reading in brackets gets an opening
// "[" in front of the base, so the display knows where the base starts.
void MarkRuby(CLSTString& text, int p) {
    for (;;) {
        const int open = text.Find('[', p, kEscape);
        if (open < 0)
            return;
        while (p < text.Length() &&
               (text.Text()[p] == '^' || text.Text()[p] == '%' || text.Text()[p] == '>'))
            ++p;
        text.Insert(p, '[');
        const int close = text.Find(']', open + 2, kEscape);
        if (close < 0)
            return;
        p = close + 1;
    }
}

} // namespace

void CLSMIDIData::OnInformationEvent(const CLSMIDIEvent& event, std::uint32_t delta,
                                     LoadState& state) {
    if (!m_xf)
        state.karaoke.AddText(event.row, state.tick, event.BlockText(), event.MetaType() == 0x03);
    if (delta != 0)
        return;
    const CLSTString text(event.BlockText());
    if (event.MetaType() == 0x03) {
        if (m_title.IsEmpty())
            m_title = text;
        m_title.TrimRight();
        return;
    }
    const CLSTStringArray fields = text.Split(':');
    const auto field = [&](unsigned i) -> const CLSTString* {
        return i < fields.size() ? &fields[i] : nullptr;
    };
    if (fields.size() >= 3) {
        if (fields[0] == "XFln" && fields[1] == "JP") {
            m_title = fields[2];
            CLSTString* targets[] = {&m_composer, &m_lyricist, &m_arranger, &m_artist};
            for (unsigned i = 0; i < 4; ++i) {
                if (const CLSTString* value = field(3 + i))
                    *targets[i] = *value;
            }
        } else if (fields[0] == "XFhd") {
            CLSTString* targets[] = {&m_composer, &m_lyricist, &m_arranger, &m_artist};
            for (unsigned i = 0; i < 4; ++i) {
                const CLSTString* value = field(7 + i);
                if (value && targets[i]->IsEmpty())
                    *targets[i] = *value;
            }
        }
        m_title.TrimRight();
    }
    m_composer.TrimRight();
    m_lyricist.TrimRight();
    m_arranger.TrimRight();
    m_artist.TrimRight();
}

void CLSMIDIData::OnTempoEvent(std::uint32_t time, std::uint32_t tempo) {
    m_words.push_back(
        MakeRecord(CLSMIDIWordInfo::kTempo, time, 2, CLSTString(), static_cast<int>(tempo)));
}

void CLSMIDIData::OnCuePointEvent(const CLSMIDIEvent& event, std::uint32_t delta,
                                  LoadState& state) {
    const CLSTString text(event.BlockText());
    if (StartsWith(text, "$Lyrc")) {
        state.skippedWordTime += delta;
        return;
    }
    if (StartsWith(text, "&")) {
        const char who = text.Length() > 1 ? text.Text()[1] : 0;
        state.lyricPart = who == 'w' ? 1 : who == 'x' ? 2 : 0;
        state.pendingLyric = "<";
    }
    m_words.push_back(
        MakeRecord(CLSMIDIWordInfo::kCuePoint, state.skippedWordTime + delta, 2, text));
    state.skippedWordTime = 0;
}

void CLSMIDIData::OnLyricEvent(const CLSMIDIEvent& event, std::uint32_t delta, LoadState& state) {
    const std::uint32_t time = state.skippedWordTime + delta;
    if (m_xf) {
        m_words.push_back(MakeRecord(CLSMIDIWordInfo::kSyllable, time, state.lyricPart,
                                     ConvertXFLyric(event.BlockText(), state.pendingLyric)));
    } else {
        const CLSTString text(event.BlockText());
        state.karaoke.AddLyric(state.tick, event.BlockText());
        m_words.push_back(MakeRecord(CLSMIDIWordInfo::kPageWord, time, state.lyricPart, text));
        m_words.push_back(MakeRecord(CLSMIDIWordInfo::kSyllable, 0, state.lyricPart, text));
    }
    state.pendingLyric = "";
    state.skippedWordTime = 0;
}

CLSTString CLSMIDIData::ConvertXFLyric(const char* lyric, const CLSTString& pending) {
    CLSTString text(pending);
    if (lyric[0] == '<') {
        text = "<";
        ++lyric;
    }
    const int p = text == "<" ? 1 : 0;
    text += lyric;
    text.ReplaceAll('(', '[', kEscape);
    text.ReplaceAll(')', ']', kEscape);
    MarkRuby(text, p);
    text.ReplaceAll('/', '\n', kEscape);
    text.ReplaceAll('^', kFullWidthSpace, kEscape);
    text.ReplaceAll('%', kFullWidthSpace, kEscape);
    text.ReplaceAll('>', '\t', kEscape);
    text.RemoveChar(kEscape);
    return text;
}

void CLSMIDIData::CompleteWordList(LoadState& state) {
    CLSKaraokeTexts& karaoke = state.karaoke;
    if (!m_xf) {
        karaoke.Finish();
        TakeKaraokeHeaders(karaoke);
    }
    DecideTextEncoding(karaoke);
    if (!m_xf && karaoke.GetSource() != CLSKaraokeTexts::Source::kNone) {
        const std::string encoding = m_textEncoding;
        CLSLyricLayout(m_words, m_resolution, [&encoding](const std::string& text) {
            return DisplayColumns(text.data(), text.size(), encoding);
        }).Build(karaoke.Syllables(), karaoke.Unmarked());
        m_lyricLayout = true;
    }

    const CLSTString title = m_title + ":" + m_composer + ":" + m_lyricist + ":" + m_artist;
    m_words.push_front(MakeRecord(CLSMIDIWordInfo::kTitle, 0, 2, title));
    m_words.push_front(MakeRecord(CLSMIDIWordInfo::kSyllable, 0, 2, CLSTString()));
    m_words.push_front(MakeRecord(CLSMIDIWordInfo::kPageWord, 0, 2, CLSTString()));
    // The player never hands out the last record; this one stands in that place.
    m_words.push_back(MakeRecord(CLSMIDIWordInfo::kSyllable, 0, 2, CLSTString()));
    if (m_xf) {
        CLSWordPagePlan(m_words, m_resolution).Build();
        m_lyricLayout = true;
    }
    if (m_lyricLayout)
        CLSWordSchedule(m_words, m_resolution).Build();
}

// "@T" lines name the title, then the performer; they win over a track name, which in these
// files often holds the "@T" line itself.
void CLSMIDIData::TakeKaraokeHeaders(const CLSKaraokeTexts& karaoke) {
    const auto& titles = karaoke.TitleLines();
    const auto text = [](const std::string& s) {
        return CLSTString::FromBytes(s.data(), static_cast<int>(s.size()));
    };
    if (!titles.empty())
        m_title = text(titles[0]);
    if (titles.size() > 1 && m_artist.IsEmpty())
        m_artist = text(titles[1]);
    std::string information;
    for (std::size_t i = 2; i < titles.size(); ++i)
        information += titles[i] + "\n";
    for (const std::string& line : karaoke.InformationLines())
        information += line + "\n";
    if (!information.empty())
        information.pop_back();
    m_information = text(information);
}

// One decision for all texts of the song: a detector needs more than one short title to tell
// code pages apart.
void CLSMIDIData::DecideTextEncoding(const CLSKaraokeTexts& karaoke) {
    if (!m_encodingOverride.empty()) {
        m_textEncoding = m_encodingOverride;
        return;
    }
    std::string texts;
    for (const CLSTString* t :
         {&m_title, &m_composer, &m_lyricist, &m_arranger, &m_artist, &m_information})
        texts.append(t->Text(), static_cast<std::size_t>(t->Length())) += '\n';
    texts += karaoke.AllTexts();
    // The lyric records of other songs are copies of what the karaoke texts hold.
    for (const CLSMIDIWordInfo& w : m_words)
        if (m_xf || w.kind == CLSMIDIWordInfo::kCuePoint)
            texts.append(w.text.Text(), static_cast<std::size_t>(w.text.Length()));
    m_textEncoding = DetectTextEncoding(texts, m_xf != 0, karaoke.Language());
}

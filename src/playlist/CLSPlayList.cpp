#include "playlist/CLSPlayList.h"

#include "core/CLSFileWriteAtomic.h"
#include "core/PathText.h"
#include "playlist/CLSPlayListAdder.h"

#include <utility>

namespace {

constexpr int kImagePlain = 0;
constexpr int kImageCurrent = 1;

// A path holding CR or LF would read back as several entries.
bool FitsOnOneLine(const CLSTString& text) {
    return text.Find('\r') == -1 && text.Find('\n') == -1;
}

} // namespace

CLSPlayList::CLSPlayList() = default;

void CLSPlayList::SetView(CLSPlayListView* view) {
    m_view = view ? view : &m_ownRows;
    // A view installed after songs were added starts with their rows.
    while (m_view->RowCount() < Count()) {
        const unsigned row = m_view->RowCount();
        m_view->InsertRow(row);
        m_view->RefreshRow(row);
    }
}

void CLSPlayList::SetArchiveChooser(CLSArchiveChooser* chooser) {
    m_chooser = chooser ? chooser : &m_ownChooser;
}

const CLSMusicInfo* CLSPlayList::GetEntry(unsigned i) const {
    return i < Count() ? &m_entries[i] : nullptr;
}

CLSTString CLSPlayList::GetPath(unsigned i) const {
    return i < Count() ? m_entries[i].Get().path : CLSTString();
}
CLSTString CLSPlayList::GetTitle(unsigned i) const {
    return i < Count() ? m_entries[i].Get().title : CLSTString();
}
CLSTString CLSPlayList::GetComposer(unsigned i) const {
    return i < Count() ? m_entries[i].Get().composer : CLSTString();
}
CLSTString CLSPlayList::GetLyricist(unsigned i) const {
    return i < Count() ? m_entries[i].Get().lyricist : CLSTString();
}
CLSTString CLSPlayList::GetArranger(unsigned i) const {
    return i < Count() ? m_entries[i].Get().arranger : CLSTString();
}
CLSTString CLSPlayList::GetArtist(unsigned i) const {
    return i < Count() ? m_entries[i].Get().artist : CLSTString();
}
std::int32_t CLSPlayList::GetLength(unsigned i) const {
    return i < Count() ? m_entries[i].Get().length : 0;
}

void CLSPlayList::SetCurrent(unsigned i) {
    if (i >= Count())
        return;
    m_view->SetImage(m_current, kImagePlain);
    m_view->SetImage(i, kImageCurrent);
    m_view->SetFocused(i);
    m_view->EnsureVisible(i);
    m_current = i;
}

bool CLSPlayList::Next() {
    if (Count() == 0)
        return false;
    SetCurrent(m_current + 1 < Count() ? m_current + 1 : 0);
    return m_current != 0;
}

void CLSPlayList::Previous() {
    if (Count() == 0)
        return;
    SetCurrent(m_current > 0 ? m_current - 1 : Count() - 1);
}

bool CLSPlayList::HasSelection() const {
    for (unsigned i = 0; i < Count(); ++i) {
        if (m_view->IsSelected(i))
            return true;
    }
    return false;
}

bool CLSPlayList::CanMoveUp() const {
    return Count() > 0 && HasSelection() && !m_view->IsSelected(0);
}

bool CLSPlayList::CanMoveDown() const {
    return Count() > 0 && HasSelection() && !m_view->IsSelected(Count() - 1);
}

void CLSPlayList::InsertEntry(unsigned i, CLSMusicInfo entry) {
    if (i == Count())
        m_entries.push_back(std::move(entry));
    else
        m_entries.insert(m_entries.begin() + i, 1, entry);
    m_view->InsertRow(i);
    m_view->RefreshRow(i);
}

void CLSPlayList::RemoveEntry(unsigned i) {
    m_entries.erase(m_entries.begin() + i);
    m_view->DeleteRow(i);
}

void CLSPlayList::MoveSelectedUp() {
    if (!CanMoveUp())
        return;
    m_view->SetImage(m_current, kImagePlain);
    for (unsigned i = 1; i < Count(); ++i) {
        if (!m_view->IsSelected(i))
            continue;
        // The row above is taken out and put back below: the selected row keeps its state.
        CLSMusicInfo displaced = std::move(m_entries[i - 1]);
        RemoveEntry(i - 1);
        InsertEntry(i, std::move(displaced));
        if (m_current == i)
            m_current = i - 1;
        else if (m_current == i - 1)
            m_current = i;
    }
    m_view->SetImage(m_current, kImageCurrent);
}

void CLSPlayList::MoveSelectedDown() {
    if (!CanMoveDown())
        return;
    m_view->SetImage(m_current, kImagePlain);
    for (unsigned i = Count() - 1; i-- > 0;) {
        if (!m_view->IsSelected(i))
            continue;
        CLSMusicInfo displaced = std::move(m_entries[i + 1]);
        RemoveEntry(i + 1);
        InsertEntry(i, std::move(displaced));
        if (m_current == i)
            m_current = i + 1;
        else if (m_current == i + 1)
            m_current = i;
    }
    m_view->SetImage(m_current, kImageCurrent);
}

bool CLSPlayList::Delete(unsigned i) {
    if (i >= Count())
        return true;
    RemoveEntry(i);
    if (i == m_current) {
        if (m_current == Count())
            m_current = 0;
        // The marker stays off until the caller loads the new current song.
        if (Count() > 0)
            m_view->SetFocused(m_current);
        return false;
    }
    if (i < m_current)
        --m_current;
    return true;
}

bool CLSPlayList::DeleteSelected() {
    bool kept = true;
    unsigned i = 0;
    while (i < Count()) {
        if (m_view->IsSelected(i))
            kept = Delete(i) && kept;
        else
            ++i;
    }
    return kept;
}

void CLSPlayList::SetEntryField(CLSTString CLSMusicInfo::Fields::*field, const CLSTString& text) {
    if (m_current < Count())
        m_entries[m_current].Get().*field = text;
}

void CLSPlayList::SetCurrentEncoding(const std::string& encoding) {
    if (m_current < Count())
        m_entries[m_current].Get().encoding = encoding;
}

void CLSPlayList::SetCurrentTitle(const CLSTString& text) {
    SetEntryField(&CLSMusicInfo::Fields::title, text);
    if (m_current < Count())
        m_view->RefreshRow(m_current);
}

void CLSPlayList::SetCurrentLength(std::int32_t milliseconds) {
    if (m_current >= Count())
        return;
    m_entries[m_current].Get().length = milliseconds;
    m_view->RefreshRow(m_current);
}

void CLSPlayList::SetCurrentComposer(const CLSTString& text) {
    SetEntryField(&CLSMusicInfo::Fields::composer, text);
}
void CLSPlayList::SetCurrentLyricist(const CLSTString& text) {
    SetEntryField(&CLSMusicInfo::Fields::lyricist, text);
}
void CLSPlayList::SetCurrentArranger(const CLSTString& text) {
    SetEntryField(&CLSMusicInfo::Fields::arranger, text);
}
void CLSPlayList::SetCurrentArtist(const CLSTString& text) {
    SetEntryField(&CLSMusicInfo::Fields::artist, text);
}

CLSTStringArray CLSPlayList::GetPaths() const {
    CLSTStringArray paths;
    for (const CLSMusicInfo& entry : m_entries)
        paths.push_back(entry.Get().path);
    return paths;
}

void CLSPlayList::SetArchiveDialogSize(std::int32_t width, std::int32_t height) {
    if (width != kNotGiven)
        m_archiveDialogWidth = width;
    if (height != kNotGiven)
        m_archiveDialogHeight = height;
}

PlayOrderStep CLSPlayList::AdvanceByPlayOrder(int playType, CLSRandom& random) {
    if (Count() == 0)
        return PlayOrderStep::kNothing;
    switch (playType) {
    case kPlayNormal:
        return Next() ? PlayOrderStep::kLoadAndPlay : PlayOrderStep::kLoad;
    case kPlayRepeatOne:
        return PlayOrderStep::kReplay;
    case kPlayRepeatAll:
        Next();
        return PlayOrderStep::kLoadAndPlay;
    case kPlayRandom:
        SetCurrent(static_cast<unsigned>(random.Next()) % Count());
        return PlayOrderStep::kLoadAndPlay;
    default:
        return PlayOrderStep::kNothing;
    }
}

bool CLSPlayList::Add(const CLSTString& path, bool searchSubfolders) {
    if (m_busy)
        m_busy(true);
    m_view->BeginAppending();
    struct EndOnExit {
        CLSPlayListView& view;
        ~EndOnExit() { view.EndAppending(); }
    } end{*m_view};
    const bool result = CLSPlayListAdder(*this).Add(path, searchSubfolders);
    if (m_busy)
        m_busy(false);
    return result;
}

void CLSPlayList::AppendSong(const CLSTString& path) {
    InsertEntry(Count(), CLSMusicInfo(path));
}

bool CLSPlayList::ChooseFromArchive(const CLSTString& archivePath) {
    CLSTStringArray chosen;
    int width = m_archiveDialogWidth;
    int height = m_archiveDialogHeight;
    const bool opened = m_chooser->Choose(m_owner, archivePath, width, height, chosen);
    m_archiveDialogWidth = width;
    m_archiveDialogHeight = height;
    if (!opened)
        return false;
    for (const CLSTString& member : chosen) {
        CLSTString path = archivePath;
        path += '>';
        path += member;
        Add(path, false);
    }
    return true;
}

bool CLSPlayList::SaveToFile(const char* path) const {
    CLSFileWriteAtomic file;
    if (!file.Open(path))
        return false;
    // A full disk or a failed close fails this save only, and the old file stays as it was.
    try {
        for (const CLSMusicInfo& entry : m_entries) {
            if (FitsOnOneLine(entry.Get().path))
                file.Writer().WriteLine(entry.Get().path);
        }
        file.Commit();
    } catch (const CLSError&) {
        return false;
    }
    return true;
}

CLSTString CLSPlayList::WithDefaultExtension(const CLSTString& name, int filterIndex) {
    if (*FindExtension(name.Text()) != 0)
        return name;
    if (filterIndex == 1)
        return name + ".m3u";
    if (filterIndex == 2)
        return name + ".lst";
    return name;
}

#pragma once

#include "core/CLSError.h"
#include "core/CLSTString.h"
#include "playlist/CLSAllSongsChooser.h"
#include "playlist/CLSMusicInfo.h"
#include "playlist/CLSPlayListRows.h"
#include "playlist/CLSRandom.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <string>

// The play orders of the setting PlayType.
enum PlayType {
    kPlayNormal = 0,
    kPlayRepeatOne = 1,
    kPlayRepeatAll = 2,
    kPlayRandom = 3,
};

// What the shell does at the end of a song, as the play order decides.
enum class PlayOrderStep {
    kNothing,     // empty playlist (or an unknown order): stop
    kReplay,      // play the same song again from its start, without reloading it
    kLoad,        // load the new current song and stop
    kLoadAndPlay, // load the new current song and play it
};

// The songs to play, in the user's order, and which of them is current. Row i of the view
// always shows entry i; every change goes to the entries and the view together.
class CLSPlayList {
public:
    static constexpr std::int32_t kNotGiven = INT32_MIN;
    static constexpr int kDefaultArchiveDialogWidth = 400;
    static constexpr int kDefaultArchiveDialogHeight = 300;

    CLSPlayList();
    CLSPlayList(const CLSPlayList&) = delete;
    CLSPlayList& operator=(const CLSPlayList&) = delete;

    // The GUI installs its list view and its archive dialog; null restores the built-in ones.
    void SetView(CLSPlayListView* view);
    CLSPlayListView& View() noexcept { return *m_view; }
    const CLSPlayListView& View() const noexcept { return *m_view; }
    void SetArchiveChooser(CLSArchiveChooser* chooser);
    // Owner of the messages shown while adding.
    void SetOwner(OwnerWindow owner) noexcept { m_owner = owner; }
    OwnerWindow Owner() const noexcept { return m_owner; }
    // Called with true before and false after an add (the GUI shows the wait cursor).
    void SetBusyIndicator(std::function<void(bool)> indicator) { m_busy = std::move(indicator); }

    unsigned Count() const noexcept { return m_entries.size(); }
    unsigned GetCurrent() const noexcept { return m_current; }
    CLSTString GetPath(unsigned i) const;
    CLSTString GetCurrentPath() const { return GetPath(m_current); }
    CLSTString GetTitle(unsigned i) const;
    CLSTString GetComposer(unsigned i) const;
    CLSTString GetLyricist(unsigned i) const;
    CLSTString GetArranger(unsigned i) const;
    CLSTString GetArtist(unsigned i) const;
    std::int32_t GetLength(unsigned i) const;
    // The whole entry (for the view's texts); null when out of range.
    const CLSMusicInfo* GetEntry(unsigned i) const;

    void SetCurrent(unsigned i);
    bool Next();
    void Previous();

    bool HasSelection() const;
    int GetFocused() const { return m_view->GetFocused(); }
    bool CanMoveUp() const;
    bool CanMoveDown() const;
    void MoveSelectedUp();
    void MoveSelectedDown();
    bool Delete(unsigned i);
    bool DeleteSelected();

    // The song's own text encoding, so its title and fields are shown as its lyrics are.
    void SetCurrentEncoding(const std::string& encoding);
    void SetCurrentTitle(const CLSTString& text);
    void SetCurrentLength(std::int32_t milliseconds);
    void SetCurrentComposer(const CLSTString& text);
    void SetCurrentLyricist(const CLSTString& text);
    void SetCurrentArranger(const CLSTString& text);
    void SetCurrentArtist(const CLSTString& text);

    CLSTStringArray GetPaths() const;

    void SetArchiveDialogSize(std::int32_t width, std::int32_t height);
    int GetArchiveDialogWidth() const noexcept { return m_archiveDialogWidth; }
    int GetArchiveDialogHeight() const noexcept { return m_archiveDialogHeight; }

    // Chooses the song that follows the end of the current one by the play order.
    PlayOrderStep AdvanceByPlayOrder(int playType, CLSRandom& random);

    // Adds a song, folder, playlist file or archive (see CLSPlayListAdder). False when a
    // playlist file cannot be read or is already being read, the archive chooser was
    // cancelled, or a folder search stopped. A read error is shown, never thrown: the songs
    // before and after the damaged file are still added.
    bool Add(const CLSTString& path, bool searchSubfolders);

    // Appends one song row made from the path alone (nothing is read from the file).
    void AppendSong(const CLSTString& path);

    // Lets the user choose members of an archive and adds them. False when cancelled.
    bool ChooseFromArchive(const CLSTString& archivePath);

    // Writes every path, in order, each followed by CR LF; a path holding CR or LF is left
    // out. The file is replaced as a whole: on false (cannot be created or written, the caller
    // reports it) the old file is untouched.
    bool SaveToFile(const char* path) const;

    // The save dialog's rule: a name without extension gets ".m3u" from the first filter,
    // ".lst" from the second, nothing from any other.
    static CLSTString WithDefaultExtension(const CLSTString& name, int filterIndex);

private:
    void SetEntryField(CLSTString CLSMusicInfo::Fields::*field, const CLSTString& text);
    void InsertEntry(unsigned i, CLSMusicInfo entry);
    void RemoveEntry(unsigned i);

    druvel::vector<CLSMusicInfo> m_entries;
    unsigned m_current = 0;
    int m_archiveDialogWidth = kDefaultArchiveDialogWidth;
    int m_archiveDialogHeight = kDefaultArchiveDialogHeight;
    CLSPlayListRows m_ownRows;
    CLSPlayListView* m_view = &m_ownRows;
    CLSAllSongsChooser m_ownChooser;
    CLSArchiveChooser* m_chooser = &m_ownChooser;
    OwnerWindow m_owner = nullptr;
    std::function<void(bool)> m_busy;
};

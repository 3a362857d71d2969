#include "playlist/ui/CLSPlayListModel.h"

#include "core/DisplayText.h"
#include "playlist/CLSMusicInfo.h"
#include "playlist/CLSPlayList.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>

#include <algorithm>

namespace {

const QColor kBackground(0x3C, 0x3C, 0x3C);
const QColor kText(0xFF, 0xFF, 0xFF);

QString Shown(const CLSTString& bytes, const std::string& encoding = {}) {
    return QString::fromStdString(
        DisplayText(bytes.Text(), static_cast<std::size_t>(bytes.Length()), encoding));
}

// Each field is converted on its own: a code page 932 title must not make the UTF-8 captions
// (or a UTF-8 path) around it unreadable.
void AppendField(QString& text, const char* caption, const CLSTString& value,
                 const std::string& encoding) {
    if (value.IsEmpty())
        return;
    text += QLatin1Char('\n');
    text += QCoreApplication::translate("CLSMusicInfo", caption);
    text += Shown(value, encoding);
}

} // namespace

CLSPlayListModel::CLSPlayListModel(const CLSPlayList& playlist, QObject* parent)
    : QAbstractTableModel(parent), m_playlist(playlist) {}

void CLSPlayListModel::SetMarkerImages(const QIcon& plain, const QIcon& current) {
    m_markers[0] = plain;
    m_markers[1] = current;
    if (m_shownRows > 0)
        Q_EMIT dataChanged(index(0, kColumnName), index(static_cast<int>(m_shownRows) - 1, 0),
                           {Qt::DecorationRole});
}

QString CLSPlayListModel::ToolTipText(const CLSMusicInfo& entry) {
    const CLSMusicInfo::Fields& f = entry.Get();
    QString text = QCoreApplication::translate("CLSMusicInfo", "ファイル名: ") + Shown(f.path);
    AppendField(text, QT_TRANSLATE_NOOP("CLSMusicInfo", "曲名: "), f.title, f.encoding);
    AppendField(text, QT_TRANSLATE_NOOP("CLSMusicInfo", "作曲: "), f.composer, f.encoding);
    AppendField(text, QT_TRANSLATE_NOOP("CLSMusicInfo", "作詞: "), f.lyricist, f.encoding);
    AppendField(text, QT_TRANSLATE_NOOP("CLSMusicInfo", "編曲: "), f.arranger, f.encoding);
    AppendField(text, QT_TRANSLATE_NOOP("CLSMusicInfo", "アーティスト: "), f.artist, f.encoding);
    if (f.length != 0) {
        text += QLatin1Char('\n');
        text += QCoreApplication::translate("CLSMusicInfo", "長さ: ") +
                Shown(CLSMusicInfo::FormatLength(f.length));
    }
    return text;
}

int CLSPlayListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shownRows);
}

int CLSPlayListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CLSPlayListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0)
        return {};
    const unsigned row = static_cast<unsigned>(index.row());
    const CLSMusicInfo* entry = m_playlist.GetEntry(row);
    if (!entry || row >= m_shownRows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == kColumnName) // a title in the song's encoding, else the file name
            return entry->Get().title.IsEmpty() ? Shown(entry->DisplayName())
                                                : Shown(entry->Get().title, entry->Get().encoding);
        return Shown(CLSMusicInfo::FormatLength(entry->Get().length));
    case Qt::ToolTipRole:
        return ToolTipText(*entry);
    case Qt::DecorationRole:
        if (index.column() != kColumnName)
            return {};
        if (const QIcon& marker = m_markers[GetImage(row) == 1 ? 1 : 0]; !marker.isNull())
            return marker;
        return {};
    case Qt::BackgroundRole:
        return QBrush(kBackground);
    case Qt::ForegroundRole:
        return QBrush(kText);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case kMarkerRole:
        return GetImage(row);
    default:
        return {};
    }
}

QVariant CLSPlayListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        if (section == kColumnName)
            return tr("曲名/ファイル名");
        if (section == kColumnLength)
            return tr("長さ");
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CLSPlayListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Rows are neither edited nor dragged.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void CLSPlayListModel::InsertRow(unsigned index) {
    const unsigned at = std::min(index, RowCount());
    if (m_appending > 0 && at == RowCount()) {
        m_rows.InsertRow(at);
        return;
    }
    PublishRows();
    beginInsertRows(QModelIndex(), static_cast<int>(at), static_cast<int>(at));
    m_rows.InsertRow(at);
    m_shownRows = RowCount();
    endInsertRows();
}

void CLSPlayListModel::PublishRows() {
    if (m_shownRows >= RowCount())
        return;
    beginInsertRows(QModelIndex(), static_cast<int>(m_shownRows), static_cast<int>(RowCount()) - 1);
    m_shownRows = RowCount();
    endInsertRows();
}

void CLSPlayListModel::EndAppending() {
    if (m_appending > 0 && --m_appending == 0)
        PublishRows();
}

void CLSPlayListModel::DeleteRow(unsigned index) {
    if (index >= RowCount())
        return;
    PublishRows();
    beginRemoveRows(QModelIndex(), static_cast<int>(index), static_cast<int>(index));
    m_rows.DeleteRow(index);
    m_shownRows = RowCount();
    endRemoveRows();
}

void CLSPlayListModel::RefreshRow(unsigned index) {
    if (index >= m_shownRows) // the view reads it when it hears of the row
        return;
    const int row = static_cast<int>(index);
    Q_EMIT dataChanged(this->index(row, kColumnName), this->index(row, kColumnLength));
}

void CLSPlayListModel::SetSelected(unsigned index, bool selected) {
    if (index >= RowCount() || m_rows.IsSelected(index) == selected)
        return;
    PublishRows();
    m_rows.SetSelected(index, selected);
    Q_EMIT selectionSet(static_cast<int>(index), selected);
}

void CLSPlayListModel::SetFocused(unsigned index) {
    if (index >= RowCount())
        return;
    PublishRows();
    m_rows.SetFocused(index);
    Q_EMIT focusSet(static_cast<int>(index));
}

void CLSPlayListModel::SetImage(unsigned index, int image) {
    if (index >= RowCount() || m_rows.GetImage(index) == image)
        return;
    PublishRows();
    m_rows.SetImage(index, image);
    const QModelIndex cell = this->index(static_cast<int>(index), kColumnName);
    Q_EMIT dataChanged(cell, cell, {Qt::DecorationRole, kMarkerRole});
}

void CLSPlayListModel::EnsureVisible(unsigned index) {
    PublishRows();
    if (index < RowCount())
        Q_EMIT ensureVisibleRequested(static_cast<int>(index));
}

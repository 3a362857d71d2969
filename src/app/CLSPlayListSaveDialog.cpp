#include "app/CLSPlayListSaveDialog.h"

#include "playlist/CLSPlayList.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// The text shown for "all files", and the pattern Qt needs for it (its "*.*" would hide names
// without a dot, the very names the third filter saves).
const char* const kAllFilesShown =
    QT_TRANSLATE_NOOP("CLSPlayListSaveDialog", "すべてのファイル (*.*)");
const char* const kAllFilesPattern =
    QT_TRANSLATE_NOOP("CLSPlayListSaveDialog", "すべてのファイル (*)");

QStringList PatternFilters() {
    return {CLSPlayListSaveDialog::tr("プレイリストファイル (*.m3u)"),
            CLSPlayListSaveDialog::tr("リストファイル (*.lst)"),
            CLSPlayListSaveDialog::tr(kAllFilesPattern)};
}

QString AddedExtension(const QString& name, int filterIndex) {
    const QByteArray bytes = QFile::encodeName(name);
    const CLSTString amended =
        CLSPlayList::WithDefaultExtension(CLSTString(bytes.constData()), filterIndex);
    return QFile::decodeName(QByteArray(amended.Text(), amended.Length()));
}

} // namespace

CLSPlayListSaveDialog::CLSPlayListSaveDialog(QWidget* owner) : QFileDialog(owner) {
    // The system's own caption for a save dialog without one of its own.
    setWindowTitle(tr("名前を付けて保存"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The extension rule below adds the extension; Qt's own suffix would add it regardless.
    setDefaultSuffix(QString());
    setNameFilters(PatternFilters());
    selectNameFilter(PatternFilters().first());
}

QStringList CLSPlayListSaveDialog::FilterTexts() {
    QStringList texts = PatternFilters();
    texts.last() = tr(kAllFilesShown);
    return texts;
}

void CLSPlayListSaveDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    ShowFilterTexts(); // Qt makes its own dialog's widgets only when it shows them
}

void CLSPlayListSaveDialog::ShowFilterTexts() {
    // Qt's own dialog shows the filters in a combo box; a native one keeps the pattern texts.
    if (auto* combo = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        const QStringList texts = FilterTexts();
        for (int i = 0; i < combo->count() && i < texts.size(); ++i)
            combo->setItemText(i, texts[i]);
    }
}

int CLSPlayListSaveDialog::FilterIndex() const {
    const QString selected = selectedNameFilter();
    qsizetype index = FilterTexts().indexOf(selected);
    if (index < 0)
        index = PatternFilters().indexOf(selected);
    // An unknown filter adds no extension, as the third does.
    return index < 0 ? 3 : static_cast<int>(index) + 1;
}

QString CLSPlayListSaveDialog::Target() const {
    if (!m_agreedTarget.isEmpty())
        return m_agreedTarget;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : AddedExtension(files.first(), FilterIndex());
}

CLSTString CLSPlayListSaveDialog::TargetPath() const {
    if (result() != Accepted)
        return CLSTString();
    return CLSTString(QFile::encodeName(Target()).constData());
}

bool CLSPlayListSaveDialog::ReplacingAgreed() {
    if (!m_agreedTarget.isEmpty())
        return true;
    const QString target = Target();
    // The dialog itself asked about the name as chosen.
    if (target == selectedFiles().value(0) || !QFileInfo::exists(target))
        return true;
    return AskReplacing(target, isVisible() ? this : parentWidget());
}

bool CLSPlayListSaveDialog::AskReplacing(const QString& target, QWidget* owner) {
    const QString text =
        tr("%1 は既に存在します。\n上書きしますか?").arg(QFileInfo(target).fileName());
    return QMessageBox::warning(owner, windowTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

void CLSPlayListSaveDialog::accept() {
    m_agreedTarget.clear();
    const QString chosen = selectedFiles().value(0);
    const bool ownWidgets = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) != nullptr;
    if (!ownWidgets || chosen.isEmpty() || QFileInfo(chosen).isDir()) {
        QFileDialog::accept(); // a system dialog is asked again after it closed
        return;
    }
    const QString target = AddedExtension(chosen, FilterIndex());
    if (target == chosen) {
        QFileDialog::accept();
        return;
    }
    // Asked about the file that will be replaced, not the name as typed; the dialog stays
    // open when the user declines.
    if (QFileInfo::exists(target) && !AskReplacing(target, this))
        return;
    m_agreedTarget = target;
    QDialog::accept();
}

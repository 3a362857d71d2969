#include "app/CLSAboutDialog.h"

#include "app/Resources.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kNamePoints = 24;
constexpr int kTextPoints = 12;
constexpr int kLinkPoints = 9;
constexpr int kIconSize = 32;

QFont Face(const QStringList& families, int points, bool underline = false) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(points);
    font.setUnderline(underline);
    return font;
}

// Windows faces first, then the free faces that stand in for them here.
const QStringList kSerif = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")};
const QStringList kGothic = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                             QStringLiteral("IPA P Gothic")};

// Centred over the owner, then pulled back inside the work area of the owner's screen.
QPoint CentredInside(const QRect& owner, const QSize& size, const QRect& workArea) {
    QPoint at(owner.center().x() - size.width() / 2, owner.center().y() - size.height() / 2);
    at.setX(std::max(workArea.left(), std::min(at.x(), workArea.right() + 1 - size.width())));
    at.setY(std::max(workArea.top(), std::min(at.y(), workArea.bottom() + 1 - size.height())));
    return at;
}

} // namespace

QIcon CLSAboutDialog::ProgramIcon() {
    InitDruvelResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/icons/druvel-%1.png").arg(size), QSize(size, size));
    return icon;
}

CLSAboutDialog::CLSAboutDialog(QWidget* owner) : QDialog(owner) {
    InitDruvelResources();
    setWindowTitle(tr("バージョン情報"));
    setFont(Face({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic")}, 9));
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel;
    icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(icon, 0, 0, 4, 1);
    BuildTexts(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 4, 0, 1, 2, Qt::AlignHCenter);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    PlaceOverOwner();
}

QUrl CLSAboutDialog::HomePage() {
    return QUrl(QStringLiteral(DRUVEL_HOME_PAGE));
}

QString CLSAboutDialog::VersionText() {
    return QStringLiteral("Version %1").arg(QStringLiteral(DRUVEL_VERSION));
}

void CLSAboutDialog::BuildTexts(QGridLayout* grid) {
    auto* name = new QLabel(QStringLiteral("Druvel"));
    name->setFont(Face(kSerif, kNamePoints));
    auto* version = new QLabel(VersionText());
    version->setFont(Face(kGothic, kTextPoints));
    auto* rights = new QLabel(QStringLiteral("Copyright © 2026 The Druvel developers"));
    rights->setFont(Face(kGothic, kTextPoints));
    rights->setAlignment(Qt::AlignHCenter);
    m_link = new QLabel(HomePage().toString());
    m_link->setFont(Face(kGothic, kLinkPoints, true));
    m_link->setAlignment(Qt::AlignHCenter);
    m_link->setStyleSheet(QStringLiteral("color: #0000ff; background: transparent;"));
    m_link->setCursor(Qt::PointingHandCursor);
    // Plain text, opened by hand: a rich-text link would also open on keyboard focus tricks.
    m_link->setTextInteractionFlags(Qt::NoTextInteraction);
    m_link->installEventFilter(this);
    grid->addWidget(name, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(rights, 2, 1);
    grid->addWidget(m_link, 3, 1);
}

void CLSAboutDialog::PlaceOverOwner() {
    adjustSize();
    QWidget* owner = parentWidget();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect ownerRect = owner ? owner->frameGeometry() : screen->availableGeometry();
    move(CentredInside(ownerRect, frameGeometry().size(), screen->availableGeometry()));
}

bool CLSAboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_link && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        m_link->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        QDesktopServices::openUrl(HomePage());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
